// The MySQL connection through the public interface of libdbwlib.so, against
// the MariaDB test server. The connection's open passes no socket, so the
// server's socket reaches the client library through MYSQL_UNIX_PORT.
#include <test_servers.h>
#include <unistd.h>

#include <cstdlib>

#include "dbwlib_test_util.h"

namespace {

class MysqlConnection : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_database = "dbwlib_test_" + std::to_string(getpid()); }

    void SetUp() override {
        std::string socket;
        KX6_REQUIRE_MYSQL(socket);
        setenv("MYSQL_UNIX_PORT", socket.c_str(), 1);
        DbwConnection admin = dbwCreate(DBW_ENGINE_MYSQL);
        ASSERT_TRUE(admin->open(nullptr, "localhost", "root", "", 0)) << admin->error();
        ASSERT_TRUE(admin->exec(("DROP DATABASE IF EXISTS " + s_database).c_str())) << admin->error();
        ASSERT_TRUE(admin->exec(("CREATE DATABASE " + s_database + " CHARACTER SET utf8mb4").c_str()))
            << admin->error();
        db = dbwCreate(DBW_ENGINE_MYSQL);
        // No SET NAMES: the connection chooses its character set itself.
        ASSERT_TRUE(db->open(s_database.c_str(), "localhost", "root", "", 0)) << db->error();
    }

    void TearDown() override {
        if (db) db->exec(("DROP DATABASE IF EXISTS " + s_database).c_str());
    }

    static std::string s_database;
    DbwConnection db;
};

std::string MysqlConnection::s_database;

TEST_F(MysqlConnection, WalksTheTypicalUse) {
    EXPECT_TRUE(db->connected());
    walkTypicalUse(db.get(),
                   "CREATE TABLE song (id int(11) NOT NULL AUTO_INCREMENT PRIMARY KEY, "
                   "title varchar(40), year int)",
                   nullptr);
    // A second open leaves the first connection alone.
    EXPECT_FALSE(db->open("mysql", "localhost", "root", "", 0));
    EXPECT_TRUE(db->connected());
    EXPECT_EQ(readSingle(db.get(), "SELECT DATABASE()"), s_database);
}

TEST_F(MysqlConnection, QueryWithoutAResultSetGivesNull) {
    ASSERT_TRUE(db->exec("CREATE TABLE t (v int)"));
    EXPECT_EQ(db->query("INSERT INTO t VALUES (1)"), nullptr);
    EXPECT_EQ(readSingle(db.get(), "SELECT count(*) FROM t"), "1");
    EXPECT_EQ(db->query("SELECT * FROM nosuch"), nullptr);
    EXPECT_STRNE(db->error(), "");
}

TEST_F(MysqlConnection, QuotedTextReadsBackUnchanged) {
    EXPECT_STREQ(db->quote("it's"), "it\\'s");
    expectQuotedTextReadsBack(db.get(), "CREATE TABLE t (id int NOT NULL AUTO_INCREMENT PRIMARY KEY, v text)",
                              "SELECT CHAR_LENGTH(v) FROM t");
}

TEST_F(MysqlConnection, TableNamesFailWhenMoreThanTheCapacity) {
    ASSERT_TRUE(db->exec("CREATE TABLE a (x int)"));
    ASSERT_TRUE(db->exec("CREATE TABLE b (x int)"));
    EXPECT_EQ(db->tableCount(), 2);
    EXPECT_EQ(tableNameSet(db.get()), (std::set<std::string>{"a", "b"}));
    dbwTableName names[1];
    std::strcpy(names[0], "untouched");
    EXPECT_FALSE(db->tableNames(names, 1));
    EXPECT_STREQ(names[0], "untouched");
}

TEST_F(MysqlConnection, ColumnTypesCarryTheExtraAttribute) {
    ASSERT_TRUE(
        db->exec("CREATE TABLE song (id int(11) NOT NULL AUTO_INCREMENT PRIMARY KEY, "
                 "title varchar(40), price numeric(10,2))"))
        << db->error();
    EXPECT_EQ(db->columnCount("song"), 3);
    // An empty extra attribute still adds its blank.
    EXPECT_EQ(columnList(db.get(), "song"),
              (std::vector<std::string>{"id: int(11) auto_increment", "title: varchar(40) ", "price: decimal(10,2) "}));
    expectColumnsRefused(db.get(), "song", 2);
}

TEST_F(MysqlConnection, TableNamesInCatalogueStatementsAreQuoted) {
    ASSERT_TRUE(db->exec("CREATE TABLE `it's``x` (a int, b text)")) << db->error();
    EXPECT_EQ(db->columnCount("it's`x"), 2);
    ASSERT_TRUE(db->exec("CREATE TABLE keep (a int)"));
    EXPECT_EQ(db->columnCount("keep; DROP TABLE keep"), 0);
    EXPECT_EQ(db->columnCount("keep` ; DROP TABLE `keep"), 0);
    EXPECT_EQ(db->columnCount("keep"), 1);
    expectColumnsRefused(db.get(), "nosuch", 1);
    EXPECT_EQ(db->columnCount("nosuch"), 0);
    // The connection, opened without SET NAMES, sets its own character set;
    // names it cannot quote safely are refused before anything is sent.
    EXPECT_EQ(readSingle(db.get(), "SELECT @@character_set_client"), "utf8mb4");
    for (const char* name : {"", "a\x01b", "\xbf`", "\xe9\x60"}) {
        EXPECT_EQ(db->columnCount(name), 0) << name;
        EXPECT_NE(std::string(db->error()).find("refused"), std::string::npos) << name;
    }
}

TEST_F(MysqlConnection, TransactionsFollowTheServersMode) {
    ASSERT_TRUE(db->exec("CREATE TABLE t (v int) ENGINE=InnoDB"));
    db->begin();
    ASSERT_TRUE(db->exec("INSERT INTO t VALUES (1)"));
    db->rollback();  // not sent: the server commits each statement itself
    EXPECT_EQ(readSingle(db.get(), "SELECT count(*) FROM t"), "1");
}

TEST(MysqlOpen, FailsForAnUnknownDatabaseWithTheServersMessage) {
    std::string socket;
    KX6_REQUIRE_MYSQL(socket);
    setenv("MYSQL_UNIX_PORT", socket.c_str(), 1);
    DbwConnection db = dbwCreate(DBW_ENGINE_MYSQL);
    EXPECT_FALSE(db->open("dbwlib_no_such_database", "localhost", "root", "", 0));
    EXPECT_NE(std::string(db->error()).find("dbwlib_no_such_database"), std::string::npos) << db->error();
    EXPECT_FALSE(db->connected());
}

}  // namespace
