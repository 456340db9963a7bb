// Everything a run-time dialog holds except its widgets: the pending state
// of the builder chain, the scopes and the default and cancel keys, the
// owned items, sources, events, commands and triggers, the tables being
// filled, the layout lock and the root layout.
//
// Pending state: between two items or commands the caller pushes sources
// and sets a number, the password and separator options and events. Each
// item pops exactly the sources it binds (the latest first; the null
// source when none is left) and then resets the rest, except a static
// text, which leaves them for the item it labels.
//
// Layout: the lock count starts at 1, so nothing is laid out while the
// dialog is built; every return of the count to 0 lays the dialog out
// again (the wanted flag is never cleared). The root layout places labels
// at left 10 and controls at left 220 (200 x 21 each, 25 px per line),
// tables 410 wide, then the command buttons in rows of three, in a form
// 430 pixels wide.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "frk/frkbase.h"
#include "frk/frkevent.h"
#include "frk/frkitem.h"
#include "frk/frksource.h"

// One command: the bottom button and the events it fires.
struct frkAction {
    btkCntVec<frkEvent*> events;  // not owned
    frkKey key;
    btkstring caption;
    btkstring identifier;  // "std.ok", "std.cancel", "std.yes", "std.no" or any text
};

class frkBrowseImpl final : public frkBrowseImplBase {
public:
    explicit frkBrowseImpl(frkDialog& owner);
    ~frkBrowseImpl();
    frkBrowseImpl(const frkBrowseImpl&) = delete;
    frkBrowseImpl& operator=(const frkBrowseImpl&) = delete;

    void addDataSource(frkDataSource* source) override { sources.add(source); }
    void addEvent(frkEvent* event) override { events.add(event); }
    void addTrigger(frkTrigger* trigger) override { triggers.add(trigger); }
    void notifyChanged(const frkTriggerEvent& notice) override;
    void requestLayout() override;

    // ---- builder state
    void pushSource(frkDataSource* source) { pendingSources.add(source); }
    // The latest pending source, taken off the stack; the null source when
    // none is pending.
    frkDataSource* popSource();
    // Replaces every pending source by one format source over them.
    void format(const btkstring& pattern);
    void resetPending();
    int currentScope() const { return scopes.empty() ? 0 : scopes[scopes.count() - 1]; }
    frkKey pendingKey() const { return frkKey{currentScope(), pendingNumber}; }
    void beginScope();
    void endScope();
    void defaultCommand(int number) { defaultKey = frkKey{currentScope(), number}; }
    void cancelCommand(int number) { cancelKey = frkKey{currentScope(), number}; }
    void addPendingEvent(frkEvent* event) { pendingEvents.add(event); }
    void saveEvent();
    void closeWith(int code);
    void command(const btkstring& caption, const btkstring& identifier);
    // OK: default, saves, closes with -1. Cancel: answers Esc, closes with 0.
    void addStandardOkCommand(const btkstring& caption);
    void addStandardCancelCommand(const btkstring& caption);
    bool isDefault(const frkAction& action) const { return frkKeysMatch(action.key, defaultKey); }
    bool isCancel(const frkAction& action) const { return frkKeysMatch(action.key, cancelKey); }

    // ---- items
    // The dialog owns the item from now on.
    void adopt(frkVCLItem* item) { items.add(item); }
    // Puts the item into the current table, else at the root (as a label
    // or a control), adds it to the innermost open conditional state and
    // loads it.
    void placeItem(frkVCLItem* item, bool asLabel);
    void beginTable();
    void newRow();
    void endTable();
    void reload();
    void save();

    // ---- layout
    void lock() { ++lockCount; }
    void unlock();
    void relayout();
    // Called by relayout with the bounds of each command's button and the
    // form's client size.
    std::function<void(const std::vector<frkRect>& buttons, int width, int height)> layoutDone;

    frkDialog& owner;
    int pendingNumber = -1;
    bool password = false;
    char valueSeparator = 0;
    btkCntVec<frkEvent*> pendingEvents;
    int result = 0;
    frkKey defaultKey, cancelKey;
    frkTable* currentTable = nullptr;
    btkObjArray<frkVCLItem> items;  // creation order
    btkCntVec<frkVCLItem*> rootItems;
    btkObjArray<frkAction> commands;
    btkObjArray<frkCondState> condStates;
    btkCntVec<frkCondState*> openStates;
    int lockCount = 1;
    bool layoutWanted = true;

private:
    btkCntVec<frkDataSource*> pendingSources;
    btkCntVec<int> scopes;
    int scopeCounter = 0;
    std::unique_ptr<frkDataSource> nullSource;
    btkObjArray<frkDataSource> sources;
    btkObjArray<frkEvent> events;
    btkObjArray<frkTrigger> triggers;
};
