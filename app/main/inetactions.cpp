// The internet commands of the main window: the connection test, login and
// logout, synchronisation of the active internet database, downloading the
// internet database into a new database of the db folder, and marking songs
// for deletion on the server.
#include <cstdio>

#include <QAction>

#include "app/main/mainactions.h"
#include "app/main/mainfrm.h"
#include "app/song/songsetfrm.h"
#include "dbw/dbwadapter.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkxml.h"
#include "songs/inetconnection.h"
#include "songs/inetsync.h"
#include "songs/kxdatabase.h"
#include "songs/kxobject.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/mainwinmsgs.h"

std::function<bool(const char* title, btkstring& name, SyncOptions&)> RunDownloadDialog;

namespace {

// The connection is checked (its failure is shown), then the login.
bool connectedAndLoggedIn() {
    if (!OpenInternetDatabase().isSet()) return false;
    return EnsureLoggedIn();
}

void synchronize() {
    KxDatabase* db = gMainWin->getActInetDatabase();
    if (!db) return;
    SyncOptions options;
    if (RunSyncOptionsDialog && !RunSyncOptionsDialog(db, options)) return;
    if (!connectedAndLoggedIn()) return;
    SynchronizeDatabase(db, options);
}

void downloadDatabase() {
    if (!connectedAndLoggedIn()) return;
    SyncOptions options;
    options.download = true;
    options.upload = false;
    btkstring name = "inet.xml";
    if (RunDownloadDialog && !RunDownloadDialog("Stáhnutí internetové databáze", name, options)) return;
    const btkstring fileName = DownloadDatabaseFile(name);
    if (fileName.empty()) return;
    btkXMLNode root;
    root.setName("melodar_data");
    root.setAttr("version", "4.0");
    btkXMLNode database = root.addChild("database");
    database.setAttr("dbversion", "-1");
    database.setAttr("isinetdb", "1");
    root.save(fileName, "Windows-1250");

    auto* db = new KxDatabase(fileName);
    db->inDbFolder = true;
    gKxSpace->addView(db);
    if (!SynchronizeDatabase(db, options)) {
        btkRemoveFile(fileName);
        db->release();
        return;
    }
    if (gKxSystem) gKxSystem->postMessage(new M_LastDB);
}

void markForDeletion() {
    btkCntVec<KxSong*> songs;
    if (!AskSongSet("Které písně se označit k vymazání z internetové databáze?", songs)) return;
    for (KxSong* song : songs) {
        song->special = "netdelete";
        song->setModified(false);
        song->changed();
    }
}

}  // namespace

btkstring DownloadDatabaseFile(const char* typed) {
    const btkstring name = btkstring(typed).trimmed();
    if (name.empty()) return btkstring();
    // The name becomes a file of the db folder: nothing may reach outside it.
    if (!btkIsPlainFileName(name)) {
        ErrorBox(btkFormat("Neplatné jméno databáze: %s", name.c_str()));
        return btkstring();
    }
    const btkFile fileName = btkFile(programDir()).join("db").join(btkFile(name).changeExt("xml"));
    if (btkFileExists(fileName)) {
        ErrorBox("Databáze už existuje!");
        return btkstring();
    }
    return fileName;
}

void ConnectInternetActions(Tmainfrm& window) {
    window.setActionHandler("a_ping", [] { PingInternetDatabase(); });
    window.setActionHandler("a_synchronize", synchronize);
    window.setActionHandler("a_login", [&window] {
        EnsureLoggedIn();
        window.showLoginState();
    });
    window.setActionHandler("a_logout", [&window] {
        Logout();
        window.showLoginState();
    });
    window.setActionHandler("a_downloadinetdb", downloadDatabase);
    window.setActionHandler("a_markinetdelete", markForDeletion);
    window.showLoginState();
}
