// Synchronisation runs between the fake local databases and the internet
// song database fixture: uploads, downloads, conflicts, deletions, missing
// rows, conditions, pages, cancellation and failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dbw/dbwadapter.h"
#include "dbw/dbwpostgresql.h"
#include "dbw/dbwsynccondition.h"
#include "dbw/dbwsynchronize.h"
#include "fake_localdb.h"
#include "foundation/btkerror.h"
#include "foundation/btkstrings.h"
#include "inetdb_test.h"
#include "restore.h"
#include "tcpproxy.h"

namespace {

struct Plan {
    bool upload = false;
    bool download = false;
    bool missing = false;
    bool deleteMissing = false;
    const char* condition = "";
    RecordingProgress* progress = nullptr;
    std::vector<dbwSynObject*> added = {};
    std::vector<dbwSynObject*> changed = {};
    std::vector<dbwSynObject*> deleted = {};
};

class DbwSyncPg : public kx6InetDbTest {
protected:
    DbwSyncPg() : kx6InetDbTest("kx6_sync") {}
    void SetUp() override {
        kx6InetDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ada = inet->connect();
        ASSERT_TRUE(ada.isSet()) << inet->error();
    }
    void TearDown() override {
        ada = nullptr;
        kx6InetDbTest::TearDown();
    }

    // One run over the shared adapter; ok tells how it ended.
    std::unique_ptr<dbwSynchronize> run(dbwLocalDb& db, const Plan& plan) {
        auto r = std::make_unique<dbwSynchronize>(ada, &db, inet->userId());
        r->setCondition(1, plan.condition);
        r->setUpload(plan.upload);
        r->setDownload(plan.download);
        r->setDownloadMissing(plan.missing);
        r->setDeleteLocalMissing(plan.deleteMissing);
        for (dbwSynObject* o : plan.added) r->addNew(o);
        for (dbwSynObject* o : plan.changed) r->addChanged(o);
        for (dbwSynObject* o : plan.deleted) r->addDeleted(o);
        r->setProgress(plan.progress);
        ok = r->synchronize();
        return r;
    }
    // Uploads the songs as new ones (and downloads, as the program does).
    int uploadNew(FakeSongDb& db, std::vector<dbwSynObject*> songs) {
        auto r = run(db, {.upload = true, .download = true, .added = songs});
        EXPECT_TRUE(ok) << r->errorText(true).c_str();
        return r->versionId();
    }
    std::string value(const std::string& sql) { return inet->value(sql); }
    std::string songValue(const char* column, int netid) {
        return value(std::string("SELECT ") + column + " FROM songs WHERE id=" + std::to_string(netid));
    }
    std::string title(int netid) { return songValue("title", netid); }
    // The rows of songs, dbw_versions, dbw_creations and dbw_updates.
    std::string rowCounts() {
        std::string out;
        for (const char* table : {"songs", "dbw_versions", "dbw_creations", "dbw_updates"})
            out += (out.empty() ? "" : " ") + std::to_string(inet->count(table));
        return out;
    }
    // The granted lock modes on dbw_versions, seen from another connection.
    std::set<std::string> versionLocks() {
        btkStrings modes;
        btkSplit(modes,
                 value("SELECT string_agg(l.mode, ',') FROM pg_locks l JOIN pg_class c ON l.relation=c.oid "
                       "WHERE c.relname='dbw_versions' AND l.granted")
                     .c_str(),
                 ',', false);
        std::set<std::string> out;
        for (const btkstring& m : modes) out.insert(m.c_str());
        return out;
    }

    dbwAdaRef ada;
    bool ok = false;
};

using Steps = std::vector<std::pair<int, std::string>>;

bool logged(const FakeSongDb& db, const btkstring& line) {
    return std::find(db.log.begin(), db.log.end(), std::string(line.c_str())) != db.log.end();
}

const char* const upText = "upload lokálního objektu, vytvoření v internetové db";

}  // namespace

