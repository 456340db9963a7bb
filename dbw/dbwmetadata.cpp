// The schema readers of the four engines.
#include "dbw/dbwmetadata.h"

#include <cstring>

#include "dbw/dbwadapter.h"
#include "dbw/dbwselect.h"
#include "foundation/btktextcursor.h"

bool dbwMetadata::tableExists(const char* name) {
    btkObjArray<dbwTableMetadata> list;
    tables(list);
    for (const dbwTableMetadata* table : list)
        if (table->name == name) return true;
    return false;
}

namespace {

void addTable(btkObjArray<dbwTableMetadata>& list, const btkstring& name) {
    auto* table = new dbwTableMetadata;
    table->name = name;
    list.add(table);
}

void addColumn(btkObjArray<dbwFieldMetadata>& list, const btkstring& name, const btkstring& type,
               const btkstring& defaultText = btkstring()) {
    auto* column = new dbwFieldMetadata;
    column->name = name;
    column->type = type;
    column->defaultText = defaultText;
    list.add(column);
}

// Every first column of the rows.
void tableNames(dbwResultRef rows, btkObjArray<dbwTableMetadata>& list) {
    for (; rows.hasRow(); rows.next()) addTable(list, rows.value(0));
}

}  // namespace

// ---- MySQL ----------------------------------------------------------------------------

void dbwMySQLMetadata::tables(btkObjArray<dbwTableMetadata>& list) { tableNames(adapter->query("SHOW TABLES"), list); }

void dbwMySQLMetadata::columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) {
    for (dbwResultRef rows = adapter->queryFormat("SHOW COLUMNS FROM %i", {table}); rows.hasRow(); rows.next())
        addColumn(list, rows.value(0), rows.value(1) + " " + rows.value(5), rows.value(4));
}

// ---- PostgreSQL -------------------------------------------------------------------------

// Only the tables of the current schema: a table of the same name in
// another schema is neither listed nor mixed into the columns. Defaults are
// read with pg_get_expr (pg_attrdef.adsrc is gone since PostgreSQL 12).
void dbwPostgreSQLMetadata::tables(btkObjArray<dbwTableMetadata>& list) {
    tableNames(adapter->query("SELECT tablename FROM pg_tables WHERE tablename NOT LIKE 'pg_%' AND tablename NOT "
                              "LIKE 'sql_%' AND schemaname=current_schema()"),
               list);
}

void dbwPostgreSQLMetadata::columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) {
    dbwResultRef rows = adapter->queryFormat(
        "SELECT a.attname,t.typname,a.atttypmod,pg_get_expr(def.adbin,def.adrelid) FROM pg_attribute a JOIN pg_type t "
        "ON (a.atttypid=t.oid) LEFT JOIN pg_attrdef def ON (a.attrelid=def.adrelid AND a.attnum = def.adnum) WHERE "
        "a.attrelid=(SELECT c.oid FROM pg_class c JOIN pg_namespace n ON (c.relnamespace=n.oid) WHERE c.relname=%s "
        "AND n.nspname=current_schema() AND c.relkind IN ('r','p')) AND a.attnum>0 AND NOT a.attisdropped "
        "ORDER BY a.attnum",
        {table});
    for (; rows.hasRow(); rows.next()) {
        btkstring type = rows.value(1);
        if (type == "varchar") type += btkFormat("(%d)", rows.value(2).toInt() - 4);
        if (std::strstr(rows.value(3), "nextval")) type = "serial";
        addColumn(list, rows.value(0), type);
    }
}

// ---- SQLite ------------------------------------------------------------------------------

void dbwSQLiteMetadata::tables(btkObjArray<dbwTableMetadata>& list) {
    tableNames(adapter->query("SELECT name FROM sqlite_master WHERE sql NOT NULL AND type=='table'"), list);
}

void dbwSQLiteMetadata::columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) {
    dbwParseSQLiteCreate(
        adapter->queryValueFormat("SELECT sql FROM sqlite_master WHERE type='table' AND name=%s", {table}), list);
}

