// Songs dragged out of the song grid and the group view. The data names
// the songs by their address; reading it back keeps only songs that still
// belong to an open database, so a song removed while it was dragged is
// never reached.
#pragma once

#include "foundation/btkarray.h"

class QMimeData;
class KxSong;

// The MIME type of dragged songs.
extern const char* const SongDragMimeType;

// New drag data for the songs (owned by the caller); null without songs.
QMimeData* MakeSongDragData(const btkCntVec<KxSong*>& songs);
// The dragged songs that still live, in drag order; empty for other data.
btkCntVec<KxSong*> DraggedSongs(const QMimeData* data);
