#include "app/modelservices.h"

#include "foundation/btkfile.h"
#include "songs/kxspace.h"

// No internet connection is read yet: every internet action reports that no
// connection settings were read.
void StartInternetConnection() {}

// Without a session manager nobody can be logged in.
void AutoLoginUser(const char* /*login*/, const char* /*password*/) {}

bool CurrentLogin(btkstring& login, btkstring& name) {
    login = "";
    name = "";
    return false;
}

btkstring StoredConnectionCaption() { return btkstring(); }

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
