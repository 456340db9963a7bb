// The defaults of the synchronisation interfaces.
#include <gtest/gtest.h>

#include "dbw/dbwdbdef.h"
#include "dbw/dbwsync.h"
#include "def_builders.h"

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
