// The PostgreSQL fixture starts a server that accepts the tests' connections,
// with UTF-8 and standard-conforming strings.
#include <libpq-fe.h>

#include <memory>

#include "test_servers.h"

TEST(PgServerFixture, AcceptsConnectionsWithUtf8AndStandardStrings) {
    std::string conninfo;
    KX6_REQUIRE_PG(conninfo);
    EXPECT_FALSE(kx6PgHost().empty());
    EXPECT_FALSE(kx6PgPort().empty());
    EXPECT_EQ(kx6PgUser(), "postgres");
    std::unique_ptr<PGconn, decltype(&PQfinish)> conn(PQconnectdb(conninfo.c_str()), PQfinish);
    ASSERT_EQ(PQstatus(conn.get()), CONNECTION_OK) << PQerrorMessage(conn.get());
    EXPECT_STREQ(PQparameterStatus(conn.get(), "server_encoding"), "UTF8");
    EXPECT_STREQ(PQparameterStatus(conn.get(), "standard_conforming_strings"), "on");
    EXPECT_GE(PQserverVersion(conn.get()), 150000);
}
