// Schema readers: the SQLite CREATE statement parser and what the readers
// ask of an engine that answers nothing.
#include <gtest/gtest.h>

#include <memory>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"
#include "fake_connection.h"

namespace {

// "name|type" per column.
std::vector<std::string> parse(const char* sql) {
    btkObjArray<dbwFieldMetadata> list;
    dbwParseSQLiteCreate(sql, list);
    std::vector<std::string> out;
    for (const dbwFieldMetadata* c : list) {
        EXPECT_TRUE(c->defaultText.empty());
        out.push_back(std::string(c->name.c_str()) + "|" + c->type.c_str());
    }
    return out;
}

}  // namespace

TEST(DbwSQLiteCreateParser, ColumnsConstraintsAndNesting) {
    EXPECT_EQ(std::vector<std::string>({"id|INTEGER PRIMARY KEY", "name|VARCHAR(40) NOT NULL"}),
              parse("CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL, PRIMARY KEY (id))"));
    EXPECT_EQ(std::vector<std::string>({"price|NUMERIC(10,2) ", "n|INT"}),
              parse("CREATE TABLE t (price NUMERIC(10,2) , n INT)"));
    EXPECT_EQ(std::vector<std::string>({"a|INT", "UNIQUE|(a)", "CHECK|(a > 0)"}),
              parse("CREATE TABLE t (a INT, UNIQUE (a), CHECK (a > 0))"));
    EXPECT_EQ(std::vector<std::string>({"primary_key|INT"}),
              parse("CREATE TABLE t (primary_key INT, primary key(primary_key))"));
    EXPECT_EQ(std::vector<std::string>(), parse(""));
    EXPECT_EQ(std::vector<std::string>(), parse("CREATE TABLE t"));
    EXPECT_EQ(std::vector<std::string>({"a|INT"}), parse("CREATE TABLE t (a INT"));
}

TEST(DbwSQLiteCreateParser, ReadsTheLibrarysOwnQuotedMultiLineStatements) {
    EXPECT_EQ(
        std::vector<std::string>({"id|INTEGER PRIMARY KEY", "my name|VARCHAR(40)", "a\"b|TEXT", "c|INT", "d|INT\n"}),
        parse("CREATE TABLE \"t\" (\n  \"id\" INTEGER PRIMARY KEY,\n  \"my name\" VARCHAR(40),\n"
              "\t\"a\"\"b\" TEXT,\n  [c] INT,\n  `d` INT\n)"));
    // A quoted PRIMARY is a column, not the key constraint.
    EXPECT_EQ(std::vector<std::string>({"PRIMARY|INT"}), parse("CREATE TABLE t (\"PRIMARY\" INT)"));
}

TEST(DbwSchemaRead, FailedQueriesGiveEmptyDefinitions) {
    for (const char* engine : {"postgresql", "mysql", "sqlite", "firebird", "fake"}) {
        dbwAdaRef a(dbwCreateAdapter(new FakeConnection(engine), "UTF-8", nullptr));
        std::unique_ptr<dbwDbDef> def(a->readSchema());
        ASSERT_NE(nullptr, def);
        EXPECT_EQ(0, def->tables.count()) << engine;
        EXPECT_FALSE(a->isManaged());
        EXPECT_EQ(nullptr, a->readStructure());
    }
}

TEST(DbwSchemaRead, FieldsTakeTheEnginesParsedTypes) {
    dbwAdaRef my(dbwCreateAdapter(new FakeConnection("mysql"), "UTF-8", nullptr));
    dbwDbDef def;
    dbwTableMetadata table;
    table.name = "t";
    my->readTable(&def, table);
    ASSERT_EQ(1, def.tables.count());
    dbwTableDef* t = def.tables[0];
    EXPECT_EQ(btkstring("t"), t->name);
    EXPECT_EQ("SHOW COLUMNS FROM `t`", static_cast<FakeConnection*>(my->connection())->statements.back());

    dbwFieldMetadata column;
    column.name = "id";
    column.type = "int(10) unsigned auto_increment";
    my->readField(t, column);
    column.name = "odd";
    column.type = "geometry";
    my->readField(t, column);
    ASSERT_EQ(2, t->fields.count());
    dbwFieldDesc d;
    t->fields[0]->type.describe(d);
    EXPECT_EQ(2, d.sqltype);
    EXPECT_EQ(t->fields[0], t->counterField());
    t->fields[1]->type.describe(d);
    EXPECT_EQ(0, d.sqltype);
    EXPECT_EQ(btkstring("odd"), t->fields[1]->name);
}