TEST_F(DbwSyncPg, NewSongsBecomeServerRowsWithTheirVersionLog) {
    FakeSongDb a;
    FakeSong* s1 = a.table.add("Žluťoučký kůň", "cz", "[C]První sloka");
    FakeSong* s2 = a.table.add("Druhá", "sk");
    RecordingProgress progress;
    auto r = run(a, {.upload = true, .download = true, .progress = &progress, .added = {s1, s2}});
    ASSERT_TRUE(ok) << r->errorText(true).c_str();

    int v = r->versionId();
    EXPECT_GT(v, 0);
    EXPECT_EQ(v, a.version);
    ASSERT_GT(s1->netid, 0);
    EXPECT_GT(s2->netid, s1->netid);
    EXPECT_FALSE(s1->netmodified);
    EXPECT_GE(s1->changedCalls, 1);

    // The row in UTF-8, with this run's version and its creation record.
    std::string id1 = std::to_string(s1->netid);
    EXPECT_EQ("\xc5\xbdlu\xc5\xa5ou\xc4\x8dk\xc3\xbd k\xc5\xaf\xc5\x88", title(s1->netid));
    EXPECT_EQ("[C]Prvn\xc3\xad sloka", songValue("text", s1->netid));
    EXPECT_EQ(std::to_string(v), songValue("dbw_version", s1->netid));
    EXPECT_EQ(value("SELECT dbw_id FROM dbw_creations WHERE dbw_recordid=" + id1),
              songValue("dbw_creation", s1->netid));
    EXPECT_EQ(std::to_string(inet->userId()), value("SELECT dbw_userid FROM dbw_versions"));
    EXPECT_EQ("2",
              value("SELECT COUNT(*) FROM dbw_creations WHERE dbw_tableid=1 AND dbw_version=" + std::to_string(v)));
    // One field log row per data field, key excluded.
    EXPECT_EQ("27,29,31,33,35,184",
              value("SELECT string_agg(dbw_fieldid::text, ',' ORDER BY dbw_fieldid) FROM dbw_updates "
                    "WHERE dbw_recordid=" +
                    id1 + " AND dbw_version=" + std::to_string(v)));
    EXPECT_EQ("\xc5\xbdlu\xc5\xa5ou\xc4\x8dk\xc3\xbd k\xc5\xaf\xc5\x88",
              value("SELECT dbw_value FROM dbw_updates WHERE dbw_fieldid=27 AND dbw_recordid=" + id1));
    EXPECT_EQ("2 1 2 12", rowCounts());

    // The uploaded rows carry the new version and come back in the same
    // run, but are no local update to report.
    const dbwSyncCounters& c = r->counters();
    EXPECT_EQ(2, c.uploadedNew);
    EXPECT_EQ(0, c.updatedLocal + c.downloadedNew + c.conflicts + c.deletedLocal + c.changedFields + c.updatedNet +
                     c.deletedNet);
    EXPECT_EQ(2u, a.table.songs.size());

    EXPECT_EQ((Steps{{0, "Uploaduji řádek 0/2 tabulky songs"},
                     {50, "Uploaduji řádek 1/2 tabulky songs"},
                     {0, "Stahuji řádek 0/2 tabulky songs"},
                     {0, "Mařu řádky tabulky songs"},
                     {100, "Provádím dokončovací práce"}}),
              progress.steps);
    EXPECT_EQ((std::vector<std::string>{
                  std::string("netid=    0  locid=    1;") + upText,
                  std::string("netid=    0  locid=    2;") + upText,
                  "OK",
              }),
              a.log);
    EXPECT_EQ(1, a.opened);
    EXPECT_EQ(1, a.closed);

    // A plain database (UTF-8, no log) downloads both in key order.
    PlainDb b;
    auto down = run(b, {.download = true});
    ASSERT_TRUE(ok) << down->errorText(true).c_str();
    EXPECT_EQ(0, down->versionId());
    EXPECT_EQ(1, inet->count("dbw_versions"));  // a download alone makes no version
    EXPECT_EQ(v, b.version);
    EXPECT_EQ(2, down->counters().downloadedNew);
    ASSERT_EQ(2u, b.table.songs.size());
    FakeSong* d1 = b.table.songs[0].get();
    EXPECT_EQ(s1->netid, d1->netid);
    EXPECT_EQ(1, d1->locid);
    EXPECT_EQ(2, b.table.songs[1]->locid);
    EXPECT_EQ(btkstring("\xc5\xbdlu\xc5\xa5ou\xc4\x8dk\xc3\xbd k\xc5\xaf\xc5\x88"), d1->title);
    EXPECT_EQ(btkstring("cz"), d1->lang);
    EXPECT_EQ(1, d1->changedCalls);
    EXPECT_FALSE(d1->netmodified);

    // A second song database gets the Windows-1250 texts back.
    FakeSongDb c2;
    run(c2, {.download = true});
    ASSERT_TRUE(ok);
    ASSERT_NE(nullptr, c2.table.byNetId(s1->netid));
    EXPECT_EQ(btkstring("Žluťoučký kůň"), c2.table.byNetId(s1->netid)->title);
    EXPECT_EQ(btkstring("[C]První sloka"), c2.table.byNetId(s1->netid)->text);
}

TEST_F(DbwSyncPg, ChangesAreUploadedFieldByFieldAndConflictsMarkNonet) {
    FakeSongDb a, b;
    FakeSong* s1 = a.table.add("Původní", "cz");
    FakeSong* s2 = a.table.add("Beze změny", "cz");
    uploadNew(a, {s1, s2});
    run(b, {.download = true});
    ASSERT_TRUE(ok);
    FakeSong* b1 = b.table.byNetId(s1->netid);
    ASSERT_NE(nullptr, b1);

    s1->edit("Nový název");
    ASSERT_TRUE(s1->netmodified);
    RecordingProgress progress;
    auto r = run(a, {.upload = true, .download = true, .progress = &progress, .changed = {s1}});
    ASSERT_TRUE(ok) << r->errorText(true).c_str();
    EXPECT_EQ((std::pair<int, std::string>{0, "Opravuji řádek 0/1 tabulky songs"}), progress.steps.front());
    int v2 = r->versionId();
    EXPECT_FALSE(s1->netmodified);
    EXPECT_EQ(1, r->counters().updatedNet);
    EXPECT_EQ(1, r->counters().changedFields);
    EXPECT_EQ("Nov\xc3\xbd n\xc3\xa1zev", title(s1->netid));
    EXPECT_EQ(std::to_string(v2), songValue("dbw_version", s1->netid));
    EXPECT_EQ("27", value("SELECT string_agg(dbw_fieldid::text, ',') FROM dbw_updates WHERE dbw_version=" +
                          std::to_string(v2)));
    EXPECT_TRUE(logged(a, btkFormat("netid=%5d  locid=    1;změna pole title v internetové db", s1->netid)));

    // b changed the same song meanwhile: its values stay and it leaves
    // synchronisation.
    b1->edit("Můj název");
    ASSERT_TRUE(b1->netmodified);
    auto conflict = run(b, {.download = true});
    ASSERT_TRUE(ok);
    EXPECT_EQ(1, conflict->counters().conflicts);
    EXPECT_EQ(0, conflict->counters().updatedLocal);  // s2 did not change since b's version
    EXPECT_TRUE(b1->nonet);
    EXPECT_FALSE(b1->netmodified);
    EXPECT_EQ(btkstring("Můj název"), b1->title);
    EXPECT_EQ(v2, b.version);
    EXPECT_TRUE(logged(b, btkFormat("netid=%5d  locid=    1;konflikt při stahování", b1->netid)));

    // Later downloads count it but change nothing.
    s1->text = "Nová sloka";
    s1->changed(true);
    run(a, {.upload = true, .changed = {s1}});
    ASSERT_TRUE(ok);
    auto later = run(b, {.download = true});
    ASSERT_TRUE(ok);
    EXPECT_EQ(1, later->counters().updatedLocal);
    EXPECT_EQ(btkstring("Můj název"), b1->title);
    EXPECT_EQ(btkstring(), b1->text);

    // Queued as changed, a nonet object is still sent.
    auto sent = run(b, {.upload = true, .changed = {b1}});
    ASSERT_TRUE(ok);
    EXPECT_EQ(2, sent->counters().changedFields);  // title and text
    EXPECT_EQ("M\xc5\xafj n\xc3\xa1zev", title(b1->netid));

    // An unchanged object is counted and gets the new version only.
    int updatesBefore = inet->count("dbw_updates");
    auto same = run(a, {.upload = true, .changed = {s2}});
    ASSERT_TRUE(ok);
    EXPECT_EQ(1, same->counters().updatedNet);
    EXPECT_EQ(0, same->counters().changedFields);
    EXPECT_EQ(updatesBefore, inet->count("dbw_updates"));
    EXPECT_EQ(std::to_string(same->versionId()), songValue("dbw_version", s2->netid));
}

