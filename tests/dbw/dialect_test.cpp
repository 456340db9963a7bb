// The SQL texts of the four engine dialects and the column type tables.
#include <gtest/gtest.h>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"
#include "def_builders.h"
#include "fake_connection.h"

namespace {

dbwAdaRef adapterFor(const char* engine) {
    return dbwAdaRef(dbwCreateAdapter(new FakeConnection(engine), "UTF-8", nullptr));
}

struct Dialects {
    dbwAdaRef base = adapterFor("fake");
    dbwAdaRef pg = adapterFor("postgresql");
    dbwAdaRef my = adapterFor("mysql");
    dbwAdaRef lite = adapterFor("sqlite");
    dbwAdaRef fb = adapterFor("firebird");
};

dbwFieldDesc parse(dbwAdapter* a, const char* type, dbwFieldDesc d = dbwFieldDesc()) {
    dbwFieldMetadata column;
    column.type = type;
    a->parseColumnType(column, d);
    return d;
}

}  // namespace

TEST(DbwDialects, TextsAndPropertiesPerEngine) {
    Dialects d;
    const struct {
        dbwAdapter* a;
        const char *quoted, *limit, *isNull, *notNull, *empty;
        bool pk, alter, serialIndex, option;
    } rows[] = {
        {d.base.get(), "a\"b", " LIMIT 100 OFFSET 200", "x IS NULL", "x IS NOT NULL", "TRUNCATE TABLE a\"b", true, true,
         false, false},
        {d.pg.get(), "\"a\"\"b\"", " LIMIT 100 OFFSET 200", "x ISNULL", "x NOTNULL", "TRUNCATE TABLE \"a\"\"b\"", true,
         true, false, false},
        {d.my.get(), "`a\"b`", " LIMIT 200,100", "ISNULL(x)", "(NOT ISNULL(x))", "TRUNCATE TABLE `a\"b`", true, true,
         false, false},
        {d.lite.get(), "\"a\"\"b\"", " LIMIT 100 OFFSET 200", "x IS NULL", "x IS NOT NULL", "DELETE FROM  \"a\"\"b\"",
         false, false, true, true},
        {d.fb.get(), "\"a\"\"b\"", "", "x IS NULL", "x IS NOT NULL", "TRUNCATE TABLE \"a\"\"b\"", true, true, false,
         true},
    };
    for (const auto& r : rows) {
        const char* engine = r.a->connection()->engineName();
        EXPECT_EQ(btkstring(r.quoted), r.a->quoteIdentifier("a\"b")) << engine;
        EXPECT_EQ(btkstring(r.limit), r.a->limitClause(200, 100)) << engine;
        EXPECT_EQ(btkstring(r.isNull), r.a->isNullSQL("x")) << engine;
        EXPECT_EQ(btkstring(r.notNull), r.a->isNotNullSQL("x")) << engine;
        EXPECT_EQ(btkstring(r.empty), r.a->emptyTableSQL("a\"b")) << engine;
        EXPECT_EQ(r.pk, r.a->primaryKeyInCreate()) << engine;
        EXPECT_EQ(r.alter, r.a->canAlterColumns()) << engine;
        EXPECT_EQ(r.serialIndex, r.a->indexSerialKey()) << engine;
        EXPECT_EQ(r.option, r.a->engineOption()) << engine;
        // None of it asks the database.
        EXPECT_TRUE(static_cast<FakeConnection*>(r.a->connection())->statements.empty()) << engine;
    }
    EXPECT_EQ(btkstring("`a``b`"), d.my->quoteIdentifier("a`b"));
    // Firebird leaves its system tables' names as they are.
    EXPECT_EQ(btkstring("rdb$fields"), d.fb->quoteIdentifier("rdb$fields"));
    EXPECT_EQ(btkstring("RDB$FIELDS"), d.fb->quoteIdentifier("RDB$FIELDS"));
}

TEST(DbwDialects, IndexDropAndFirebirdGenerator) {
    Dialects d;
    dbwDbDef def;
    dbwTableDef* table = defTable(def, "songs");
    dbwIndexDef* index = defIndex(table, "ix", {});
    EXPECT_EQ(btkstring("DROP INDEX \"ix\""), d.pg->dropIndexSQL(index));
    EXPECT_EQ(btkstring("DROP INDEX `ix` ON `songs`"), d.my->dropIndexSQL(index));

    btkStrings list;
    d.fb->afterCreateTableSQL(table, list);
    EXPECT_EQ(0, list.count());  // no serial field
    defField(table, "id", 2);
    d.pg->afterCreateTableSQL(table, list);
    EXPECT_EQ(0, list.count());
    d.fb->afterCreateTableSQL(table, list);
    ASSERT_EQ(1, list.count());
    EXPECT_EQ(btkstring("CREATE GENERATOR dbw_songs_generator"), list[0]);
    defField(table, "id2", 2);
    list.clear();
    d.fb->afterCreateTableSQL(table, list);
    EXPECT_EQ(0, list.count());  // two serial fields: no counter
}

