#include "app/modelservices.h"

#include "dbw/dbwsession.h"
#include "export/importfilter.h"
#include "songbook/melodar.h"
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

int OpenSongBookCount() { return OpenMelodars().count(); }

int ChangedSongBookCount() {
    int changed = 0;
    for (const Melodar* book : OpenMelodars())
        if (book->isChanged()) ++changed;
    return changed;
}

btkstring OpenSongBookName(int i) {
    return i >= 0 && i < OpenMelodars().count() ? OpenMelodars()[i]->name() : btkstring();
}

void ActivateSongBook(int i) {
    if (i >= 0 && i < OpenMelodars().count()) OpenMelodars()[i]->showWindow();
}
