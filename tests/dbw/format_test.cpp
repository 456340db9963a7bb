// The SQL formatter and the adapter's base behaviour: statement lists,
// error texts, lending of the adapter itself, transaction nesting.
#include <gtest/gtest.h>

#include "dbw/dbwadapter.h"
#include "dbw/dbwengines.h"
#include "fake_connection.h"

namespace {

struct AdapterOver {
    explicit AdapterOver(const char* engine) : conn(new FakeConnection(engine)) {
        ref = dbwCreateAdapter(conn, "UTF-8", nullptr);
    }
    FakeConnection* conn;
    dbwAdaRef ref;
};

}  // namespace

TEST(DbwFormatSQL, DirectivesRawTextAndMissingArguments) {
    AdapterOver pg("postgresql");
    EXPECT_EQ(
        btkstring("SELECT \"name\" FROM t WHERE x='O''Neil' AND n=5 AND p LIKE 'a%'"),
        dbwFormatSQL(pg.ref.get(), "SELECT %i FROM t WHERE x=%s AND n=%d AND p LIKE 'a%%'", {"name", "O'Neil", 5}));
    // An unknown directive, raw text and a trailing percent.
    AdapterOver my("mysql");
    EXPECT_EQ(btkstring("x DELETE FROM `t`"), dbwFormatSQL(my.ref.get(), "%x %q %i%", {"DELETE FROM", "t"}));
    // Backslashes are not touched by %s; missing arguments write nothing.
    EXPECT_EQ(btkstring("'a\\b' "), dbwFormatSQL(my.ref.get(), "%s %s", {"a\\b"}));
    EXPECT_EQ(btkstring("7 '12'"), dbwFormatSQL(nullptr, "%d %s", {"7", 12}));
}

TEST(DbwFormatSQL, ExecAndQueryFormatRunTheFormattedText) {
    AdapterOver a("sqlite");
    EXPECT_TRUE(a.ref->execFormat("DELETE FROM %i WHERE a=%s", {"t", "x'y"}));
    dbwResultRef r = a.ref->queryFormat("SELECT %d", {3});
    EXPECT_FALSE(r.isValid());
    EXPECT_FALSE(r.hasRow());
    EXPECT_EQ(btkstring(""), r.value(0));
    ASSERT_EQ(2u, a.conn->statements.size());
    EXPECT_EQ("DELETE FROM \"t\" WHERE a='x''y'", a.conn->statements[0]);
    EXPECT_EQ("SELECT 3", a.conn->statements[1]);
}

TEST(DbwAdapterBase, ExecListStopsAtTheFirstFailureWithTheCzechError) {
    AdapterOver a("fake");
    btkStrings list;
    EXPECT_TRUE(a.ref->execList(list));
    EXPECT_TRUE(a.conn->statements.empty());

    list.add("A");
    list.add("B");
    list.add("C");
    a.conn->failing.push_back("B;");
    EXPECT_FALSE(a.ref->execList(list));
    ASSERT_EQ(2u, a.conn->statements.size());
    EXPECT_EQ("A;", a.conn->statements[0]);
    EXPECT_EQ(btkstring("Chyba při zpracovávání dotazu:\nB\n\nfailed: B;"), a.ref->errorText(true));
    // The own text was cleared; only the connection's error is left.
    EXPECT_EQ(btkstring("failed: B;"), a.ref->errorText(false));
    a.conn->error.clear();
    EXPECT_EQ(btkstring(""), a.ref->errorText(false));
}

TEST(DbwAdapterBase, SQLiteAndFirebirdUseTheBaseListWhileMySQLAndPostgreSQLDoNot) {
    btkStrings list;
    list.add("A");
    list.add("B");
    list.add("C");
    for (const char* engine : {"sqlite", "firebird"}) {
        AdapterOver a(engine);
        a.conn->failing.push_back("B;");
        EXPECT_FALSE(a.ref->execList(list)) << engine;
        EXPECT_TRUE(a.ref->errorText(true).startsWith("Chyba při zpracovávání dotazu:\nB\n\n")) << engine;
    }
    AdapterOver my("mysql");
    my.conn->failing.push_back("B");
    EXPECT_FALSE(my.ref->execList(list));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), my.conn->statements);
    EXPECT_EQ(btkstring("failed: B"), my.ref->errorText(true));

    AdapterOver pg("postgresql");
    EXPECT_TRUE(pg.ref->execList(list));
    EXPECT_EQ((std::vector<std::string>{"A;B;C;"}), pg.conn->statements);
    btkStrings empty;
    EXPECT_TRUE(pg.ref->execList(empty));
    EXPECT_EQ(1u, pg.conn->statements.size());
}

