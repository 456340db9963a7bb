#include "songs/appservices.h"

#include <cstring>
#include <string>
#include <unordered_set>

#include "foundation/btkfile.h"
#include "songs/kxhandlerlist.h"
#include "songs/kxspace.h"

namespace {

KxHandlerList<CommonHandler>& commonHandlers() {
    static KxHandlerList<CommonHandler> list;
    return list;
}

}  // namespace

CommonHandler::CommonHandler() { commonHandlers().add(this); }

CommonHandler::~CommonHandler() { commonHandlers().remove(this); }

void BroadcastCommonEvent(KxCommonEvent& event) {
    commonHandlers().forEach([&](CommonHandler* h) { h->event(event); });
}

int CommonHandlerCount() { return commonHandlers().count(); }

void ShowStatusText(const char* text) {
    if (gAppClosing || !gMainWin) return;
    gMainWin->setStatusText(text);
}

void ClearStatusText() { ShowStatusText(""); }

void UpdateLoginStatus() {
    if (gMainWin) gMainWin->showLoginState();
}

KxProgress::KxProgress(const char* caption, const char* text, int steps, bool cancelAllowed) : lastText(text) {
    if (gProgressWindow) gProgressWindow->start(caption, text, steps, cancelAllowed);
}

KxProgress::~KxProgress() { CloseProgressWindow(); }

bool KxProgress::step(int position, const btkstring& text) {
    lastPosition = position;
    lastText = text;
    if (!gProgressWindow) return true;
    return gProgressWindow->step(position, text);
}

bool KxProgress::waiting() {
    if (!gProgressWindow) return true;
    return gProgressWindow->step(lastPosition, lastText);
}

void CloseProgressWindow() {
    if (gProgressWindow) gProgressWindow->close();
}

KxBusy::KxBusy(const char* text) : shown(gBusyWindow != nullptr) {
    if (shown) gBusyWindow->showBusy(text);
}

KxBusy::~KxBusy() {
    if (shown && gBusyWindow) gBusyWindow->hideBusy();
}

void CollectSongSet(int kind, btkCntVec<KxSong*>& songs) {
    songs.clear();
    switch (kind) {
    case SONGSET_CURRENT:
        if (gMainWin) {
            if (KxSong* song = gMainWin->getActSong()) songs.add(song);
        }
        break;
    case SONGSET_STACK:
        if (gKxSpace) gKxSpace->getStack()->getSongs(songs);
        break;
    case SONGSET_VIEW:
        if (gMainWin) {
            if (KxView* view = gMainWin->getActView()) view->getSongs(songs);
        }
        break;
    case SONGSET_ALL: {
        if (!gKxSpace) break;
        std::unordered_set<KxSong*> seen;
        btkCntVec<KxSong*> viewSongs;
        for (int i = 0; i < gKxSpace->viewCount(); ++i) {
            gKxSpace->getView(i)->getSongs(viewSongs);
            for (KxSong* song : viewSongs)
                if (seen.insert(song).second) songs.add(song);
        }
        break;
    }
    default: break;
    }
}

bool ExecuteOpenDialog(const char* filter, const char* initialDir, btkstring& path) {
    if (!gFileDialogs) return false;
    btkstring chosen = path;
    if (!gFileDialogs->openFile(filter, initialDir, chosen)) return false;
    path = chosen;
    return true;
}

btkstring ExecuteOpenDialog(const char* filter, const char* initialDir) {
    btkstring path;
    return ExecuteOpenDialog(filter, initialDir, path) ? path : btkstring();
}

btkstring FilterDefaultExt(const char* filter) {
    const char* dot = std::strrchr(filter, '.');
    if (!dot) return btkstring();
    // The separators after the last pattern are no part of its extension.
    return btkstring(std::string(dot + 1, std::strcspn(dot + 1, "|;)")).c_str());
}

bool ExecuteSaveDialog(const char* filter, const char* initialDir, btkstring& path) {
    if (!gFileDialogs) return false;
    btkstring chosen = path;
    if (!gFileDialogs->saveFile(filter, initialDir, FilterDefaultExt(filter), chosen)) return false;
    path = chosen;
    return true;
}

btkstring ExecuteSaveDialog(const char* filter, const char* path) {
    btkFile start(path);
    btkstring chosen = start.fileName();
    return ExecuteSaveDialog(filter, start.dirPart(), chosen) ? chosen : btkstring();
}

btkstring ColorToText(btkColor color) { return colorToName(color); }

btkColor ColorFromText(const char* text) { return colorFromName(text); }
