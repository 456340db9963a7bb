// The live-engine cases on the MariaDB test server, each test in a database
// of its own.
#include <unistd.h>

#include <string>

#include "dbw/dbwadapter.h"
#include "live_engine_cases.h"
#include "mysql_connection.h"
#include "test_servers.h"

namespace {

std::string databaseName() { return "kx6_dbwlive_" + std::to_string(getpid()); }

void admin(const std::string& sql) {
    auto* conn = new MySQLTestConnection();
    ASSERT_TRUE(conn->connect("", kx6MysqlSocket().c_str(), "root", "", 0)) << conn->lastError().c_str();
    EXPECT_TRUE(conn->exec(sql.c_str())) << sql << ": " << conn->lastError().c_str();
    conn->release();
}

const LiveEngine mysqlEngine{
    "MariaDB",
    [](dbwAdaRef& ada) {
        std::string socket;
        KX6_REQUIRE_MYSQL(socket);
        admin("DROP DATABASE IF EXISTS " + databaseName());
        admin("CREATE DATABASE " + databaseName() + " CHARACTER SET utf8mb4");
        auto* conn = new MySQLTestConnection();
        ASSERT_TRUE(conn->connect(databaseName().c_str(), socket.c_str(), "root", "", 0)) << conn->lastError().c_str();
        ada = dbwCreateAdapter(conn, "UTF-8", nullptr);
    },
    [] {
        if (!kx6MysqlSocket().empty()) admin("DROP DATABASE IF EXISTS " + databaseName());
    },
    // int unsigned auto_increment, varchar(40), text, smallint, int, int,
    // datetime, decimal(10,2), char(3)
    {2, 4, 5, 6, 1, 1, 8, 0, 12},
    false,
};

}  // namespace

KX6_LIVE_ENGINES(Live, &mysqlEngine);
