#include "songs/kxview.h"

#include "songs/kxsong.h"
#include "songs/kxspace.h"

namespace {

// Numbers the custom views of the whole program run: VDB1, VDB2, ...
int customViewCounter = 0;

btkstring nextCustomViewName() { return btkFormat("VDB%d", ++customViewCounter); }

}  // namespace

btkstring JoinCustomColumns(const btkStrings& names) { return btkJoin(names, ';'); }

KxView::KxView() { setParent(gKxSpace); }

KxCustomView::KxCustomView() : viewName(nextCustomViewName()) {}

KxCustomView::KxCustomView(const btkCntVec<KxSong*>& list) : viewName(nextCustomViewName()), songs(list) {}

void KxCustomView::release() {
    // The songs this view made belong to nobody else.
    for (KxSong* song : songs)
        if (song->getParent() == this) song->release();
    KxView::release();
}

btkstring KxCustomView::customColumns() { return JoinCustomColumns(customCols); }

KxSong* KxCustomView::addNewSong() {
    KxSong* song = new KxSong;
    songs.add(song);
    song->setParent(this);
    return song;
}

void KxCustomView::setSongs(const btkCntVec<KxSong*>& list) {
    songs = list;
    changed();
}

void KxCustomView::removeSong(KxObject* object) {
    KxSong* song = object->asSong();
    if (!song) return;
    songs.remove(song);
    changed();
}
