// The adapter and its results over a real engine: SQLite through the
// test-only connection.
#include <gtest/gtest.h>

#include "dbw/dbwadapter.h"
#include "dbw/dbwengines.h"
#include "sqlite_connection.h"

namespace {

class DbwSQLiteAdapter : public ::testing::Test {
protected:
    void SetUp() override {
        auto* conn = new SQLiteTestConnection();
        ASSERT_TRUE(conn->connectFile(":memory:"));
        ada = dbwCreateAdapter(conn, "UTF-8", nullptr);
        ASSERT_TRUE(ada->exec("CREATE TABLE info (name TEXT, value TEXT)"));
        ASSERT_TRUE(ada->exec("INSERT INTO info VALUES ('dbversion','7'), ('allowconnect','1'), ('it''s','q')"));
    }
    dbwAdaRef ada;
};

}  // namespace

TEST_F(DbwSQLiteAdapter, ResultsStandOnTheirFirstRowAndWalkForward) {
    dbwResultRef r = ada->query("SELECT name AS Name, value, NULL AS blank FROM info ORDER BY rowid");
    ASSERT_TRUE(r.isValid());
    EXPECT_TRUE(r.hasRow());
    EXPECT_EQ(0, r->rowIndex());
    EXPECT_EQ(3, r->fieldCount());
    EXPECT_EQ(btkstring("Name"), r->fieldName(0));
    EXPECT_EQ(btkstring(""), r->fieldName(3));
    EXPECT_EQ(btkstring(""), r->fieldName(-1));
    EXPECT_EQ(btkstring("dbversion"), r.value(0));
    EXPECT_EQ(btkstring("7"), r.valueByName("VALUE"));
    EXPECT_EQ(btkstring("dbversion"), r.valueByName("name"));
    EXPECT_EQ(btkstring(""), r.valueByName("missing"));
    EXPECT_EQ(btkstring(""), r.value(2));
    EXPECT_EQ(btkstring(""), r.value(9));
    EXPECT_TRUE(r.next());
    EXPECT_EQ(btkstring("allowconnect"), r.value(0));
    EXPECT_TRUE(r.next());
    EXPECT_FALSE(r.next());
    EXPECT_FALSE(r.hasRow());
    EXPECT_EQ(btkstring(""), r.value(0));
}

TEST_F(DbwSQLiteAdapter, ResultsKeepTheirAdapterAlive) {
    dbwResultRef r = ada->query("SELECT value FROM info");
    EXPECT_EQ(2, ada->refCount());
    ada = dbwAdaRef();
    EXPECT_EQ(btkstring("7"), r.value(0));
}

TEST_F(DbwSQLiteAdapter, FailedQueriesGiveResultsWithoutRows) {
    dbwResultRef r = ada->query("SELECT nonsense FROM nowhere");
    EXPECT_TRUE(r.isSet());
    EXPECT_FALSE(r.isValid());
    EXPECT_FALSE(r.hasRow());
    EXPECT_EQ(0, r->fieldCount());
    EXPECT_EQ(btkstring(""), r.valueByName("x"));
    EXPECT_FALSE(ada->errorText(false).empty());
    EXPECT_EQ(btkstring(""), dbwSelectValue(ada.get(), "SELECT nonsense FROM nowhere", true));
    EXPECT_EQ(btkstring(""), dbwSelectValue(ada.get(), "SELECT value FROM info WHERE 0", true));
}

TEST_F(DbwSQLiteAdapter, SingleValuesAndNamedValues) {
    EXPECT_EQ(btkstring("3"), dbwSelectValue(ada.get(), "SELECT count(*) FROM info", true));
    EXPECT_EQ(btkstring("7"), dbwSelectNamedValue(ada.get(), "dbversion", "info"));
    EXPECT_EQ(btkstring("1"), dbwSelectNamedValue(ada.get(), "allowconnect", "info"));
    EXPECT_EQ(btkstring("q"), dbwSelectNamedValue(ada.get(), "it's", "info"));
    EXPECT_EQ(btkstring(""), dbwSelectNamedValue(ada.get(), "x' OR 1=1 --", "info"));
    EXPECT_EQ(btkstring("7"), ada->queryValueFormat("SELECT %i FROM %i WHERE name=%s", {"value", "info", "dbversion"}));
}

TEST_F(DbwSQLiteAdapter, FormattedLiteralsStayInert) {
    EXPECT_TRUE(ada->execFormat("INSERT INTO %i VALUES (%s, %s)", {"info", "x' OR 1=1 --", "a\\b'c"}));
    EXPECT_EQ(btkstring("a\\b'c"), ada->queryValueFormat("SELECT value FROM info WHERE name=%s", {"x' OR 1=1 --"}));
    EXPECT_EQ(btkstring("0"), ada->queryValueFormat("SELECT count(*) FROM info WHERE name=%s", {"x' OR '1'='1"}));
    EXPECT_EQ(5, ada->insertGetId("INSERT INTO info VALUES ('n','v')", "info", "rowid"));
}

TEST_F(DbwSQLiteAdapter, AnsiCollationOrdersCzechAndIgnoresCase) {
    // UTF-8 texts: "chata", "hrad", "Ivan", "čaj", "cena".
    ASSERT_TRUE(ada->exec("CREATE TABLE w (t TEXT)"));
    ASSERT_TRUE(
        ada->exec("INSERT INTO w VALUES ('chata'), ('hrad'), ('Ivan'), ('\xc4\x8d"
                  "aj'), ('cena')"));
    dbwResultRef r = ada->query("SELECT t FROM w ORDER BY t COLLATE ansi");
    btkstring order;
    for (; r.hasRow(); r.next()) order += r.value(0) + " ";
    EXPECT_EQ(btkstring("cena \xc4\x8d"
                        "aj hrad chata Ivan "),
              order);
    EXPECT_EQ(btkstring("1"), dbwSelectValue(ada.get(), "SELECT 'ABC' = 'abc' COLLATE ansi", true));
    EXPECT_EQ(0, dbwAnsiCollate(nullptr, 3, "abc", 3, "ABC"));
    EXPECT_EQ(-1, dbwAnsiCollate(nullptr, 2, "ab", 3, "abc"));
}
