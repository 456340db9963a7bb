#include "app/modelservices.h"

#include "dbw/dbwsession.h"
#include "foundation/btkfile.h"
#include "songs/inetconnection.h"
#include "songs/kxspace.h"

void StartInternetConnection() { InitInternetConnection(); }

void StopInternetConnection() { DoneInternetConnection(); }

void AutoLoginUser(const char* login, const char* password) { LoginUser(login, password); }

bool CurrentLogin(btkstring& login, btkstring& name) {
    login = "";
    name = "";
    if (!LoginRef::isSet()) return false;
    dbwSession* session = LoginRef::get();
    login = session->loginName();
    name = session->userField(159);
    return true;
}

btkstring StoredConnectionCaption() { return ConnectionCaption(); }

void LoadDbFolder(KxSpace* space, const char* folder) {
    const btkFile dir(folder);
    for (const char* pattern : {"*.xml", "*.xgz"}) {
        btkFileList files(dir.join(pattern));
        for (int i = 0; i < files.count(); ++i) {
            auto* db = new KxDatabase(dir.join(files[i]));
            db->inDbFolder = true;
            space->addView(db);
        }
    }
}

void RegisterImportFilters() {}

int OpenSongBookCount() { return 0; }

btkstring OpenSongBookName(int /*i*/) { return btkstring(); }

void ActivateSongBook(int /*i*/) {}
