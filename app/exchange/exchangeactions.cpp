// The main window's commands of the export and import windows: export
// filters, custom export, text import.
#include "app/main/mainactions.h"
#include "app/main/mainfrm.h"
#include "app/windows.h"

void ConnectExchangeActions(Tmainfrm& window) {
    window.setActionHandler("a_exportfilters", [] {
        if (expflistfrm) expflistfrm->Execute();
    });
    window.setActionHandler("a_customexport", [] {
        if (customexportfrm) (void)customexportfrm->Execute();
    });
    window.setActionHandler("a_txtimport", [] {
        if (importfrm) importfrm->Execute();
    });
}