TEST_F(DbwSyncPg, DeletionsTravelBothWays) {
    FakeSongDb a, b, c;
    FakeSong* s1 = a.table.add("Jedna");
    FakeSong* s2 = a.table.add("Dvě");
    FakeSong* s3 = a.table.add("Tři");
    uploadNew(a, {s1, s2, s3});
    run(b, {.download = true});
    run(c, {.download = true});
    ASSERT_EQ(3u, b.table.songs.size());
    int gone = s2->netid;
    std::string creation = songValue("dbw_creation", gone);

    RecordingProgress progress;
    auto r = run(a, {.upload = true, .download = true, .progress = &progress, .deleted = {s2}});
    ASSERT_TRUE(ok) << r->errorText(true).c_str();
    EXPECT_EQ(1, r->counters().deletedNet);
    EXPECT_TRUE(a.table.isDeleted(s2));
    EXPECT_EQ(2, inet->count("songs"));
    EXPECT_EQ(creation + "," + std::to_string(r->versionId()),
              value("SELECT dbw_creation || ',' || dbw_version FROM dbw_deletes"));
    EXPECT_EQ((std::pair<int, std::string>{0, "Ma6u řádek 0/1 tabulky songs"}), progress.steps.front());

    FakeSong* b2 = b.table.byNetId(gone);
    auto down = run(b, {.download = true});
    ASSERT_TRUE(ok);
    EXPECT_EQ(1, down->counters().deletedLocal);
    EXPECT_TRUE(b.table.isDeleted(b2));
    EXPECT_EQ(2u, b.table.songs.size());
    EXPECT_TRUE(logged(b, btkFormat("netid=%5d  locid=    2;smazání lokálního objektu", gone)));

    // c still has the song: its deletion finds no row and writes no
    // deletion record of its own.
    FakeSong* c2 = c.table.byNetId(gone);
    auto again = run(c, {.upload = true, .deleted = {c2}});
    ASSERT_TRUE(ok) << again->errorText(true).c_str();
    EXPECT_TRUE(c.table.isDeleted(c2));
    EXPECT_EQ(1, again->counters().deletedLocal);
    EXPECT_EQ("",
              value("SELECT dbw_creation FROM dbw_deletes WHERE dbw_version=" + std::to_string(again->versionId())));
    EXPECT_EQ(2, inet->count("songs"));

    // A deletion record of another table deletes nothing.
    ASSERT_TRUE(inet->exec("INSERT INTO dbw_creations (dbw_version,dbw_tableid,dbw_recordid) VALUES (1,150," +
                           std::to_string(s1->netid) + ")"));
    ASSERT_TRUE(
        inet->exec("INSERT INTO dbw_deletes (dbw_version,dbw_creation) SELECT 999, MAX(dbw_id) FROM "
                   "dbw_creations"));
    auto other = run(b, {.download = true});
    ASSERT_TRUE(ok);
    EXPECT_EQ(0, other->counters().deletedLocal);
    EXPECT_NE(nullptr, b.table.byNetId(s1->netid));
}

TEST_F(DbwSyncPg, MissingRowsAreFetchedAndLocalExtrasDeleted) {
    FakeSongDb a;
    FakeSong* s1 = a.table.add("Jedna");
    FakeSong* s2 = a.table.add("Dvě");
    FakeSong* s3 = a.table.add("Tři");
    uploadNew(a, {s1, s2, s3});

    PlainDb b;
    FakeSong* kept = b.table.add("Stará kopie");
    kept->netid = s2->netid;
    auto r = run(b, {.missing = true});
    ASSERT_TRUE(ok) << r->errorText(true).c_str();
    EXPECT_EQ(2, r->counters().downloadedNew);
    EXPECT_EQ(0, r->counters().updatedLocal);
    EXPECT_EQ(0, b.version);  // only a download moves the version
    EXPECT_NE(nullptr, b.table.byNetId(s1->netid));
    EXPECT_NE(nullptr, b.table.byNetId(s3->netid));
    EXPECT_EQ(btkstring("Stará kopie"), kept->title);

    FakeSong* never = b.table.add("Nikdy nenahraná");
    FakeSong* stale = b.table.add("Smazaná jinde");
    stale->netid = 99999;
    // Kept out of synchronisation, a song stays, as a remote deletion
    // leaves it.
    FakeSong* outside = b.table.add("Mimo synchronizaci");
    outside->netid = 99998;
    outside->nonet = true;
    auto del = run(b, {.deleteMissing = true});
    ASSERT_TRUE(ok);
    EXPECT_EQ(2, del->counters().deletedLocal);
    EXPECT_TRUE(b.table.isDeleted(never));
    EXPECT_TRUE(b.table.isDeleted(stale));
    EXPECT_FALSE(b.table.isDeleted(outside));
    EXPECT_EQ(4u, b.table.songs.size());
}

TEST_F(DbwSyncPg, TheConditionKeepsItsVersionBound) {
    FakeSongDb a;
    uploadNew(a, {a.table.add("Česká", "cz"), a.table.add("Slovenská", "sk"), a.table.add("Deutsch", "de")});
    // The synchronisation dialog's language filters.
    for (const auto& [filter, count] : std::vector<std::pair<const char*, int>>{
             {"lang='cz'", 1}, {"lang='sk'", 1}, {"lang='de'", 1}, {"lang='en'", 0}, {"lang='ru'", 0}}) {
        PlainDb d;
        auto r = run(d, {.download = true, .condition = filter});
        ASSERT_TRUE(ok) << filter << r->errorText(true).c_str();
        EXPECT_EQ(count, r->counters().downloadedNew) << filter;
    }

    PlainDb c;
    const char* condition = "lang='cz' or lang='sk'";
    auto first = run(c, {.download = true, .condition = condition});
    ASSERT_TRUE(ok) << first->errorText(true).c_str();
    EXPECT_EQ(2, first->counters().downloadedNew);
    EXPECT_EQ(nullptr, c.table.byTitle("Deutsch"));

    uploadNew(a, {a.table.add("Druhá česká", "cz")});
    auto second = run(c, {.download = true, .condition = condition});
    ASSERT_TRUE(ok);
    EXPECT_EQ(1, second->counters().downloadedNew);
    EXPECT_EQ(0, second->counters().updatedLocal);  // the older sk row is not fetched again
}

