// Schema changes: the statements that bring a database's tables in step with
// a new database definition, and the scoped transaction that encloses them.
#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwengines.h"
#include "dbw/dbwtransaction.h"

// ---- transactions ----------------------------------------------------------------

dbwTransaction::dbwTransaction(dbwAdapter* adapter) : connection(adapter->connection()) {
    if (!connection->begin()) connection = nullptr;
}

dbwTransaction::~dbwTransaction() {
    if (connection) connection->rollback();
}

bool dbwTransaction::commit() {
    if (!connection) return false;
    dbwDbConnection* held = connection;
    connection = nullptr;
    return held->commit();
}

// ---- column types and defaults ---------------------------------------------------

btkstring dbwAdapter::columnTypeSQL(const dbwTypeDef& type) {
    dbwFieldDesc d;
    type.describe(d);
    btkstring text = typeName(d.sqltype);
    if (d.sqltype == 4 || d.sqltype == 12)
        text += btkFormat("(%d)", d.size);
    else if (d.sqltype == 11)
        text += btkFormat("(%d,%d)", d.precision, d.scale);
    return text;
}

// Every engine stores a bool in an integer column, where a literal 'FALSE'
// is refused (PostgreSQL, MariaDB) or kept as text (SQLite): it is '0'. An
// empty text is no date either: a datetime column starts empty as NULL.
btkstring dbwAdapter::defaultValue(const dbwFieldDesc& type) {
    switch (type.sqltype) {
    case 1:
    case 2:
    case 3:
    case 6:
    case 7:
    case 10:
    case 11: return "'0'";
    case 4:
    case 5:
    case 9:
    case 12: return "''";
    default: return "NULL";
    }
}

btkstring dbwAdapter::defaultValueOf(const dbwTypeDef& type) {
    dbwFieldDesc d;
    type.describe(d);
    return defaultValue(d);
}

// ---- CREATE TABLE ----------------------------------------------------------------------

namespace {

// "CREATE TABLE name (", one line per entry, ")": two blanks before each
// line, "," between lines, a line feed after each.
btkstring createText(const btkstring& quotedName, const btkStrings& lines) {
    btkstring text = btkstring("CREATE TABLE ") + quotedName + " (\n";
    for (int i = 0; i < lines.count(); ++i) {
        text += "  ";
        text += lines[i];
        if (i + 1 < lines.count()) text += ",";
        text += "\n";
    }
    text += ")";
    return text;
}

}  // namespace

btkstring dbwAdapter::createTableTextAs(dbwTableDef* table, const char* name) {
    btkStrings lines;
    for (dbwFldDef* field : table->fields) lines.add(quoteIdentifier(field->name) + " " + columnTypeSQL(field->type));
    return createText(quoteIdentifier(name), lines);
}

btkstring dbwAdapter::rebuildTableSQL(dbwTableDef* table) { return createTableTextAs(table, "dbw_temp"); }

btkstring dbwMySQLAdapter::rebuildTableSQL(dbwTableDef* table) {
    btkStrings lines;
    for (dbwFldDef* field : table->fields) lines.add(quoteIdentifier(field->name) + " " + columnTypeSQL(field->type));
    if (dbwFldDef* key = table->counterField())
        lines.add(btkstring("PRIMARY KEY (") + quoteIdentifier(key->name) + ")");
    return createText(quoteIdentifier("dbw_temp"), lines);
}

void dbwAdapter::createTableSQL(dbwTableDef* table, btkStrings& statements) {
    btkStrings lines;
    for (dbwFldDef* field : table->fields) lines.add(quoteIdentifier(field->name) + " " + columnTypeSQL(field->type));
    dbwFldDef* key = table->counterField();
    if (primaryKeyInCreate() && key) lines.add(btkstring("PRIMARY KEY (") + quoteIdentifier(key->name) + ")");
    statements.add(createText(quoteIdentifier(table->name), lines));
    if (indexSerialKey() && key)
        statements.add(btkstring("CREATE INDEX ") + quoteIdentifier(table->name + "_" + key->name) + " ON " +
                       quoteIdentifier(table->name) + " (" + quoteIdentifier(key->name) + ")");
    afterCreateTableSQL(table, statements);
}

// ---- changing tables -----------------------------------------------------------------------

void dbwAdapter::alterTableSQL(dbwTableDef* oldTable, dbwTableDef* newTable, btkStrings& statements) {
    int level = compareTables(oldTable, newTable);
    if (level == 0) return;
    if (level == 1 && canAlterColumns()) {
        for (dbwFldDef* field : oldTable->fields)
            if (!newTable->fieldById(field->id))
                statements.add(btkstring("ALTER TABLE ") + quoteIdentifier(oldTable->name) + " DROP COLUMN " +
                               quoteIdentifier(field->name));
        for (dbwFldDef* field : newTable->fields)
            if (!oldTable->fieldById(field->id))
                statements.add(btkstring("ALTER TABLE ") + quoteIdentifier(newTable->name) + " ADD COLUMN " +
                               quoteIdentifier(field->name) + " " + columnTypeSQL(field->type));
        return;
    }

    // Rebuild: copy the rows into dbw_temp, re-create the table, copy back.
    statements.add(rebuildTableSQL(newTable));
    btkstring copy = dbwFormatSQL(this, "INSERT INTO %i SELECT ", {"dbw_temp"});
    for (int i = 0; i < newTable->fields.count(); ++i) {
        dbwFldDef* field = newTable->fields[i];
        if (i) copy += ",";
        dbwFieldDesc d;
        field->type.describe(d);
        if (dbwFldDef* old = oldTable->fieldById(field->id))
            copy += quoteIdentifier(old->name);
        else if (d.sqltype == 2)
            // A new counter numbers the existing rows, so the key stays
            // unique; the engine's counter then continues after them.
            copy += btkstring("ROW_NUMBER() OVER () AS dbw_temp_fld_") + btkIntToStr(i);
        else
            copy += defaultValueOf(field->type) + " AS dbw_temp_fld_" + btkIntToStr(i);
    }
    copy += btkstring(" FROM ") + quoteIdentifier(oldTable->name);
    statements.add(copy);
    statements.add(btkstring("DROP TABLE ") + quoteIdentifier(oldTable->name));
    createTableSQL(newTable, statements);
    statements.add(dbwFormatSQL(this, "INSERT INTO %i SELECT * FROM %i", {newTable->name, "dbw_temp"}));
    statements.add(dbwFormatSQL(this, "DROP TABLE %i", {"dbw_temp"}));
    afterRebuildSQL(newTable, statements);
}

void dbwAdapter::afterRebuildSQL(dbwTableDef*, btkStrings&) {}

void dbwAdapter::upgradeSQL(dbwDbDef* oldDef, dbwDbDef* newDef, btkStrings& statements) {
    if (!compareDbDefs(oldDef, newDef)) return;
    for (dbwTableDef* table : oldDef->tables)
        for (dbwIndexDef* index : table->indexes) statements.add(dropIndexSQL(index));
    for (dbwTableDef* table : oldDef->tables)
        if (!newDef->tableById(table->id)) statements.add(dbwFormatSQL(this, "DROP TABLE %i", {table->name}));
    for (dbwTableDef* table : newDef->tables) {
        dbwTableDef* old = oldDef->tableById(table->id);
        if (old)
            alterTableSQL(old, table, statements);
        else
            createTableSQL(table, statements);
        for (dbwIndexDef* index : table->indexes) statements.add(createIndexSQL(index));
    }
}
