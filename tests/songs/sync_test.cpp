// The song database's faces for the synchronisation engine: the song
// class, the song table, the local database's log, and the proposals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "foundation/btkfile.h"
#include "modelenv.h"
#include "songs/dailylog.h"
#include "songs/kxsong.h"
#include "songs/songclass.h"

namespace {

using SongSync = ModelTest;

TEST_F(SongSync, SongClassFieldsAsText) {
    SongClass& c = SongClass::instance();
    EXPECT_EQ(c.classId(), 1);
    ASSERT_EQ(c.fieldCount(), 7);
    const int ids[7] = {23, 27, 31, 29, 33, 35, 184};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(c.fieldId(i), ids[i]);

    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    KxSong* s = db->addNewSong();
    dbwSynObject* o = s;
    EXPECT_EQ(o->synClass(), &c);
    s->netid = 77;
    s->title = "  Název\n";
    s->group = "G";
    s->author = "A";
    s->remark = "R";
    s->text = "\n[C]text\n";
    s->lang = "sk";
    EXPECT_STREQ(c.fieldText(o, 23), "77");
    EXPECT_STREQ(c.fieldText(o, 27), "Název");
    EXPECT_STREQ(c.fieldText(o, 29), "G");
    EXPECT_STREQ(c.fieldText(o, 31), "A");
    EXPECT_STREQ(c.fieldText(o, 33), "R");
    EXPECT_STREQ(c.fieldText(o, 35), "[C]text");
    EXPECT_STREQ(c.fieldText(o, 184), "sk");
    EXPECT_STREQ(c.fieldText(o, 25), "");

    c.setField(o, 23, "12abc");
    EXPECT_EQ(s->netid, 12);
    c.setField(o, 27, "  s mezerami");
    EXPECT_STREQ(s->title, "  s mezerami");
    c.setField(o, 25, "nic");
    c.setField(o, 35, "novy text");
    EXPECT_STREQ(s->text, "novy text");
    EXPECT_FALSE(s->modified);  // the engine decides about marks
    EXPECT_FALSE(db->isChanged());
}

TEST_F(SongSync, Proposals) {
    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    KxSong* s = db->addNewSong();
    s->title = "Nazev?";
    s->group = "Rock";
    s->text = "[C]la";
    EXPECT_FALSE(SongIsNewForNet(*s));
    s->title = "Píseň";
    EXPECT_TRUE(SongIsNewForNet(*s));
    s->group = "Skupina?";
    EXPECT_FALSE(SongIsNewForNet(*s));
    s->group = "Rock";
    s->text = "";
    EXPECT_FALSE(SongIsNewForNet(*s));
    s->text = "x";
    s->special = "netdelete";
    EXPECT_FALSE(SongIsNewForNet(*s));
    EXPECT_FALSE(SongIsNetDelete(*s));  // no internet id: proposed for nothing
    s->netid = 4;
    EXPECT_TRUE(SongIsNetDelete(*s));
    EXPECT_FALSE(SongIsNetChanged(*s));
    s->special = "";
    s->netmodified = true;
    EXPECT_TRUE(SongIsNetChanged(*s));
    s->nonet = true;
    EXPECT_FALSE(SongIsNetChanged(*s));
    s->special = "netdelete";
    EXPECT_FALSE(SongIsNetDelete(*s));
    s->netid = 0;
    s->special = "";
    EXPECT_FALSE(SongIsNewForNet(*s));
}

TEST_F(SongSync, SongTable) {
    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    KxSong* a = db->addNewSong();
    btkCntVec<dbwSynTable*> tables;
    db->getTables(tables);
    ASSERT_EQ(tables.count(), 1);
    dbwSynTable* t = tables[0];
    EXPECT_EQ(t->tableId(), 1);
    EXPECT_EQ(t->synClass(), &SongClass::instance());
    db->highestLocid = 41;
    EXPECT_EQ(t->nextLocalId(), 42);
    EXPECT_EQ(t->nextLocalId(), 43);
    dbwSynObject* made = t->newObject();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<KxSong*>(made)->database, db);
    btkCntVec<dbwSynObject*> objects;
    t->getObjects(objects);
    ASSERT_EQ(objects.count(), 2);
    EXPECT_EQ(objects[0], static_cast<dbwSynObject*>(a));
    t->deleteObject(objects[0]);
    ASSERT_EQ(db->songs.count(), 1);  // out at once: a save right after the run must not keep it
    pass();
    ASSERT_EQ(db->songs.count(), 1);
    EXPECT_EQ(db->songs[0], made);
    EXPECT_STREQ(db->encoding(), "CP1250");
}

TEST_F(SongSync, RunLogGoesToTheDailyLog) {
    char tmpl[] = "/tmp/kx6synlogXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    setProgramDir(dir.c_str());
    btkMakeDir((dir + "/data").c_str());
    KxDatabase* db = new KxDatabase((dir + "/Moje.xgz").c_str());
    space->addView(db);
    dbwLocalDb* local = db;
    void* handle = local->openLog();
    EXPECT_EQ(handle, nullptr);
    local->writeLog(handle, "prvni");
    local->writeLog(handle, "druhy");
    local->closeLog(handle);
    LogClose();
    std::ifstream in(LogFileName().c_str(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(text.rfind("\r\n##BEGIN##[inetsyn]{", 0), 0u) << text;
    std::string tail = "}(Synchronizace)\r\n##DBFILE##[Moje]\r\nprvni\r\ndruhy\r\n##END##[inetsyn]\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    std::string cmd = "rm -rf '" + dir + "'";
    (void)std::system(cmd.c_str());
}

}  // namespace
