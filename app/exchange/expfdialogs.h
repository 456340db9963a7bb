// The property dialogs of two export filter kinds: the RTF format dialog
// Trtfexpffrm ("Formát RTF exportu") and the template filter dialog
// Tcustomexpffrm ("Uživatelský export"). Both edit a filter's settings in
// place only on OK; writing the filter's file is their caller's. The export
// library reaches them through gExportFilterDialogs
// (InstallExportFilterDialogs).
#pragma once

#include <functional>

#include "app/exchange/expfpropsframes.h"
#include "foundation/qt/btkform.h"

class QTabWidget;

class Trtfexpffrm : public btkDialogForm {
public:
    Trtfexpffrm();
    [[nodiscard]] bool Execute(RTFExporterProps& rtf, RTFSongExporterProps& rtftext, TextExporterProps& textProps);

    Texpfpropstextfrm* text = nullptr;
    Texpfpropsrtftextfrm* rtftext = nullptr;
    Texpfpropsrtffrm* rtf = nullptr;
    QPushButton* BitBtn1 = nullptr;           // OK
    QPushButton* BitBtn2 = nullptr;           // Storno
    std::function<int(Trtfexpffrm&)> runner;  // tests: runs the filled dialog
};

class Tcustomexpffrm : public btkDialogForm {
public:
    Tcustomexpffrm();
    [[nodiscard]] bool Execute(TextExporterProps& textProps, CustomExporterProps& customProps);

    QTabWidget* pages = nullptr;
    Texpfpropscustomfrm* custom = nullptr;
    Texpfpropstextfrm* text = nullptr;
    QPushButton* BitBtn1 = nullptr;              // OK
    QPushButton* BitBtn2 = nullptr;              // Storno
    std::function<int(Tcustomexpffrm&)> runner;  // tests: runs the filled dialog
};

extern Trtfexpffrm* rtfexpffrm;
extern Tcustomexpffrm* customexpffrm;

// Lets the export filters open the two dialogs while they exist (null-safe:
// without them editing is cancelled); null uninstalls.
void InstallExportFilterDialogs(bool install);
