// The main window's commands of the settings windows: options, database
// properties.
#include "app/main/mainactions.h"
#include "app/main/mainfrm.h"
#include "app/windows.h"

void ConnectSettingsActions(Tmainfrm& window) {
    window.setActionHandler("a_options", [] {
        if (optionsfrm) optionsfrm->Execute();
    });
    window.setActionHandler("a_dbprops", [&window] {
        if (!dbpropsfrm) return;
        if (KxDatabase* database = window.getActDatabaseMsg()) dbpropsfrm->Execute(database);
    });
}
