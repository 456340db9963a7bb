#include "songs/kxsong.h"

#include "foundation/btkfold.h"
#include "foundation/btkstream.h"
#include "songs/chords.h"
#include "songs/kxdatabase.h"
#include "songs/kxspace.h"
#include "songs/songclass.h"

const char* const SongColumnCaptions[16] = {
    "Zásobník",
    "Název",
    "Skupina",
    "Autor",
    "Zdroj",
    "Poznámka",
    "Exportováno",
    "Vytvořeno",
    "LOCID",
    "NETID",
    "SRC",
    "Modifikováno oproti internetu",
    "Nesrovnávat s internetem",
    "Verze",
    "Speciální typ",
    "Jazyk",
};

// ---- AbstractSongData defaults

btkstring AbstractSongData::getVar(const char*) const { return btkstring(); }
btkstring AbstractSongData::getTitle() const { return btkstring(); }
btkstring AbstractSongData::getAuthor() const { return btkstring(); }
btkstring AbstractSongData::getGroup() const { return btkstring(); }
btkstring AbstractSongData::getText() const { return btkstring(); }
btkstring AbstractSongData::getRemark() const { return btkstring(); }
int AbstractSongData::getLocid() const { return 0; }
int AbstractSongData::getNetid() const { return 0; }
bool AbstractSongData::isOnStack() const { return false; }
bool AbstractSongData::isFlagged() const { return false; }
bool AbstractSongData::getNetmodified() const { return false; }
bool AbstractSongData::getNonet() const { return false; }
int AbstractSongData::getVersion() const { return 0; }
btkstring AbstractSongData::getSpecial() const { return btkstring(); }
btkstring AbstractSongData::getLang() const { return btkstring(); }

// ---- KxSong

namespace {

// Removes the first occurrence; the last element takes its place.
void removeSwappingLast(btkCntVec<KxSong*>& list, KxSong* song) {
    int i = list.find(song);
    if (i < 0) return;
    int last = list.count() - 1;
    list[i] = list[last];
    list.removeItems(last, 1);
}

}  // namespace

KxSong::~KxSong() {
    if (onStack && gKxSpace) gKxSpace->stack->songs.remove(this);
    if (database) {
        removeSwappingLast(database->songs, this);
        database->setChanged();
        database->changed();
    }
}

void KxSong::changed() {
    changeBits = ~0;
    KxObject::changed();
}

void KxSong::afterNotify() { changeBits = 0; }

dbwSynClass* KxSong::synClass() { return &SongClass::instance(); }

void KxSong::setModified(bool forInternet) {
    if (database) database->setChanged();
    modified = true;
    if (forInternet && netid != 0) netmodified = true;
}

btkstring KxSong::syncLogLine() const {
    return btkFormat("%5d (netid=%5d)# %30s %30s", locid, netid, title.c_str(), group.c_str());
}

void KxSong::setLocid(int id) {
    locid = id;
    if (database) database->raiseHighestLocid(id);
}

void KxSong::putOnStack() {
    if (onStack || !gKxSpace) return;
    gKxSpace->stack->songs.add(this);
    gKxSpace->stack->changed();
    onStack = true;
    changeBits |= KX_STACK_CHANGED;
    KxObject::changed();
}

void KxSong::takeFromStack() {
    if (!onStack) return;
    if (gKxSpace) {
        gKxSpace->stack->songs.remove(this);
        gKxSpace->stack->changed();
    }
    onStack = false;
    changeBits |= KX_STACK_CHANGED;
    KxObject::changed();
}

void KxSong::toggleStack() {
    if (isOnStack())
        takeFromStack();
    else
        putOnStack();
}

bool KxSong::containsText(const char* phrase) const {
    return btkFoldedFind(phrase, title) || btkFoldedFind(phrase, author) || btkFoldedFind(phrase, remark) ||
           btkFoldedFind(phrase, group) || btkFoldedFind(phrase, text);
}

btkstring KxSong::displayText() const {
    if (transposition == 0) return text;
    btkTextWriteStream out;
    TransposeChords(text, static_cast<btkStringWriteStream&>(out), transposition);
    return btkstring(out.c_str());
}

void KxSong::copyFrom(const KxSong& other) {
    transposition = other.transposition;
    text = other.text;
    title = other.title;
    author = other.author;
    group = other.group;
    remark = other.remark;
}

void KxSong::moveToDatabase(KxDatabase* newDatabase) {
    if (database) removeSwappingLast(database->songs, this);
    database = newDatabase;
    if (newDatabase) newDatabase->songs.add(this);
    setParent(newDatabase);
}
