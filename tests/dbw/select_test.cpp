// The SELECT statement model and its text.
#include <gtest/gtest.h>

#include "dbw/dbwadapter.h"
#include "dbw/dbwmetadata.h"
#include "dbw/dbwselect.h"
#include "fake_connection.h"

namespace {

dbwAdaRef adapterFor(const char* engine) {
    return dbwAdaRef(dbwCreateAdapter(new FakeConnection(engine), "UTF-8", nullptr));
}

const char* firebirdTables =
    "SELECT RDB$RELATION_NAME FROM RDB$RELATIONS   WHERE  (RDB$RELATION_NAME NOT LIKE 'RDB$%') ";

}  // namespace

TEST(DbwSelect, FirebirdTableListText) {
    dbwAdaRef fb = adapterFor("firebird");
    dbwSelect select;
    select.setTable(dbwSQLId("RDB$RELATIONS"));
    select.addColumn(dbwSQLId("RDB$RELATION_NAME"));
    select.addCondition("RDB$RELATION_NAME NOT LIKE 'RDB$%'");
    select.addCondition("");
    EXPECT_EQ(btkstring(firebirdTables), buildSelectSql(select, fb));

    // The Firebird reader lists its tables with exactly this statement.
    btkObjArray<dbwTableMetadata> tables;
    fb->metadata()->tables(tables);
    EXPECT_EQ(0, tables.count());
    ASSERT_EQ(1u, static_cast<FakeConnection*>(fb->connection())->statements.size());
    EXPECT_EQ(firebirdTables, static_cast<FakeConnection*>(fb->connection())->statements[0]);
}

TEST(DbwSelect, PartsJoinsOrderAndLimit) {
    dbwAdaRef pg = adapterFor("postgresql");
    dbwSelect select;
    select.setTable(dbwSQLId("songs", "s"));
    select.bind.joins.add(new dbwSQLJoin("JOIN", "books", "b", "b.id=s.book"));
    select.addColumn(dbwSQLId("title", "s"));
    select.addColumn(dbwSQLId("name"));
    select.columns.bind.joins.add(new dbwSQLJoin("LEFT JOIN", "authors", "a", "a.id=s.author"));
    select.addCondition("s.id>1");
    select.addCondition("a.id NOTNULL");
    select.conditions.bind.joins.add(new dbwSQLJoin("JOIN", "x", "", "1=1"));
    auto* item = new dbwSQLOrderItem;
    item->column = dbwSQLId("title", "s");
    item->descending = true;
    item->trailing = "NULLS LAST";
    select.order.items.add(item);
    auto* second = new dbwSQLOrderItem;
    second->column = dbwSQLId("name");
    select.order.items.add(second);
    select.limit.limited = true;
    select.limit.offset = 20;
    select.limit.count = 10;

    EXPECT_EQ(btkstring("SELECT s.\"title\",\"name\" FROM \"songs\" s  JOIN \"books\" b  ON (b.id=s.book)  "
                        "LEFT JOIN \"authors\" a  ON (a.id=s.author)  JOIN \"x\"   ON (1=1)  WHERE  (s.id>1)  AND  "
                        "(a.id NOTNULL)  ORDER BY s.\"title\" DESC  NULLS LAST ,\"name\"    LIMIT 10 OFFSET 20"),
              buildSelectSql(select, pg));
    // Making the text changes nothing: the same text again.
    EXPECT_EQ(buildSelectSql(select, pg), buildSelectSql(select, pg));

    select.limit.limited = false;
    select.columns.fields.clear();
    select.conditions.items.clear();
    select.order.items.clear();
    EXPECT_EQ(btkstring("SELECT  FROM `songs` s  JOIN `books` b  ON (b.id=s.book)  LEFT JOIN `authors` a  ON "
                        "(a.id=s.author)  JOIN `x`   ON (1=1) "),
              buildSelectSql(select, adapterFor("mysql")));
}

TEST(DbwSelect, TheMainTableMustBeNamedExactlyOnce) {
    dbwAdaRef pg = adapterFor("postgresql");
    dbwSelect none;
    none.addColumn(dbwSQLId("a"));
    EXPECT_THROW(buildSelectSql(none, pg), dbwSQLBuildError);

    dbwSelect twice;
    twice.setTable(dbwSQLId("t"));
    twice.order.bind.table = dbwSQLId("t");
    try {
        buildSelectSql(twice, pg);
        FAIL() << "no error";
    } catch (const dbwSQLBuildError& e) {
        EXPECT_EQ(0, e.code());
    }
    // A failing statement is never sent.
    dbwResultRef rows;
    EXPECT_THROW(rows = twice.run(pg), dbwSQLBuildError);
    EXPECT_TRUE(static_cast<FakeConnection*>(pg->connection())->statements.empty());

    // The main table may come from any one part.
    dbwSelect fromCondition;
    fromCondition.conditions.bind.table = dbwSQLId("t", "q");
    EXPECT_EQ(btkstring("SELECT  FROM \"t\" q "), buildSelectSql(fromCondition, pg));
}
