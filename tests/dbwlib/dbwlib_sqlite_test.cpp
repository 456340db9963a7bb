// The SQLite connection through the public interface of libdbwlib.so, on a
// database file in a temporary folder.
#include <unistd.h>

#include <filesystem>

#include "dbwlib_test_util.h"

namespace fs = std::filesystem;

namespace {

class SqliteConnection : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("dbwlib-sqlite-" + std::to_string(getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        db = dbwCreate(DBW_ENGINE_SQLITE);
        ASSERT_TRUE(db);
        ASSERT_TRUE(db->open((m_dir / "songs.db").c_str(), nullptr, nullptr, nullptr, 0)) << db->error();
    }
    void TearDown() override {
        db.reset();
        fs::remove_all(m_dir);
    }

    fs::path m_dir;
    DbwConnection db;
};

TEST(DbwFactory, GivesOneConnectionPerEngineNumberAndNullOtherwise) {
    DbwConnection mysql = dbwCreate(0), pg = dbwCreate(1), sqlite = dbwCreate(2);
    ASSERT_TRUE(mysql && pg && sqlite);
    EXPECT_STREQ(mysql->engine(), "mysql");
    EXPECT_STREQ(pg->engine(), "postgresql");
    EXPECT_STREQ(sqlite->engine(), "sqlite");
    EXPECT_EQ(_dbw_create_connection(-1), nullptr);
    EXPECT_EQ(_dbw_create_connection(3), nullptr);
}

TEST(DbwFactory, UnopenedConnectionsFailQuietly) {
    for (int engine : {DBW_ENGINE_POSTGRESQL, DBW_ENGINE_SQLITE}) {
        DbwConnection db = dbwCreate(engine);
        EXPECT_FALSE(db->connected()) << db->engine();
        EXPECT_EQ(db->query("SELECT 1"), nullptr);
        EXPECT_FALSE(db->exec("SELECT 1"));
        EXPECT_EQ(db->insert("INSERT INTO t VALUES (1)", "t", "id"), 0);
        EXPECT_EQ(db->tableCount(), 0);
        EXPECT_EQ(db->columnCount("t"), 0);
        dbwTableName names[2];
        EXPECT_FALSE(db->tableNames(names, 2));
        EXPECT_NE(db->error(), nullptr);
        db->begin();
        db->rollback();
    }
    DbwConnection pg = dbwCreate(DBW_ENGINE_POSTGRESQL);
    EXPECT_STREQ(pg->error(), "");
    // Without a server, quoting follows standard SQL: only quotes are doubled.
    EXPECT_STREQ(pg->quote("it's a\\b"), "it''s a\\b");
}

TEST(SqliteOpen, FailsForAFileThatCannotBeCreatedAndStaysClosed) {
    DbwConnection db = dbwCreate(DBW_ENGINE_SQLITE);
    EXPECT_FALSE(db->open("/nonexistent-folder/x/songs.db", nullptr, nullptr, nullptr, 0));
    EXPECT_STRNE(db->error(), "");
    EXPECT_FALSE(db->connected());
    EXPECT_EQ(db->query("SELECT 1"), nullptr);
    EXPECT_EQ(db->tableCount(), 0);
}

TEST_F(SqliteConnection, WalksTheTypicalUse) {
    EXPECT_TRUE(db->connected());
    walkTypicalUse(db.get(), "CREATE TABLE song (id INTEGER PRIMARY KEY, title varchar(20), year int)", nullptr);
}

TEST_F(SqliteConnection, ASecondOpenLeavesTheFirstDatabaseAlone) {
    ASSERT_TRUE(db->exec("CREATE TABLE first (a int)"));
    EXPECT_FALSE(db->open((m_dir / "other.db").c_str(), nullptr, nullptr, nullptr, 0));
    EXPECT_TRUE(db->connected());
    EXPECT_EQ(db->tableCount(), 1);
}

TEST_F(SqliteConnection, EmptyResultsAndFailedQueries) {
    DbwResult empty(db->query("SELECT 1 AS one WHERE 0"));
    ASSERT_TRUE(empty) << db->error();
    EXPECT_EQ(empty->rowCount(), 0);
    EXPECT_EQ(empty->nextRow(), nullptr);
    EXPECT_EQ(db->query("SELECT * FROM nosuch"), nullptr);
    EXPECT_NE(std::string(db->error()).find("no such table"), std::string::npos) << db->error();
    EXPECT_FALSE(db->exec("NOT SQL"));
}

TEST_F(SqliteConnection, QuoteDoublesOnlySingleQuotesAndReadsBackUnchanged) {
    EXPECT_STREQ(db->quote("a\\b"), "a\\b");
    EXPECT_STREQ(db->quote(""), "");
    // A longer text may move the buffer; the new text is whole.
    std::string longText(1000, '\'');
    EXPECT_EQ(std::string(db->quote(longText.c_str())), std::string(2000, '\''));
    EXPECT_STREQ(db->quote("x'"), "x''");
    expectQuotedTextReadsBack(db.get(), "CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT)", "SELECT length(v) FROM t");
}

TEST_F(SqliteConnection, RollbackUndoesAndCommitKeeps) {
    ASSERT_TRUE(db->exec("CREATE TABLE t (v int)"));
    db->begin();
    db->exec("INSERT INTO t VALUES (1)");
    db->rollback();
    EXPECT_EQ(readSingle(db.get(), "SELECT count(*) FROM t"), "0");
    db->begin();
    db->exec("INSERT INTO t VALUES (2)");
    db->commit();
    EXPECT_EQ(readSingle(db.get(), "SELECT count(*) FROM t"), "1");
}

TEST_F(SqliteConnection, TableNamesAreCutAtTheCapacityAndTo255Characters) {
    ASSERT_TRUE(
        db->exec("CREATE TABLE a (x int); CREATE TABLE b (x int); CREATE TABLE c (x int);"
                 "CREATE INDEX a_x ON a(x)"));
    EXPECT_EQ(db->tableCount(), 3);
    EXPECT_EQ(tableNameSet(db.get()), (std::set<std::string>{"a", "b", "c"}));
    dbwTableName names[3];
    std::strcpy(names[2], "untouched");
    EXPECT_TRUE(db->tableNames(names, 2));
    EXPECT_STREQ(names[2], "untouched");

    std::string name(300, 'n');
    ASSERT_TRUE(db->exec(("CREATE TABLE " + name + " (x int)").c_str()));
    EXPECT_EQ(tableNameSet(db.get()).count(std::string(255, 'n')), 1u);
}

TEST_F(SqliteConnection, ColumnsComeFromTheCreateTableText) {
    // (SQLite refuses a second primary key, so the key is declared once.)
    ASSERT_TRUE(
        db->exec("CREATE TABLE t (id INTEGER NOT NULL, name varchar(20) NOT NULL, "
                 "PRIMARY KEY(id))"))
        << db->error();
    EXPECT_EQ(db->columnCount("t"), 2);
    EXPECT_EQ(columnList(db.get(), "t"),
              (std::vector<std::string>{"id: INTEGER NOT NULL", "name: varchar(20) NOT NULL"}));

    ASSERT_TRUE(db->exec("CREATE TABLE u (primary_id int, price numeric(10,2), c int)"));
    EXPECT_EQ(columnList(db.get(), "u"),
              (std::vector<std::string>{"primary_id: int", "price: numeric(10,2)", "c: int"}));
    expectColumnsRefused(db.get(), "u", 2);
    EXPECT_EQ(db->columnCount("nosuch"), 0);
    expectColumnsRefused(db.get(), "nosuch", 4);
}

TEST_F(SqliteConnection, TableNamesWithQuotesAreLookedUpSafely) {
    ASSERT_TRUE(db->exec("CREATE TABLE \"it's\" (a int, b text)"));
    EXPECT_EQ(db->columnCount("it's"), 2);
    EXPECT_EQ(db->columnCount("x' OR name LIKE '%"), 0);
}

}  // namespace
