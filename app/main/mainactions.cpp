#include "app/main/mainactions.h"

#include <cstring>

#include <QAction>
#include <QLineEdit>
#include <QToolBar>

#include "app/main/mainfrm.h"
#include "app/main/showlogfrm.h"
#include "app/main/startfrm.h"
#include "app/main/winlistfrm.h"
#include "app/settings/customsortfrm.h"
#include "app/windows.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"

// ---- the table

const MainActionDef MainActions[] = {
    {"a_quit", "Konec", "Melodar"},
    {"a_kxnew", "Nový", "Melodar"},
    {"a_kxload", "Načíst", "Melodar"},
    {"a_kxselect", "Zobrazit", "Melodar"},
    {"a_newdb", "Nová databáze", "Databáze"},
    {"a_dbcommit", "Uložit databázi", "Databáze"},
    {"a_dbrollback", "Zrušit změny", "Databáze"},
    {"a_dbinfo", "Informace o databázi", "Databáze"},
    {"a_dbopenfile", "Otevřít jinde", "Databáze"},
    {"a_dbexport", "Export", "Databáze"},
    {"a_dbimport", "Import", "Databáze"},
    {"a_customexport", "Uživatelský export", "Databáze"},
    {"a_txtimport", "Import z textu", "Databáze"},
    {"a_dbprops", "Vlastnosti databáze", "Databáze"},
    {"a_dbremove", "Odstranit databázi", "Databáze"},
    {"a_dbsearch", "Vyhledat", "Databáze"},
    {"a_dbcustomsort", "Vlastní třídění", "Databáze"},
    {"a_internalsyn", "Interní synchronizace", "Databáze"},
    {"a_udb_save", "Export uživatelských sloupců", "Databáze"},
    {"a_udb_load", "Import uživatelských sloupců", "Databáze"},
    {"a_editcellvalue", "Upravit položku buňky", "Úpravy"},
    {"a_allowquickedit", "Povolit rychlé úpravy", "Úpravy"},
    {"a_fillcolumn", "Vyplnit sloupec hodnotou buňky", "Úpravy"},
    {"a_autofill", "Automaticky vyplňovat buňku", "Úpravy"},
    {"a_filtercell", "Filtrovat podle hodnoty buňky", "Úpravy"},
    {"a_trnext", "Vyšší", "Transpozice"},
    {"a_trprev", "Nižší", "Transpozice"},
    {"a_trnext5", "Vyšší o kvintu", "Transpozice"},
    {"a_trprev5", "Nižší o kvintu", "Transpozice"},
    {"a_trsimple", "Nejjednodušší", "Transpozice"},
    {"a_treasy", "Nejlehčí", "Transpozice"},
    {"a_trorig", "Původní", "Transpozice"},
    {"a_newsong", "Nová píseň", "Píseň"},
    {"a_editsong", "Upravit", "Píseň"},
    {"a_printsong", "Tisk", "Píseň"},
    {"a_erasesong", "Smazat", "Píseň"},
    {"a_ping", "Otestovat připojení", "Internet"},
    {"a_synchronize", "Synchronizovat", "Internet"},
    {"a_login", "Přihlásit se", "Internet"},
    {"a_logout", "Odhlásit se", "Internet"},
    {"a_downloadinetdb", "Stáhnout internetovou databázi", "Internet"},
    {"a_autologin", "Automatické přihlášení", "Internet"},
    {"a_markinetdelete", "Smazat z internetové databáze", "Internet"},
    {"a_options", "Nastavení programu", "Nastavení"},
    {"a_printersetup", "Nastavení tiskárny", "Nastavení"},
    {"a_kxtypes", "Typy melodaru", "Nastavení"},
    {"a_exportfilters", "Exportovací filtry", "Nastavení"},
    {"a_cmdline", "Příkazová řádka", "Systém"},
    {"a_showlog", "Ukázat log", "Systém"},
    {"a_about", "O programu", "Nápověda"},
    {"a_active_db", "Aktivní databáze", "_toolbar"},
    {"a_base_toolbar", "Základní toolbar", "_toolbar"},
    {"a_celledit", "Editace hodnoty buňky", "_toolbar"},
    {"a_qedit", "Rychlé úpravy", "_toolbar"},
    {"a_transp", "Transpozice", "_toolbar"},
};
const int MainActionCount = static_cast<int>(std::size(MainActions));

