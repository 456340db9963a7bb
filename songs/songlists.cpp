#include "songs/songlists.h"

#include "foundation/btkfile.h"
#include "songs/kxsong.h"

namespace {

void removeFirst(btkCntVec<KxSong*>& songs, KxObject* object) {
    if (KxSong* song = object->asSong()) songs.remove(song);
}

}  // namespace

void SortedSongList::fill(KxView* view) {
    songs.clear();
    if (view) view->getSongs(songs);
    sort();
}

void SortedSongList::setCompare(SongCompare* newCompare) {
    if (newCompare == compare) return;
    compare = newCompare;
    sort();
}

void SortedSongList::objectRemoved(KxObject* object) { removeFirst(songs, object); }

void SongGroup::objectRemoved(KxObject* object) { removeFirst(songs, object); }

void SongListTool::objectRemoved(KxObject* object) { removeFirst(songs, object); }

void SongGroupList::setView(KxView* newView) {
    view = newView;
    rebuild();
}

void SongGroupList::rebuild() {
    groups.clear();
    if (!view) return;
    btkCntVec<KxSong*> songs;
    view->getSongs(songs);
    SortSongsByCompare(&gGroupCompare, songs);
    SongGroup* current = nullptr;
    for (KxSong* song : songs) {
        if (!current || current->name != song->group) {
            current = new SongGroup(song->group);
            groups.add(current);
        }
        current->songs.add(song);
    }
}
