#include "app/modelservices.h"

#include "dbw/dbwsession.h"
#include "export/importfilter.h"
#include "songs/inetconnection.h"

bool CurrentLogin(btkstring& login, btkstring& name) {
    login = "";
    name = "";
    if (!LoginRef::isSet()) return false;
    dbwSession* session = LoginRef::get();
    login = session->loginName();
    name = session->userField(159);
    return true;
}

void RegisterImportFilters() { registerImportFilters(); }

int OpenSongBookCount() { return 0; }

btkstring OpenSongBookName(int /*i*/) { return btkstring(); }

void ActivateSongBook(int /*i*/) {}
