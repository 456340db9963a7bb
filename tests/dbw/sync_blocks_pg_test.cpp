// New rows uploaded in blocks with keys taken ahead, against the row-by-row
// upload as the oracle: the same runs on two fresh databases leave the same
// tables, the same local log, keys and counters, when a statement fails in
// any block and when the user stops.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dbw/dbwadapter.h"
#include "dbw/dbwpostgresql.h"
#include "dbw/dbwsynchronize.h"
#include "fake_localdb.h"
#include "inetdb_test.h"

namespace {

// Every row the server keeps of the song table and the version log, in the
// order written; only the versions' creation times are left out.
std::string tables(kx6InetDb& db) {
    std::string out;
    for (const char* sql :
         {"SELECT string_agg(t::text, '|' ORDER BY ctid) FROM songs t",
          "SELECT string_agg(concat_ws(':', dbw_id, dbw_userid), '|' ORDER BY ctid) FROM dbw_versions",
          "SELECT string_agg(t::text, '|' ORDER BY ctid) FROM dbw_creations t",
          "SELECT string_agg(t::text, '|' ORDER BY ctid) FROM dbw_updates t"})
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
