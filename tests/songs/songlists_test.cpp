// Song lists of windows: the database folder scan, the sorted list, the
// groups and the plain list tool, and that none of them keeps a deleted
// song.
#include "songs/songlists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/btkfile.h"
#include "modelenv.h"
#include "tests/foundation/io_test_support.h"

namespace {

using SongLists = ModelTest;

KxSong* addSong(KxDatabase* db, const char* title, const char* group) {
    KxSong* song = db->addNewSong();
    song->title = title;
    song->group = group;
    song->locid = db->nextLocalId();
    return song;
}

struct CountingCompare : SongCompare {
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override {
        ++calls;
        return gTitleCompare.compare(a, b);
    }
    mutable int calls = 0;
};

TEST_F(SongLists, FolderScanPlainFilesFirstNothingLoaded) {
    TempDir dir;
    for (const char* name : {"b.xml", "a.xgz", "a.xml", "C.XML", "notes.txt"}) writeBytes(dir.path(name), "");
    btkMakeDir(dir.path("sub.xml").c_str());
    space->loadDatabaseFolder(dir.path().c_str());
    btkCntVec<KxDatabase*> dbs;
    space->getDatabases(dbs);
    std::vector<std::string> names;
    for (KxDatabase* db : dbs) {
        names.push_back(btkFile(db->getFileName()).fileName().c_str());
        EXPECT_FALSE(db->isLoaded());
        EXPECT_TRUE(db->inDbFolder);
    }
    // Plain files first, each kind sorted by byte value.
    EXPECT_EQ(names, (std::vector<std::string>{"C.XML", "a.xml", "b.xml", "a.xgz"}));
}

TEST_F(SongLists, SortedListFollowsComparatorAndDropsDeletedSongs) {
    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    KxSong *c = addSong(db, "Cesta", "g"), *h = addSong(db, "Hora", "g"), *ch = addSong(db, "Chata", "g");
    SortedSongList list;
    CountingCompare counting;
    list.setCompare(&counting);
    list.fill(db);
    EXPECT_EQ(items(list.songs), (std::vector<KxSong*>{c, h, ch}));
    int calls = counting.calls;
    list.setCompare(&counting);  // the same comparator: no new sort
    EXPECT_EQ(counting.calls, calls);
    list.setCompare(&gLOCIDCompare);
    EXPECT_EQ(list.songs[2], ch);

    h->release();
    pass();
    EXPECT_EQ(items(list.songs), (std::vector<KxSong*>{c, ch}));

    list.fill(nullptr);
    EXPECT_EQ(list.songs.count(), 0);
}

TEST_F(SongLists, GroupsByExactNameAndForgetDeletedSongs) {
    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    KxSong *b = addSong(db, "B", "Pop"), *a = addSong(db, "A", "pop"), *c = addSong(db, "C", "Pop");
    addSong(db, "D", "Folk");
    SongGroupList groups;
    groups.setView(db);
    ASSERT_EQ(groups.groups.count(), 3);
    EXPECT_EQ(groups.groups[0]->name, "Folk");
    EXPECT_EQ(groups.groups[1]->name, "pop");  // lower case first in the Czech order
    EXPECT_EQ(groups.groups[2]->name, "Pop");
    EXPECT_EQ(items(groups.groups[2]->songs), (std::vector<KxSong*>{b, c}));
    EXPECT_EQ(items(groups.groups[1]->songs), (std::vector<KxSong*>{a}));

    SongListTool tool;
    tool.songs.add(c);
    tool.songs.add(b);
    b->release();
    pass();
    EXPECT_EQ(items(groups.groups[2]->songs), (std::vector<KxSong*>{c}));
    EXPECT_EQ(items(tool.songs), (std::vector<KxSong*>{c}));

    groups.setView(nullptr);
    EXPECT_EQ(groups.groups.count(), 0);
}

}  // namespace
