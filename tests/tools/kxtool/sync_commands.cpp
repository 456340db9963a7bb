// kxtool sync: one synchronisation of a database of a program folder with
// the internet database, as the program runs it after the automatic login,
// answering every question with yes.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dbw/dbwpostgresql.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkscramble.h"
#include "foundation/btkstrings.h"
#include "kxtool.h"
#include "songs/dailylog.h"
#include "songs/inetconnection.h"
#include "songs/inetsync.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/songclass.h"

namespace {

const char* const Usage =
    "sync PROGRAMDIR DBNAME [--no-upload] [--no-download] [--missing] [--delete-missing] [--condition=CONDITION]";

// Information boxes go to standard output, every other box to standard
// error; questions are answered with yes.
class YesBoxes : public btkMessageBoxBackend {
public:
    int show(const char* text, const char*, int flags) override {
        std::fprintf((flags & btkMB_ICONINFORMATION) ? stdout : stderr, "%s\n", text);
        if ((flags & 0xF) == btkMB_YESNO || (flags & 0xF) == btkMB_YESNOCANCEL) return btkID_YES;
        return btkID_OK;
    }
};

// The databases of the program folder's db folder, as start-up adds them.
void addDbFolder(KxSpace* space) {
    const btkFile dir = programDir().join("db");
    for (const char* pattern : {"*.xml", "*.xgz"}) {
        btkFileList files(dir.join(pattern));
        for (int i = 0; i < files.count(); ++i) {
            auto* db = new KxDatabase(dir.join(files[i]));
            db->inDbFolder = true;
            space->addView(db);
        }
    }
}

// The automatic login of cfg/autologin.txt: line 1 the login, line 2 the
// scrambled password.
bool autoLogin() {
    btkStrings lines;
    btkSplit(lines, btkReadTextFile(programDir().join("cfg/autologin.txt")), '\n', false);
    if (lines.count() == 0) return false;
    btkstring password = lines.count() > 1 ? btkUnscramblePassword(lines[1].trimmed()) : btkstring();
    return LoginUser(lines[0].trimmed(), password);
}

int run(const kxtool::Args& a, SyncOptions& options) {
    KxSystem queue;
    KxSpace* space = new KxSpace;
    addDbFolder(space);
    int result = 1;
    KxView* view = space->findView(a[1].c_str());
    KxDatabase* db = view ? view->asDatabase() : nullptr;
    if (!db) {
        std::fprintf(stderr, "kxtool: no database %s in %s\n", a[1].c_str(), programDir().join("db").c_str());
    } else if (autoLogin() || EnsureLoggedIn()) {
        if (options.upload) {
            // The proposals of the synchronisation options dialog.
            btkCntVec<KxSong*> songs;
            db->getSongs(songs);
            for (KxSong* song : songs) {
                if (SongIsNewForNet(*song)) options.newSongs.add(song);
                if (SongIsNetChanged(*song)) options.changedSongs.add(song);
                if (SongIsNetDelete(*song)) options.deletedSongs.add(song);
            }
        }
        if (SynchronizeDatabase(db, options)) result = 0;
        std::printf("%s\n", LogFileName().c_str());
    }
    space->release();
    queue.processQueue();
    return result;
}

int sync(const kxtool::Args& a) {
    if (a.size() < 2) return kxtool::usageError(Usage);
    SyncOptions options;
    for (size_t i = 2; i < a.size(); ++i) {
        const std::string& flag = a[i];
        if (flag == "--no-upload")
            options.upload = false;
        else if (flag == "--no-download")
            options.download = false;
        else if (flag == "--missing")
            options.downloadMissing = true;
        else if (flag == "--delete-missing")
            options.deleteLocalMissing = true;
        else if (flag.rfind("--condition=", 0) == 0)
            options.condition = flag.substr(12).c_str();
        else
            return kxtool::usageError(Usage);
    }
    // Tests shorten how long a silent server is waited for.
    if (const char* ms = std::getenv("KXTOOL_REPLY_TIMEOUT_MS"))
        dbwPostgreSQLConnection::replyTimeoutMs = std::atoi(ms);
    if (const char* s = std::getenv("KXTOOL_CONNECT_TIMEOUT_S"))
        dbwPostgreSQLConnection::connectTimeoutS = std::atoi(s);
    setProgramDir(a[0].c_str());
    YesBoxes boxes;
    btkMessageBoxBackend* previous = btkSetMessageBoxBackend(&boxes);
    InitInternetConnection();
    int result = run(a, options);
    DoneInternetConnection();
    LogClose();
    btkSetMessageBoxBackend(previous);
    return result;
}

KXTOOL_COMMAND("sync", Usage, sync);

}  // namespace
