// Emptying tables, key counters, casts and index creation, with the engines
// that differ: PostgreSQL keeps a serial's counter in a sequence, Firebird in
// a generator; MySQL and SQLite count from the rows themselves.
#include "dbw/dbwdbdef.h"
#include "dbw/dbwengines.h"

// ---- base ------------------------------------------------------------------------

bool dbwAdapter::emptyTable(dbwTableDef* table) {
    if (!exec(emptyTableSQL(table->name))) return false;
    return resetCounter(table);
}

bool dbwAdapter::resetCounter(dbwTableDef*) { return true; }

btkstring dbwAdapter::castExpression(btkstring expression, const dbwFieldDesc&) { return expression; }

btkstring dbwAdapter::createIndexSQL(dbwIndexDef* index) {
    btkstring sql =
        btkstring("CREATE INDEX ") + quoteIdentifier(index->name) + " ON " + quoteIdentifier(index->table->name) + " (";
    for (int i = 0; i < index->fields.count(); ++i) {
        if (i) sql += ",";
        sql += quoteIdentifier(index->fields[i]->name);
    }
    return sql + ")";
}

int dbwAdapter::largestKey(dbwTableDef* table, const char* maxKeySQL) {
    // A failed or empty max counts as 0.
    int m = dbwSelectValue(this, maxKeySQL, true).toInt();
    if (table->versioned && table->owner->versioned) {
        int logged =
            dbwSelectValue(
                this, btkFormat("SELECT max(dbw_recordid) FROM dbw_creations WHERE dbw_tableid='%d';", table->id), true)
                .toInt();
        m = btkMax(m, logged);
    }
    return m;
}

// ---- PostgreSQL ------------------------------------------------------------------------

btkstring dbwPostgreAdapter::castExpression(btkstring expression, const dbwFieldDesc& type) {
    const char* cast = nullptr;
    switch (type.sqltype) {
    case 1:
    case 6:
    case 7: cast = "int"; break;
    case 3: cast = "bool"; break;
    case 4:
    case 5:
    case 12: cast = "text"; break;
    default: break;
    }
    if (!cast) return expression;
    return btkstring("CAST(") + expression + " AS " + cast + ")";
}

bool dbwPostgreAdapter::resetCounter(dbwTableDef* table) {
    dbwFldDef* counter = table->counterField();
    if (!counter) return true;
    if (!exec(btkFormat("ALTER SEQUENCE %s_%s_seq MINVALUE 0;", table->name.c_str(), counter->name.c_str())))
        return false;
    int m = largestKey(table, btkFormat("SELECT max(%s) FROM %s;", quoteIdentifier(counter->name).c_str(),
                                        quoteIdentifier(table->name).c_str()));
    return exec(btkFormat("SELECT setval('%s_%s_seq', %d);", table->name.c_str(), counter->name.c_str(), m));
}

void dbwPostgreAdapter::afterRebuildSQL(dbwTableDef* table, btkStrings& statements) {
    dbwFldDef* counter = table->counterField();
    if (!counter) return;
    // The re-created table's sequence starts at 1 again while the copied
    // rows keep their keys: the next value must come after the largest.
    btkstring key = quoteIdentifier(counter->name);
    btkstring largest = btkstring("COALESCE(max(") + key + "),0)";
    if (table->versioned && table->owner->versioned)
        largest =
            btkstring("GREATEST(") + largest +
            btkFormat(",COALESCE((SELECT max(dbw_recordid) FROM dbw_creations WHERE dbw_tableid='%d'),0))", table->id);
    statements.add(dbwFormatSQL(this, "SELECT setval(pg_get_serial_sequence(%s,%s),%q+1,false) FROM %i",
                                {quoteIdentifier(table->name), counter->name, largest, table->name}));
}

// ---- SQLite ------------------------------------------------------------------------------

bool dbwSQLiteAdapter::emptyTable(dbwTableDef* table) { return exec(emptyTableSQL(table->name)); }

// ---- Firebird -------------------------------------------------------------------------------

bool dbwFirebirdAdapter::resetCounter(dbwTableDef* table) {
    dbwFldDef* counter = table->counterField();
    if (!counter) return true;
    int m = largestKey(table, dbwFormatSQL(this, "SELECT max(%i) FROM %i;", {counter->name, table->name}));
    return exec(btkFormat("SET GENERATOR dbw_%s_generator TO %d", table->name.c_str(), m));
}
