// The live-engine cases on the MariaDB test server, each test in a database
// of its own.
#include <unistd.h>

#include <cstring>
#include <string>

#include "dbw/dbwadapter.h"
#include "dbw/dbwmetadata.h"
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

TEST(DbwMySQLMetadata, ColumnsCarryExtraAttributesAndDefaults) {
    dbwAdaRef ada;
    mysqlEngine.open(ada);
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(ada->exec("CREATE TABLE t (id INT UNSIGNED AUTO_INCREMENT PRIMARY KEY, n INT DEFAULT 5, s TEXT)"));
    btkObjArray<dbwFieldMetadata> columns;
    ada->metadata()->columns("t", columns);
    ASSERT_EQ(3, columns.count());
    EXPECT_EQ(btkstring("id"), columns[0]->name);
    EXPECT_NE(nullptr, std::strstr(columns[0]->type.upper(), "AUTO_INCREMENT")) << columns[0]->type.c_str();
    EXPECT_EQ(btkstring("5"), columns[1]->defaultText);
    EXPECT_TRUE(columns[1]->type.startsWith("int")) << columns[1]->type.c_str();
    EXPECT_EQ(btkstring("text "), columns[2]->type);
    ada = nullptr;
    mysqlEngine.close();
}