TEST(DbwAdapterBase, FactoryPicksTheAdapterByEngineName) {
    EXPECT_NE(nullptr, dynamic_cast<dbwPostgreAdapter*>(AdapterOver("postgresql").ref.get()));
    EXPECT_NE(nullptr, dynamic_cast<dbwMySQLAdapter*>(AdapterOver("mysql").ref.get()));
    EXPECT_NE(nullptr, dynamic_cast<dbwSQLiteAdapter*>(AdapterOver("sqlite").ref.get()));
    EXPECT_NE(nullptr, dynamic_cast<dbwFirebirdAdapter*>(AdapterOver("firebird").ref.get()));
    AdapterOver other("PostgreSQL");
    EXPECT_EQ(typeid(dbwAdapter), typeid(*other.ref.get()));
}

TEST(DbwAdapterBase, SelfSourceLendsTheSameAdapterWithoutOwningIt) {
    AdapterOver a("fake");
    EXPECT_EQ(1, a.ref->refCount());
    {
        dbwAdaRef again = a.ref->selfSource()->acquire();
        EXPECT_EQ(a.ref.get(), again.get());
        EXPECT_EQ(2, a.ref->refCount());
    }
    EXPECT_EQ(1, a.ref->refCount());
}

TEST(DbwAdapterBase, EncodingConversionBothWays) {
    dbwAdaRef ref(dbwCreateAdapter(new FakeConnection(), "CP1250", nullptr));
    // UTF-8 "č" is one CP1250 byte in the database and back.
    btkstring utf8("\xc4\x8d");
    btkstring db = ref->toDatabaseEncoding(utf8);
    EXPECT_EQ(1, db.length());
    EXPECT_EQ(utf8, ref->fromDatabaseEncoding(db));
}

TEST(DbwTransactions, OnlyTheOutermostBeginAndCommitReachTheEngine) {
    FakeConnection conn;
    EXPECT_FALSE(conn.commit());  // nothing to commit
    EXPECT_TRUE(conn.statements.empty());

    EXPECT_TRUE(conn.begin());
    EXPECT_TRUE(conn.begin());
    EXPECT_EQ(2, conn.transactionDepth());
    EXPECT_TRUE(conn.commit());
    EXPECT_EQ((std::vector<std::string>{"BEGIN"}), conn.statements);
    EXPECT_TRUE(conn.commit());
    EXPECT_EQ((std::vector<std::string>{"BEGIN", "COMMIT"}), conn.statements);
    EXPECT_EQ(0, conn.transactionDepth());

    conn.statements.clear();
    conn.begin();
    conn.begin();
    conn.begin();
    EXPECT_TRUE(conn.rollback());
    EXPECT_EQ(0, conn.transactionDepth());
    EXPECT_EQ((std::vector<std::string>{"BEGIN", "ROLLBACK"}), conn.statements);

    // A failed begin or commit is reported and leaves no transaction open.
    conn.failing = {"BEGIN"};
    EXPECT_FALSE(conn.begin());
    EXPECT_EQ(0, conn.transactionDepth());
    conn.failing = {"COMMIT"};
    EXPECT_TRUE(conn.begin());
    EXPECT_FALSE(conn.commit());
    EXPECT_EQ(0, conn.transactionDepth());
}

TEST(DbwEscape, BufferGrowsToTwiceTheTextAndNeverShrinks) {
    FakeConnection conn;
    EXPECT_STREQ("it''s", conn.escape("it's"));
    EXPECT_STREQ("0123456789", conn.escape("0123456789"));
    EXPECT_STREQ("", conn.escape(""));
    EXPECT_STREQ("", conn.escape(nullptr));
}
