#include "frk/frkbrowseimpl.h"

frkBrowseImpl::frkBrowseImpl(frkDialog& owner) : owner(owner), nullSource(new frkDataSource(nullptr)) {}

frkBrowseImpl::~frkBrowseImpl() {
    // Items may point at sources and events: they go first.
    items.clear();
    commands.clear();
    condStates.clear();
}

// ---- pending state

frkDataSource* frkBrowseImpl::popSource() {
    if (pendingSources.empty()) return nullSource.get();
    frkDataSource* source = pendingSources[pendingSources.count() - 1];
    pendingSources.removeItems(pendingSources.count() - 1, 1);
    return source;
}

void frkBrowseImpl::format(const btkstring& pattern) {
    const btkCntVec<frkDataSource*> arguments = pendingSources;
    pendingSources.clear();
    pushSource(new frkStringFormatSource(this, arguments, pattern));
}

void frkBrowseImpl::resetPending() {
    pendingNumber = -1;
    password = false;
    valueSeparator = 0;
    pendingEvents.clear();
}

void frkBrowseImpl::beginScope() { scopes.add(++scopeCounter); }

void frkBrowseImpl::endScope() {
    if (!scopes.empty()) scopes.removeItems(scopes.count() - 1, 1);
}

void frkBrowseImpl::saveEvent() { addPendingEvent(new frkSaveEvent(owner)); }

void frkBrowseImpl::closeWith(int code) { addPendingEvent(new frkCloseEvent(owner, code)); }

void frkBrowseImpl::command(const btkstring& caption, const btkstring& identifier) {
    frkAction* action = new frkAction;
    action->events = pendingEvents;
    action->key = pendingKey();
    action->caption = caption;
    action->identifier = identifier;
    commands.add(action);
    resetPending();
}

void frkBrowseImpl::addStandardOkCommand(const btkstring& caption) {
    beginScope();
    pendingNumber = 1;
    defaultCommand(1);
    saveEvent();
    closeWith(-1);
    command(caption, "std.ok");
    endScope();
}

void frkBrowseImpl::addStandardCancelCommand(const btkstring& caption) {
    beginScope();
    pendingNumber = 1;
    cancelCommand(1);
    closeWith(0);
    command(caption, "std.cancel");
    endScope();
}

// ---- items and tables

void frkBrowseImpl::placeItem(frkVCLItem* item, bool asLabel) {
    if (currentTable) {
        currentTable->addItem(item);
        item->setParent();
    } else {
        item->setParent();
        (asLabel ? item->label : item->control) = true;
        rootItems.add(item);
    }
    if (!openStates.empty()) openStates[openStates.count() - 1]->items.add(item);
    item->load();
}

void frkBrowseImpl::beginTable() {
    frkTable* table = new frkTable(&owner, currentTable);
    adopt(table);
    currentTable = table;
}

void frkBrowseImpl::newRow() {
    if (currentTable) currentTable->newRow();
}

void frkBrowseImpl::endTable() {
    frkTable* table = currentTable;
    if (!table) return;
    table->finish();
    currentTable = table->enclosing;
    if (currentTable)
        currentTable->addItem(table);
    else
        rootItems.add(table);
}

void frkBrowseImpl::reload() {
    for (frkVCLItem* item : items) item->load();
}

void frkBrowseImpl::save() {
    for (frkVCLItem* item : items) item->save();
}

// ---- change notices and layout

void frkBrowseImpl::notifyChanged(const frkTriggerEvent& notice) {
    lock();
    // Released however a handler ends.
    struct Release {
        frkBrowseImpl* impl;
        ~Release() { impl->unlock(); }
    } release{this};
    for (frkVCLItem* item : items) item->onNotice(notice);
    for (frkCondState* state : condStates) state->onNotice(notice);
}

void frkBrowseImpl::requestLayout() {
    if (lockCount == 0)
        relayout();
    else
        layoutWanted = true;
}

void frkBrowseImpl::unlock() {
    if (lockCount > 0) --lockCount;
    if (lockCount == 0 && layoutWanted) relayout();
}

void frkBrowseImpl::relayout() {
    int y = 5;
    for (frkVCLItem* item : rootItems) {
        if (item->isExcluded()) continue;
        if (item->label) {
            item->setBounds(10, y, 200, 21);
        } else if (item->control) {
            item->setBounds(220, y, 200, 21);
            if (item->isVisible()) y += 21 + 4;
        } else {
            int w = 0, h = 0;
            item->preferredSize(w, h);
            item->setBounds(10, y, 410, h);
            y += h + 4;
        }
    }
    y += 5;
    const int n = commands.count();
    const int perRow = n < 3 ? n : 3;
    const int margin = (430 - (perRow - 1) * 10 - perRow * 130) / 2;
    std::vector<frkRect> buttons;
    int column = 0;
    for (int i = 0; i < n; ++i) {
        if (column == perRow) {
            y += 30;
            column = 0;
        }
        buttons.push_back(frkRect{margin + column * 140, y, 130, 25});
        ++column;
    }
    y += 25 + 5;
    if (layoutDone) layoutDone(buttons, 430, y);
}
