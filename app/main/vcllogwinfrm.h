// Tvcllogwinfrm: a free-standing log window into which a long operation
// writes its report; the user can append the report to the daily log. The
// window frees itself when closed; its writer outlives it and drops later
// writes.
#pragma once

#include "app/main/logctrlfrm.h"
#include "foundation/btkref.h"
#include "foundation/qt/btkform.h"
#include "songs/uibridge.h"

class QToolButton;

class Tvcllogwinfrm : public btkDialogForm {
public:
    // The record name, the database's file name and the caption (also the
    // record's argument).
    Tvcllogwinfrm(const char* logName, const char* dbFileName, const char* caption);
    ~Tvcllogwinfrm() override;

    // Appends each non-empty line of the text to the memo.
    void writeText(const char* text);
    // "Uložit do souboru": appends the memo as one record to the daily log.
    void saveToLog();
    btkRef<LogWindow> writer() const { return intf; }

    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* btreadonly = nullptr;
    Tlogctrlfrm* logctrl = nullptr;

private:
    btkstring dbFile;
    btkstring argument;
    btkstring recordName;
    btkRef<LogWindow> intf;
};

// Makes OpenLogWindow open Tvcllogwinfrm windows.
void InstallLogWindowFactory();
// Closes every log window still open (end of the program).
void CloseAllLogWindows();
// The log windows open now.
int OpenLogWindowCount();
Tvcllogwinfrm* OpenLogWindowAt(int i);
