#include "app/internet/internetactions.h"

#include "app/internet/autologindialog.h"
#include "app/internet/dbsyndialog.h"
#include "app/internet/internalsynfrm.h"
#include "app/internet/loginwizardfrm.h"
#include "app/main/mainactions.h"
#include "app/main/mainfrm.h"

bool runDownloadDialog(const char* title, btkstring& name, InetSynProps& props) {
    frkBrowse dlg;
    dlg.title(title);
    frkConstStringSource::create(dlg, "Jméno databáze").staticText();
    frkStringVarSource::create(dlg, name).edit();
    addLanguageFilterRow(dlg, props.condition);
    return dlg.execute() == -1;
}

void ConnectInternetWindows(Tmainfrm& window) {
    InstallLoginWizard(loginwizardfrm);
    RunSyncOptionsDialog = runSyncOptionsDialog;
    RunDownloadDialog = runDownloadDialog;
    window.setActionHandler("a_autologin", [] { (void)runAutologinDialog(); });
    window.setActionHandler("a_internalsyn", [] {
        if (internalsynfrm) (void)internalsynfrm->Execute();
    });
}
