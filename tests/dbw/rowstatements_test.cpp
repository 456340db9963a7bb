// Row builders, version-log statements, counters and casts as SQL text.
#include <gtest/gtest.h>

#include <cstdio>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "def_builders.h"
#include "fake_connection.h"
#include "foundation/btkconverter.h"

namespace {

dbwAdaRef adapterFor(const char* engine, const char* encoding = "UTF-8") {
    return dbwAdaRef(dbwCreateAdapter(new FakeConnection(engine), encoding, nullptr));
}

FakeConnection* fake(const dbwAdaRef& ada) { return static_cast<FakeConnection*>(ada->connection()); }

struct Songs {
    Songs() {
        def.lastid = 2;  // table id 3
        t = defTable(def, "t");
        id = defField(t, "id", 2);
        a = defField(t, "a", 5);
        b = defField(t, "b", 5);
    }
    dbwDbDef def;
    dbwTableDef* t;
    dbwFldDef* id;
    dbwFldDef* a;
    dbwFldDef* b;
};

}  // namespace

TEST(DbwRowStatements, InsertAndSelectTexts) {
    Songs s;
    dbwAdaRef pg = adapterFor("postgresql");
    btkCntVec<dbwFldDef*> none;
    btkStrings noValues;
    EXPECT_EQ(btkstring("INSERT INTO \"t\" (dbw_version,dbw_creation) VALUES ('7','0')"),
              pg->insertSQL(s.t, none, noValues, 7));

    btkCntVec<dbwFldDef*> fields = defFields({s.a, s.b});
    btkStrings values = defValues({"it's", "x"});
    EXPECT_EQ(btkstring("INSERT INTO \"t\" (\"a\",\"b\",dbw_version,dbw_creation) VALUES ('it''s','x','7','0')"),
              pg->insertSQL(s.t, fields, values, 7));
    EXPECT_EQ(42, pg->insertRecord(s.t, s.id, fields, values, 7));

    EXPECT_EQ(btkstring("SELECT `a`,`b` FROM `t` "), adapterFor("mysql")->selectSQL(fields, s.t));
    btkStrings out;
    out.add("kept");
    EXPECT_FALSE(pg->selectRecord(fields, s.t, s.id, 5, out));
    EXPECT_EQ(1, out.count());
    EXPECT_EQ("SELECT \"a\",\"b\" FROM \"t\" WHERE \"id\"='5'", fake(pg)->statements.back());
}

TEST(DbwRowStatements, UpdateRecordLogsEachFieldBeforeTheUpdate) {
    Songs s;
    ASSERT_EQ(3, s.t->id);
    dbwAdaRef lite = adapterFor("sqlite");
    btkCntVec<dbwFldDef*> fields = defFields({s.a, s.b});
    btkStrings values = defValues({"x", "y'z"});
    btkStrings list;
    lite->updateRecordSQL(s.t, s.id, 9, 17, fields, values, list);
    ASSERT_EQ(3, list.count());
    const char* logRow =
        "INSERT INTO dbw_updates (dbw_version,dbw_tableid,dbw_recordid,dbw_fieldid,dbw_value) VALUES "
        "('9','3','17','%d',%s)";
    EXPECT_EQ(btkFormat(logRow, s.a->id, "'x'"), list[0]);
    EXPECT_EQ(btkFormat(logRow, s.b->id, "'y''z'"), list[1]);
    EXPECT_EQ(btkstring("UPDATE \"t\" SET \"a\"='x',\"b\"='y''z',dbw_version='9' WHERE \"id\"='17'"), list[2]);

    // No changed field: the row still takes the version.
    btkCntVec<dbwFldDef*> none;
    btkStrings noValues;
    list.clear();
    lite->updateRecordSQL(s.t, s.id, 9, 17, none, noValues, list);
    EXPECT_EQ(1, list.count());
    EXPECT_EQ(btkstring("UPDATE \"t\" SET dbw_version='9' WHERE \"id\"='17'"), list[0]);

    // Fewer values than fields is refused, not read past the list.
    values.removeItems(1, 1);
    EXPECT_ANY_THROW(lite->updateRecordSQL(s.t, s.id, 9, 17, fields, values, list));
    EXPECT_ANY_THROW(lite->updateRecord(s.t, s.id, fields, values, 17, true));
}

TEST(DbwRowStatements, ValuesAreConvertedToTheConnectionEncodingUnlessToldNot) {
    Songs s;
    dbwAdaRef a = adapterFor("postgresql", "CP1250");
    btkstring utf8 = btkConverter("CP1250", "UTF-8").convert("čaj");
    btkCntVec<dbwFldDef*> fields = defFields({s.a});
    btkStrings values = defValues({utf8});
    EXPECT_TRUE(a->updateRecord(s.t, s.id, fields, values, 4, true));
    EXPECT_EQ(std::string("UPDATE \"t\" SET \"a\"='čaj' WHERE \"id\"='4'"), fake(a)->statements.back());
    EXPECT_TRUE(a->updateRecord(s.t, s.id, fields, values, 4, false));
    EXPECT_EQ(std::string("UPDATE \"t\" SET \"a\"='") + utf8.c_str() + "' WHERE \"id\"='4'",
              fake(a)->statements.back());
    EXPECT_EQ(btkstring("INSERT INTO dbw_updates (dbw_version,dbw_tableid,dbw_recordid,dbw_fieldid,dbw_value) VALUES "
                        "('1','2','3','4','čaj')"),
              a->updateLogSQL(1, 2, 3, 4, utf8));
}

