// Cases run against every real engine (SQLite, PostgreSQL, MariaDB): each
// test program instantiates LiveEngineTest with the engines it can reach.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "dbw/dbwadapter.h"

struct LiveEngine {
    const char* name;
    // Opens a fresh, empty database into ada; may skip or fail the test.
    std::function<void(dbwAdaRef& ada)> open;
    // Drops what open made; run after the adapter is gone.
    std::function<void()> close;
    // Column type codes read back from the table the cases create with
    // id serial, name varchar(40), body text, flag bool, n int, small
    // smallint, at datetime, price numeric(10,2), code char(3).
    std::vector<int> typedCodes;
    // Whether the key counter lives apart from the rows (a sequence), so
    // that resetCounter also passes the record ids of the creation log.
    bool counterFromLog = false;
};

class LiveEngineTest : public ::testing::TestWithParam<const LiveEngine*> {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the statements, failing the test with the adapter's error text.
    void run(const btkStrings& statements);
    btkstring value(const char* sql);

    dbwAdaRef ada;
};

#define KX6_LIVE_ENGINES(prefix, ...)                           \
    INSTANTIATE_TEST_SUITE_P(                                   \
        prefix, LiveEngineTest, ::testing::Values(__VA_ARGS__), \
        [](const ::testing::TestParamInfo<const LiveEngine*>& info) { return std::string(info.param->name); })