TEST_F(DbwSyncPg, TheConditionStaysOneExpressionInTheServersEncoding) {
    FakeSongDb a;
    uploadNew(a, {a.table.add("Česká", "cz"), a.table.add("Deutsch", "de")});
    for (const char* bad : {"lang='cz') OR (1=1", "1=1; DELETE FROM songs", "(lang='cz'", "lang='cz' --",
                            "lang='cz' /* x */", "title='it''s"}) {
        PlainDb c;
        auto r = run(c, {.download = true, .condition = bad});
        EXPECT_FALSE(ok) << bad;
        EXPECT_NE(std::string(r->errorText(true).c_str()).find("is not one SQL expression"), std::string::npos) << bad;
    }
    EXPECT_EQ("2", value("SELECT COUNT(*) FROM songs"));
    FakeSongDb c;  // a Windows-1250 database: the condition is converted
    auto r = run(c, {.download = true, .condition = "title='Česká' or title=')'' ;--'"});
    ASSERT_TRUE(ok) << r->errorText(true).c_str();
    EXPECT_EQ(1, r->counters().downloadedNew);
}

TEST_F(DbwSyncPg, ConditionsOutsideTheGrammarAreRefusedBeforeAnythingIsSent) {
    FakeSongDb a;
    uploadNew(a, {a.table.add("Česká", "cz"), a.table.add("Deutsch", "de")});
    ASSERT_TRUE(inet->exec("UPDATE dbw_users SET dbw_password='heslo'"));
    FakeSongDb c;
    run(c, {.download = true});
    ASSERT_TRUE(ok);
    // Relations, sequences and large objects of the server.
    const std::string serverState =
        "SELECT (SELECT string_agg(relname || relkind, ',' ORDER BY relname) FROM pg_class WHERE "
        "relnamespace='public'::regnamespace) || (SELECT string_agg(sequencename || '=' || COALESCE(last_value, 0), "
        "',' ORDER BY sequencename) FROM pg_sequences) || (SELECT COUNT(*) FROM pg_largeobject_metadata)";
    const std::string before = value(serverState);
    const char* const refused[] = {
        "set_config('standard_conforming_strings','off',false)='off' AND lang='cz'",
        "lang='\\'' ) UNION SELECT dbw_id,dbw_login,dbw_password,dbw_rights,'','','' FROM dbw_users --'",
        "lang='cz' AND setval('songs_id_seq', 1) > 0",
        "lo_from_bytea(0, decode('41', 'hex')) > 0",
        "EXISTS (SELECT 1 FROM dbw_users WHERE dbw_password LIKE 'h%')",
        "title <> '\\'' ) OR (1=1) --'",
        "lang=E'\\'' ) ; COMMIT; CREATE TABLE pwned (i int); --'",
        "lang=$t$'$t$ ) ; COMMIT; CREATE TABLE pwned (i int); --'",
        "lang=U&'\\0027' ) ; COMMIT; CREATE TABLE pwned (i int); --'",
        "lang='cz'; DELETE FROM songs",
        // Tests the server could only guess a type for, or fail on.
        "10 > 9",
        "id IN (1, 2.5)",
        "id > 99999999999",
        "'x' IS NULL",
        "title = 5",
    };
    // Chains of many ORs, refused for their size.
    std::vector<std::string> oversized;
    for (int terms : {20000, 80000}) {
        std::string text = "lang='cz'";
        for (int i = 1; i < terms; ++i) text += " OR lang='cz'";
        oversized.push_back(text);
    }
    std::vector<std::pair<const char*, const char*>> cases;
    for (const char* condition : refused)
        cases.emplace_back(condition, "The condition of table songs is not one SQL expression");
    for (const std::string& condition : oversized)
        cases.emplace_back(condition.c_str(), "Podmínka stahování tabulky songs je příliš rozsáhlá");
    // Every run is made (which reads the server's definition) before the
    // proxy freezes: a statement sent afterwards would wait for an answer
    // that never comes.
    kx6TcpProxy proxy(inet->socketPath());
    dbwAdaRef via = inet->connectVia("127.0.0.1", proxy.port());
    ASSERT_TRUE(via.isSet()) << inet->error();
    std::vector<std::unique_ptr<dbwSynchronize>> runs;
    for (const auto& [condition, message] : cases) {
        runs.push_back(std::make_unique<dbwSynchronize>(via, &c, inet->userId()));
        runs.back()->setCondition(1, condition);
        runs.back()->setUpload(true);
        runs.back()->setDownload(true);
        runs.back()->setDownloadMissing(true);
    }
    {
        kx6test::Restore replyTimeout(dbwPostgreSQLConnection::replyTimeoutMs, 1000);
        proxy.freeze();
        for (size_t i = 0; i < runs.size(); ++i) {
            const std::string shown = std::string(cases[i].first).substr(0, 60);
            EXPECT_FALSE(runs[i]->synchronize()) << shown;
            const std::string error = runs[i]->errorText(true).c_str();
            EXPECT_TRUE(btkStartsWith(cases[i].second, error.c_str())) << shown << "\n" << error.substr(0, 200);
        }
    }
    EXPECT_EQ(before, value(serverState));
    EXPECT_EQ("heslo", value("SELECT dbw_password FROM dbw_users"));
    ASSERT_EQ(2u, c.table.songs.size());
    EXPECT_EQ(a.version, c.version);
    for (const auto& song : c.table.songs) EXPECT_FALSE(song->nonet || song->netmodified);

    // Below the grammar, a query text holding a second statement runs nothing.
    EXPECT_FALSE(ada->query("SELECT 1; CREATE TABLE pwned (i int)").isValid());
    EXPECT_EQ(before, value(serverState));
    EXPECT_TRUE(ada->query("SELECT 1").isValid());
}