TEST(DbwVersionLog, VersionsAndCreations) {
    dbwAdaRef a = adapterFor("postgresql");
    EXPECT_EQ(42, a->newVersion(4));
    // The local time as year-month-day hour:minute:second.
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0, user = 0;
    char rest[4] = {};
    const std::string& sql = fake(a)->statements.back();
    ASSERT_EQ(8, std::sscanf(sql.c_str(),
                             "INSERT INTO dbw_versions (dbw_created,dbw_userid) VALUES ('%d-%d-%d %d:%d:%d','%d'%3s",
                             &y, &mo, &d, &h, &mi, &sec, &user, rest))
        << sql;
    EXPECT_EQ(std::string(")"), rest);
    EXPECT_GE(y, 2024);
    EXPECT_EQ(4, user);
    // Minutes and seconds have two digits.
    std::string stamp = sql.substr(sql.find("('") + 2, sql.find("','") - sql.find("('") - 2);
    EXPECT_EQ(stamp.size() - 6, stamp.find(':')) << stamp;
    EXPECT_EQ(stamp.size() - 3, stamp.rfind(':')) << stamp;
    EXPECT_EQ(42, a->newCreation(5, 6, 7));
    EXPECT_EQ("INSERT INTO dbw_creations (dbw_version,dbw_tableid,dbw_recordid) VALUES ('5','6','7')",
              fake(a)->statements.back());
    fake(a)->failing = {fake(a)->statements.back()};
    EXPECT_EQ(-1, a->newCreation(5, 6, 7));
}

TEST(DbwCounters, EmptyingAndResettingPerEngine) {
    Songs s;
    dbwAdaRef lite = adapterFor("sqlite");
    EXPECT_TRUE(lite->emptyTable(s.t));
    EXPECT_EQ(std::vector<std::string>({"DELETE FROM  \"t\""}), fake(lite)->statements);

    dbwAdaRef pg = adapterFor("postgresql");
    EXPECT_TRUE(pg->emptyTable(s.t));
    EXPECT_EQ(std::vector<std::string>({"TRUNCATE TABLE \"t\"", "ALTER SEQUENCE t_id_seq MINVALUE 0;",
                                        "SELECT max(\"id\") FROM \"t\";", "SELECT setval('t_id_seq', 0);"}),
              fake(pg)->statements);

    // Versioned table of a versioned definition: the creation log counts too.
    s.def.versioned = true;
    s.t->versioned = true;
    dbwAdaRef fb = adapterFor("firebird");
    EXPECT_TRUE(fb->resetCounter(s.t));
    EXPECT_EQ(std::vector<std::string>({"SELECT max(\"id\") FROM \"t\";",
                                        "SELECT max(dbw_recordid) FROM dbw_creations WHERE dbw_tableid='3';",
                                        "SET GENERATOR dbw_t_generator TO 0"}),
              fake(fb)->statements);

    // Failures stop early.
    fake(pg)->statements.clear();
    fake(pg)->failing = {"ALTER SEQUENCE t_id_seq MINVALUE 0;"};
    EXPECT_FALSE(pg->resetCounter(s.t));
    EXPECT_EQ(1u, fake(pg)->statements.size());
    fake(pg)->statements.clear();
    fake(pg)->failing = {"TRUNCATE TABLE \"t\""};
    EXPECT_FALSE(pg->emptyTable(s.t));
    EXPECT_EQ(1u, fake(pg)->statements.size());

    // No single serial field: nothing to reset.
    dbwDbDef plain;
    dbwTableDef* u = defTable(plain, "u");
    defField(u, "a", 1);
    fake(pg)->statements.clear();
    fake(pg)->failing.clear();
    EXPECT_TRUE(pg->emptyTable(u));
    EXPECT_EQ(std::vector<std::string>({"TRUNCATE TABLE \"u\""}), fake(pg)->statements);
    EXPECT_TRUE(adapterFor("mysql")->resetCounter(s.t));
}

TEST(DbwCounters, CastsAndIndexes) {
    dbwAdaRef pg = adapterFor("postgresql");
    dbwAdaRef my = adapterFor("mysql");
    const char* casts[] = {nullptr, "int",   nullptr, "bool",  "text",  "text", "int",
                           "int",   nullptr, nullptr, nullptr, nullptr, "text"};
    for (int code = 0; code <= 12; ++code) {
        dbwFieldDesc d;
        d.sqltype = code;
        btkstring expected = casts[code] ? btkFormat("CAST(x AS %s)", casts[code]) : btkstring("x");
        EXPECT_EQ(expected, pg->castExpression("x", d)) << code;
        EXPECT_EQ(btkstring("x"), my->castExpression("x", d));
    }

    Songs s;
    dbwIndexDef* index = defIndex(s.t, "t_ab", {s.a, s.b});
    EXPECT_EQ(btkstring("CREATE INDEX `t_ab` ON `t` (`a`,`b`)"), my->createIndexSQL(index));
    EXPECT_EQ(btkstring("CREATE INDEX \"t_ab\" ON \"t\" (\"a\",\"b\")"), pg->createIndexSQL(index));
}
