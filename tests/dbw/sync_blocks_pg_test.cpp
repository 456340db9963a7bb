// New rows uploaded in blocks with keys taken ahead, and changes and
// deletions sent in blocks, against the row-by-row upload as the oracle: the
// same runs on two fresh databases leave the same tables, the same local
// log, keys, marks and counters, when a statement fails in any block and
// when the user stops.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dbw/dbwadapter.h"
#include "dbw/dbwpostgresql.h"
#include "dbw/dbwsynchronize.h"
#include "fake_localdb.h"
#include "inetdb_test.h"
#include "tcpproxy.h"

namespace {

// Every row the server keeps of the song table and the version log, in the
// order written (the songs by key: where an update puts a row depends on
// the pages' free space); only the versions' creation times are left out.
std::string tables(kx6InetDb& db) {
    std::string out;
    for (const char* sql :
         {"SELECT string_agg(t::text, '|' ORDER BY id) FROM songs t",
          "SELECT string_agg(concat_ws(':', dbw_id, dbw_userid), '|' ORDER BY ctid) FROM dbw_versions",
          "SELECT string_agg(t::text, '|' ORDER BY ctid) FROM dbw_creations t",
          "SELECT string_agg(t::text, '|' ORDER BY ctid) FROM dbw_updates t",
          "SELECT string_agg(t::text, '|' ORDER BY ctid) FROM dbw_deletes t"})
        out += db.value(sql) + "\n";
    return out;
}

// Each trigger refuses one statement of the song titled "Odmítnutá" (UTF-8
// on the server): its insert, creation record, title's field log or
// creation update.
const char* const refuseFunction =
    "CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN IF TG_TABLE_NAME='dbw_creations' THEN IF NOT EXISTS (SELECT "
    "1 FROM songs WHERE id=NEW.dbw_recordid AND title='Odm\xc3\xadtnut\xc3\xa1') THEN RETURN NEW; END IF; END IF; "
    "RAISE EXCEPTION 'row refused'; END $$ LANGUAGE plpgsql";
const char* const refuseInsert =
    "CREATE TRIGGER refuse BEFORE INSERT ON songs FOR EACH ROW WHEN (NEW.title='Odm\xc3\xadtnut\xc3\xa1') "
    "EXECUTE FUNCTION refuse()";
const char* const refuseCreation =
    "CREATE TRIGGER refuse BEFORE INSERT ON dbw_creations FOR EACH ROW "
    "EXECUTE FUNCTION refuse()";
const char* const refuseFieldLog =
    "CREATE TRIGGER refuse BEFORE INSERT ON dbw_updates FOR EACH ROW WHEN "
    "(NEW.dbw_value='Odm\xc3\xadtnut\xc3\xa1') EXECUTE FUNCTION refuse()";
const char* const refuseUpdate =
    "CREATE TRIGGER refuse BEFORE UPDATE ON songs FOR EACH ROW WHEN (NEW.title='Odm\xc3\xadtnut\xc3\xa1') "
    "EXECUTE FUNCTION refuse()";
const char* const refuseDelete =
    "CREATE TRIGGER refuse BEFORE DELETE ON songs FOR EACH ROW WHEN (OLD.title='Odm\xc3\xadtnut\xc3\xa1') "
    "EXECUTE FUNCTION refuse()";

// What a run and its local database hold afterwards.
std::string runOutcome(dbwSynchronize& run, bool ok, FakeSongDb& local) {
    const dbwSyncCounters& c = run.counters();
    std::string out = std::to_string(ok) + " " + run.errorText(true).c_str() + "\n";
    for (int n : {c.uploadedNew, c.deletedLocal, c.conflicts, c.changedFields, c.updatedNet, c.deletedNet})
        out += std::to_string(n) + " ";
    out += "\n";
    for (const std::string& line : local.log) out += line + "\n";
    for (auto& song : local.table.songs)
        out += btkFormat("%s:%d:%d:%d:%d:%d ", song->title.c_str(), song->netid, song->nonet, song->netmodified,
                         song->netversion, song->changedCalls)
                   .c_str();
    return out + "\n";
}
}  // namespace

class DbwSyncBlocksPg : public kx6InetDbTest {
protected:
    DbwSyncBlocksPg() : kx6InetDbTest("kx6_blocks") {}

