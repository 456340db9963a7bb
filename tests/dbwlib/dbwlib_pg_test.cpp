// The PostgreSQL connection through the public interface of libdbwlib.so,
// against the throwaway PostgreSQL test cluster. Each run works in a
// database of its own.
#include <test_servers.h>
#include <unistd.h>

#include <cstdlib>

#include "dbwlib_test_util.h"

namespace {

struct PgServer {
    std::string host, user;
    int port = 0;
};

class PgConnection : public ::testing::Test {
protected:
    void SetUp() override {
        std::string conninfo;
        KX6_REQUIRE_PG(conninfo);
        server.host = kx6PgHost();
        server.user = kx6PgUser();
        server.port = std::atoi(kx6PgPort().c_str());
        // A name that needs the connection string's quoting.
        database = "dbwlib test " + std::to_string(getpid());
        DbwConnection admin = open("postgres");
        ASSERT_TRUE(admin->connected()) << admin->error();
        ASSERT_TRUE(admin->exec(("DROP DATABASE IF EXISTS \"" + database + "\"").c_str())) << admin->error();
        ASSERT_TRUE(admin->exec(("CREATE DATABASE \"" + database + "\"").c_str())) << admin->error();
        db = open(database.c_str());
        ASSERT_TRUE(db->connected()) << db->error();
    }

    void TearDown() override {
        if (database.empty()) return;
        db.reset();
        DbwConnection admin = open("postgres");
        admin->exec(("DROP DATABASE IF EXISTS \"" + database + "\"").c_str());
    }

    DbwConnection open(const char* name) {
        DbwConnection c = dbwCreate(DBW_ENGINE_POSTGRESQL);
        EXPECT_TRUE(c->open(name, server.host.c_str(), server.user.c_str(), nullptr, server.port)) << c->error();
        return c;
    }

