// The live-engine cases on the PostgreSQL test server, each test in a
// database of its own.
#include <libpq-fe.h>
#include <unistd.h>

#include <string>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"
#include "dbw/dbwpostgresql.h"
#include "dbw/dbwtransaction.h"
#include "def_builders.h"
#include "live_engine_cases.h"
#include "test_servers.h"

namespace {

std::string databaseName() { return "kx6_dbwlive_" + std::to_string(getpid()); }

void admin(const std::string& sql) {
    PGconn* c = PQconnectdb(kx6PgConnInfo().c_str());
    PGresult* r = PQexec(c, sql.c_str());
    EXPECT_TRUE(PQresultStatus(r) == PGRES_COMMAND_OK) << sql << ": " << PQerrorMessage(c);
    PQclear(r);
    PQfinish(c);
}

const LiveEngine pgEngine{
    "PostgreSQL",
    [](dbwAdaRef& ada) {
        std::string info;
        KX6_REQUIRE_PG(info);
        admin("DROP DATABASE IF EXISTS " + databaseName());
        admin("CREATE DATABASE " + databaseName() + " ENCODING 'UTF8' TEMPLATE template0");
        auto* conn = new dbwPostgreSQLConnection();
        ASSERT_TRUE(
            conn->connect(databaseName().c_str(), kx6PgHost().c_str(), kx6PgUser().c_str(), "", std::stoi(kx6PgPort())))
            << conn->lastError().c_str();
        ada = dbwCreateAdapter(conn, "UTF-8", nullptr);
    },
    [] {
        if (!kx6PgConnInfo().empty()) admin("DROP DATABASE IF EXISTS " + databaseName() + " WITH (FORCE)");
    },
    // serial, varchar(40), text, int4 (bool is INT here), int4, int2,
    // timestamp, numeric, bpchar
    {2, 4, 5, 1, 1, 6, 8, 11, 0},
    true,
};

}  // namespace

KX6_LIVE_ENGINES(Live, &pgEngine);

namespace {

class DbwPgTransaction : public ::testing::Test {
protected:
    void SetUp() override {
        pgEngine.open(ada);
        if (IsSkipped() || HasFatalFailure()) return;
        items = defTable(def, "items");
        defField(items, "id", 2);
        defField(items, "name", 4, 40);
        dbwDbDef none;
        ada->upgradeSQL(&none, &def, create);
    }
    void TearDown() override {
        ada = nullptr;
        pgEngine.close();
    }
    btkstring count() { return dbwSelectValue(ada.get(), "SELECT count(*) FROM items", true); }

    dbwAdaRef ada;
    dbwDbDef def;
    dbwTableDef* items = nullptr;
    btkStrings create;
};

}  // namespace

TEST_F(DbwPgTransaction, AFailedSchemaChangeIsUndoneAndItsCommitReported) {
    {
        dbwTransaction t(ada.get());
        ASSERT_TRUE(t.started());
        btkStrings list = create;
        list.add("INSERT INTO nowhere VALUES (1)");
        EXPECT_FALSE(ada->execList(list));
        EXPECT_FALSE(t.commit());
    }
    EXPECT_EQ(0, ada->connection()->transactionDepth());
    EXPECT_FALSE(ada->metadata()->tableExists("items"));

    {
        dbwTransaction t(ada.get());
        EXPECT_TRUE(ada->execList(create)) << ada->errorText(true).c_str();
        EXPECT_TRUE(t.commit()) << ada->errorText(true).c_str();
    }
    EXPECT_TRUE(ada->metadata()->tableExists("items"));
}

TEST_F(DbwPgTransaction, LeavingTheScopeWithoutCommitRollsBack) {
    ASSERT_TRUE(ada->execList(create));
    {
        dbwTransaction outer(ada.get());
        {
            dbwTransaction inner(ada.get());
            ASSERT_TRUE(ada->exec("INSERT INTO items (name) VALUES ('a')"));
            EXPECT_TRUE(inner.commit());
        }
        EXPECT_EQ(btkstring("1"), count());
    }
    EXPECT_EQ(btkstring("0"), count());
}

TEST_F(DbwPgTransaction, ReaderSeesOnlyTheCurrentSchemasOwnTables) {
    ASSERT_TRUE(ada->execList(create));
    ASSERT_TRUE(
        ada->exec("CREATE TABLE pgx_items (a INT); CREATE TABLE sqlite_data (a INT);"
                  "CREATE SCHEMA other; CREATE TABLE other.items (z INT, y TEXT); CREATE TABLE other.extra (a INT)"));
    btkObjArray<dbwTableMetadata> tables;
    ada->metadata()->tables(tables);
    ASSERT_EQ(1, tables.count());
    EXPECT_EQ(btkstring("items"), tables[0]->name);

    // The same name in another schema neither breaks nor joins the columns.
    btkObjArray<dbwFieldMetadata> columns;
    ada->metadata()->columns("items", columns);
    ASSERT_EQ(2, columns.count());
    EXPECT_EQ(btkstring("id"), columns[0]->name);
    EXPECT_EQ(btkstring("serial"), columns[0]->type);
    EXPECT_EQ(btkstring("name"), columns[1]->name);
    EXPECT_EQ(btkstring("varchar(40)"), columns[1]->type);
    EXPECT_TRUE(columns[1]->defaultText.empty());
}