// A number is compared as a number: each condition downloads the rows the
// same condition selects as SQL on the server, a chain at the size limit
// among them.
TEST_F(DbwSyncPg, NumbersInTheConditionKeepTheirSQLMeaning) {
    FakeSongDb a;
    std::vector<dbwSynObject*> songs;
    for (int i = 0; i < 12; ++i) songs.push_back(a.table.add(btkFormat("Píseň %d", i), i % 2 ? "cz" : "sk"));
    uploadNew(a, songs);
    std::string longest = "id=1";
    for (int i = 2; i <= dbwSyncConditionMaxTerms; ++i) longest += " OR id=" + std::to_string(i);
    for (const std::string& condition :
         {std::string("id > 9"), std::string("9 < id AND lang='cz'"), std::string("id = 1.0"),
          std::string("id IN (2, 3.000, 11)"), std::string("dbw_version >= -1 AND NOT id <= 010"), longest}) {
        const std::string shown = condition.substr(0, 40);
        const int expected = std::stoi(value("SELECT COUNT(*) FROM songs WHERE " + condition));
        ASSERT_GT(expected, 0) << shown;
        PlainDb d;
        auto r = run(d, {.download = true, .condition = condition.c_str()});
        ASSERT_TRUE(ok) << shown << "\n" << r->errorText(true).c_str();
        EXPECT_EQ(expected, r->counters().downloadedNew) << shown;
    }
}

TEST_F(DbwSyncPg, ManyRowsComeInOrderedPagesOfAHundred) {
    FakeSongDb a;
    std::vector<dbwSynObject*> songs;
    for (int i = 0; i < 250; ++i) songs.push_back(a.table.add(btkFormat("Píseň %03d", i)));
    uploadNew(a, songs);
    // Updated rows move to the end of the table's storage, so an unordered
    // page would see them out of key order.
    ASSERT_TRUE(inet->exec("UPDATE songs SET remark='x' WHERE id % 3 = 0"));

    PlainDb b;
    RecordingProgress progress;
    auto r = run(b, {.download = true, .progress = &progress});
    ASSERT_TRUE(ok) << r->errorText(true).c_str();
    EXPECT_EQ((Steps{{0, "Stahuji řádek 0/250 tabulky songs"},
                     {40, "Stahuji řádek 100/250 tabulky songs"},
                     {80, "Stahuji řádek 200/250 tabulky songs"},
                     {0, "Mařu řádky tabulky songs"},
                     {100, "Provádím dokončovací práce"}}),
              progress.steps);
    ASSERT_EQ(250u, b.table.songs.size());
    for (size_t i = 1; i < b.table.songs.size(); ++i)
        ASSERT_LT(b.table.songs[i - 1]->netid, b.table.songs[i]->netid) << i;

    // Missing rows come in batches of a hundred ids.
    PlainDb c;
    RecordingProgress missing;
    auto m = run(c, {.missing = true, .progress = &missing});
    ASSERT_TRUE(ok) << m->errorText(true).c_str();
    EXPECT_EQ((Steps{{39, "Stahuji řádek 99/250 tabulky songs"},
                     {79, "Stahuji řádek 199/250 tabulky songs"},
                     {100, "Provádím dokončovací práce"}}),
              missing.steps);
    EXPECT_EQ(250, m->counters().downloadedNew);
    EXPECT_EQ(250u, c.table.songs.size());
}

TEST_F(DbwSyncPg, ACancelledRunLeavesTheServerUnchanged) {
    for (const char* stop : {"Uploaduji řádek 1/2", "Provádím dokončovací práce"}) {
        FakeSongDb a;
        a.version = 0;
        FakeSong* s1 = a.table.add("Jedna");
        FakeSong* s2 = a.table.add("Dvě");
        RecordingProgress progress;
        progress.stopAt = stop;
        auto r = run(a, {.upload = true, .download = true, .progress = &progress, .added = {s1, s2}});
        EXPECT_FALSE(ok) << stop;
        EXPECT_EQ(btkstring("Přerušeno uživatelem"), r->errorText(true)) << stop;
        EXPECT_EQ(btkstring(), r->errorText(true));
        EXPECT_EQ("0 0 0 0", rowCounts()) << stop;
        EXPECT_EQ(0, a.version);
        EXPECT_EQ("Chyba:Přerušeno uživatelem", a.log.back());
        EXPECT_EQ(1, a.closed);
    }
}

TEST_F(DbwSyncPg, AFailedQueryFailsTheRunAndKeepsItsCause) {
    FakeSongDb a;
    int v = uploadNew(a, {a.table.add("Jedna")});
    ASSERT_EQ(v, a.version);

    auto r = run(a, {.download = true, .condition = "id LIKE 'x'"});  // no LIKE for integers
    EXPECT_FALSE(ok);
    EXPECT_EQ(v, a.version);  // not fallen back to 0
    ASSERT_TRUE(btkStartsWith("Chyba:", a.log.back().c_str()));
    EXPECT_NE(std::string::npos, a.log.back().find("operator does not exist"));
    // The log line did not use the cause up.
    std::string cause = r->errorText(true).c_str();
    EXPECT_NE(std::string::npos, cause.find("operator does not exist")) << cause;
    EXPECT_NE('\n', cause.front());  // no own error: the adapter's alone
    EXPECT_EQ(btkstring(), r->errorText(true));

    // The adapter is usable again for the next run.
    auto next = run(a, {.download = true});
    EXPECT_TRUE(ok) << next->errorText(true).c_str();
}

TEST_F(DbwSyncPg, TablesThatCannotBePreparedFailTheRun) {
    struct Case {
        const char* what;
        std::vector<int> ids;
        int table;
    };
    for (const Case& k : {Case{"no key field", {27, 31}, 1}, Case{"unknown field", {23, 27, 25}, 1},
                          Case{"unknown table", {23, 27}, 77}}) {
        FakeSongDb a;
        a.table.cls.ids = k.ids;
        a.table.id = k.table;
        auto r = run(a, {.upload = true, .download = true, .added = {a.table.add("Jedna")}});
        EXPECT_FALSE(ok) << k.what;
        EXPECT_FALSE(r->errorText(true).empty()) << k.what;
        EXPECT_EQ("0 0 0 0", rowCounts()) << k.what;
    }
}

TEST_F(DbwSyncPg, NullEntriesAreSkippedButANullNewObjectFails) {
    FakeSongDb a;
    a.nullTable = true;
    a.table.nullInObjects = true;
    FakeSong* s1 = a.table.add("Jedna");
    auto r = run(a, {.upload = true, .download = true, .added = {nullptr, s1}, .changed = {nullptr}});
    ASSERT_TRUE(ok) << r->errorText(true).c_str();
    EXPECT_EQ(1, r->counters().uploadedNew);
    EXPECT_EQ(1, inet->count("songs"));

    PlainDb b;
    b.table.refuseNew = true;
    auto down = run(b, {.download = true});
    EXPECT_FALSE(ok);
    EXPECT_FALSE(down->errorText(true).empty());
    EXPECT_EQ(0, b.version);
}

