// A GoogleTest fixture holding a fresh internet song database on the
// pg_server test server, one database per test process. Tests using it
// link kx6_inetdb_fixture and kx6_test_support and require pg_server.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <string>

#include "inetdb_fixture.h"
#include "test_servers.h"

class kx6InetDbTest : public ::testing::Test {
protected:
    // prefix names the database (with the process id appended).
    explicit kx6InetDbTest(std::string prefix = "kx6_inetdb") : prefix(std::move(prefix)) {}

    void SetUp() override {
        std::string info;
        KX6_REQUIRE_PG(info);
        inet = std::make_unique<kx6InetDb>(kx6PgHost(), std::stoi(kx6PgPort()), kx6PgUser());
        ASSERT_TRUE(inet->create(prefix + "_" + std::to_string(getpid()))) << inet->error();
    }
    void TearDown() override { inet.reset(); }

    std::string prefix;
    std::unique_ptr<kx6InetDb> inet;
};
