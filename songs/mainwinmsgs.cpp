#include "songs/mainwinmsgs.h"

#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/uibridge.h"

void M_SetActSong::execute() {
    if (song && gMainWin) gMainWin->setActSong(song);
}

void M_SetActSong::objectRemoved(KxObject* object) {
    if (object == static_cast<KxObject*>(song)) song = nullptr;
}

void M_LastDB::execute() {
    if (gMainWin && gKxSpace) gMainWin->selectView(gKxSpace->viewCount() - 1);
}
