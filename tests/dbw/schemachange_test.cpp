// Schema changes as SQL text per engine, and the scoped transaction.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwtransaction.h"
#include "def_builders.h"
#include "fake_connection.h"

namespace {

dbwAdaRef adapterFor(const char* engine) {
    return dbwAdaRef(dbwCreateAdapter(new FakeConnection(engine), "UTF-8", nullptr));
}

FakeConnection* fake(const dbwAdaRef& ada) { return static_cast<FakeConnection*>(ada->connection()); }

std::vector<std::string> texts(const btkStrings& list) {
    std::vector<std::string> out;
    for (const btkstring& s : list) out.push_back(s.c_str());
    return out;
}

std::vector<std::string> createSQL(const char* engine, dbwTableDef* t) {
    btkStrings list;
    adapterFor(engine)->createTableSQL(t, list);
    return texts(list);
}

std::vector<std::string> alterSQL(const char* engine, dbwTableDef* from, dbwTableDef* to) {
    btkStrings list;
    adapterFor(engine)->alterTableSQL(from, to, list);
    return texts(list);
}

// t: id serial, name varchar(40), price numeric(10,2).
struct Table {
    Table() {
        t = defTable(def, "t");
        id = defField(t, "id", 2);
        name = defField(t, "name", 4, 40);
        price = defField(t, "price", 11, 0, 10, 2);
    }
    dbwDbDef def;
    dbwTableDef* t;
    dbwFldDef* id;
    dbwFldDef* name;
    dbwFldDef* price;
};

}  // namespace

TEST(DbwSchemaChange, CreateTablePerEngine) {
    Table s;
    EXPECT_EQ(std::vector<std::string>({"CREATE TABLE \"t\" (\n  \"id\" SERIAL,\n  \"name\" VARCHAR(40),\n"
                                        "  \"price\" NUMERIC(10,2),\n  PRIMARY KEY (\"id\")\n)"}),
              createSQL("postgresql", s.t));
    EXPECT_EQ(std::vector<std::string>({"CREATE TABLE \"t\" (\n  \"id\" INTEGER PRIMARY KEY,\n  \"name\" VARCHAR(40),\n"
                                        "  \"price\" NUMERIC(10,2)\n)",
                                        "CREATE INDEX \"t_id\" ON \"t\" (\"id\")"}),
              createSQL("sqlite", s.t));
    std::vector<std::string> fb = createSQL("firebird", s.t);
    ASSERT_EQ(2u, fb.size());
    EXPECT_EQ("CREATE GENERATOR dbw_t_generator", fb[1]);

    // Without a serial key: no key clause, no index.
    dbwDbDef plain;
    dbwTableDef* u = defTable(plain, "u");
    defField(u, "a", 12, 3);
    EXPECT_EQ(std::vector<std::string>({"CREATE TABLE \"u\" (\n  \"a\" CHAR(3)\n)"}), createSQL("sqlite", u));

    EXPECT_EQ(btkstring("CREATE TABLE `dbw_temp` (\n  `id` INT UNSIGNED AUTO_INCREMENT,\n  `name` VARCHAR(40),\n"
                        "  `price` NUMERIC(10,2)\n)"),
              adapterFor("mysql")->createTableTextAs(s.t, "dbw_temp"));
}

TEST(DbwSchemaChange, DefaultLiteralsPerType) {
    dbwAdaRef a = adapterFor("postgresql");
    const char* expected[] = {"NULL", "'0'",  "'0'", "'0'", "''",  "''", "'0'",
                              "'0'",  "NULL", "''",  "'0'", "'0'", "''", "NULL"};
    for (int code = 0; code <= 13; ++code) {
        dbwFieldDesc d;
        d.sqltype = code;
        EXPECT_EQ(btkstring(expected[code]), a->defaultValue(d)) << code;
    }
}

TEST(DbwSchemaChange, ChangedColumnsAlterOrRebuild) {
    Table s;
    std::unique_ptr<dbwDbDef> next(defCopy(s.def));
    dbwTableDef* t2 = next->tableById(s.t->id);
    t2->fields.removeItems(2, 1);
    defField(t2, "note", 5);
    defField(t2, "text", 5);

    EXPECT_EQ(std::vector<std::string>({"ALTER TABLE \"t\" DROP COLUMN \"price\"",
                                        "ALTER TABLE \"t\" ADD COLUMN \"note\" TEXT",
                                        "ALTER TABLE \"t\" ADD COLUMN \"text\" TEXT"}),
              alterSQL("postgresql", s.t, t2));

    // SQLite cannot alter columns: the six statements of a rebuild, the new
    // fields filled from their default literals by position.
    EXPECT_EQ(
        std::vector<std::string>(
            {"CREATE TABLE \"dbw_temp\" (\n  \"id\" INTEGER PRIMARY KEY,\n  \"name\" VARCHAR(40),\n  \"note\" TEXT,\n"
             "  \"text\" TEXT\n)",
             "INSERT INTO \"dbw_temp\" SELECT \"id\",\"name\",'' AS dbw_temp_fld_2,'' AS dbw_temp_fld_3 FROM \"t\"",
             "DROP TABLE \"t\"",
             "CREATE TABLE \"t\" (\n  \"id\" INTEGER PRIMARY KEY,\n  \"name\" VARCHAR(40),\n  \"note\" TEXT,\n"
             "  \"text\" TEXT\n)",
             "CREATE INDEX \"t_id\" ON \"t\" (\"id\")", "INSERT INTO \"t\" SELECT * FROM \"dbw_temp\"",
             "DROP TABLE \"dbw_temp\""}),
        alterSQL("sqlite", s.t, t2));

    // Unchanged tables give nothing.
    EXPECT_TRUE(alterSQL("sqlite", s.t, s.t).empty());
}

