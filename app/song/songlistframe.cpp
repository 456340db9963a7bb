#include "app/song/songlistframe.h"

#include "songs/kxview.h"

void SongListFrame::objectRemoved(KxObject* object) {
    if (view && object == static_cast<KxObject*>(view)) {
        view = nullptr;
        rebuildPending = false;
        rebuild();
        return;
    }
    if (KxSong* song = object->asSong()) songRemoved(song);
}

bool SongListFrame::rebuildCovers(KxObject* object) {
    if (rebuildPending || !view) return true;
    if (object != static_cast<KxObject*>(view)) return false;
    rebuildPending = true;
    return true;
}
