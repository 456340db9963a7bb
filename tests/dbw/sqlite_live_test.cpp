// The live-engine cases on SQLite, in a fresh in-memory database per test.
#include "dbw/dbwadapter.h"
#include "live_engine_cases.h"
#include "sqlite_connection.h"

namespace {

const LiveEngine sqliteEngine{
    "SQLite",
    [](dbwAdaRef& ada) {
        auto* conn = new SQLiteTestConnection();
        ASSERT_TRUE(conn->connectFile(":memory:"));
        ada = dbwCreateAdapter(conn, "UTF-8", nullptr);
    },
    [] {},
    // INTEGER PRIMARY KEY, VARCHAR(40), TEXT, INTEGER, INT, INT, DATETIME,
    // NUMERIC(10,2), CHAR(3)
    {2, 4, 5, 0, 1, 1, 8, 11, 12},
};

}  // namespace

KX6_LIVE_ENGINES(Live, &sqliteEngine);
