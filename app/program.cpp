#include "app/program.h"

#include <csignal>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/main/mainfrm.h"
#include "app/main/startfrm.h"
#include "app/modelservices.h"
#include "app/qtfiledialogs.h"
#include "app/windows.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkscramble.h"
#include "foundation/btkstrings.h"
#include "foundation/btkxml.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqtmessagebox.h"
#include "songs/appservices.h"
#include "songs/dailylog.h"
#include "songs/inetconnection.h"
#include "songs/kxspace.h"
#include "songs/uibridge.h"

const char* const OptionsLoadErrorText = "Chyba při načítání souboru options.xml, Kantorix bude ukončen";
const char* const UnexpectedErrorText = "V aplikaci došlo k neočekávané chybě, kantorix bude ukončen";

bool gTerminateRequested = false;

namespace {

// After a failed load of options.xml the options tree does not hold the
// user's settings: writing it would replace them.
bool gOptionsLoaded = false;

}  // namespace

bool ParseAutoLogin(const char* text, btkstring& login, btkstring& password) {
    btkStrings lines;
    btkSplit(lines, text, '\n', false);
    login = "";
    password = "";
    if (lines.count() == 0) return false;
    login = lines[0].trimmed();
    if (lines.count() > 1) password = btkUnscramblePassword(lines[1].trimmed());
    return true;
}

void InitProgram(bool showSplash) {
    // The splash window paints before the slow work.
    if (showSplash) Tstartfrm::showSplash();
    // A write over the file-size limit then fails (and the save removes its
    // temporary file) instead of killing the program with unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    // The program folder: KX6_DIR or the executable's.
    const btkFile dir = programDir();
    // The queue first: the model posts its notices to it.
    if (!gKxSystem) new KxSystem;
    InitInternetConnection();
    OptionsRoot().clear();
    gOptionsLoaded = false;
    const btkstring optionsFile = dir.join("options.xml");
    try {
        OptionsRoot().loadWindows1250(optionsFile);
        gOptionsLoaded = true;
    } catch (const btkError& e) {
        OptionsRoot().clear();
        // The box says where the file was looked for and why it was refused.
        ErrorBox(btkFormat("%s\n\n%s\n%s", OptionsLoadErrorText, optionsFile.c_str(), btkLoadFailureReason(e).c_str()));
        gTerminateRequested = true;
    }
    // The automatic login of cfg/autologin.txt, before any database opens.
    btkstring login, password;
    if (ParseAutoLogin(btkReadTextFile(dir.join("cfg/autologin.txt")), login, password)) LoginUser(login, password);
    // The root of open views with the databases of the db folder.
    if (!gKxSpace) new KxSpace;
    gKxSpace->loadDatabaseFolder(dir.join("db"));
    RegisterImportFilters();
}

bool ProgramCloseQuery() {
    // Only changes are at stake: books as their files hold them close
    // without a question, as each book's own window does.
    const int books = ChangedSongBookCount();
    if (books > 0 &&
        QuestionBox(btkFormat("Melodary s neuloženými změnami: %d. Zavřít je bez uložení změn?", books), "yn") != 1)
        return false;

    btkCntVec<KxDatabase*> databases;
    if (gKxSpace) gKxSpace->getDatabases(databases);
    btkstring changedList;
    for (KxDatabase* db : databases)
        if (db->isChanged()) {
            changedList += db->getFileName();
            changedList += "\n";
        }
    if (changedList.empty()) {
        gAppClosing = true;
        return true;
    }
    btkstring question = "Následující databáze byly změněny, uložit?\n";
    question += "ANO = všechny budou uloženy\n";
    question += "NE = žádná nebude uložena\n";
    question += "Storno = kantorix nebude ukončen\n";
    question += "Změněné databáze:\n";
    question += changedList;
    switch (QuestionBox(question, "ync")) {
    case 1:
        // A database that cannot be written keeps the program open: closing
        // would lose its changes.
        for (KxDatabase* db : databases)
            if (!db->commitShown()) return false;
        gAppClosing = true;
        return true;
    case 2: gAppClosing = true; return true;
    default: return false;
    }
}

void ProgramClose(int dbIndex, const char* dbFile) {
    OptionsRoot().setIntAttr("db", dbIndex);
    // Views made during the session are gone at the next start: the index
    // alone would select another view or none.
    OptionsRoot().setAttr("dbfile", dbFile ? dbFile : "");
    // The close question has already saved or given up every database, so
    // only the settings are at stake: a failed save is shown and the program
    // still ends (with status 1) rather than hiding its windows and running on.
    int status = 0;
    try {
        SaveOptions();
    } catch (const btkError& e) {
        ErrorBox(e.message());
        status = 1;
    }
    // Closing the main window ends the program even while other windows
    // are open.
    QApplication::exit(status);
}

void SaveOptions() {
    KxCommonEvent event{KX_EVENT_OPTIONS_SAVE};
    BroadcastCommonEvent(event);
    if (gOptionsLoaded) OptionsRoot().save(programDir().join("options.xml"), "Windows-1250");
    LogClose();
}

void InstallIdleQueuePass(btkApplication& app) {
    app.setIdleWork([] { return gKxSystem && (gKxSystem->pendingCount() > 0 || gKxSystem->hasPendingMessages()); },
                    [] {
                        if (gKxSystem) gKxSystem->processQueue();
                    });
}

void EndProgram() {
    DestroyWindows();
    Tstartfrm::freeSplash();
    if (gKxSpace) gKxSpace->release();
    if (gKxSystem) {
        gKxSystem->processQueue();
        delete gKxSystem;
    }
    gMainWin = nullptr;
    DoneInternetConnection();
    gAppClosing = false;
    gTerminateRequested = false;
}

int ProgramMain(int argc, char** argv) {
    btkApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    btkInstallQtMessageBoxes();
    InstallQtFileDialogs();
    btkInstallPrinterMaker();
    InstallQtTranslations(app);
    int status = 0;
    try {
        InitProgram(true);
        QApplication::setApplicationName("Kantorix");
        CreateWindows(true);
        InstallIdleQueuePass(app);
        status = gTerminateRequested ? 1 : app.exec();
        EndProgram();
    } catch (const btkError& e) {
        ErrorBox(e.message());
        return 1;
    } catch (...) {
        ErrorBox(UnexpectedErrorText);
        return 1;
    }
    return status;
}

void InstallQtTranslations(QApplication& app) {
    // Qt's own dialogs (files, page set-up, colours, fonts) speak Czech like
    // the rest of the program; without the translation they stay English.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}
