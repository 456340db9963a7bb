// The database library against a real PostgreSQL 15 server (the pg_server
// fixture): connection file, lending, quoting, keys, transactions and
// reconnection. Every test works in a database of its own.
#include <gtest/gtest.h>

#include <libpq-fe.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>

#include "dbw/dbwactiveconnection.h"
#include "dbw/dbwadapter.h"
#include "dbw/dbwpostgresql.h"
#include "dbw/dbwstoredconnection.h"
#include "foundation/btkconverter.h"
#include "foundation/btkxml.h"
#include "password_scramble.h"
#include "test_servers.h"

namespace {

class DbwPgTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string info;
        KX6_REQUIRE_PG(info);
        dbname = "kx6_dbw_" + std::to_string(getpid());
        admin = PQconnectdb(info.c_str());
        ASSERT_EQ(CONNECTION_OK, PQstatus(admin)) << PQerrorMessage(admin);
        adminExec("DROP DATABASE IF EXISTS " + dbname);
        adminExec("CREATE DATABASE " + dbname + " ENCODING 'UTF8' TEMPLATE template0");

        dir = std::filesystem::temp_directory_path() / ("kx6_dbw_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir / "cfg");
        btkXMLNode node;
        node.setName("connection");
        node.setAttr("name", "!Zkušební");
        node.setAttr("password", scrambleConnectionPassword("tajné heslo"));
        node.setAttr("user", kx6PgUser().c_str());
        node.setAttr("dbname", dbname.c_str());
        node.setAttr("server", kx6PgHost().c_str());
        node.setAttr("port", kx6PgPort().c_str());
        node.setAttr("engine", "1");
        node.setAttr("encoding", "UTF-8");
        node.getChild("settings").setAttr("timeout", "5");
        node.save((dir / "cfg" / "connect.xml").c_str(), "Windows-1250");

        btkXMLNode file;
        file.load((dir / "cfg" / "connect.xml").c_str());
        stored = new dbwStoredConnection(file);
        active = stored->createActiveConnection(true);
        ASSERT_NE(nullptr, active) << stored->lastError.c_str();
    }

    void TearDown() override {
        delete active;
        delete stored;
        if (admin) {
            adminExec("DROP DATABASE IF EXISTS " + dbname + " WITH (FORCE)");
            PQfinish(admin);
        }
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }

    void adminExec(const std::string& sql) {
        PGresult* r = PQexec(admin, sql.c_str());
        EXPECT_TRUE(PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK)
            << sql << ": " << PQerrorMessage(admin);
        PQclear(r);
    }

    // A second, independent session on the test database.
    btkstring otherSession(const char* sql) {
        PGconn* c = PQconnectdb(dbwPostgreSQLConnection::connectionText(
            dbname.c_str(), kx6PgHost().c_str(), kx6PgUser().c_str(), "", btkAtoi(kx6PgPort().c_str())));
        PGresult* r = PQexec(c, sql);
        btkstring v = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0 ? PQgetvalue(r, 0, 0) : "";
        PQclear(r);
        PQfinish(c);
        return v;
    }

    std::string dbname;
    std::filesystem::path dir;
    PGconn* admin = nullptr;
    dbwStoredConnection* stored = nullptr;
    dbwActiveConnection* active = nullptr;
};

}  // namespace

TEST_F(DbwPgTest, ConnectionFileOpensTheDatabase) {
    EXPECT_EQ(btkstring("tajné heslo"), stored->password);
    dbwAdaRef ada = active->acquire();
    ASSERT_TRUE(ada.isSet());
    EXPECT_STREQ("postgresql", ada->connection()->engineName());
    EXPECT_EQ(btkstring(dbname.c_str()), dbwSelectValue(ada.get(), "SELECT current_database()", true));
}

TEST_F(DbwPgTest, TextsRoundTripUnchanged) {
    dbwAdaRef ada = active->acquire();
    ASSERT_TRUE(ada->exec("CREATE TABLE songs (id SERIAL PRIMARY KEY, text TEXT)"));
    // Program text (Windows-1250) to the library's UTF-8 and back.
    btkstring lyrics = "Já jsem muzikant, it's \\n a \\\\ 'šíleně' žluťoučký kůň ";
    btkConverter toUtf8("CP1250", "UTF-8"), toLocal("UTF-8", "CP1250");
    btkstring utf8 = toUtf8.convert(lyrics);
    btkstring literal = dbwEscapeText(ada.get(), ada->toDatabaseEncoding(utf8));
    ASSERT_TRUE(ada->exec(btkstring("INSERT INTO songs (text) VALUES ('") + literal + "')"))
        << ada->errorText(true).c_str();
    ASSERT_TRUE(ada->execFormat("INSERT INTO songs (text) VALUES (%s)", {ada->toDatabaseEncoding(utf8)}));

    dbwResultRef r = ada->query("SELECT text, length(text) FROM songs ORDER BY id");
    for (int row = 0; row < 2; ++row) {
        ASSERT_TRUE(r.hasRow());
        EXPECT_EQ(lyrics, toLocal.convert(r.value(0)));
        EXPECT_EQ(btkIntToStr(lyrics.length()), r.value(1));
        r.next();
    }
    EXPECT_FALSE(r.hasRow());
}

