// The library's only export: the connection factory.
#include <new>

#include "dbwlib.h"
#include "dbwmysql.h"
#include "dbwpostgresql.h"
#include "dbwsqlite.h"

extern "C" dbwDbConnection* _dbw_create_connection(int engine) {
    switch (engine) {
    case DBW_ENGINE_MYSQL: return new (std::nothrow) dbwlib_detail::dbwMySQLConnection();
    case DBW_ENGINE_POSTGRESQL: return new (std::nothrow) dbwlib_detail::dbwPostgreSQLConnection();
    case DBW_ENGINE_SQLITE: return new (std::nothrow) dbwlib_detail::dbwSQLiteConnection();
    default: return nullptr;
    }
}
