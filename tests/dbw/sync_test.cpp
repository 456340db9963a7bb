// The defaults of the synchronisation interfaces, and the reading of a
// download condition.
#include <gtest/gtest.h>

#include <cstring>

#include "dbw/dbwdbdef.h"
#include "dbw/dbwsync.h"
#include "dbw/dbwsynccondition.h"
#include "def_builders.h"
#include "fake_connection.h"

namespace {

class Letters : public dbwSynClass {
public:
    int classId() override { return 1; }
    int fieldCount() override { return 1; }
    int fieldId(int) override { return 2; }
    btkstring fieldText(dbwSynObject* o, int id) override { return btkFormat("%d:%d:žluť", o->locid, id); }
    void setField(dbwSynObject* o, int, const btkstring& text) override { o->netid = btkAtoi(text); }
};

class Letter : public dbwSynObject {
public:
    dbwSynClass* synClass() override { return &cls; }
    Letters cls;
};

class OnlyTables : public dbwLocalDb {
public:
    void getTables(btkCntVec<dbwSynTable*>&) override {}
};

}  // namespace

TEST(DbwSync, ObjectDefaults) {
    Letter o;
    o.changed(true);
    EXPECT_FALSE(o.netmodified);  // never uploaded: nothing to mark
    o.netid = 5;
    o.changed(false);
    EXPECT_FALSE(o.netmodified);
    o.changed(true);
    EXPECT_TRUE(o.netmodified);
    o.locid = 12;
    EXPECT_EQ(btkstring("netid=    5  locid=   12"), o.description());
    EXPECT_EQ(btkstring("Uploaduji řádek %d/%d"), o.uploadText());
}

TEST(DbwSync, ValuesAreTakenInFieldOrderAndConvertedForTheServer) {
    dbwDbDef def;
    dbwTableDef* t = defTable(def, "t");
    dbwFldDef* a = defField(t, "a", 0);
    dbwFldDef* b = defField(t, "b", 0);
    btkCntVec<dbwFldDef*> fields;
    fields.add(b);
    fields.add(a);
    Letter o;
    o.locid = 3;
    btkConverter toServer("CP1250", "UTF-8");
    btkObjVec<btkstring> values;
    o.getValues(toServer, fields, values);
    ASSERT_EQ(2, values.count());
    EXPECT_EQ(btkFormat("3:%d:\xc5\xbelu\xc5\xa5", b->id), values[0]);
    EXPECT_EQ(btkFormat("3:%d:\xc5\xbelu\xc5\xa5", a->id), values[1]);
}

TEST(DbwSync, LocalDatabaseDefaults) {
    OnlyTables db;
    EXPECT_EQ(0, db.version);
    EXPECT_EQ(btkstring("UTF-8"), db.encoding());
    void* log = db.openLog();
    EXPECT_EQ(nullptr, log);
    db.writeLog(log, "x");
    db.closeLog(log);
}

// What a download condition becomes, and what is refused before it could
// reach the server.
TEST(DbwSync, ConditionsAreReadIntoTheGrammarAndWrittenWithParameters) {
    btkStrings columns, quoted;
    for (const char* name : {"id", "title", "lang"}) {
        columns.add(name);
        quoted.add(btkFormat("\"%s\"", name));
    }
    const struct {
        const char* text;
        const char* sql;     // null: refused, and reason holds `values`
        const char* values;  // each followed by |
    } rows[] = {
        {"", "", ""},
        {"  ", "", ""},
        {"lang='cz'", "(\"lang\"=$1)", "cz|"},
        {"lang='cz' or lang='sk'", "((\"lang\"=$1 OR \"lang\"=$2))", "cz|sk|"},
        {"NOT (Id >= -5 AND id<>2.5) Or title is not null",
         "((NOT (((\"id\">=$1 AND \"id\"<>$2))) OR \"title\" IS NOT NULL))", "-5|2.5|"},
        {"title NOT LIKE 'it''s%' and lang not in ('a', 'b')", "((\"title\" NOT LIKE $1 AND \"lang\" NOT IN ($2,$3)))",
         "it's%|a|b|"},
        {"title = 'x'' ) OR (1=1) --'", "(\"title\"=$1)", "x' ) OR (1=1) --|"},
        {"title <> '\\'' ) OR (1=1) --'", nullptr, "a backslash in a literal at offset 9"},
        {"set_config('standard_conforming_strings','off',false)='off' AND lang='cz'", nullptr,
         "function call set_config at offset 0"},
        {"lang='cz' AND setval('songs_id_seq', 1) > 0", nullptr, "function call setval"},
        {"lo_from_bytea(0, 'x') > 0", nullptr, "function call lo_from_bytea"},
        {"EXISTS (SELECT 1 FROM dbw_users WHERE dbw_password LIKE 'h%')", nullptr, "function call EXISTS"},
        {"lang IN (SELECT dbw_login FROM dbw_users)", nullptr, "a column or a literal expected"},
        {"lang='cz' UNION SELECT dbw_password FROM dbw_users", nullptr, "unexpected text"},
        {"dbw_users.dbw_password='x'", nullptr, "unknown column dbw_users"},
        {"lang::text='cz'", nullptr, "unexpected character ':'"},
        {"lang='cz'; DELETE FROM songs", nullptr, "unexpected character ';'"},
        {"lang='cz' -- x", nullptr, "unexpected character '-'"},
        {"lang='cz' /* x */", nullptr, "unexpected character '/'"},
        {"lang=E'\\'' OR 1=1", nullptr, "unknown column E"},
        {"lang=$$x$$", nullptr, "unexpected character '$'"},
        {"lang=U&'x'", nullptr, "unknown column U"},
        {"lang=\"lang\"", nullptr, "unexpected character '\"'"},
        {"lang='cz", nullptr, "unterminated quote"},
        {"(lang='cz'", nullptr, "')' expected"},
        {"lang", nullptr, "a comparison, LIKE, IN or IS expected"},
        {"id=1e5", nullptr, "malformed number"},
        {"lang='č' \x9a", nullptr, "unexpected byte 0x9A"},
        {"NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT "
         "NOT NOT NOT NOT NOT NOT NOT lang='cz'",
         nullptr, "nested too deeply"},
    };
    for (const auto& r : rows) {
        dbwSyncCondition condition;
        btkstring reason;
        bool ok = dbwParseSyncCondition(r.text, columns, quoted, condition, reason);
        if (!r.sql) {
            EXPECT_FALSE(ok) << r.text;
            EXPECT_NE(nullptr, std::strstr(reason, r.values)) << r.text << " -> " << reason.c_str();
            EXPECT_EQ(btkstring(), condition.sql) << r.text;
            continue;
        }
        ASSERT_TRUE(ok) << r.text << " -> " << reason.c_str();
        EXPECT_EQ(btkstring(r.sql), condition.sql) << r.text;
        EXPECT_EQ(btkstring(r.values), btkJoin(condition.values, '|')) << r.text;
    }
}

// An engine without parameters gets the values as escaped literals; marks
// inside quoted texts and marks without a value stay as written.
TEST(DbwSync, ParametersOfAnEngineWithoutThemBecomeEscapedLiterals) {
    FakeConnection connection;
    btkStrings values;
    values.add("it's");
    values.add("5");
    EXPECT_EQ(nullptr, connection.queryParams("SELECT \"$1\" FROM t WHERE a=$1 AND b<>'$2' AND c IN ($2,$3)", values));
    ASSERT_EQ(1u, connection.statements.size());
    EXPECT_EQ("SELECT \"$1\" FROM t WHERE a='it''s' AND b<>'$2' AND c IN ('5',$3)", connection.statements[0]);
}