TEST(DbwSchemaChange, RenamesRebuildFromTheOldNameAndKeepTheSerialKeyWorking) {
    Table s;
    std::unique_ptr<dbwDbDef> next(defCopy(s.def));
    dbwTableDef* t2 = next->tableById(s.t->id);
    t2->name = "songs";
    defField(t2, "flag", 3);

    std::vector<std::string> list = alterSQL("mysql", s.t, t2);
    ASSERT_EQ(6u, list.size());
    // dbw_temp keeps the AUTO_INCREMENT column a key, as MySQL demands.
    EXPECT_EQ(
        "CREATE TABLE `dbw_temp` (\n  `id` INT UNSIGNED AUTO_INCREMENT,\n  `name` VARCHAR(40),\n"
        "  `price` NUMERIC(10,2),\n  `flag` SMALLINT,\n  PRIMARY KEY (`id`)\n)",
        list[0]);
    // A new bool starts as 0, which every engine's integer column takes.
    EXPECT_EQ("INSERT INTO `dbw_temp` SELECT `id`,`name`,`price`,'0' AS dbw_temp_fld_3 FROM `t`", list[1]);
    EXPECT_EQ("DROP TABLE `t`", list[2]);
    EXPECT_EQ(0u, list[3].find("CREATE TABLE `songs` ("));
    EXPECT_EQ("INSERT INTO `songs` SELECT * FROM `dbw_temp`", list[4]);

    // The re-created serial starts again at 1: it is set past the copied keys.
    list = alterSQL("postgresql", s.t, t2);
    ASSERT_EQ(7u, list.size());
    EXPECT_EQ("SELECT setval(pg_get_serial_sequence('\"songs\"','id'),COALESCE(max(\"id\"),0)+1,false) FROM \"songs\"",
              list[6]);
    next->versioned = true;
    t2->versioned = true;
    list = alterSQL("postgresql", s.t, t2);
    ASSERT_EQ(7u, list.size());
    EXPECT_NE(nullptr, std::strstr(list[6].c_str(),
                                   btkFormat("GREATEST(COALESCE(max(\"id\"),0),COALESCE((SELECT max(dbw_recordid) "
                                             "FROM dbw_creations WHERE dbw_tableid='%d'),0))+1",
                                             t2->id)));
}

TEST(DbwSchemaChange, UpgradeDropsCreatesAndReindexes) {
    Table s;
    defIndex(s.t, "t_name", {s.name});
    dbwTableDef* gone = defTable(s.def, "gone");
    defField(gone, "x", 1);

    btkStrings list;
    dbwAdaRef my = adapterFor("mysql");
    my->upgradeSQL(&s.def, &s.def, list);
    EXPECT_EQ(0, list.count());

    std::unique_ptr<dbwDbDef> next(defCopy(s.def));
    next->tables.removeItems(1, 1);
    dbwTableDef* fresh = defTable(*next, "fresh");
    dbwFldDef* k = defField(fresh, "k", 1);
    defIndex(fresh, "fresh_k", {k});
    my->upgradeSQL(&s.def, next.get(), list);
    EXPECT_EQ(std::vector<std::string>({"DROP INDEX `t_name` ON `t`", "DROP TABLE `gone`",
                                        "CREATE INDEX `t_name` ON `t` (`name`)", "CREATE TABLE `fresh` (\n  `k` INT\n)",
                                        "CREATE INDEX `fresh_k` ON `fresh` (`k`)"}),
              texts(list));
}

TEST(DbwTransaction, CommitRollbackAndFailures) {
    dbwAdaRef a = adapterFor("fake");
    FakeConnection* conn = fake(a);
    {
        dbwTransaction t(a.get());
        EXPECT_TRUE(t.started());
        EXPECT_TRUE(t.commit());
        EXPECT_FALSE(t.commit());
    }
    EXPECT_EQ(std::vector<std::string>({"BEGIN", "COMMIT"}), conn->statements);

    conn->statements.clear();
    { dbwTransaction t(a.get()); }
    EXPECT_EQ(std::vector<std::string>({"BEGIN", "ROLLBACK"}), conn->statements);

    // A failed commit is reported, and nothing is rolled back afterwards.
    conn->statements.clear();
    conn->failing = {"COMMIT"};
    {
        dbwTransaction t(a.get());
        EXPECT_FALSE(t.commit());
    }
    EXPECT_EQ(std::vector<std::string>({"BEGIN", "COMMIT"}), conn->statements);

    // A failed begin holds nothing: its commit fails, no rollback is sent.
    conn->statements.clear();
    conn->failing = {"BEGIN"};
    {
        dbwTransaction t(a.get());
        EXPECT_FALSE(t.started());
        EXPECT_FALSE(t.commit());
    }
    EXPECT_EQ(std::vector<std::string>({"BEGIN"}), conn->statements);
    EXPECT_EQ(0, conn->transactionDepth());
}
