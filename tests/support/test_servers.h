// Connection facts of the throwaway database servers that the CTest fixtures
// pg_server and mysql_server start. A test that needs a server asks for it
// with KX6_REQUIRE_PG / KX6_REQUIRE_MYSQL: without a running server the test
// skips, or fails when CI=true (CI installs every server).
#pragma once

#include <gtest/gtest.h>

#include <string>

// One libpq conninfo line ("host=... port=... user=postgres dbname=postgres"),
// or "" when no PostgreSQL test server runs.
std::string kx6PgConnInfo();
// Single facts of the PostgreSQL test server, "" when none runs.
std::string kx6PgHost();
std::string kx6PgPort();
std::string kx6PgUser();
// Socket path of the MariaDB test server, or "" when none runs.
std::string kx6MysqlSocket();
// True when the environment variable CI is "true".
bool kx6InCi();

#define KX6_REQUIRE_SERVER_(var, fetch, what)                                          \
    do {                                                                               \
        (var) = fetch();                                                               \
        if ((var).empty()) {                                                           \
            if (kx6InCi())                                                             \
                GTEST_FAIL() << what " test server is not running (fixture missing?)"; \
            else                                                                       \
                GTEST_SKIP() << what " test server is not running";                    \
        }                                                                              \
    } while (0)

#define KX6_REQUIRE_PG(var) KX6_REQUIRE_SERVER_(var, kx6PgConnInfo, "PostgreSQL")
#define KX6_REQUIRE_MYSQL(var) KX6_REQUIRE_SERVER_(var, kx6MysqlSocket, "MariaDB")
