// The adapter factory and the small reading helpers over an adapter.
#include <cstring>

#include "dbw/dbwengines.h"

dbwAdapter* dbwCreateAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* owner) {
    const char* engine = connection->engineName();
    dbwAdapter* adapter;
    if (std::strcmp(engine, "postgresql") == 0)
        adapter = new dbwPostgreAdapter(connection, encoding, owner);
    else if (std::strcmp(engine, "mysql") == 0)
        adapter = new dbwMySQLAdapter(connection, encoding, owner);
    else if (std::strcmp(engine, "sqlite") == 0)
        adapter = new dbwSQLiteAdapter(connection, encoding, owner);
    else if (std::strcmp(engine, "firebird") == 0)
        adapter = new dbwFirebirdAdapter(connection, encoding, owner);
    else
        adapter = new dbwAdapter(connection, encoding, owner, nullptr);
    adapter->afterCreate();
    return adapter;
}

btkstring dbwSelectValue(dbwAdapter* adapter, const char* sql, bool convert) {
    dbwResultRef result = adapter->query(sql);
    if (result.isValid()) {
        result->setConvert(convert);
        if (result.hasRow()) return result.value(0);
    }
    return btkstring();
}

btkstring dbwEscapeText(dbwAdapter* adapter, const char* text) { return adapter->connection()->escape(text); }

btkstring dbwSelectNamedValue(dbwAdapter* adapter, const char* name, const char* table) {
    btkstring sql = btkstring("SELECT value FROM ") + adapter->quoteIdentifier(table) + " WHERE name='" +
                    dbwEscapeText(adapter, name) + "'";
    return dbwSelectValue(adapter, sql, true);
}
