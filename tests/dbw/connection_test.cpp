// The stored connection and its password, the PostgreSQL connection's
// behaviour without a server, and the factories.
#include <gtest/gtest.h>

#include "dbw/dbwactiveconnection.h"
#include "dbw/dbwadapter.h"
#include "dbw/dbwpostgresql.h"
#include "dbw/dbwstoredconnection.h"
#include "foundation/btkscramble.h"
#include "password_scramble.h"

TEST(DbwConnectionPassword, UsesItsOwnSevenByteKey) {
    // "a" XOR 0x5c = 0x3d: alphabet[3] '2', alphabet[13] 'a'.
    EXPECT_EQ(btkstring("2a"), scrambleConnectionPassword("a"));
    EXPECT_EQ(btkstring("a"), dbwUnscramblePassword("2a"));
    EXPECT_NE(btkUnscramblePassword("2a"), dbwUnscramblePassword("2a"));
    // The eighth byte uses key byte 0 again.
    btkstring eight = scrambleConnectionPassword("aaaaaaaa");
    EXPECT_EQ(eight.substr(0, 2), eight.substr(14, 2));
    EXPECT_EQ(btkstring("aaaaaaaa"), dbwUnscramblePassword(eight));
    EXPECT_EQ(btkstring("heslo čř"), dbwUnscramblePassword(scrambleConnectionPassword("heslo čř")));
    // Odd lengths, unknown characters and empty texts.
    EXPECT_EQ(btkstring(""), dbwUnscramblePassword(""));
    EXPECT_EQ(btkstring(""), dbwUnscramblePassword(nullptr));
    EXPECT_EQ(btkstring("a"), dbwUnscramblePassword("2ak"));
    // Characters outside the alphabet count as 0 ("h"): 0x00 ^ 0x5c.
    EXPECT_EQ(dbwUnscramblePassword("hh"), dbwUnscramblePassword("??"));
    EXPECT_EQ(btkstring("\\"), dbwUnscramblePassword("??"));
}

TEST(DbwStoredConnection, ReadsTheConnectionElement) {
    btkXMLNode node;
    node.parse(btkstring("<anything name=\"!Internet\" password=\"") + scrambleConnectionPassword("tajné") +
               "\" user=\"kx\" dbname=\"songs\" server=\"db.example\" port=\"5433\" engine=\"1\" "
               "encoding=\"UTF-8\" filename=\"x.db\"><settings a=\"1\"><c /></settings></anything>");
    dbwStoredConnection stored(node);
    EXPECT_EQ(btkstring("!Internet"), stored.name);
    EXPECT_EQ(btkstring("tajné"), stored.password);
    EXPECT_EQ(btkstring("kx"), stored.user);
    EXPECT_EQ(btkstring("songs"), stored.dbname);
    EXPECT_EQ(btkstring("db.example"), stored.server);
    EXPECT_EQ(5433, stored.port);
    EXPECT_EQ(1, stored.engine);
    EXPECT_EQ(btkstring("UTF-8"), stored.encoding);
    EXPECT_EQ(btkstring("x.db"), stored.filename);
    EXPECT_TRUE(stored.isValid());
    EXPECT_EQ(btkstring("settings"), stored.settings.name());
    EXPECT_EQ(btkstring("1"), stored.settings.attr("a"));
    // A deep copy: the file's tree can change without touching it.
    node.childByName("settings").setAttr("a", "2");
    EXPECT_EQ(btkstring("1"), stored.settings.attr("a"));

    btkXMLNode bare;
    bare.parse("<connection />");
    dbwStoredConnection empty(bare);
    EXPECT_EQ(btkstring(""), empty.password);
    EXPECT_EQ(0, empty.port);
    EXPECT_EQ(0, empty.engine);
    EXPECT_EQ(0, empty.settings.attrCount());
    EXPECT_EQ(0, empty.settings.childCount());
}

