// kxtool subcommands for the song services: the duplicate test with the
// console's DBLTEST argument text, the internal synchronisation of two
// database files, and song order by a column's comparator.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/btkerror.h"
#include "kxtool.h"
#include "song_model.h"
#include "songs/dupltest.h"
#include "songs/internalsync.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/songcolumns.h"
#include "songs/songcompare.h"

namespace {

void print(const btkstring& text) { kxtool::writeStdout(text.c_str(), text.length()); }

int dupltest(const kxtool::Args& a) {
    if (a.size() != 2) return kxtool::usageError("dupltest 'ARGS' FILE");
    kxtool::SongModel model;
    KxDatabase* db = model.open(a[1].c_str());
    if (db->loadFailed()) return 1;
    DuplTestParams params;
    params.setFromText(a[0].c_str());
    print(DuplTester::runReportOn(db, params));
    return 0;
}

int isync(const kxtool::Args& a) {
    if (a.size() != 2) return kxtool::usageError("isync SRC DST");
    kxtool::SongModel model;
    KxDatabase* source = model.open(a[0].c_str());
    KxDatabase* target = model.open(a[1].c_str());
    if (source->loadFailed() || target->loadFailed()) return 1;
    InternalSyncPlan plan;
    plan.source = source;
    plan.target = target;
    PrepareInternalSync(plan);
    btkstring report = RunInternalSync(plan);
    model.queue.processQueue();  // the deleted songs leave the target
    print(report);
    try {
        target->commit();
    } catch (const btkError& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.message().c_str());
        return 1;
    }
    return 0;
}

// COLUMN is a column id or key (title, group, author, remark, locid, netid,
// or 16 + i for the database's i-th user column), or a user column's name.
int sort(const kxtool::Args& a) {
    const char* usage = "sort COLUMN FILE";
    if (a.size() != 2) return kxtool::usageError(usage);
    kxtool::SongModel model;
    KxDatabase* db = model.open(a[1].c_str());
    if (db->loadFailed()) return 1;
    const std::string& column = a[0];
    int id = -1;
    if (!column.empty() && column.find_first_not_of("0123456789") == std::string::npos)
        id = std::atoi(column.c_str());
    else
        id = SongColumnId(column.c_str());
    btkStrings custom;
    SplitCustomColumns(db->customColumns(), custom);
    const SongCompare* compare = StandardColumnCompare(id);
    CustomColCompare byName(column.c_str());
    if (!compare && id >= COL_FIRST_CUSTOM && id - COL_FIRST_CUSTOM < custom.count()) {
        byName.variable = custom[id - COL_FIRST_CUSTOM];
        compare = &byName;
    } else if (!compare && id < 0) {
        compare = &byName;
    }
    if (!compare) {
        std::fprintf(stderr, "kxtool: column %s has no order\n", column.c_str());
        return 2;
    }
    btkCntVec<KxSong*> songs;
    db->getSongs(songs);
    SortSongsByCompare(compare, songs);
    for (const KxSong* song : songs) std::printf("%s\n", song->title.c_str());
    return 0;
}

KXTOOL_COMMAND("dupltest", "dupltest 'ARGS' FILE  (ARGS as DBLTEST takes them: KEY=value ...)", dupltest);
KXTOOL_COMMAND("isync", "isync SRC DST  (synchronises DST from SRC, prints the report, saves DST)", isync);
KXTOOL_COMMAND("sort", "sort COLUMN FILE  (COLUMN: id, key or user column name)", sort);

}  // namespace
