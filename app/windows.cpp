#include "app/windows.h"

#include "app/book/kxtypefrm.h"
#include "app/book/kxtypesfrm.h"
#include "app/book/melodarfrm.h"
#include "app/internet/internetactions.h"
#include "app/main/vcllogwinfrm.h"
#include "app/program.h"
#include "songs/uibridge.h"

Tbusyfrm* busyfrm = nullptr;
Tcolumnfrm* columnfrm = nullptr;
Tcustomsortfrm* customsortfrm = nullptr;
Tdbpropsfrm* dbpropsfrm = nullptr;
Toptionsfrm* optionsfrm = nullptr;
Tprintersettingsfrm* printersettingsfrm = nullptr;
Tprintrangefrm* printrangefrm = nullptr;
Tprogressfrm* progressfrm = nullptr;
Tqsearchfrm* qsearchfrm = nullptr;
Tshowlogfrm* showlogfrm = nullptr;
Twinlistfrm* winlistfrm = nullptr;

namespace {

template <class T> void make(T*& window) {
    window = new T();
    KeepAboveMainWindow(window);
}

template <class T> void destroy(T*& window) {
    delete window;
    window = nullptr;
}

}  // namespace

void CreateWindows(bool show) {
    // In the program's window order; the windows of the other commands
    // (song-book types, database properties, export filters, options, RTF
    // export, song-book window, song-book types, text import, song editor,
    // custom export) join this list with their commands.
    new Tmainfrm();
    make(busyfrm);
    make(cmdlinefrm);
    make(columnfrm);
    make(customsortfrm);
    make(internalsynfrm);
    make(loginwizardfrm);
    make(dbpropsfrm);
    make(optionsfrm);
    make(expflistfrm);
    make(rtfexpffrm);
    make(customexpffrm);
    make(customexportfrm);
    make(importfrm);
    InstallExportFilterDialogs(true);
    make(printersettingsfrm);
    make(printrangefrm);
    make(progressfrm);
    make(qsearchfrm);
    make(showlogfrm);
    make(songlistfrm);
    make(songsetfrm);
    make(songsubsetfrm);
    make(viewsongfrm);
    make(songdifffrm);
    make(searchfrm);
    make(editsongfrm);
    make(winlistfrm);
    make(kxtypefrm);
    make(kxtypesfrm);
    InstallLogWindowFactory();
    ConnectInternetWindows(*mainfrm);
    InstallMelodarWindowFactory(true);
    mainfrm->FormCreate();
    if (show) mainfrm->show();
}

void DestroyWindows() {
    InstallMelodarWindowFactory(false);
    CloseAllMelodarWindows();
    destroy(kxtypesfrm);
    destroy(kxtypefrm);
    gLogWindowFactory = nullptr;
    CloseAllLogWindows();
    destroy(winlistfrm);
    destroy(editsongfrm);
    destroy(searchfrm);
    destroy(songdifffrm);
    destroy(viewsongfrm);
    destroy(songsubsetfrm);
    destroy(songsetfrm);
    destroy(songlistfrm);
    destroy(showlogfrm);
    destroy(qsearchfrm);
    destroy(progressfrm);
    destroy(printrangefrm);
    destroy(printersettingsfrm);
    InstallExportFilterDialogs(false);
    destroy(importfrm);
    destroy(customexportfrm);
    destroy(customexpffrm);
    destroy(rtfexpffrm);
    destroy(expflistfrm);
    destroy(optionsfrm);
    destroy(dbpropsfrm);
    InstallLoginWizard(nullptr);
    destroy(loginwizardfrm);
    destroy(internalsynfrm);
    destroy(customsortfrm);
    destroy(columnfrm);
    destroy(cmdlinefrm);
    destroy(busyfrm);
    delete mainfrm;
    gMainWin = nullptr;
}
