#include "dbw/dbwdbdef.h"
#include "dbw/dbwengines.h"

const char* dbwFirebirdAdapter::typeName(int type) {
    switch (type) {
    case 2: return "INTEGER NOT NULL";
    case 5: return "BLOB";
    default: return dbwAdapter::typeName(type);
    }
}

btkstring dbwFirebirdAdapter::limitClause(int, int) { return btkstring(); }

btkstring dbwFirebirdAdapter::quoteIdentifier(btkstring name) {
    if (name.upper().startsWith("RDB$")) return name;
    return dbwDoubleQuoted(name);
}

int dbwFirebirdAdapter::typeFromName(btkstring name) {
    if (name == "LONG" || name == "SHORT") return 1;
    return dbwAdapter::typeFromName(name);
}

bool dbwFirebirdAdapter::engineOption() { return true; }

void dbwFirebirdAdapter::afterCreateTableSQL(dbwTableDef* table, btkStrings& statements) {
    if (table->counterField()) statements.add(btkFormat("CREATE GENERATOR dbw_%s_generator", table->name.c_str()));
}