// (The key and bool types of PostgreSQL, MySQL and SQLite show in the
// CREATE TABLE texts of the schema change tests.)
TEST(DbwColumnTypes, TypeNamesPerEngine) {
    Dialects d;
    const char* base[] = {"",    "INT",      "INT",  "INT",   "VARCHAR", "TEXT", "INT",
                          "INT", "DATETIME", "BLOB", "FLOAT", "NUMERIC", "CHAR", ""};
    for (int code = 0; code <= 13; ++code) EXPECT_STREQ(base[code], d.base->typeName(code)) << code;
    EXPECT_STREQ("INT2", d.pg->typeName(6));
    EXPECT_STREQ("TIMESTAMP", d.pg->typeName(8));
    EXPECT_STREQ("INT", d.pg->typeName(3));
    EXPECT_STREQ("DATETIME", d.my->typeName(8));
    EXPECT_STREQ("INTEGER", d.lite->typeName(3));
    EXPECT_STREQ("INTEGER NOT NULL", d.fb->typeName(2));
    EXPECT_STREQ("BLOB", d.fb->typeName(5));
    EXPECT_STREQ("", d.fb->typeName(13));
}

TEST(DbwColumnTypes, TypeFromNamePerEngine) {
    Dialects d;
    const struct {
        dbwAdapter* a;
        const char* name;
        int code;
    } rows[] = {{d.base.get(), "INT", 1},
                {d.base.get(), "int", 0},
                {d.base.get(), "CHAR", 12},
                {d.base.get(), "INT4", 0},
                {d.pg.get(), "INT4", 1},
                {d.pg.get(), "INT2", 6},
                {d.pg.get(), "TIMESTAMP", 8},
                {d.lite.get(), "INTEGER PRIMARY KEY", 2},
                {d.pg.get(), "INTEGER PRIMARY KEY", 0},
                {d.fb.get(), "SHORT", 1},
                {d.fb.get(), "LONG", 1},
                {d.my.get(), "INT4", 0}};
    for (const auto& r : rows)
        EXPECT_EQ(r.code, r.a->typeFromName(r.name)) << r.a->connection()->engineName() << " " << r.name;

    EXPECT_EQ(1, dbwFieldTypeFromName("int"));
    EXPECT_EQ(0, dbwFieldTypeFromName("INT"));
    EXPECT_EQ(12, dbwFieldTypeFromName("char"));
    EXPECT_EQ(0, dbwFieldTypeFromName("none"));
    EXPECT_EQ(0, dbwFieldTypeFromName("nothing"));
}

TEST(DbwColumnTypes, ParsingColumnTypeTexts) {
    Dialects d;
    const struct {
        dbwAdapter* a;
        const char* text;
        int sqltype, size, precision, scale;
    } rows[] = {
        {d.base.get(), "VARCHAR(40)", 4, 40, 0, 0},
        {d.base.get(), "  varchar ( 40 ) ", 4, 40, 0, 0},
        {d.base.get(), "NUMERIC(10,2)", 11, 0, 10, 2},
        {d.base.get(), "CHAR(3) NOT NULL", 12, 3, 0, 0},
        {d.base.get(), "INTEGER", 0, 0, 0, 0},
        {d.fb.get(), "INTEGER NOT NULL", 0, 0, 0, 0},
        {d.lite.get(), "integer primary key", 2, 0, 0, 0},
        {d.pg.get(), "integer primary key", 0, 0, 0, 0},
        {d.fb.get(), "SHORT", 1, 0, 0, 0},
        {d.pg.get(), "int2", 6, 0, 0, 0},
        {d.base.get(), "INT(5)", 1, 0, 0, 0},  // sizes only for varchar and char
        {d.my.get(), "int(10) unsigned auto_increment", 2, 0, 0, 0},
        {d.pg.get(), "int(10) unsigned auto_increment", 1, 0, 0, 0},
        {d.base.get(), "", 0, 0, 0, 0},
    };
    for (const auto& r : rows) {
        dbwFieldDesc v = parse(r.a, r.text);
        EXPECT_EQ(r.sqltype, v.sqltype) << r.text;
        EXPECT_EQ(r.size, v.size) << r.text;
        EXPECT_EQ(r.precision, v.precision) << r.text;
        EXPECT_EQ(r.scale, v.scale) << r.text;
    }
    // A type without its own precision and scale keeps the ones it had.
    dbwFieldDesc before;
    before.precision = 7;
    before.scale = 3;
    dbwFieldDesc v = parse(d.base.get(), "NUMERIC", before);
    EXPECT_EQ(11, v.sqltype);
    EXPECT_EQ(7, v.precision);
    EXPECT_EQ(3, v.scale);
}
