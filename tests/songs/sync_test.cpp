// The song database's faces for the synchronisation engine: the song
// class, the song table, the local database's log, and the proposals.
#include <gtest/gtest.h>

#include <string>

#include "foundation/btkfile.h"
#include "modelenv.h"
#include "songs/dailylog.h"
#include "songs/kxsong.h"
#include "songs/songclass.h"
#include "songs/syncrecord.h"
#include "tests/foundation/io_test_support.h"

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
    const struct {
        int field;
        const char* text;
    } texts[] = {
        {23, "77"}, {27, "Název"}, {29, "G"}, {31, "A"}, {33, "R"}, {35, "[C]text"}, {184, "sk"}, {25, ""},
    };
    for (const auto& t : texts) EXPECT_STREQ(c.fieldText(o, t.field), t.text) << t.field;

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
    // What the song is proposed for: N new, D delete, C changed.
    auto proposed = [s] {
        return std::string(SongIsNewForNet(*s) ? "N" : "") + (SongIsNetDelete(*s) ? "D" : "") +
               (SongIsNetChanged(*s) ? "C" : "");
    };
    s->title = "Nazev?";
    s->group = "Rock";
    s->text = "[C]la";
    EXPECT_EQ(proposed(), "");
    s->title = "Píseň";
    EXPECT_EQ(proposed(), "N");
    s->group = "Skupina?";
    EXPECT_EQ(proposed(), "");
    s->group = "Rock";
    s->text = "";
    EXPECT_EQ(proposed(), "");
    s->text = "x";
    s->special = "netdelete";
    EXPECT_EQ(proposed(), "");  // no internet id: proposed for nothing
    s->netid = 4;
    EXPECT_EQ(proposed(), "D");
    s->special = "";
    s->netmodified = true;
    EXPECT_EQ(proposed(), "C");
    s->nonet = true;
    EXPECT_EQ(proposed(), "");
    s->special = "netdelete";
    EXPECT_EQ(proposed(), "");
    s->netid = 0;
    s->special = "";
    EXPECT_EQ(proposed(), "");
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
    TempDir dir;
    setProgramDir(dir.path().c_str());
    btkMakeDir(dir.path("data").c_str());
    KxDatabase* db = new KxDatabase(dir.path("Moje.xgz").c_str());
    space->addView(db);
    dbwLocalDb* local = db;
    void* handle = local->openLog();
    EXPECT_EQ(handle, nullptr);
    local->writeLog(handle, "prvni");
    local->writeLog(handle, "druhy");
    local->closeLog(handle);
    LogClose();
    std::string text = readBytes(LogFileName().c_str());
    ASSERT_EQ(text.rfind("\r\n##BEGIN##[inetsyn]{", 0), 0u) << text;
    std::string tail = "}(Synchronizace)\r\n##DBFILE##[Moje]\r\nprvni\r\ndruhy\r\n##END##[inetsyn]\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

// A record is read whole or not at all: a number that does not fit, a
// word too many or too few is damage, never a different number.
TEST(SyncRecordFile, ReadWholeOrRefused) {
    const std::string v2 = "kx6 sync record 2\ndatabase 00ff00ff00ff00ff\nserver kx6\n";
    const std::string v1 = "kx6 sync record 1\n";
    const std::string run = "version 5\nuser 3\n";
    const std::string rows = "new 7 21 0123456789abcdef\nchanged 2 9 fedcba9876543210\ndeleted 4 11\n";
    const struct {
        std::string text;
        bool read;
    } cases[] = {
        {v2 + run + rows + "end\n", true},
        {v1 + run + rows + "end\n", true},  // written before records named their file
        {"kx6 sync record 2\ndatabase -\nserver -\n" + run + "end\n", true},
        {v2 + run + rows, false},
        {v2 + "version 4294967301\nuser 3\n" + rows + "end\n", false},
        {v2 + "version 5\nuser 3 4\n" + rows + "end\n", false},
        {v2 + run + "new 7 4294967317 0123456789abcdef\nend\n", false},
        {v2 + run + "deleted 4 11 0123456789abcdef\nend\n", false},
        {v2 + run + "changed 2 9 fedcba9876543210 x\nend\n", false},
        {v2 + run + "changed 2 9 fedcba98765432\nend\n", false},
        {v2 + run + "new  7 21 0123456789abcdef\nend\n", false},
        {v2 + run + "new 7 -21 0123456789abcdef\nend\n", false},
        {"kx6 sync record 2\ndatabase 00ff00ff00ff00ff\nserver Zpěvník 2\n" + run + "end\n", true},
        {"kx6 sync record 2\ndatabase\nserver kx6\n" + run + "end\n", false},
        {"kx6 sync record 3\n" + run + "end\n", false},
    };
    TempDir dir;
    const std::string path = dir.path("zpevnik.xml.sync");
    for (const auto& c : cases) {
        writeBytes(path.c_str(), c.text);
        SyncRecord record;
        EXPECT_EQ(c.read, ReadSyncRecord(path.c_str(), record)) << c.text;
        if (c.read && c.text.find("\nnew 7") != std::string::npos) {
            ASSERT_EQ(3, record.rows.count());
            EXPECT_EQ(21, record.rows[0].netid);
            EXPECT_EQ(0xfedcba9876543210u, record.rows[1].fingerprint);
            EXPECT_EQ(11, record.rows[2].netid);
            EXPECT_EQ(5, record.version);
        }
    }
}

// A record waits while its database file cannot be read: without the file
// nothing tells whether the record belongs to it.
TEST_F(SongSync, ARecordOfAnUnreadableFileStays) {
    TempDir dir;
    const std::string file = dir.path("zpevnik.xml");
    writeBytes(file, "<melodar_data><database syncid=\"00ff00ff00ff00ff\">");
    const std::string record = "kx6 sync record 2\ndatabase 00ff00ff00ff00ff\nserver -\nversion 5\nuser 3\nend\n";
    writeBytes(file + ".sync", record);
    KxDatabase* db = new KxDatabase(file.c_str());
    space->addView(db);
    SyncSettled settled;
    EXPECT_FALSE(SettleSyncRecord(db, nullptr, settled));
    EXPECT_EQ(record, readBytes(file + ".sync"));
}

}  // namespace
