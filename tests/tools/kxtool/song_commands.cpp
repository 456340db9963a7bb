// kxtool subcommands over the song model: resaving and listing a song
// database file, and transposing song text.
#include <cstdio>
#include <cstdlib>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "kxtool.h"
#include "song_model.h"
#include "songs/chords.h"
#include "songs/dbfile.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"

namespace {

int dbResave(const kxtool::Args& a) {
    if (a.size() != 2) return kxtool::usageError("db-resave IN OUT");
    kxtool::SongModel model;
    KxDatabase* db = model.open(a[0].c_str());
    if (db->loadFailed()) return 1;
    DbExportProps props = db->exportProps();
    try {
        WriteDatabaseFile(a[1].c_str(), db->songs, &props);
    } catch (const btkError& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.message().c_str());
        return 1;
    }
    return 0;
}

int dbInfo(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("db-info FILE");
    kxtool::SongModel model;
    KxDatabase* db = model.open(a[0].c_str());
    if (db->loadFailed()) return 1;
    std::printf("%d\n", db->songs.count());
    for (const KxSong* song : db->songs)
        std::printf("%d\t%s\t%s\n", song->locid, song->title.c_str(), song->group.c_str());
    return 0;
}

int transpose(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("transpose N  (stdin to stdout)");
    btkstring out = TransposeText(kxtool::readStdin().c_str(), std::atoi(a[0].c_str()));
    kxtool::writeStdout(out.c_str(), out.length());
    return 0;
}

KXTOOL_COMMAND("db-resave", "db-resave IN OUT  (OUT ending in .xgz is compressed)", dbResave);
KXTOOL_COMMAND("db-info", "db-info FILE", dbInfo);
KXTOOL_COMMAND("transpose", "transpose N  (stdin to stdout)", transpose);

}  // namespace
