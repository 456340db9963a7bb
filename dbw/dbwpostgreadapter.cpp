#include <algorithm>
#include <vector>

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

bool dbwPostgreAdapter::keySequence(const btkstring& table, const btkstring& column, btkstring& sequence) {
    // An identity column GENERATED ALWAYS refuses given keys. No row (and
    // no error inside the transaction) when the table or column is missing.
    btkstring name = quoteIdentifier(table);
    dbwResultRef r = queryFormat(
        "SELECT pg_get_serial_sequence(%s,%s) FROM pg_attribute WHERE attrelid=to_regclass(%s) AND attname=%s "
        "AND attidentity<>'a'",
        {name, column, name, column});
    if (!r.isValid()) return false;
    sequence = r.hasRow() ? r.value(0) : btkstring();
    return true;
}

bool dbwPostgreAdapter::nextKeys(const btkStrings& sequences, int count, btkCntVec<int>& keys) {
    if (sequences.empty() || count <= 0) return true;
    btkstring columns;
    for (const btkstring& sequence : sequences)
        columns += dbwFormatSQL(this, columns.empty() ? "nextval(%s)" : ",nextval(%s)", {sequence});
    dbwResultRef r = queryFormat("SELECT %q FROM generate_series(1,%d)", {columns, count});
    if (!r.isValid()) return false;
    std::vector<std::vector<int>> taken(static_cast<size_t>(sequences.count()));
    for (bool row = r.hasRow(); row; row = r.next())
        for (size_t s = 0; s < taken.size(); ++s) taken[s].push_back(btkAtoi(r.value(static_cast<int>(s))));
    for (std::vector<int>& column : taken) {
        if (static_cast<int>(column.size()) != count) return false;
        // Rows come in the order nextval ran, but nothing promises it.
        std::sort(column.begin(), column.end());
        for (int key : column) keys.add(key);
    }
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