    PgServer server;
    std::string database;
    DbwConnection db;
};

TEST_F(PgConnection, WalksTheTypicalUse) {
    // libpq gives a SQL NULL as an empty text.
    walkTypicalUse(db.get(), "CREATE TABLE song (id serial PRIMARY KEY, title varchar(40), year int)", "");

    EXPECT_EQ(db->query("CREATE TABLE x (a int)"), nullptr);  // no rows: not a query
    EXPECT_TRUE(db->exec("SELECT 1"));
}

TEST_F(PgConnection, InsertGivesTheKeyOnlyWhereASequenceFeedsIt) {
    ASSERT_TRUE(db->exec("CREATE TABLE plain (id int, v text)"));
    EXPECT_EQ(db->insert("INSERT INTO plain VALUES (7, 'x')", "plain", "id"), 0);
    ASSERT_TRUE(db->exec("CREATE TABLE ident (id int GENERATED ALWAYS AS IDENTITY, v text)"));
    EXPECT_EQ(db->insert("INSERT INTO ident (v) VALUES ('a')", "ident", "id"), 1);
    EXPECT_EQ(db->insert("INSERT INTO ident (v) VALUES ('b')", "ident", "id"), 2);

    // A failed key look-up keeps the transaction usable.
    ASSERT_TRUE(db->exec("CREATE TABLE s (id serial, v int)"));
    db->begin();
    EXPECT_EQ(db->insert("INSERT INTO plain VALUES (1)", "plain", "nosuchcolumn"), 0);
    EXPECT_EQ(db->insert("INSERT INTO s (id, v) VALUES (100, 1)", "s", "id"), 0);  // sequence unused
    EXPECT_EQ(db->insert("INSERT INTO s (v) VALUES (2)", "s", "id"), 1);
    db->commit();
    EXPECT_EQ(readSingle(db.get(), "SELECT count(*) FROM plain"), "2");
    EXPECT_EQ(readSingle(db.get(), "SELECT count(*) FROM s"), "2");
    db->begin();
    db->exec("INSERT INTO plain VALUES (3)");
    db->rollback();
    EXPECT_EQ(readSingle(db.get(), "SELECT count(*) FROM plain"), "2");
}

TEST_F(PgConnection, QuoteFollowsTheSessionsStringMode) {
    EXPECT_STREQ(db->quote("it's a\\b"), "it''s a\\b");
    EXPECT_STREQ(db->quote(""), "");
    expectQuotedTextReadsBack(db.get(), "CREATE TABLE t (id serial, v text)", "SELECT char_length(v) FROM t");

    ASSERT_TRUE(db->exec("SET standard_conforming_strings = off"));
    EXPECT_STREQ(db->quote("it's a\\b"), "it''s a\\\\b");
    std::string text = trickyText();
    std::string sql = std::string("SELECT '") + db->quote(text.c_str()) + "'";
    EXPECT_EQ(readSingle(db.get(), sql), text);
}

TEST_F(PgConnection, ColumnRecordsGiveModifiersAndSerial) {
    ASSERT_TRUE(
        db->exec("CREATE TABLE song (id serial PRIMARY KEY, title varchar(40), "
                 "price numeric(10,2), n integer DEFAULT 3, free varchar, gone int)"))
        << db->error();
    ASSERT_TRUE(db->exec("ALTER TABLE song DROP COLUMN gone"));
    EXPECT_EQ(db->columnCount("song"), 5);
    EXPECT_EQ(columnList(db.get(), "song"),
              (std::vector<std::string>{"id: serial", "title: varchar(40)", "price: numeric(10,2)", "n: int4",
                                        "free: varchar"}));
    expectColumnsRefused(db.get(), "song", 4);
}

TEST_F(PgConnection, TableNamesListUserTablesAndRespectTheCapacity) {
    ASSERT_TRUE(db->exec("CREATE TABLE song (a int)"));
    ASSERT_TRUE(db->exec("CREATE TABLE sqlbook (a int)"));
    ASSERT_TRUE(db->exec("CREATE TABLE pgnotes (a int)"));
    EXPECT_EQ(db->tableCount(), 3);
    EXPECT_EQ(tableNameSet(db.get()), (std::set<std::string>{"song", "sqlbook", "pgnotes"}));
    dbwTableName names[2];
    std::strcpy(names[0], "untouched");
    EXPECT_FALSE(db->tableNames(names, 2));
    EXPECT_STREQ(names[0], "untouched");
}

TEST_F(PgConnection, TableNamesInCatalogueStatementsAreQuoted) {
    ASSERT_TRUE(db->exec("CREATE TABLE \"it's\" (a int, b text)")) << db->error();
    EXPECT_EQ(db->columnCount("it's"), 2);
    EXPECT_EQ(db->columnCount("x' OR relname LIKE '%"), 0);
    expectColumnsRefused(db.get(), "nosuch", 2);
    EXPECT_EQ(db->columnCount("nosuch"), 0);
}

TEST(PgOpen, AFailedConnectionKeepsItsReasonAndAnyOpenRefusesAnother) {
    std::string conninfo;
    KX6_REQUIRE_PG(conninfo);
    const int port = std::atoi(kx6PgPort().c_str());
    DbwConnection db = dbwCreate(DBW_ENGINE_POSTGRESQL);
    EXPECT_STREQ(db->error(), "");
    EXPECT_FALSE(db->open("dbwlib_no_such_database", kx6PgHost().c_str(), "postgres", nullptr, port));
    EXPECT_NE(std::string(db->error()).find("dbwlib_no_such_database"), std::string::npos) << db->error();
    EXPECT_FALSE(db->connected());
    EXPECT_FALSE(db->open("postgres", kx6PgHost().c_str(), "postgres", nullptr, port));
    EXPECT_FALSE(db->connected());

    // A second open leaves the first connection alone.
    DbwConnection ok = dbwCreate(DBW_ENGINE_POSTGRESQL);
    ASSERT_TRUE(ok->open("postgres", kx6PgHost().c_str(), "postgres", "", port)) << ok->error();
    EXPECT_FALSE(ok->open("template1", kx6PgHost().c_str(), "postgres", "", port));
    EXPECT_TRUE(ok->connected());
    EXPECT_EQ(readSingle(ok.get(), "SELECT current_database()"), "postgres");
}

}  // namespace