TEST_F(DbwSyncPg, RunsWithoutWorkAndObjectsOfNoTable) {
    FakeSongDb a;
    RecordingProgress progress;
    auto r = run(a, {.progress = &progress});
    ASSERT_TRUE(ok);
    EXPECT_EQ((Steps{{100, "Provádím dokončovací práce"}}), progress.steps);
    EXPECT_EQ(std::vector<std::string>{"OK"}, a.log);
    EXPECT_EQ(0, inet->count("dbw_versions"));

    FakeSongClass otherClass;
    otherClass.id = 5;
    FakeSong stray(&otherClass);
    auto s = run(a, {.upload = true, .download = true, .added = {&stray}});
    ASSERT_TRUE(ok);
    EXPECT_EQ(0, s->versionId());
    EXPECT_EQ(0, s->counters().uploadedNew);
    EXPECT_EQ(0, stray.netid);
    EXPECT_EQ(0, inet->count("dbw_versions"));
}

TEST_F(DbwSyncPg, ChangesThatCrossAnotherCopysChangeOrDeletionAreConflicts) {
    // Copy a changes or deletes a song first; copy b, which has not seen
    // that, changes or deletes it afterwards.
    struct Case {
        const char* what;
        bool aDeletes;
        bool bDeletes;
        bool bUploads;
        const char* serverTitle;  // "" when the row is gone
    };
    for (const Case& k :
         {Case{"both change", false, false, true, "Od A"}, Case{"a deletes, b changes", true, false, true, ""},
          Case{"a deletes, b changes and only downloads", true, false, false, ""},
          Case{"a changes, b deletes", false, true, true, "Od A"}}) {
        FakeSongDb a, b;
        FakeSong* song = a.table.add("Píseň");
        uploadNew(a, {song});
        run(b, {.download = true});
        ASSERT_TRUE(ok) << k.what;
        FakeSong* copy = b.table.byNetId(song->netid);
        ASSERT_NE(nullptr, copy);
        if (k.aDeletes) {
            run(a, {.upload = true, .download = true, .deleted = {song}});
        } else {
            song->edit("Od A");
            run(a, {.upload = true, .download = true, .changed = {song}});
        }
        ASSERT_TRUE(ok) << k.what;

        Plan plan{.upload = k.bUploads, .download = true};
        if (k.bDeletes) {
            plan.deleted = {copy};
        } else {
            copy->edit("Od B");
            if (k.bUploads) plan.changed = {copy};
        }
        auto r = run(b, plan);
        ASSERT_TRUE(ok) << k.what << ": " << r->errorText(true).c_str();
        EXPECT_EQ(1, r->counters().conflicts) << k.what;
        EXPECT_EQ(0, r->counters().updatedNet + r->counters().deletedNet + r->counters().deletedLocal) << k.what;
        EXPECT_EQ(k.serverTitle, title(song->netid)) << k.what;
        ASSERT_EQ(copy, b.table.byNetId(song->netid)) << k.what;  // kept
        EXPECT_TRUE(copy->nonet) << k.what;
        EXPECT_FALSE(copy->netmodified) << k.what;
        EXPECT_EQ(btkstring(k.bDeletes ? "Píseň" : "Od B"), copy->title) << k.what;
        auto next = run(b, {.upload = true, .download = true});
        EXPECT_TRUE(ok) << k.what << ": " << next->errorText(true).c_str();
        EXPECT_EQ(copy, b.table.byNetId(song->netid)) << k.what;
    }
}

TEST_F(DbwSyncPg, UploadOnlyRunsDoNotTakeTheirOwnChangesForConflicts) {
    FakeSongDb a, b;
    FakeSong* song = a.table.add("Píseň");
    uploadNew(a, {song});
    // Uploads alone, twice: the second sees only a's own first change.
    for (const char* text : {"Jednou", "Podruhe"}) {
        song->edit(text);
        auto r = run(a, {.upload = true, .changed = {song}});
        ASSERT_TRUE(ok) << r->errorText(true).c_str();
        EXPECT_EQ(0, r->counters().conflicts) << text;
        EXPECT_EQ(text, title(song->netid));
        EXPECT_EQ(r->versionId(), a.version) << text;
    }
    // Another copy's run in between: the local version stays, as the
    // upload alone has not taken that run's changes.
    FakeSong* other = b.table.add("Jiná");
    uploadNew(b, {other});
    const int before = a.version;
    song->edit("Potřetí");
    run(a, {.upload = true, .changed = {song}});
    ASSERT_TRUE(ok);
    EXPECT_EQ(before, a.version);
}

TEST_F(DbwSyncPg, ALostCommitAnswerIsSettledByTheRunsVersionRow) {
    kx6test::Restore<int> pause(dbwSynchronize::lostCommitPauseMs, 100);
    kx6TcpProxy proxy(inet->socketPath());
    dbwAdaRef via = inet->connectVia("127.0.0.1", proxy.port());
    ASSERT_TRUE(via.isSet()) << inet->error();
    FakeSongDb a;
    FakeSong* s1 = a.table.add("Jedna");
    FakeSong* s2 = a.table.add("Dvě");
    auto syncVia = [&](FakeSong* song) {
        auto r = std::make_unique<dbwSynchronize>(via, &a, inet->userId());
        r->setUpload(true);
        r->setDownload(true);
        r->addNew(song);
        ok = r->synchronize();
        return r;
    };

    // The server committed, the answer was lost: the run succeeded.
    proxy.cutAfter("COMMIT WORK");
    auto r = syncVia(s1);
    EXPECT_TRUE(proxy.cut());
    ASSERT_TRUE(ok) << r->errorText(true).c_str();
    EXPECT_FALSE(r->outcomeUnknown());
    EXPECT_EQ(r->versionId(), a.version);
    EXPECT_NE(0, s1->netid);
    EXPECT_EQ(1, inet->count("songs"));
    auto again = syncVia(s2);
    ASSERT_TRUE(ok) << again->errorText(true).c_str();
    EXPECT_EQ(2, inet->count("songs"));

    // The server cannot be asked afterwards: the outcome is unknown.
    int version = a.version;
    proxy.cutAfter("COMMIT WORK", true);
    auto lost = syncVia(a.table.add("Tři"));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(lost->outcomeUnknown());
    EXPECT_TRUE(
        btkStartsWith("Spojení se serverem se přerušilo při dokončování synchronizace", lost->errorText(true).c_str()));
    EXPECT_EQ(version, a.version);
    EXPECT_EQ(3, inet->awaitCount("songs", 3));
}