const MainMenuDef MainMenus[] = {
    {"Melodar", {"a_kxnew", "a_kxload", "a_kxselect", "-", "a_quit"}},
    {"Databáze",
     {"a_newdb",
      "a_dbcommit",
      "a_dbrollback",
      "a_dbinfo",
      "a_dbopenfile",
      "-",
      "a_dbexport",
      "a_dbimport",
      "a_customexport",
      "a_txtimport",
      "-",
      "a_dbprops",
      "a_dbremove",
      "a_dbsearch",
      "a_dbcustomsort",
      "-",
      "a_internalsyn",
      "-",
      "a_udb_load",
      "a_udb_save"}},
    {"Úpravy", {"a_editcellvalue", "a_allowquickedit", "a_fillcolumn", "a_autofill", "a_filtercell"}},
    {"Transpozice", {"a_trnext", "a_trprev", "a_trnext5", "a_trprev5", "a_trsimple", "a_treasy", "a_trorig"}},
    {"Píseň", {"a_newsong", "a_editsong", "a_printsong", "a_erasesong"}},
    {"Internet",
     {"a_ping", "a_synchronize", "a_login", "a_logout", "a_downloadinetdb", "a_autologin", "-", "a_markinetdelete"}},
    {"Nastavení", {"a_options", "a_printersetup", "a_kxtypes", "a_exportfilters"}},
    {"Systém", {"a_cmdline", "a_showlog"}},
    {"Nápověda", {"a_about"}},
};
const int MainMenuCount = static_cast<int>(std::size(MainMenus));

const char* MainActionCaption(const char* name) {
    for (int i = 0; i < MainActionCount; ++i)
        if (std::strcmp(MainActions[i].name, name) == 0) return MainActions[i].caption;
    return "";
}

std::function<bool(KxDatabase*, SyncOptions&)> RunSyncOptionsDialog;

// ---- commands of the window itself

namespace {

// A _toolbar action: its check mark shows or hides one tool bar of its own.
void connectToggle(Tmainfrm& window, const char* name, QToolBar* part) {
    QAction* a = window.actionlist.find(name);
    a->setCheckable(true);
    a->setChecked(true);
    QObject::connect(a, &QAction::toggled, part, &QToolBar::setVisible);
    a->setEnabled(true);
}

}  // namespace

void ConnectWindowActions(Tmainfrm& window) {
    btkActionList& actions = window.actionlist;
    window.setActionHandler("a_quit", [&window] { window.close(); });
    window.setActionHandler("a_kxselect", [] {
        if (winlistfrm) winlistfrm->Execute();
    });
    window.setActionHandler("a_editcellvalue", [&window] { window.cell->setFocus(); });

    QAction* allow = actions.find("a_allowquickedit");
    QAction* autofill = actions.find("a_autofill");
    allow->setCheckable(true);
    autofill->setCheckable(true);
    // Quick edits switched off also switch off filling cells automatically.
    QObject::connect(allow, &QAction::toggled, &window, [autofill](bool on) {
        if (!on) autofill->setChecked(false);
    });
    allow->setEnabled(true);
    QObject::connect(autofill, &QAction::triggered, &window, btkGuarded([&window, autofill](bool checked) {
                         if (checked && !window.quickEditsAllowed()) autofill->setChecked(false);
                     }));
    autofill->setEnabled(true);
    window.setActionHandler("a_fillcolumn", [&window] {
        if (window.quickEditsAllowed()) window.list->fillColumn(btkFromQString(window.cell->text()));
    });
    window.setActionHandler("a_filtercell",
                            [&window] { window.list->filterCell(btkFromQString(window.cell->text())); });
    window.setActionHandler("a_dbcustomsort", [&window] {
        if (!customsortfrm) return;
        if (std::unique_ptr<CustomCompare> order = customsortfrm->Execute())
            window.list->setCustomOrder(std::move(order));
    });
    window.setActionHandler("a_printersetup", [] { runPrinterSetup(); });
    window.setActionHandler("a_showlog", [] {
        if (showlogfrm) showlogfrm->showViewer();
    });
    window.setActionHandler("a_about", [] { Tstartfrm::showAbout(); });
    window.setActionHandler("a_dbsearch", [] {
        if (searchfrm) searchfrm->ShowSearch();
    });
    window.setActionHandler("a_cmdline", [] {
        if (cmdlinefrm) cmdlinefrm->showConsole();
    });

    connectToggle(window, "a_active_db", window.toolbar_dbs);
    connectToggle(window, "a_base_toolbar", window.toolbar_base);
    connectToggle(window, "a_celledit", window.toolbar_cell);
    connectToggle(window, "a_qedit", window.toolbar_qedit);
    connectToggle(window, "a_transp", window.toolbar_transp);
}
