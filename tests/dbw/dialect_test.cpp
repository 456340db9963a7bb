// The SQL texts of the four engine dialects and the column type tables.
#include <gtest/gtest.h>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"
#include "fake_connection.h"

namespace {

dbwAdaRef adapterFor(const char* engine) { return dbwAdaRef(dbwCreateAdapter(new FakeConnection(engine), "UTF-8", nullptr)); }

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

TEST(DbwDialects, IdentifierQuotingDoublesEmbeddedQuotes) {
    Dialects d;
    EXPECT_EQ(btkstring("items"), d.base->quoteIdentifier("items"));
    EXPECT_EQ(btkstring("\"items\""), d.pg->quoteIdentifier("items"));
    EXPECT_EQ(btkstring("\"a\"\"b\""), d.pg->quoteIdentifier("a\"b"));
    EXPECT_EQ(btkstring("`a``b`"), d.my->quoteIdentifier("a`b"));
    EXPECT_EQ(btkstring("\"a\"\"b\""), d.lite->quoteIdentifier("a\"b"));
    EXPECT_EQ(btkstring("\"items\""), d.fb->quoteIdentifier("items"));
    EXPECT_EQ(btkstring("rdb$fields"), d.fb->quoteIdentifier("rdb$fields"));
    EXPECT_EQ(btkstring("RDB$FIELDS"), d.fb->quoteIdentifier("RDB$FIELDS"));
}

TEST(DbwDialects, LimitNullTestsAndEmptyingTables) {
    Dialects d;
    EXPECT_EQ(btkstring(" LIMIT 100 OFFSET 200"), d.pg->limitClause(200, 100));
    EXPECT_EQ(btkstring(" LIMIT 100 OFFSET 200"), d.lite->limitClause(200, 100));
    EXPECT_EQ(btkstring(" LIMIT 200,100"), d.my->limitClause(200, 100));
    EXPECT_EQ(btkstring(""), d.fb->limitClause(200, 100));

    EXPECT_EQ(btkstring("x IS NULL"), d.base->isNullSQL("x"));
    EXPECT_EQ(btkstring("x IS NOT NULL"), d.fb->isNotNullSQL("x"));
    EXPECT_EQ(btkstring("x ISNULL"), d.pg->isNullSQL("x"));
    EXPECT_EQ(btkstring("x NOTNULL"), d.pg->isNotNullSQL("x"));
    EXPECT_EQ(btkstring("ISNULL(x)"), d.my->isNullSQL("x"));
    EXPECT_EQ(btkstring("(NOT ISNULL(x))"), d.my->isNotNullSQL("x"));
    EXPECT_EQ(btkstring("x IS NULL"), d.lite->isNullSQL("x"));
    EXPECT_EQ(btkstring("x IS NOT NULL"), d.lite->isNotNullSQL("x"));

    EXPECT_EQ(btkstring("TRUNCATE TABLE \"songs\""), d.pg->emptyTableSQL("songs"));
    EXPECT_EQ(btkstring("TRUNCATE TABLE `songs`"), d.my->emptyTableSQL("songs"));
    EXPECT_EQ(btkstring("DELETE FROM  \"songs\""), d.lite->emptyTableSQL("songs"));
}

TEST(DbwDialects, IndexDropAndFirebirdGenerator) {
    Dialects d;
    dbwDbDef def;
    auto* table = new dbwTableDef(&def);
    def.tables.add(table);
    table->name = "songs";
    auto* index = new dbwIndexDef(table);
    table->indexes.add(index);
    index->name = "ix";
    EXPECT_EQ(btkstring("DROP INDEX \"ix\""), d.pg->dropIndexSQL(index));
    EXPECT_EQ(btkstring("DROP INDEX `ix` ON `songs`"), d.my->dropIndexSQL(index));

    btkStrings list;
    d.fb->afterCreateTableSQL(table, list);
    EXPECT_EQ(0, list.count());  // no serial field
    auto* key = new dbwFldDef(table);
    table->fields.add(key);
    dbwFieldDesc serial;
    serial.sqltype = 2;
    key->type.setDescription(serial);
    d.pg->afterCreateTableSQL(table, list);
    EXPECT_EQ(0, list.count());
    d.fb->afterCreateTableSQL(table, list);
    ASSERT_EQ(1, list.count());
    EXPECT_EQ(btkstring("CREATE GENERATOR dbw_songs_generator"), list[0]);
    auto* second = new dbwFldDef(table);
    table->fields.add(second);
    second->type.setDescription(serial);
    list.clear();
    d.fb->afterCreateTableSQL(table, list);
    EXPECT_EQ(0, list.count());  // two serial fields: no counter
}

TEST(DbwDialects, PropertiesAnswerWithoutTheDatabase) {
    Dialects d;
    struct Row {
        dbwAdapter* a;
        bool pk, alter, serialIndex, option;
    } rows[] = {{d.base.get(), true, true, false, false},
                {d.pg.get(), true, true, false, false},
                {d.my.get(), true, true, false, false},
                {d.lite.get(), false, false, true, true},
                {d.fb.get(), true, true, false, true}};
    for (const Row& r : rows) {
        EXPECT_EQ(r.pk, r.a->primaryKeyInCreate());
        EXPECT_EQ(r.alter, r.a->canAlterColumns());
        EXPECT_EQ(r.serialIndex, r.a->indexSerialKey());
        EXPECT_EQ(r.option, r.a->engineOption());
    }
    for (const auto& ref : {d.base, d.pg, d.my, d.lite, d.fb})
        EXPECT_TRUE(static_cast<FakeConnection*>(ref->connection())->statements.empty());
}

TEST(DbwColumnTypes, TypeNamesPerEngine) {
    Dialects d;
    const char* base[] = {"", "INT", "INT", "INT", "VARCHAR", "TEXT", "INT", "INT", "DATETIME", "BLOB", "FLOAT", "NUMERIC", "CHAR", ""};
    for (int code = 0; code <= 13; ++code) EXPECT_STREQ(base[code], d.base->typeName(code)) << code;
    EXPECT_STREQ("SERIAL", d.pg->typeName(2));
    EXPECT_STREQ("INT2", d.pg->typeName(6));
    EXPECT_STREQ("TIMESTAMP", d.pg->typeName(8));
    EXPECT_STREQ("INT", d.pg->typeName(3));
    EXPECT_STREQ("INT UNSIGNED AUTO_INCREMENT", d.my->typeName(2));
    EXPECT_STREQ("SMALLINT", d.my->typeName(3));
    EXPECT_STREQ("DATETIME", d.my->typeName(8));
    EXPECT_STREQ("INTEGER PRIMARY KEY", d.lite->typeName(2));
    EXPECT_STREQ("INTEGER", d.lite->typeName(3));
    EXPECT_STREQ("INTEGER NOT NULL", d.fb->typeName(2));
    EXPECT_STREQ("BLOB", d.fb->typeName(5));
    EXPECT_STREQ("", d.fb->typeName(13));
}

TEST(DbwColumnTypes, TypeFromNamePerEngine) {
    Dialects d;
    EXPECT_EQ(1, d.base->typeFromName("INT"));
    EXPECT_EQ(0, d.base->typeFromName("int"));
    EXPECT_EQ(12, d.base->typeFromName("CHAR"));
    EXPECT_EQ(0, d.base->typeFromName("INT4"));
    EXPECT_EQ(1, d.pg->typeFromName("INT4"));
    EXPECT_EQ(6, d.pg->typeFromName("INT2"));
    EXPECT_EQ(8, d.pg->typeFromName("TIMESTAMP"));
    EXPECT_EQ(2, d.lite->typeFromName("INTEGER PRIMARY KEY"));
    EXPECT_EQ(0, d.pg->typeFromName("INTEGER PRIMARY KEY"));
    EXPECT_EQ(1, d.fb->typeFromName("SHORT"));
    EXPECT_EQ(1, d.fb->typeFromName("LONG"));
    EXPECT_EQ(0, d.my->typeFromName("INT4"));

    EXPECT_EQ(1, dbwFieldTypeFromName("int"));
    EXPECT_EQ(0, dbwFieldTypeFromName("INT"));
    EXPECT_EQ(12, dbwFieldTypeFromName("char"));
    EXPECT_EQ(0, dbwFieldTypeFromName("none"));
    EXPECT_EQ(0, dbwFieldTypeFromName("nothing"));
}

TEST(DbwColumnTypes, ParsingColumnTypeTexts) {
    Dialects d;
    dbwFieldDesc v = parse(d.base.get(), "VARCHAR(40)");
    EXPECT_EQ(4, v.sqltype);
    EXPECT_EQ(40, v.size);
    v = parse(d.base.get(), "  varchar ( 40 ) ");
    EXPECT_EQ(4, v.sqltype);
    EXPECT_EQ(40, v.size);
    v = parse(d.base.get(), "NUMERIC(10,2)");
    EXPECT_EQ(11, v.sqltype);
    EXPECT_EQ(10, v.precision);
    EXPECT_EQ(2, v.scale);
    dbwFieldDesc before;
    before.precision = 7;
    before.scale = 3;
    v = parse(d.base.get(), "NUMERIC", before);
    EXPECT_EQ(11, v.sqltype);
    EXPECT_EQ(7, v.precision);
    EXPECT_EQ(3, v.scale);
    v = parse(d.base.get(), "CHAR(3) NOT NULL");
    EXPECT_EQ(12, v.sqltype);
    EXPECT_EQ(3, v.size);
    EXPECT_EQ(0, parse(d.base.get(), "INTEGER").sqltype);
    EXPECT_EQ(0, parse(d.fb.get(), "INTEGER NOT NULL").sqltype);
    EXPECT_EQ(2, parse(d.lite.get(), "integer primary key").sqltype);
    EXPECT_EQ(0, parse(d.pg.get(), "integer primary key").sqltype);
    EXPECT_EQ(1, parse(d.fb.get(), "SHORT").sqltype);
    EXPECT_EQ(6, parse(d.pg.get(), "int2").sqltype);
    EXPECT_EQ(0, parse(d.base.get(), "INT(5)").size);  // sizes only for varchar and char
    EXPECT_EQ(2, parse(d.my.get(), "int(10) unsigned auto_increment").sqltype);
    EXPECT_EQ(1, parse(d.pg.get(), "int(10) unsigned auto_increment").sqltype);
    EXPECT_EQ(0, parse(d.base.get(), "").sqltype);
}