TEST_F(DbwSyncPg, AHeldVersionLockMakesOtherRunsReportBusy) {
    kx6test::Restore lockWait(dbwSynchronize::lockWaitMs, 300);
    dbwAdaRef holder = inet->connect();
    ASSERT_TRUE(holder->exec("BEGIN"));
    ASSERT_TRUE(holder->exec("LOCK TABLE dbw_versions IN EXCLUSIVE MODE"));
    for (bool writing : {true, false}) {
        FakeSongDb a;
        Plan plan{.upload = writing, .download = true};
        if (writing) plan.added = {a.table.add("Jedna")};
        auto r = run(a, plan);
        EXPECT_FALSE(ok) << writing;
        EXPECT_EQ(btkstring(dbwSynchronize::BusyText), r->errorText(true)) << writing;
    }
    ASSERT_TRUE(holder->exec("ROLLBACK"));
    FakeSongDb a;
    auto r = run(a, {.upload = true, .download = true, .added = {a.table.add("Jedna")}});
    EXPECT_TRUE(ok) << r->errorText(true).c_str();
}

TEST_F(DbwSyncPg, AFrozenClientsVersionLockEndsWithItsIdleTransaction) {
    kx6test::Restore idleTimeout(dbwPostgreSQLConnection::idleTransactionTimeoutMs, 1500);  // at session start
    kx6test::Restore lockWait(dbwSynchronize::lockWaitMs, 15000);
    auto replyTimeout = std::make_unique<kx6test::Restore<int>>(dbwPostgreSQLConnection::replyTimeoutMs, 1000);
    // The client stops right after its LOCK reached the server, which
    // granted it; the proxy keeps the server's side of the connection open.
    kx6TcpProxy proxy(inet->socketPath());
    dbwAdaRef via = inet->connectVia("127.0.0.1", proxy.port());
    ASSERT_TRUE(via.isSet()) << inet->error();
    FakeSongDb a;
    proxy.freezeAfter("LOCK TABLE");
    {
        dbwSynchronize frozen(via, &a, inet->userId());
        frozen.setUpload(true);
        frozen.addNew(a.table.add("Jedna"));
        EXPECT_FALSE(frozen.synchronize());
    }
    replyTimeout.reset();
    auto start = std::chrono::steady_clock::now();
    FakeSongDb b;
    auto r = run(b, {.upload = true, .download = true, .added = {b.table.add("Dvě")}});
    EXPECT_TRUE(ok) << r->errorText(true).c_str();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0);
    EXPECT_EQ(1, inet->count("songs"));
}

TEST_F(DbwSyncPg, ARunThatThrowsTakesItsWaitHookAlong) {
    struct ThrowingDb : FakeSongDb {
        void getTables(btkCntVec<dbwSynTable*>&) override { throw btkError("no tables"); }
    };
    ThrowingDb a;
    EXPECT_THROW(run(a, {.download = true}), btkError);
    EXPECT_EQ(nullptr, ada->connection()->currentWaitHook());
}

TEST_F(DbwSyncPg, ASilentServerOrAStornoEndsTheWait) {
    kx6test::Restore replyTimeout(dbwPostgreSQLConnection::replyTimeoutMs, 1500);
    kx6test::Restore connectTimeout(dbwPostgreSQLConnection::connectTimeoutS, 2);
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); };

    // A server silent from the start: the connection fails.
    {
        kx6TcpProxy frozen(inet->socketPath());
        frozen.freeze();
        auto start = Clock::now();
        EXPECT_FALSE(inet->connectVia("127.0.0.1", frozen.port()).isSet());
        EXPECT_LT(seconds(start), 5.0);
    }

    // Silent from the run's first step: the bound or the user's Storno
    // ends the wait, and the run fails with nothing written.
    struct Freezing : dbwProgress {
        bool step(int, const btkstring&) override {
            proxy->freeze();
            return true;
        }
        bool waiting() override { return ++waits < stopAfter; }
        kx6TcpProxy* proxy = nullptr;
        int waits = 0;
        int stopAfter = 0;
    };
    for (int stopAfter : {1000000, 3}) {
        kx6TcpProxy proxy(inet->socketPath());
        dbwAdaRef via = inet->connectVia("127.0.0.1", proxy.port());
        ASSERT_TRUE(via.isSet()) << inet->error();
        Freezing progress;
        progress.proxy = &proxy;
        progress.stopAfter = stopAfter;
        FakeSongDb a;
        dbwSynchronize r(via, &a, inet->userId());
        r.setUpload(true);
        r.setDownload(true);
        r.addNew(a.table.add("Jedna"));
        r.setProgress(&progress);
        auto start = Clock::now();
        EXPECT_FALSE(r.synchronize());
        EXPECT_LT(seconds(start), 5.0) << stopAfter;
        std::string error = r.errorText(true).c_str();
        EXPECT_TRUE(btkStartsWith(stopAfter == 3 ? "Přerušeno uživatelem" : dbwPostgreSQLConnection::NoAnswerText,
                                  error.c_str()))
            << error;
        EXPECT_GE(progress.waits, stopAfter == 3 ? 3 : 10) << stopAfter;
        EXPECT_EQ(0, a.table.songs[0]->netid);
    }
    EXPECT_EQ("0 0 0 0", rowCounts());
}

