// What the song model needs of the windows, as small interfaces that the
// program registers at start-up. Each has a headless default, so the model
// and its tests run without any window: there is no main window, progress
// always goes on, busy notices show nothing, log windows collect their text
// in a string and the login wizard does nothing.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkref.h"
#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

class KxSong;
class KxView;
class KxDatabase;

// The model's only way to the main window. The operations that end in "Msg"
// show their error box and give null when there is nothing to give.
class MainWinBase {
public:
    virtual KxSong* getActSong() = 0;
    virtual KxSong* getActSongMsg() = 0;
    virtual KxView* getActView() = 0;
    virtual KxView* getActViewMsg() = 0;
    virtual KxDatabase* getActDatabase() = 0;
    virtual KxDatabase* getActDatabaseMsg() = 0;
    virtual KxDatabase* getActInetDatabase() = 0;
    virtual void setActSong(KxSong* song) = 0;
    virtual void selectView(int index) = 0;
    virtual void setStatusText(const char* text) = 0;
    virtual void showLoginState() = 0;
    virtual void selectSongById(int locid) = 0;
    virtual void closeMain() = 0;
    // The songs of the current list in display order.
    virtual void getListSongs(btkCntVec<KxSong*>& songs) = 0;

protected:
    ~MainWinBase() = default;
};

// The program's main-window bridge; null while there is no main window.
extern MainWinBase* gMainWin;

// The progress window (Tprogressfrm).
class KxProgressWindow {
public:
    virtual void start(const char* caption, const char* text, int maximum, bool cancelVisible) = 0;
    // False once the user pressed cancel.
    virtual bool step(int position, const char* text) = 0;
    virtual void close() = 0;

protected:
    ~KxProgressWindow() = default;
};
extern KxProgressWindow* gProgressWindow;

// The busy window (Tbusyfrm).
class KxBusyWindow {
public:
    // Puts the text into the label, shows the window and lets it paint.
    virtual void showBusy(const char* text) = 0;
    virtual void hideBusy() = 0;

protected:
    ~KxBusyWindow() = default;
};
extern KxBusyWindow* gBusyWindow;

// The text writer of a log window. It is counted: a task that still writes
// after the user closed the window keeps its writer, whose later writes are
// dropped.
class LogWindow : public btkRCObject {
public:
    virtual void write(const char* text) = 0;
};

// Makes log windows (Tvcllogwinfrm).
class KxLogWindowFactory {
public:
    // Makes a log window with the record name, the caption (also the
    // record's argument) and the database's file name, shows it without
    // waiting and returns its writer.
    virtual btkRef<LogWindow> open(const char* logName, const char* caption, const char* dbFileName) = 0;

protected:
    ~KxLogWindowFactory() = default;
};
extern KxLogWindowFactory* gLogWindowFactory;

// The login and new-account wizard (Tloginwizardfrm).
class KxLoginWizard {
public:
    virtual void execute() = 0;

protected:
    ~KxLoginWizard() = default;
};
extern KxLoginWizard* gLoginWizard;

// The modal file dialogs. A filter is the platform's list of caption and
// pattern pairs separated by "|".
class KxFileDialogs {
public:
    // An existing file; on OK the chosen path is written to path.
    virtual bool openFile(const char* filter, const char* initialDir, btkstring& path) = 0;
    // Asks before overwriting; path holds the proposed name on entry and
    // the chosen path after OK.
    virtual bool saveFile(const char* filter, const char* initialDir, const char* defaultExt, btkstring& path) = 0;

protected:
    ~KxFileDialogs() = default;
};
extern KxFileDialogs* gFileDialogs;

// Opens a log window through the registered factory. Without one, the text
// goes to a string log (see HeadlessLogText).
btkRef<LogWindow> OpenLogWindow(const char* logName, const char* caption, const char* dbFileName);
// Everything written to headless log windows so far, and its reset.
btkstring HeadlessLogText();
void ClearHeadlessLogText();
// Runs the login wizard when one is registered.
void ExecuteLoginWizard();

// The options tree (options.xml), read and written by the windows; an empty
// tree until the program loads it.
btkXMLNode& OptionsRoot();

// Set by the main window once it has agreed to close: status texts are then
// no longer shown.
extern bool gAppClosing;
