#include "songbook/melodar.h"

#include <algorithm>
#include <unordered_map>

#include "foundation/btkfile.h"
#include "songbook/pageformat.h"
#include "songs/kxspace.h"
#include "songs/songcompare.h"

MelodarWindowFactory* gMelodarWindowFactory = nullptr;

namespace {

btkCntVec<Melodar*>& openBooks() {
    static btkCntVec<Melodar*> books;
    return books;
}

}  // namespace

const btkCntVec<Melodar*>& OpenMelodars() { return openBooks(); }

Melodar::Melodar() {
    openBooks().add(this);
    if (gMelodarWindowFactory) window = gMelodarWindowFactory->create(this);
}

Melodar::~Melodar() {
    openBooks().remove(this);
    // Whatever points into something else goes first: pages into panes,
    // the page format to the type and printer, fonts made by the printer.
    dropPages();
    pageFormat.reset();
    formatProps.reset();
    items.clear();
    type.reset();
    printerDevice.reset();
}

// ---- type and printer

void Melodar::initType() {
    type = std::make_unique<MelodarKxType>();
    applyType();
}

void Melodar::dropLayout() {
    dropPages();
    for (auto& item : items) item->panes.reset();
    pageFormat.reset();
    formatProps.reset();
}

void Melodar::applyType() {
    dropLayout();
    printerDevice.reset();
    if (type && printer()) pageFormat = std::make_unique<KxPageFormat>(*type, *printerDevice);
    if (window) window->typeApplied();
    relayout();
}

btkPrintDevice* Melodar::printer() {
    if (!printerDevice) printerDevice = btkMakePrinter(type && type->landscape);
    return printerDevice.get();
}

btkstring Melodar::name() const {
    return fileName.empty() ? btkstring(DefaultName) : btkstring(btkFile(btkFile(fileName).fileName()).changeExt(""));
}

void Melodar::showWindow() {
    if (window) window->showWindow();
}

void Melodar::dropPages() {
    sheets.reset();
    logPages.reset();
}

// ---- items

KxData* Melodar::GetItem(int i) const { return i >= 0 && i < GetItemCount() ? items[i].get() : nullptr; }

int Melodar::indexOf(const KxData* item) const {
    for (int i = 0; i < GetItemCount(); ++i)
        if (items[i].get() == item) return i;
    return -1;
}

void Melodar::itemsChanged() {
    setChanged();
    if (window) window->FillItemList();
    relayout();
}

void Melodar::appendItem(std::unique_ptr<KxData> item) {
    item->book = this;
    items.push_back(std::move(item));
}

void Melodar::dropSong(const KxSong& song) {
    appendItem(std::make_unique<SongData>(this, song));
    itemsChanged();
}

void Melodar::addStack() {
    if (!gKxSpace || !gKxSpace->getStack()) return;
    btkCntVec<KxSong*> songs;
    gKxSpace->getStack()->getSongs(songs);
    for (KxSong* song : songs) appendItem(std::make_unique<SongData>(this, *song));
    itemsChanged();
}

void Melodar::swapItems(int i, int j) {
    if (!GetItem(i) || !GetItem(j)) return;
    std::swap(items[i], items[j]);
    itemsChanged();
}

void Melodar::moveItem(int from, int to) {
    if (!GetItem(from)) return;
    to = std::clamp(to, 0, GetItemCount() - 1);
    if (from == to) return;
    std::unique_ptr<KxData> item = std::move(items[from]);
    items.erase(items.begin() + from);
    items.insert(items.begin() + to, std::move(item));
    itemsChanged();
}

void Melodar::deleteItem(int i) {
    if (!GetItem(i)) return;
    dropPages();
    items.erase(items.begin() + i);
    itemsChanged();
}

void Melodar::insertOutline(std::unique_ptr<KxOutline> outline) {
    outline->book = this;
    outline->fixtobegin = true;
    items.insert(items.begin(), std::move(outline));
    itemsChanged();
}

void Melodar::sortSongs(const SongCompare* compare) {
    btkCntVec<AbstractSongData*> songs;
    std::vector<std::unique_ptr<KxData>> others;
    for (auto& item : items) {
        if (AbstractSongData* song = item->asSongData())
            songs.add(song);
        else
            others.push_back(std::move(item));
    }
    SortByCompare(compare, songs);

    std::vector<std::unique_ptr<KxData>> sorted;
    size_t lead = 0;
    while (lead < others.size() && others[lead]->fixtobegin) sorted.push_back(std::move(others[lead++]));
    // The song items are still held by items.
    std::unordered_map<AbstractSongData*, size_t> holder;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i]) holder[items[i]->asSongData()] = i;
    for (AbstractSongData* song : songs) sorted.push_back(std::move(items[holder[song]]));
    for (size_t i = lead; i < others.size(); ++i) sorted.push_back(std::move(others[i]));
    items = std::move(sorted);
    itemsChanged();
}
