// Services that the model and many windows share: program-wide events to
// the common handlers, the status text, progress and busy notices, the
// choice of songs an action takes, and colour texts.
#pragma once

#include "dbw/dbwsync.h"
#include "foundation/btkarray.h"
#include "foundation/btkcolor.h"
#include "foundation/btkstring.h"
#include "songs/uibridge.h"

class KxSong;

// A program-wide event: 1 the options have changed (re-read them), 2 the
// options are about to be saved (write your settings into them).
struct KxCommonEvent {
    int code;
};

enum { KX_EVENT_OPTIONS_CHANGED = 1, KX_EVENT_OPTIONS_SAVE = 2 };

// Receiver of program-wide events; registered while it exists.
class CommonHandler {
public:
    CommonHandler();
    CommonHandler(const CommonHandler&) = delete;
    CommonHandler& operator=(const CommonHandler&) = delete;
    virtual ~CommonHandler();
    virtual void event(KxCommonEvent& /*event*/) {}
};

// Lets a window receive program-wide events in its member commonEvent.
template <class T> class TPrivateCommonHandler : public CommonHandler {
public:
    explicit TPrivateCommonHandler(T* owner) : owner(owner) {}
    void event(KxCommonEvent& e) override { owner->commonEvent(e); }

private:
    T* owner;
};

// Calls every registered common handler with the record, in registration
// order; handlers registered or removed meanwhile are handled correctly.
void BroadcastCommonEvent(KxCommonEvent& event);
int CommonHandlerCount();

// The main window's status bar, unless the program is closing.
void ShowStatusText(const char* text);
void ClearStatusText();
// Asks the main window to show the current login state.
void UpdateLoginStatus();

// The database library's progress receiver, shown in the progress window
// for the holder's lifetime.
class KxProgress : public dbwProgress {
public:
    KxProgress(const char* caption, const char* text, int steps, bool cancelAllowed);
    KxProgress(const KxProgress&) = delete;
    KxProgress& operator=(const KxProgress&) = delete;
    ~KxProgress();
    // False once the user cancelled; without a progress window it never is.
    bool step(int position, const btkstring& text) override;
    // The last step shown again: the window repaints and sees its cancel.
    bool waiting() override;

private:
    int lastPosition = 0;
    btkstring lastText;
};
// Closes the progress window without a holder.
void CloseProgressWindow();

// While it exists the busy window shows the text.
class KxBusy {
public:
    explicit KxBusy(const char* text);
    KxBusy(const KxBusy&) = delete;
    KxBusy& operator=(const KxBusy&) = delete;
    ~KxBusy();

private:
    bool shown;
};

// Which songs an action takes.
enum SongSetKind : unsigned char {
    SONGSET_CURRENT = 0,
    SONGSET_STACK = 1,
    SONGSET_VIEW = 2,
    SONGSET_ALL = 3,
};

// Empties the list and fills it with the songs of the chosen set.
void CollectSongSet(int kind, btkCntVec<KxSong*>& songs);

// The open-file dialog in the initial folder; on OK the chosen path is
// written to path and true returned, on cancel path stays as it was.
// Without dialogs (no windows) it is always cancelled.
bool ExecuteOpenDialog(const char* filter, const char* initialDir, btkstring& path);
// The chosen file name, "" when cancelled.
btkstring ExecuteOpenDialog(const char* filter, const char* initialDir);
// The save-file dialog; its default extension is the text after the last
// "." of the filter.
bool ExecuteSaveDialog(const char* filter, const char* initialDir, btkstring& path);
// Starts in the path's folder with the path's file name; the chosen file
// name, "" when cancelled.
btkstring ExecuteSaveDialog(const char* filter, const char* path);
// The text after the last "." of a filter, up to a separator ("*.kx" and
// "...|*.xgz|" give kx and xgz).
btkstring FilterDefaultExt(const char* filter);

btkstring ColorToText(btkColor color);
btkColor ColorFromText(const char* text);
