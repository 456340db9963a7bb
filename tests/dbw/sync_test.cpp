// The defaults of the synchronisation interfaces, and the reading of a
// download condition.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

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
    btkCntVec<int> types;
    for (const auto& [name, type] : {std::pair{"id", 2}, {"title", 4}, {"lang", 4}, {"votes", 6}, {"rating", 11}}) {
        columns.add(name);
        quoted.add(btkFormat("\"%s\"", name));
        types.add(type);
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
        {"NOT (Id >= -5 AND id<>2.0) Or title is not null",
         "((NOT (((\"id\">=CAST($1 AS INTEGER) AND \"id\"<>CAST($2 AS INTEGER)))) OR \"title\" IS NOT NULL))", "-5|2|"},
        // Chains are flat, AND binding tighter than OR.
        {"lang='a' or lang='b' or lang='c' and title='d' and not lang='e' or lang='f'",
         "((\"lang\"=$1 OR \"lang\"=$2 OR (\"lang\"=$3 AND \"title\"=$4 AND NOT (\"lang\"=$5)) OR \"lang\"=$6))",
         "a|b|c|d|e|f|"},
        // Numbers take the type of their column, texts are left to the server.
        {"9 < id and id in (007, '8', -0.00) and votes >= -32768 and rating > 2.50",
         "((CAST($1 AS INTEGER)<\"id\" AND \"id\" IN (CAST($2 AS INTEGER),$3,CAST($4 AS INTEGER)) AND "
         "\"votes\">=CAST($5 AS INTEGER) AND \"rating\">CAST($6 AS NUMERIC)))",
         "9|7|8|0|-32768|2.50|"},
        {"id = 1.0", "(\"id\"=CAST($1 AS INTEGER))", "1|"},
        {"id IN (1, 2.5)", nullptr, "2.5 is not a whole number for the column id at offset 10"},
        {"id > 99999999999", nullptr, "99999999999 does not fit the column id at offset 5"},
        {"id > -2147483649", nullptr, "-2147483649 does not fit the column id"},
        {"votes = 32768", nullptr, "32768 does not fit the column votes"},
        {"title = 5", nullptr, "a number compared with the column title, which holds no numbers at offset 8"},
        {"title LIKE 5", nullptr, "a number in LIKE at offset 11"},
        {"10 > 9", nullptr, "a comparison of two literals at offset 0"},
        {"lang='cz' OR 'a' LIKE 'b'", nullptr, "a comparison of two literals at offset 13"},
        {"5 NOT IN (5)", nullptr, "a comparison of two literals at offset 0"},
        {"'x' IS NULL", nullptr, "a literal tested for NULL at offset 0"},
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
        bool ok =
            dbwParseSyncCondition(r.text, columns, quoted, types, condition, reason) == dbwSyncConditionRead::Read;
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

// A chain is read in one pass and written flat up to the size limit, and
// refused as too large beyond it.
TEST(DbwSync, LongConditionsAreWrittenFlatUpToTheSizeLimit) {
    btkStrings columns, quoted;
    btkCntVec<int> types;
    columns.add("id");
    quoted.add("\"id\"");
    types.add(1);
    auto ors = [](int terms) {
        std::string text = "id=1";
        for (int i = 2; i <= terms; ++i) text += " OR id=" + std::to_string(i);
        return text;
    };
    dbwSyncCondition condition;
    btkstring reason;
    ASSERT_EQ(dbwSyncConditionRead::Read,
              dbwParseSyncCondition(ors(dbwSyncConditionMaxTerms).c_str(), columns, quoted, types, condition, reason))
        << reason.c_str();
    std::string flat = "((\"id\"=CAST($1 AS INTEGER)";
    for (int i = 2; i <= dbwSyncConditionMaxTerms; ++i)
        flat += " OR \"id\"=CAST($" + std::to_string(i) + " AS INTEGER)";
    EXPECT_EQ(flat + "))", condition.sql.c_str());
    EXPECT_EQ(btkIntToStr(dbwSyncConditionMaxTerms), condition.values[dbwSyncConditionMaxTerms - 1]);

    std::string in = "id IN (1";  // a test and its values count alike
    for (int i = 1; i < dbwSyncConditionMaxTerms; ++i) in += ",1";
    for (const std::string& text : {ors(dbwSyncConditionMaxTerms + 1), ors(20000), ors(80000), in + ")",
                                    std::string(dbwSyncConditionMaxLength, ' ') + "id=1"}) {
        EXPECT_EQ(dbwSyncConditionRead::TooLarge,
                  dbwParseSyncCondition(text.c_str(), columns, quoted, types, condition, reason))
            << text.substr(0, 40);
        EXPECT_EQ(btkstring(), condition.sql);
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
