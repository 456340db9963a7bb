// Statement builders for single rows of versioned tables, and the statements
// of the version log (dbw_versions, dbw_creations, dbw_updates). Values are
// UTF-8 texts converted to the connection's encoding before the connection
// escapes them; every value, numbers included, is written as a literal.
#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "foundation/btkdatetime.h"

// ---- single rows --------------------------------------------------------------------

btkstring dbwAdapter::insertSQL(dbwTableDef* table, const btkArray<dbwFldDef*>& fields, const btkStrings& values,
                                int version) {
    btkstring sql = btkstring("INSERT INTO ") + quoteIdentifier(table->name) + " (";
    for (int i = 0; i < fields.count(); ++i) sql += quoteIdentifier(fields.at(i)->name) + ",";
    sql += "dbw_version,dbw_creation) VALUES (";
    for (const btkstring& value : values) sql += btkstring("'") + escapedValue(value, true) + "',";
    sql += btkFormat("'%d','%d')", version, 0);
    return sql;
}

int dbwAdapter::insertRecord(dbwTableDef* table, dbwFldDef* keyField, const btkArray<dbwFldDef*>& fields,
                             const btkStrings& values, int version) {
    return conn->insertGetId(insertSQL(table, fields, values, version), table->name, keyField->name);
}

btkstring dbwAdapter::selectSQL(const btkArray<dbwFldDef*>& fields, dbwTableDef* table) {
    btkstring sql = "SELECT ";
    for (int i = 0; i < fields.count(); ++i) {
        if (i) sql += ",";
        sql += quoteIdentifier(fields.at(i)->name);
    }
    return sql + " FROM " + quoteIdentifier(table->name) + " ";
}

bool dbwAdapter::selectRecord(const btkArray<dbwFldDef*>& fields, dbwTableDef* table, dbwFldDef* keyField, int key,
                              btkStrings& out) {
    btkstring sql = selectSQL(fields, table) + "WHERE " + quoteIdentifier(keyField->name) + btkFormat("='%d'", key);
    dbwDbResult* result = conn->query(sql);
    if (!result) return false;
    bool found = result->next();
    if (found)
        for (int i = 0; i < fields.count(); ++i) out.add(fromDatabaseEncoding(result->value(i)));
    result->release();
    return found;
}

bool dbwAdapter::updateRecord(dbwTableDef* table, dbwFldDef* keyField, const btkArray<dbwFldDef*>& fields,
                              const btkStrings& values, int key, bool convert) {
    btkstring sql = btkstring("UPDATE ") + quoteIdentifier(table->name) + " SET ";
    for (int i = 0; i < fields.count(); ++i) {
        if (i) sql += ",";
        sql += quoteIdentifier(fields.at(i)->name) + "='" + escapedValue(values.at(i), convert) + "'";
    }
    sql += btkstring(" WHERE ") + quoteIdentifier(keyField->name) + btkFormat("='%d'", key);
    return conn->exec(sql);
}

// ---- the version log ----------------------------------------------------------------

int dbwAdapter::newVersion(int userId) {
    btkstring sql = btkFormat("INSERT INTO dbw_versions (dbw_created,dbw_userid) VALUES ('%s','%d')",
                              btkDateTime::now().formatISO().c_str(), userId);
    return conn->insertGetId(sql, "dbw_versions", "dbw_id");
}

btkstring dbwAdapter::creationSQL(int version, int tableId, int recordId) {
    return btkFormat("INSERT INTO dbw_creations (dbw_version,dbw_tableid,dbw_recordid) VALUES ('%d','%d','%d')",
                     version, tableId, recordId);
}

btkstring dbwAdapter::creationSQL(int creationId, int version, int tableId, int recordId) {
    return btkFormat(
        "INSERT INTO dbw_creations (dbw_id,dbw_version,dbw_tableid,dbw_recordid) VALUES ('%d','%d','%d','%d')",
        creationId, version, tableId, recordId);
}

bool dbwAdapter::keySequence(const btkstring&, const btkstring&, btkstring& sequence) {
    sequence = btkstring();
    return true;
}

bool dbwAdapter::nextKeys(const btkStrings&, int, btkCntVec<int>&) { return false; }

int dbwAdapter::newCreation(int version, int tableId, int recordId) {
    return conn->insertGetId(creationSQL(version, tableId, recordId), "dbw_creations", "dbw_id");
}

btkstring dbwAdapter::updateLogSQL(int version, int tableId, int recordId, int fieldId, const char* value) {
    return btkFormat(
        "INSERT INTO dbw_updates (dbw_version,dbw_tableid,dbw_recordid,dbw_fieldid,dbw_value) VALUES "
        "('%d','%d','%d','%d','%s')",
        version, tableId, recordId, fieldId, escapedValue(value, true).c_str());
}

void dbwAdapter::updateRecordSQL(dbwTableDef* table, dbwFldDef* keyField, int version, int recordId,
                                 const btkArray<dbwFldDef*>& fields, const btkStrings& values, btkStrings& statements) {
    btkstring sql = btkstring("UPDATE ") + quoteIdentifier(table->name) + " SET ";
    for (int i = 0; i < fields.count(); ++i) {
        dbwFldDef* field = fields.at(i);
        const btkstring& value = values.at(i);
        statements.add(updateLogSQL(version, table->id, recordId, field->id, value));
        sql += quoteIdentifier(field->name) + "='" + escapedValue(value, true) + "',";
    }
    sql += btkFormat("dbw_version='%d'", version) + " WHERE " + quoteIdentifier(keyField->name) +
           btkFormat("='%d'", recordId);
    statements.add(sql);
}