TEST_F(DbwPgTest, InjectionTextStaysInertInsideALiteral) {
    dbwAdaRef ada = active->acquire();
    ASSERT_TRUE(ada->exec("CREATE TABLE users (login TEXT, password TEXT)"));
    ASSERT_TRUE(ada->exec("INSERT INTO users VALUES ('admin', 'secret')"));
    const char* attack = "x' OR 1=1 --";
    btkstring where = btkstring("SELECT count(*) FROM users WHERE login='") + dbwEscapeText(ada.get(), attack) +
                      "' AND password='" + dbwEscapeText(ada.get(), attack) + "'";
    EXPECT_EQ(btkstring("0"), dbwSelectValue(ada.get(), where, true));
    EXPECT_EQ(btkstring("0"), ada->queryValueFormat("SELECT count(*) FROM users WHERE login=%s", {attack}));
    EXPECT_EQ(btkstring("0"), ada->queryValueFormat("SELECT count(*) FROM users WHERE login=%s", {"\\' OR 1=1 --"}));
    EXPECT_EQ(btkstring("1"), ada->queryValueFormat("SELECT count(*) FROM users WHERE login=%s", {"admin"}));
    // The literal is stored as it was written.
    ASSERT_TRUE(ada->execFormat("INSERT INTO users VALUES (%s, '')", {attack}));
    EXPECT_EQ(btkstring(attack), dbwSelectValue(ada.get(), "SELECT login FROM users WHERE password=''", true));
}

TEST_F(DbwPgTest, InsertReturnsTheNewKey) {
    dbwAdaRef ada = active->acquire();
    ASSERT_TRUE(ada->exec("CREATE TABLE dbw_versions (dbw_id SERIAL PRIMARY KEY, dbw_created TEXT, dbw_userid INT)"));
    const char* insert = "INSERT INTO dbw_versions (dbw_created,dbw_userid) VALUES ('2026-1-1 0:00:00','3')";
    EXPECT_EQ(1, ada->insertGetId(insert, "dbw_versions", "dbw_id"));
    EXPECT_EQ(2, ada->insertGetId(btkstring(insert) + ";", "dbw_versions", "dbw_id"));
    EXPECT_EQ(0, ada->insertGetId(insert, "dbw_versions", ""));
    EXPECT_EQ(0, ada->insertGetId(insert, "", "dbw_id"));
    EXPECT_EQ(-1, ada->insertGetId("INSERT INTO nowhere VALUES (1)", "nowhere", "id"));
    EXPECT_EQ(-1, ada->insertGetId("INSERT INTO nowhere VALUES (1)", "", ""));
    EXPECT_EQ(btkstring("4"), dbwSelectValue(ada.get(), "SELECT count(*) FROM dbw_versions", true));
}

TEST_F(DbwPgTest, NestedTransactionsCommitOnlyAtTheOutermostLevel) {
    dbwAdaRef ada = active->acquire();
    dbwDbConnection* conn = ada->connection();
    ASSERT_TRUE(ada->exec("CREATE TABLE t (v INT)"));
    ASSERT_TRUE(conn->begin());
    ASSERT_TRUE(conn->begin());
    ASSERT_TRUE(ada->exec("INSERT INTO t VALUES (1)"));
    EXPECT_TRUE(conn->commit());
    EXPECT_EQ(1, conn->transactionDepth());
    EXPECT_EQ(btkstring("0"), otherSession("SELECT count(*) FROM t"));
    EXPECT_TRUE(conn->commit());
    EXPECT_EQ(btkstring("1"), otherSession("SELECT count(*) FROM t"));

    conn->begin();
    conn->begin();
    conn->begin();
    ada->exec("INSERT INTO t VALUES (2)");
    EXPECT_TRUE(conn->rollback());
    EXPECT_EQ(0, conn->transactionDepth());
    EXPECT_EQ(btkstring("1"), dbwSelectValue(ada.get(), "SELECT count(*) FROM t", true));
}