TEST(DbwStoredConnection, NumbersOutOfRangeAreRefused) {
    const struct {
        const char* attrs;
        const char* error;
    } rows[] = {
        {"engine=\"257\"", "engine \"257\" is not a known engine number (1 to 4)"},
        {"engine=\"-1\"", "engine \"-1\" is not a known engine number (1 to 4)"},
        {"port=\"70000\"", "port \"70000\" is not a port number (1 to 65535, 0 for the engine's default)"},
        {"port=\"99999999999999999999\"",
         "port \"99999999999999999999\" is not a port number (1 to 65535, 0 for the engine's default)"},
        {"port=\"54x\"", "port \"54x\" is not a port number (1 to 65535, 0 for the engine's default)"},
        {"port=\" 65535 \" engine=\"4\"", ""},
    };
    for (const auto& r : rows) {
        btkXMLNode node;
        node.parse((btkstring("<c ") + r.attrs + " />").c_str());
        std::string error;
        try {
            dbwStoredConnection stored(node);
        } catch (const btkError& e) {
            error = e.message().c_str();
        }
        EXPECT_EQ(error, r.error) << r.attrs;
    }
}

TEST(DbwStoredConnection, UnknownEngineCannotOpen) {
    btkXMLNode node;
    node.parse("<c engine=\"2\" />");
    dbwStoredConnection stored(node);
    EXPECT_EQ(nullptr, stored.createDriverConnection());
    EXPECT_EQ(nullptr, stored.createActiveConnection(true));
    dbwActiveConnection* lazy = stored.createActiveConnection(false);
    ASSERT_NE(nullptr, lazy);
    EXPECT_FALSE(lazy->acquire().isSet());
    EXPECT_EQ(btkstring(""), lazy->lastError());
    // The lock was given back: a second try does not block.
    EXPECT_FALSE(lazy->acquire().isSet());
    delete lazy;
}

TEST(DbwStoredConnection, FailedImmediateConnectionKeepsTheEngineMessage) {
    btkXMLNode node;
    node.parse("<c engine=\"1\" server=\"/nonexistent-kx6-socket-dir\" dbname=\"songs\" user=\"kx\" />");
    dbwStoredConnection stored(node);
    EXPECT_EQ(nullptr, stored.createActiveConnection(true));
    EXPECT_FALSE(stored.lastError.empty());
}

TEST(DbwPostgreSQLConnection, ConnectionTextQuotesValuesAndLeavesOutEmptyOnes) {
    EXPECT_EQ(btkstring("dbname='songs'"), dbwPostgreSQLConnection::connectionText("songs", "", "", "", 0));
    EXPECT_EQ(btkstring("dbname='songs' user='kx' port='5432'"),
              dbwPostgreSQLConnection::connectionText("songs", "", "kx", nullptr, 5432));
    EXPECT_EQ(btkstring("dbname='a b' host='h' user='o\\'neil' password='x\\\\y z'"),
              dbwPostgreSQLConnection::connectionText("a b", "h", "o'neil", "x\\y z", 0));
}

TEST(DbwPostgreSQLConnection, WithoutAServer) {
    dbwDbConnection* pg = createBuiltinConnection(1);
    ASSERT_NE(nullptr, pg);
    EXPECT_STREQ("postgresql", pg->engineName());
    EXPECT_FALSE(pg->isConnected());
    EXPECT_EQ(btkstring(""), pg->lastError());
    EXPECT_FALSE(pg->connectFile("x"));
    // Standard SQL escaping: quote doubled, backslash kept.
    EXPECT_STREQ("it''s a\\b", pg->escape("it's a\\b"));
    EXPECT_FALSE(pg->exec("SELECT 1"));
    EXPECT_EQ(nullptr, pg->query("SELECT 1"));
    EXPECT_EQ(-1, pg->insertGetId("INSERT", "t", "id"));
    EXPECT_EQ(nullptr, createBuiltinConnection(0));
    EXPECT_EQ(nullptr, createBuiltinConnection(2));

    // A failed connect keeps its handle and refuses another.
    EXPECT_FALSE(pg->connect("songs", "/nonexistent-kx6-socket-dir", "kx", "", 0));
    btkstring first = pg->lastError();
    EXPECT_FALSE(first.empty());
    EXPECT_FALSE(pg->connect("songs", "/nonexistent-kx6-socket-dir", "kx", "", 0));
    EXPECT_FALSE(pg->isConnected());
    pg->release();
}
