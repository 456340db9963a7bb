#include "dbw/dbwengines.h"

btkstring dbwDoubleQuoted(const btkstring& name) {
    btkstring q("\"");
    for (const char* p = name; *p; ++p) {
        if (*p == '"') q += '"';
        q += *p;
    }
    q += '"';
    return q;
}

const char* dbwPostgreAdapter::typeName(int type) {
    switch (type) {
    case 2: return "SERIAL";
    case 6: return "INT2";
    case 8: return "TIMESTAMP";
    default: return dbwAdapter::typeName(type);
    }
}

bool dbwPostgreAdapter::execList(const btkStrings& statements) {
    if (statements.empty()) return true;
    btkstring all;
    for (const btkstring& statement : statements) {
        all += statement;
        all += ";";
    }
    return exec(all);
}

bool dbwPostgreAdapter::execListDeferred(const btkStrings& statements) {
    if (!connection()->canDefer()) return execList(statements);
    for (const btkstring& statement : statements)
        if (!connection()->execDeferred(statement)) return false;
    return true;
}

btkstring dbwPostgreAdapter::quoteIdentifier(btkstring name) { return dbwDoubleQuoted(name); }

int dbwPostgreAdapter::typeFromName(btkstring name) {
    if (name == "INT4") return 1;
    if (name == "INT2") return 6;
    if (name == "TIMESTAMP") return 8;
    return dbwAdapter::typeFromName(name);
}

btkstring dbwPostgreAdapter::isNullSQL(btkstring expression) { return expression + " ISNULL"; }

btkstring dbwPostgreAdapter::isNotNullSQL(btkstring expression) { return expression + " NOTNULL"; }