    // On a fresh database: three songs uploaded, then the trigger made and
    // a run of count new songs with the one at refused titled "Odmítnutá";
    // what the runs and the server hold afterwards.
    std::string outcome(const std::string& name, bool inBlocks, int count, int refused, const char* trigger,
                        const char* stopAt) {
        kx6InetDb db(kx6PgHost(), std::stoi(kx6PgPort()), kx6PgUser());
        EXPECT_TRUE(db.create(name) && db.exec(refuseFunction)) << db.error();
        dbwAdaRef ada = db.connect();
        if (!ada.isSet()) return db.error();
        dynamic_cast<dbwPostgreSQLConnection*>(ada->connection())->setPipelining(inBlocks);
        FakeSongDb local;
        std::string out;
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1) {
                EXPECT_TRUE(db.exec(trigger)) << db.error();
            }
            dbwSynchronize run(ada, &local, db.userId());
            run.setUpload(true);
            for (int i = 0; i < (pass ? count : 3); ++i)
                run.addNew(local.table.add(pass && i == refused ? "Odmítnutá" : btkFormat("Píseň %d.%d", pass, i)));
            RecordingProgress progress;
            if (pass == 1) progress.stopAt = stopAt;
            run.setProgress(&progress);
            bool ok = run.synchronize();
            out += std::to_string(ok) + " " + std::to_string(run.counters().uploadedNew) + " " +
                   run.errorText(true).c_str() + "\n";
        }
        for (const std::string& line : local.log) out += line + "\n";
        for (auto& song : local.table.songs) out += std::to_string(song->netid) + " ";
        return out + "\n" + tables(db);
    }
    // Through via when given: runTrips gets the round trips of the run.
    std::string changesOutcome(const std::string& name, bool inBlocks, int refused, const char* trigger,
                               const char* stopAt, kx6TcpProxy* via = nullptr);
    long runTrips = 0;
};

TEST_F(DbwSyncBlocksPg, BlocksLeaveWhatRowByRowLeaves) {
    // Six data fields: 26 songs to a block.
    const struct {
        int refused;
        const char* trigger;
        const char* stopAt;
    } cases[] = {
        {-1, "SELECT 1", ""},  // three blocks, all in
        {0, refuseFieldLog, ""},
        {25, refuseFieldLog, ""},  // the first block's last row
        {26, refuseInsert, ""},    // the second block's first row
        {30, refuseCreation, ""},
        {59, refuseUpdate, ""},  // the last statement of all
        {-1, "SELECT 1", "Uploaduji řádek 40/60"},
    };
    for (const auto& c : cases) {
        std::string got[2];
        for (bool inBlocks : {false, true})
            got[inBlocks] =
                outcome(inet->name() + (inBlocks ? "_b" : "_r"), inBlocks, 60, c.refused, c.trigger, c.stopAt);
        EXPECT_EQ(got[0], got[1]) << c.trigger << " " << c.refused << " " << c.stopAt;
        bool fails = c.refused >= 0 || *c.stopAt;
        EXPECT_NE(std::string::npos, got[1].find(fails ? "\n0 " : "\n1 60 \n")) << got[1].substr(0, 300);
        EXPECT_EQ(c.refused >= 0, got[1].find("row refused") != std::string::npos) << got[1].substr(0, 300);
    }
}

// On a fresh database: eighty songs uploaded (the 70th titled "Odmítnutá"),
// another copy's change of the 5th and 65th and deletion of the 7th and
// 67th, the trigger made; then a run that edits the first sixty songs (the
// one at refused renamed "Odmítnutá", the 3rd and 40th given the 2nd's key)
// and deletes the last twenty.
std::string DbwSyncBlocksPg::changesOutcome(const std::string& name, bool inBlocks, int refused, const char* trigger,
                                            const char* stopAt, kx6TcpProxy* via) {
    kx6InetDb db(kx6PgHost(), std::stoi(kx6PgPort()), kx6PgUser());
    EXPECT_TRUE(db.create(name) && db.exec(refuseFunction)) << db.error();
    dbwAdaRef ada = via ? db.connectVia("127.0.0.1", via->port()) : db.connect();
    if (!ada.isSet()) return db.error();
    dynamic_cast<dbwPostgreSQLConnection*>(ada->connection())->setPipelining(inBlocks);
    FakeSongDb local;
    {
        dbwSynchronize upload(ada, &local, db.userId());
        upload.setUpload(true);
        for (int i = 0; i < 80; ++i) upload.addNew(local.table.add(i == 70 ? "Odmítnutá" : btkFormat("Píseň %d", i)));
        EXPECT_TRUE(upload.synchronize()) << upload.errorText(true).c_str();
    }
    local.log.clear();
    auto& songs = local.table.songs;
    auto key = [&](int i) { return std::to_string(songs[i]->netid); };
    EXPECT_TRUE(db.exec("UPDATE songs SET dbw_version=dbw_version+1 WHERE id IN (" + key(5) + "," + key(65) + ")") &&
                db.exec("DELETE FROM songs WHERE id IN (" + key(7) + "," + key(67) + ")") && db.exec(trigger))
        << db.error();
    dbwSynchronize run(ada, &local, db.userId());
    run.setUpload(true);
    std::vector<FakeSong*> all;
    for (auto& song : songs) all.push_back(song.get());
    all[3]->netid = all[40]->netid = all[2]->netid;
    for (int i = 0; i < 60; ++i) {
        all[i]->edit(i == refused ? "Odmítnutá" : btkFormat("Píseň %d*", i));
        run.addChanged(all[i]);
    }
    for (int i = 60; i < 80; ++i) run.addDeleted(all[i]);
    RecordingProgress progress;
    progress.stopAt = stopAt;
    run.setProgress(&progress);
    long trips = via ? via->roundTrips() : 0;
    bool ok = run.synchronize();
    runTrips = via ? via->roundTrips() - trips : 0;
    return runOutcome(run, ok, local) + tables(db);
}

