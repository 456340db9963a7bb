// Tshowlogfrm: the log viewer. Lists the daily log files data/*.log, splits
// the chosen file into its entries, shows an entry in one of two log panes
// and can write an edited file back.
#pragma once

#include "app/main/logctrlfrm.h"
#include "app/main/logfile.h"
#include "foundation/qt/btkform.h"

class QListWidget;
class QToolButton;

class Tshowlogfrm : public btkDialogForm {
public:
    Tshowlogfrm();

    // Shows the viewer with the list of log files.
    void showViewer();
    void listLogFiles();
    // Reads the selected file into entries and shows the first one.
    void parseLogFile();
    void ShowSelectedEntry();
    // "Bezprizorní text": the stray text in the active pane.
    void showStrayText();
    // "Uložit": after the warning question replaces the selected entry's
    // text in the file by its edit in a pane that shows that entry; the rest
    // of the file keeps its bytes, and what the file gained at its end since
    // the read (lines the program logged meanwhile) is kept after it.
    // Without such an edit nothing is written; a file changed otherwise
    // since the read, or a failed write, throws btkError naming the file
    // and leaves the file as it was.
    void saveLogFile();
    Tlogctrlfrm* activeFrame() const;
    const LogFileContent& content() const { return log; }

    QListWidget* files = nullptr;
    QListWidget* entries = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* btlog1 = nullptr;
    QToolButton* btlog2 = nullptr;
    QToolButton* btreadonly = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    Tlogctrlfrm* logctrl1 = nullptr;
    Tlogctrlfrm* logctrl2 = nullptr;

protected:
    // Every show lists the log files anew.
    void showEvent(QShowEvent* event) override;

private:
    btkstring selectedFilePath() const;
    // The entry a pane shows (-1: none, the stray text or an older file's).
    int& shownEntry(const Tlogctrlfrm* pane) { return pane == logctrl2 ? shown[1] : shown[0]; }
    // Shows text in the pane as not yet edited.
    void showInPane(Tlogctrlfrm* pane, const char* text, const char* logName, int entry);

    int shown[2] = {-1, -1};

    LogFileContent log;
};

extern Tshowlogfrm* showlogfrm;