namespace {

// Steps over the rest of an item, appending what it steps over to collected
// when given: up to the end, or a "," or ")" outside parentheses.
void skipItem(TextCursor& cursor, btkstring* collected) {
    int depth = 0;
    while (char c = cursor.current()) {
        if (depth == 0 && (c == ')' || c == ',')) break;
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (collected) *collected += c;
        cursor.next();
    }
}

// A column name: an identifier, or a name between "", `` or [] (SQLite's
// quoting; a doubled closing quote stands for itself).
btkstring readColumnName(TextCursor& cursor) {
    char open = cursor.current();
    char close = open == '[' ? ']' : open;
    if (open != '"' && open != '`' && open != '[') return btkScanIdent(cursor);
    btkstring name;
    cursor.next();
    while (char c = cursor.current()) {
        cursor.next();
        if (c == close) {
            if (close == ']' || cursor.current() != close) break;
            cursor.next();
        }
        name += c;
    }
    return name;
}

}  // namespace

void dbwParseSQLiteCreate(const char* sql, btkObjArray<dbwFieldMetadata>& list) {
    TextCursor cursor(sql);
    while (cursor.current() && cursor.current() != '(') cursor.next();
    if (!cursor.current()) return;
    cursor.next();
    while (cursor.current() && cursor.current() != ')') {
        // Blanks include line breaks and tabs: the library's own CREATE
        // TABLE puts every column on a line of its own, name quoted.
        cursor.skipBlanks();
        bool quoted = cursor.current() == '"' || cursor.current() == '`' || cursor.current() == '[';
        btkstring name = readColumnName(cursor);
        if (!quoted && name.upper() == "PRIMARY") {
            skipItem(cursor, nullptr);
        } else {
            cursor.skipChar(' ');
            btkstring type;
            skipItem(cursor, &type);
            addColumn(list, name, type);
        }
        if (cursor.current() == ',') cursor.next();
    }
}

// ---- Firebird -------------------------------------------------------------------------------

void dbwFirebirdMetadata::tables(btkObjArray<dbwTableMetadata>& list) {
    dbwSelect select;
    select.setTable(dbwSQLId("RDB$RELATIONS"));
    select.addColumn(dbwSQLId("RDB$RELATION_NAME"));
    select.addCondition("RDB$RELATION_NAME NOT LIKE 'RDB$%'");
    for (dbwResultRef rows = select.run(dbwAdaRef(adapter)); rows.hasRow(); rows.next())
        addTable(list, rows.value(0).trimmed());
}

void dbwFirebirdMetadata::columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) {
    dbwResultRef rows = adapter->queryFormat(
        "SELECT a.RDB$FIELD_NAME AS name, c.RDB$TYPE_NAME as ftype, b.RDB$FIELD_LENGTH as len, b.RDB$FIELD_SUB_TYPE "
        "as subtype FROM RDB$RELATION_FIELDS a  JOIN RDB$FIELDS b ON (b.RDB$FIELD_NAME = a.RDB$FIELD_SOURCE) LEFT "
        "JOIN RDB$TYPES c ON (b.RDB$FIELD_TYPE = c.RDB$TYPE and c.RDB$FIELD_NAME = 'RDB$FIELD_TYPE') WHERE "
        "a.RDB$RELATION_NAME=%s",
        {table});
    for (; rows.hasRow(); rows.next()) {
        btkstring type = rows.valueByName("ftype").trimmed();
        int length = rows.valueByName("len").toInt();
        if (type == "TEXT")
            type = btkFormat("CHAR(%d)", length);
        else if (type == "VARYING")
            type = btkFormat("VARCHAR(%d)", length);
        else if (type == "BLOB" && rows.valueByName("subtype").toInt() == 1)
            type = "TEXT";
        addColumn(list, rows.valueByName("name").trimmed(), type);
    }
}