TEST_F(DbwPgTest, CommitAfterAFailedStatementReportsFailure) {
    dbwAdaRef ada = active->acquire();
    dbwDbConnection* conn = ada->connection();
    ASSERT_TRUE(ada->exec("CREATE TABLE t (v INT)"));
    ASSERT_TRUE(conn->begin());
    ASSERT_TRUE(ada->exec("INSERT INTO t VALUES (1)"));
    EXPECT_FALSE(ada->exec("INSERT INTO nowhere VALUES (1)"));
    EXPECT_FALSE(conn->commit());
    EXPECT_EQ(0, conn->transactionDepth());
    EXPECT_NE(nullptr, std::strstr(ada->errorText(true), "ROLLBACK"));
    EXPECT_EQ(btkstring("0"), dbwSelectValue(ada.get(), "SELECT count(*) FROM t", true));
}

TEST_F(DbwPgTest, ErrorsAreHandedOutOnceThenTheLiveMessage) {
    dbwAdaRef ada = active->acquire();
    EXPECT_FALSE(ada->exec("SELECT * FROM nowhere"));
    btkstring first = ada->connection()->lastError();
    EXPECT_NE(nullptr, std::strstr(first, "nowhere"));
    // libpq still holds the same message for the handle.
    EXPECT_EQ(first, ada->connection()->lastError());
    ada->setErrorText("Načtení selhalo");
    // The own text, a line feed, the connection's message.
    EXPECT_EQ(btkstring("Načtení selhalo\n") + first, ada->errorText(true));
    EXPECT_TRUE(ada->exec("SELECT 1"));
    EXPECT_EQ(btkstring(""), ada->errorText(true));
}

TEST_F(DbwPgTest, LentAdaptersShareTheKeptConnectionAndGiveTheLockBack) {
    dbwDbConnection* first;
    {
        dbwAdaRef a = active->acquire();
        dbwAdaRef b = active->acquire();
        ASSERT_TRUE(a.isSet() && b.isSet());
        EXPECT_NE(a.get(), b.get());
        EXPECT_EQ(a->connection(), b->connection());
        first = a->connection();
        dbwAdaRef copy = a;
        EXPECT_EQ(2, a->refCount());
    }
    // Every lending was given back: another thread can borrow at once.
    auto other = std::async(std::launch::async, [this] {
        dbwAdaRef ada = active->acquire();
        return ada.isSet() ? ada->connection() : nullptr;
    });
    ASSERT_EQ(std::future_status::ready, other.wait_for(std::chrono::seconds(10)));
    EXPECT_EQ(first, other.get());
    EXPECT_EQ(first, active->acquire()->connection());
}

TEST_F(DbwPgTest, ReconnectsAfterTheServerDroppedTheConnection) {
    btkstring pid;
    {
        dbwAdaRef ada = active->acquire();
        pid = dbwSelectValue(ada.get(), "SELECT pg_backend_pid()", true);
    }
    adminExec(std::string("SELECT pg_terminate_backend(") + pid.c_str() + ")");
    for (int i = 0;
         i < 50 && otherSession((btkstring("SELECT count(*) FROM pg_stat_activity WHERE pid=") + pid).c_str()) != "0";
         ++i)
        usleep(100000);

    dbwAdaRef ada = active->acquire();
    ASSERT_TRUE(ada.isSet()) << active->lastError().c_str();
    btkstring again = dbwSelectValue(ada.get(), "SELECT pg_backend_pid()", true);
    EXPECT_FALSE(again.empty());
    EXPECT_NE(pid, again);
    EXPECT_TRUE(ada->connection()->isConnected());
}

TEST_F(DbwPgTest, NamedValuesOfTheInfoTable) {
    dbwAdaRef ada = active->acquire();
    ASSERT_TRUE(ada->exec("CREATE TABLE info (name TEXT, value TEXT)"));
    ASSERT_TRUE(ada->exec("INSERT INTO info VALUES ('dbversion','12'), ('allowconnect','1')"));
    EXPECT_EQ(btkstring("12"), dbwSelectNamedValue(ada.get(), "dbversion", "info"));
    dbwResultRef r = ada->query("SELECT name, value FROM info ORDER BY name");
    EXPECT_EQ(btkstring("1"), r.valueByName("VALUE"));
    EXPECT_EQ(btkstring("name"), r->fieldName(0));
}

TEST_F(DbwPgTest, ServerSideStatementListsAndQuotedIdentifiers) {
    dbwAdaRef ada = active->acquire();
    btkStrings list;
    list.add("CREATE TABLE \"we\"\"ird\" (\"a\"\"b\" INT)");
    list.add(btkstring("INSERT INTO ") + ada->quoteIdentifier("we\"ird") + " (" + ada->quoteIdentifier("a\"b") +
             ") VALUES (5)");
    EXPECT_TRUE(ada->execList(list));
    EXPECT_EQ(btkstring("5"), ada->queryValueFormat("SELECT %i FROM %i", {"a\"b", "we\"ird"}));
    list.add("INSERT INTO nowhere VALUES (1)");
    EXPECT_FALSE(ada->execList(list));
    EXPECT_FALSE(ada->errorText(true).empty());
}