TEST_F(DbwSyncPg, AServerThatStopsReadingOrAStornoEndsTheSendAndTheReconnect) {
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); };
    struct Stop : dbwWaitHook {
        bool waiting() override { return ++waits < stopAfter; }
        int waits = 0;
        int stopAfter = 0;
    };
    const std::string big = "SELECT length('" + std::string(32 << 20, 'x') + "')";
    for (int stopAfter : {1000000, 3}) {
        const char* reason = stopAfter == 3 ? "Přerušeno uživatelem" : dbwPostgreSQLConnection::NoAnswerText;
        Stop hook;
        hook.stopAfter = stopAfter;
        kx6TcpProxy proxy(inet->socketPath());
        dbwAdaRef via = inet->connectVia("127.0.0.1", proxy.port());
        ASSERT_TRUE(via.isSet()) << inet->error();
        // Shortened once connected: the connection's own TCP timeout stays long.
        kx6test::Restore replyTimeout(dbwPostgreSQLConnection::replyTimeoutMs, 1000);
        kx6test::Restore connectTimeout(dbwPostgreSQLConnection::connectTimeoutS, 2);
        dbwDbConnection* connection = via->connection();
        connection->setWaitHook(&hook);
        proxy.stopReading();
        auto start = Clock::now();
        EXPECT_FALSE(via->exec(big.c_str()));
        EXPECT_LT(seconds(start), 5.0) << stopAfter;
        EXPECT_EQ(btkstring(reason), via->errorText(true)) << stopAfter;

        // The lost-commit check's reconnect to a server that never answers.
        proxy.freeze();
        hook.waits = 0;
        start = Clock::now();
        EXPECT_FALSE(connection->reconnect());
        EXPECT_LT(seconds(start), stopAfter == 3 ? 1.5 : 5.0) << stopAfter;
        EXPECT_EQ(btkstring(reason), connection->lastError()) << stopAfter;
        connection->setWaitHook(nullptr);
    }
}

TEST_F(DbwSyncPg, RunsHoldTheVersionTableUntilTheyEnd) {
    FakeSongDb a;
    RecordingProgress progress;
    std::set<std::string> writing, reading;
    progress.during = [&] {
        if (writing.empty()) writing = versionLocks();
    };
    run(a, {.upload = true, .download = true, .progress = &progress, .added = {a.table.add("Jedna")}});
    ASSERT_TRUE(ok);
    EXPECT_TRUE(writing.count("ExclusiveLock")) << "writer";

    RecordingProgress readProgress;
    readProgress.during = [&] {
        if (reading.empty()) reading = versionLocks();
    };
    run(a, {.download = true, .progress = &readProgress});
    ASSERT_TRUE(ok);
    EXPECT_TRUE(reading.count("ShareLock"));
    EXPECT_FALSE(reading.count("ExclusiveLock"));
    EXPECT_TRUE(versionLocks().empty());
}

// ---- pipelined statements against statements run one by one

namespace {

void setPipelining(dbwAdaRef& ada, bool on) {
    auto* pg = dynamic_cast<dbwPostgreSQLConnection*>(ada->connection());
    ASSERT_NE(nullptr, pg);
    pg->setPipelining(on);
}

}  // namespace

TEST_F(DbwSyncPg, PipelinedUploadWritesWhatOneByOneWrites) {
    // Two runs of the same songs, one by one and then pipelined: the rows of
    // the second equal those of the first with keys, creation ids and the
    // version moved on, in the same order of writing.
    std::vector<std::unique_ptr<FakeSongDb>> dbs;
    for (bool pipelined : {false, true}) {
        setPipelining(ada, pipelined);
        dbs.push_back(std::make_unique<FakeSongDb>());
        FakeSongDb& db = *dbs.back();
        std::vector<dbwSynObject*> songs;
        for (int i = 0; i < 25; ++i)
            songs.push_back(db.table.add(btkFormat("Píseň %d", i), i % 2 ? "cz" : "sk", btkFormat("[C]sloka %d", i)));
        auto r = run(db, {.upload = true, .added = songs});
        ASSERT_TRUE(ok) << r->errorText(true).c_str();
    }
    EXPECT_EQ(dbs[0]->log, dbs[1]->log);
    // Each run's rows relative to its first key, creation id and version,
    // in the order the server stored them.
    auto dump = [&](int run) {
        std::string v = "(SELECT MIN(dbw_id) + " + std::to_string(run) + " FROM dbw_versions)";
        std::string key = "(SELECT MIN(id) FROM songs WHERE dbw_version=" + v + ")";
        std::string creation = "(SELECT MIN(dbw_id) FROM dbw_creations WHERE dbw_version=" + v + ")";
        return value("SELECT string_agg(concat_ws(':', id - " + key + ", dbw_creation - " + creation +
                     ", title, text, lang), '|' ORDER BY ctid) FROM songs WHERE dbw_version=" + v) +
               value("SELECT string_agg(concat_ws(':', dbw_id - " + creation + ", dbw_recordid - " + key +
                     "), '|' ORDER BY ctid) FROM dbw_creations WHERE dbw_version=" + v) +
               value("SELECT string_agg(concat_ws(':', dbw_recordid - " + key +
                     ", dbw_fieldid, dbw_value), '|' "
                     "ORDER BY ctid) FROM dbw_updates WHERE dbw_version=" +
                     v);
    };
    EXPECT_EQ(dump(0), dump(1));
    EXPECT_EQ("50 2 50 300", rowCounts());
}

TEST_F(DbwSyncPg, AFailedPipelinedStatementFailsTheRunAsOneByOne) {
    // The field log refuses one value: the second song's deferred
    // statements fail, so the third song is neither logged nor uploaded.
    ASSERT_TRUE(inet->exec(
        "CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN IF NEW.dbw_value = 'Odm\xc3\xadtnut\xc3\xa1' THEN "
        "RAISE EXCEPTION 'value refused'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql; "
        "CREATE TRIGGER refuse BEFORE INSERT ON dbw_updates FOR EACH ROW EXECUTE FUNCTION refuse()"))
        << inet->error();
    std::vector<std::string> outcomes;
    for (bool pipelined : {false, true}) {
        setPipelining(ada, pipelined);
        FakeSongDb db;
        auto r = run(
            db, {.upload = true, .added = {db.table.add("První"), db.table.add("Odmítnutá"), db.table.add("Třetí")}});
        EXPECT_FALSE(ok);
        std::string outcome = r->errorText(true).c_str();
        EXPECT_NE(std::string::npos, outcome.find("value refused")) << outcome;
        for (const std::string& line : db.log) outcome += "\n" + line;
        outcomes.push_back(outcome + "\n" + std::to_string(r->counters().uploadedNew) + " " + rowCounts());
        // The connection is usable again.
        auto next = run(db, {.download = true});
        EXPECT_TRUE(ok) << next->errorText(true).c_str();
    }
    EXPECT_EQ(outcomes[0], outcomes[1]);
}
