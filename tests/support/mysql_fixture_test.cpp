// The MariaDB fixture starts a server that accepts root over its socket.
#include <mysql.h>

#include <memory>

#include "test_servers.h"

TEST(MysqlServerFixture, AcceptsRootOverTheSocket) {
    std::string socket;
    KX6_REQUIRE_MYSQL(socket);
    std::unique_ptr<MYSQL, decltype(&mysql_close)> conn(mysql_init(nullptr), mysql_close);
    ASSERT_NE(conn, nullptr);
    ASSERT_NE(mysql_real_connect(conn.get(), "localhost", "root", "", nullptr, 0, socket.c_str(), 0), nullptr)
        << mysql_error(conn.get());
    ASSERT_EQ(mysql_query(conn.get(), "SELECT 1"), 0) << mysql_error(conn.get());
    MYSQL_RES* res = mysql_store_result(conn.get());
    ASSERT_NE(res, nullptr);
    MYSQL_ROW row = mysql_fetch_row(res);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row[0], "1");
    mysql_free_result(res);
}
