// Songs, databases, custom views, the song stack and the root: marks,
// change bits, local ids, lookups, and that nothing keeps or leaks a
// released object.
#include <gtest/gtest.h>

#include <vector>

#include "modelenv.h"
#include "songs/kxsong.h"

namespace {

using SongModel = ModelTest;

KxDatabase* newDatabase(KxSpace* space, const char* file = "") {
    KxDatabase* db = new KxDatabase(file);
    space->addView(db);
    return db;
}

struct ChangeBitsSpy : KxHandler {
    ~ChangeBitsSpy() = default;
    void objectChanged(KxObject* o) override {
        if (KxSong* s = o->asSong()) bits.push_back(s->changeBits);
    }
    std::vector<int> bits;
};

TEST_F(SongModel, SetModifiedMarksDatabaseSongAndInternetOnlyWithNetid) {
    KxDatabase* db = newDatabase(space);
    KxSong* s = db->addNewSong();
    EXPECT_EQ(s->database, db);
    EXPECT_EQ(s->getParent(), db);
    s->setModified(true);
    EXPECT_TRUE(db->isChanged());
    EXPECT_TRUE(s->modified);
    EXPECT_FALSE(s->netmodified);  // no internet id
    s->netid = 5;
    s->setModified(false);
    EXPECT_FALSE(s->netmodified);
    s->setModified(true);
    EXPECT_TRUE(s->netmodified);
    // The synchronisation engine's change call is the same operation.
    s->netmodified = false;
    static_cast<dbwSynObject*>(s)->changed(true);
    EXPECT_TRUE(s->netmodified);

    KxCustomView* view = new KxCustomView;
    space->addView(view);
    KxSong* loose = view->addNewSong();
    EXPECT_EQ(loose->database, nullptr);
    EXPECT_EQ(loose->getParent(), view);
    loose->setModified(true);
    EXPECT_TRUE(loose->modified);
}

TEST_F(SongModel, StackMembershipAndChangeBits) {
    KxDatabase* db = newDatabase(space);
    KxSong *a = db->addNewSong(), *b = db->addNewSong();
    ChangeBitsSpy spy;
    a->putOnStack();
    a->putOnStack();
    b->toggleStack();
    ASSERT_EQ(space->getStack()->songs.count(), 2);
    EXPECT_EQ(space->getStack()->songs[0], a);
    EXPECT_TRUE(a->isOnStack());
    pass();
    EXPECT_EQ(spy.bits, (std::vector<int>{KX_STACK_CHANGED, KX_STACK_CHANGED}));
    EXPECT_EQ(a->changeBits, 0);
    a->toggleStack();
    EXPECT_FALSE(a->isOnStack());
    EXPECT_EQ(space->getStack()->songs.count(), 1);
    a->changed();
    EXPECT_EQ(a->changeBits, ~0);
    pass();
    EXPECT_EQ(a->changeBits, 0);
    // A released song leaves the stack before it is deleted.
    b->release();
    pass();
    EXPECT_EQ(space->getStack()->songs.count(), 0);
    EXPECT_EQ(db->songs.count(), 1);
}

TEST_F(SongModel, TextsSearchAndDisplay) {
    KxDatabase* db = newDatabase(space);
    KxSong* s = db->addNewSong();
    s->title = "Píseň";
    s->remark = "Poznámka o koních";
    s->text = "[Ami]Žluťoučký [C/E]kůň";
    EXPECT_TRUE(s->containsText("KONICH") && s->containsText("zlutoucky kun"));
    EXPECT_FALSE(s->containsText("pes"));
    EXPECT_EQ(std::string(s->displayText()), s->text.c_str());
    s->transposition = 2;
    EXPECT_STREQ(s->displayText(), "[Hmi]Žluťoučký [D/F#]kůň");
    EXPECT_STREQ(s->text, "[Ami]Žluťoučký [C/E]kůň");

    s->locid = 7;
    s->netid = 12;
    s->group = "Skupina";
    EXPECT_EQ(std::string(s->syncLogLine()), std::string("    7 (netid=   12)# ") + std::string(25, ' ') + "Píseň" +
                                                 " " + std::string(23, ' ') + "Skupina");
    EXPECT_STREQ(static_cast<dbwSynObject*>(s)->description(), s->syncLogLine());

    KxSong* copy = db->addSongCopy(*s);
    EXPECT_STREQ(copy->title, "Píseň");
    EXPECT_EQ(copy->transposition, 2);
    EXPECT_EQ(copy->netid, 0);
    EXPECT_EQ(copy->locid, 1);

    // The read interface of the query and export code answers from the fields.
    s->vars.set("klic", "hodnota");
    const AbstractSongData& d = *s;
    EXPECT_STREQ(d.getTitle(), "Píseň");
    EXPECT_STREQ(d.getVar("klic"), "hodnota");
    EXPECT_STREQ(d.getVar("jiny"), "");
    EXPECT_FALSE(d.isFlagged());
}

TEST_F(SongModel, DeletedSongLeavesItsDatabaseAndMarksIt) {
    KxDatabase* db = newDatabase(space);
    KxSong *a = db->addNewSong(), *b = db->addNewSong(), *c = db->addNewSong();
    b->release();
    pass();
    EXPECT_EQ(std::vector<KxSong*>(db->songs.begin(), db->songs.end()), (std::vector<KxSong*>{a, c}));
    EXPECT_TRUE(db->isChanged());
    EXPECT_EQ(system->pendingCount(), 1);  // the database posted its change
    EXPECT_EQ(system->pending(0).object, static_cast<KxObject*>(db));
}

TEST_F(SongModel, LocalIdsAreNeverGivenTwice) {
    KxDatabase* db = newDatabase(space);
    EXPECT_EQ(db->nextLocalId(), 1);
    KxSong* s = db->addNewSong();
    s->setLocid(40);  // written by hand above the highest
    EXPECT_EQ(db->highestLocid, 40);
    EXPECT_EQ(db->nextLocalId(), 41);
    s->setLocid(3);
    EXPECT_EQ(db->highestLocid, 41);
    EXPECT_EQ(db->songTable.nextLocalId(), 42);
    EXPECT_EQ(db->findSongByLocid(3), s);
    EXPECT_EQ(db->findSongByLocid(40), nullptr);
}

TEST_F(SongModel, DatabaseNamesAndViewLookup) {
    KxDatabase* db = newDatabase(space, "/x/db/Songs.xgz");
    EXPECT_STREQ(db->name(), "Songs");
    EXPECT_STREQ(db->caption(), "Songs.xgz");
    db->setChanged();
    EXPECT_STREQ(db->caption(), "Songs.xgz*");
    KxCustomView *v1 = new KxCustomView, *v2 = new KxCustomView;
    space->addView(v1);
    space->addView(v2);
    int n = std::atoi(v1->name().c_str() + 3);
    EXPECT_STREQ(v2->name(), btkFormat("VDB%d", n + 1));
    EXPECT_STREQ(v1->caption(), v1->name());
    EXPECT_EQ(space->findView("songs"), db);
    EXPECT_EQ(space->findView("SONGS.XGZ"), db);
    EXPECT_EQ(space->findView(v2->name()), v2);
    EXPECT_EQ(space->findView("Song"), nullptr);
    btkCntVec<KxDatabase*> dbs;
    space->getDatabases(dbs);
    ASSERT_EQ(dbs.count(), 1);
    EXPECT_EQ(space->viewCount(), 3);
    EXPECT_EQ(space->GetView(1), v1);
    EXPECT_EQ(db->asView(), db);
    EXPECT_EQ(v1->asDatabase(), nullptr);
    EXPECT_EQ(space->asView(), nullptr);
    // A view with no file counts as loaded and is empty.
    KxDatabase* fresh = newDatabase(space);
    EXPECT_TRUE(fresh->isLoaded());
    EXPECT_STREQ(fresh->customColumns(), "");
}

TEST_F(SongModel, CustomViewsFollowRemovedSongs) {
    KxDatabase* db = newDatabase(space);
    KxSong *a = db->addNewSong(), *b = db->addNewSong();
    btkCntVec<KxSong*> list;
    list.add(a);
    KxCustomView* view = new KxCustomView(list);
    space->addView(view);
    view->customCols.add("A");
    view->customCols.add("B");
    EXPECT_STREQ(view->customColumns(), "A;B;");
    pass();
    // A song the view does not hold still makes it post a change.
    b->release();
    pass();
    EXPECT_EQ(system->pendingCount(), 2);
    pass();
    a->release();
    pass();
    EXPECT_EQ(view->songs.count(), 0);
    pass();
    view->setSongs(btkCntVec<KxSong*>());
    EXPECT_EQ(system->pendingCount(), 1);
}

TEST_F(SongModel, ReleasedViewsTakeTheirOwnSongsAlong) {
    KxDatabase* db = newDatabase(space);
    KxSong* a = db->addNewSong();
    db->addNewSong()->putOnStack();
    btkCntVec<KxSong*> list;
    list.add(a);
    KxCustomView* view = new KxCustomView(list);
    space->addView(view);
    view->addNewSong();
    view->release();
    pass();
    // The database's song stays; the view's own song went with it.
    EXPECT_EQ(space->viewCount(), 1);
    EXPECT_EQ(db->songs.count(), 2);
    db->release();
    pass();
    EXPECT_EQ(space->viewCount(), 0);
    EXPECT_EQ(space->getStack()->songs.count(), 0);
    // Everything else is deleted by the final pass; the sanitizer checks
    // that nothing leaked or was touched after deletion.
}

}  // namespace