TEST_F(DbwSyncBlocksPg, ChangesAndDeletionsInBlocksLeaveWhatRowByRowLeaves) {
    // Seven fields: 34 changes to a block.
    const struct {
        int refused;
        const char* trigger;
        const char* stopAt;
    } cases[] = {
        {-1, "SELECT 1", ""},
        {33, refuseFieldLog, ""},  // the first block's last change
        {34, refuseUpdate, ""},    // the second block's first
        {-1, refuseDelete, ""},
        {-1, "SELECT 1", "Opravuji řádek 40/60"},
        {-1, "SELECT 1", "Ma6u řádek 10/20"},
    };
    for (const auto& c : cases) {
        std::string got[2];
        for (bool inBlocks : {false, true})
            got[inBlocks] =
                changesOutcome(inet->name() + (inBlocks ? "_b" : "_r"), inBlocks, c.refused, c.trigger, c.stopAt);
        EXPECT_EQ(got[0], got[1]) << c.trigger << " " << c.refused << " " << c.stopAt;
        bool fails = c.refused >= 0 || c.trigger == refuseDelete || *c.stopAt;
        EXPECT_EQ(fails ? '0' : '1', got[1][0]) << got[1].substr(0, 300);
    }
    // Conflicts: the 5th and 7th changed, the 65th deleted, the 3rd and 40th
    // (the 2nd's row again); the 67th was deleted already. Two blocks of
    // changes and one of deletions wait for the server a few times, not
    // once or twice a song.
    kx6TcpProxy proxy(inet->socketPath());
    std::string allIn = changesOutcome(inet->name() + "_a", true, -1, "SELECT 1", "", &proxy);
    EXPECT_TRUE(btkStartsWith("1 \n0 1 5 56 56 18 \n", allIn.c_str())) << allIn.substr(0, 300);
    EXPECT_LE(runTrips, 15);
}

TEST_F(DbwSyncBlocksPg, KeysAreTakenAheadOnlyFromTheSequenceBehindTheDefault) {
    ASSERT_TRUE(
        inet->exec("CREATE TABLE \"Always\" (id INT GENERATED ALWAYS AS IDENTITY, n INT); "
                   "CREATE TABLE bydefault (id INT GENERATED BY DEFAULT AS IDENTITY, n INT)"))
        << inet->error();
    dbwAdaRef ada = inet->connect();
    ASSERT_TRUE(ada.isSet()) << inet->error();
    const struct {
        const char* table;
        const char* column;
        const char* sequence;
    } cases[] = {
        {"songs", "id", "public.songs_id_seq"},
        {"dbw_creations", "dbw_id", "public.dbw_creations_dbw_id_seq"},
        {"bydefault", "id", "public.bydefault_id_seq"},
        {"Always", "id", ""},  // refuses given keys
        {"songs", "title", ""},
        {"nosuchtable", "id", ""},
    };
    for (const auto& c : cases) {
        btkstring sequence = "?";
        EXPECT_TRUE(ada->keySequence(c.table, c.column, sequence)) << c.table;
        EXPECT_EQ(btkstring(c.sequence), sequence) << c.table;
    }
    btkCntVec<int> keys;
    btkStrings sequences;
    sequences.add("public.bydefault_id_seq");
    sequences.add("public.songs_id_seq");
    ASSERT_TRUE(ada->nextKeys(sequences, 3, keys));
    std::string taken;
    for (int key : keys) taken += std::to_string(key) + " ";
    EXPECT_EQ("1 2 3 1 2 3 ", taken);
}
