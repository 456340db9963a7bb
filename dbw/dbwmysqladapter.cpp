#include <cstring>

#include "dbw/dbwdbdef.h"
#include "dbw/dbwengines.h"
#include "dbw/dbwmetadata.h"

const char* dbwMySQLAdapter::typeName(int type) {
    switch (type) {
    case 2: return "INT UNSIGNED AUTO_INCREMENT";
    case 3: return "SMALLINT";
    default: return dbwAdapter::typeName(type);
    }
}

bool dbwMySQLAdapter::execList(const btkStrings& statements) {
    for (const btkstring& statement : statements)
        if (!exec(statement)) return false;
    return true;
}

btkstring dbwMySQLAdapter::limitClause(int offset, int count) { return btkFormat(" LIMIT %d,%d", offset, count); }

btkstring dbwMySQLAdapter::quoteIdentifier(btkstring name) {
    btkstring q("`");
    for (const char* p = name; *p; ++p) {
        if (*p == '`') q += '`';
        q += *p;
    }
    q += '`';
    return q;
}

void dbwMySQLAdapter::parseColumnType(const dbwFieldMetadata& column, dbwFieldDesc& desc) {
    dbwAdapter::parseColumnType(column, desc);
    if (std::strstr(column.type.upper(), "AUTO_INCREMENT")) desc.sqltype = 2;
}

btkstring dbwMySQLAdapter::isNullSQL(btkstring expression) { return btkstring("ISNULL(") + expression + ")"; }

btkstring dbwMySQLAdapter::isNotNullSQL(btkstring expression) { return btkstring("(NOT ISNULL(") + expression + "))"; }

btkstring dbwMySQLAdapter::dropIndexSQL(dbwIndexDef* index) {
    return btkstring("DROP INDEX ") + quoteIdentifier(index->name) + " ON " + quoteIdentifier(index->table->name);
}
