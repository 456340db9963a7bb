// The live-engine cases on the PostgreSQL test server, each test in a
// database of its own.
#include <libpq-fe.h>
#include <unistd.h>

#include <string>

#include "dbw/dbwadapter.h"
#include "dbw/dbwpostgresql.h"
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
        ASSERT_TRUE(conn->connect(databaseName().c_str(), kx6PgHost().c_str(), kx6PgUser().c_str(), "",
                                  std::stoi(kx6PgPort())))
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
