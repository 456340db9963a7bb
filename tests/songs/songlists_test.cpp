// Song lists of windows: the database folder scan, the sorted list, the
// groups and the plain list tool, and that none of them keeps a deleted
// song.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/btkfile.h"
#include "modelenv.h"
#include "songs/songlists.h"

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
    char pattern[] = "/tmp/kx6dbXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    btkFile dir(pattern);
    for (const char* name : {"b.xml", "a.xgz", "a.xml", "C.XML", "notes.txt"}) {
        FILE* f = std::fopen(dir.join(name), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    btkMakeDir(dir.join("sub.xml"));
    space->loadDatabaseFolder(dir);
    btkCntVec<KxDatabase*> dbs;
    space->getDatabases(dbs);
    ASSERT_EQ(dbs.count(), 4);
    EXPECT_EQ(btkFile(dbs[0]->getFileName()).fileName(), "C.XML");  // sorted by byte value
    EXPECT_EQ(btkFile(dbs[1]->getFileName()).fileName(), "a.xml");
    EXPECT_EQ(btkFile(dbs[2]->getFileName()).fileName(), "b.xml");
    EXPECT_EQ(btkFile(dbs[3]->getFileName()).fileName(), "a.xgz");
    for (KxDatabase* db : dbs) {
        EXPECT_FALSE(db->isLoaded());
        EXPECT_TRUE(db->inDbFolder);
    }
    std::system(("rm -rf " + std::string(pattern)).c_str());
}

TEST_F(SongLists, SortedListFollowsComparatorAndDropsDeletedSongs) {
    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    KxSong* c = addSong(db, "Cesta", "g");
    KxSong* h = addSong(db, "Hora", "g");
    KxSong* ch = addSong(db, "Chata", "g");
    SortedSongList list;
    CountingCompare counting;
    list.setCompare(&counting);
    list.fill(db);
    ASSERT_EQ(list.songs.count(), 3);
    EXPECT_EQ(list.songs[0], c);
    EXPECT_EQ(list.songs[1], h);
    EXPECT_EQ(list.songs[2], ch);
    int calls = counting.calls;
    list.setCompare(&counting);  // the same comparator: no new sort
    EXPECT_EQ(counting.calls, calls);
    list.setCompare(&gLOCIDCompare);
    EXPECT_EQ(list.songs[2], ch);

    h->release();
    pass();
    ASSERT_EQ(list.songs.count(), 2);
    EXPECT_EQ(list.songs[0], c);
    EXPECT_EQ(list.songs[1], ch);

    list.fill(nullptr);
    EXPECT_EQ(list.songs.count(), 0);
}

TEST_F(SongLists, GroupsByExactNameAndForgetDeletedSongs) {
    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    KxSong* b = addSong(db, "B", "Pop");
    KxSong* a = addSong(db, "A", "pop");
    KxSong* c = addSong(db, "C", "Pop");
    addSong(db, "D", "Folk");
    SongGroupList groups;
    groups.setView(db);
    ASSERT_EQ(groups.groups.count(), 3);
    EXPECT_EQ(groups.groups[0]->name, "Folk");
    EXPECT_EQ(groups.groups[1]->name, "pop");  // lower case first in the Czech order
    EXPECT_EQ(groups.groups[2]->name, "Pop");
    ASSERT_EQ(groups.groups[2]->songs.count(), 2);
    EXPECT_EQ(groups.groups[2]->songs[0], b);
    EXPECT_EQ(groups.groups[2]->songs[1], c);
    EXPECT_EQ(groups.groups[1]->songs[0], a);

    SongListTool tool;
    tool.songs.add(c);
    tool.songs.add(b);
    b->release();
    pass();
    ASSERT_EQ(groups.groups[2]->songs.count(), 1);
    EXPECT_EQ(groups.groups[2]->songs[0], c);
    ASSERT_EQ(tool.songs.count(), 1);
    EXPECT_EQ(tool.songs[0], c);

    groups.setView(nullptr);
    EXPECT_EQ(groups.groups.count(), 0);
}

}  // namespace
