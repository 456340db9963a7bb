// Synchronisation between two local databases: candidates by internet id,
// what is compared and copied, what the run does to the target, the report.
#include "songs/internalsync.h"

#include <gtest/gtest.h>

#include "modelenv.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"

namespace {

class InternalSync : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        source = new KxDatabase("/nonexistent/zdroj.xml");
        space->addView(source);
        source->ensureLoaded();  // a missing file: an empty database
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = true;
        target = new KxDatabase("");
        space->addView(target);
        plan.source = source;
        plan.target = target;
    }
    KxSong* add(KxDatabase* db, int netid, const char* title, const char* text = "text") {
        KxSong* song = db->addNewSong();
        song->locid = db->nextLocalId();
        song->netid = netid;
        song->title = title;
        song->group = "Skupina";
        song->text = text;
        return song;
    }
    static btkstring line(const KxSong* song) {
        return btkFormat("%5d # %30s %30s\n", song->locid, song->title.c_str(), song->group.c_str());
    }
    KxDatabase* source = nullptr;
    KxDatabase* target = nullptr;
    InternalSyncPlan plan;
};

TEST_F(InternalSync, EqualDatabasesGiveEmptyListsAndSections) {
    add(source, 1, "A");
    add(target, 1, "A")->lang = "en";  // the language is not compared
    KxSong* s = add(source, 2, "B");
    s->vars.set("Rok", "1999");  // nor are user columns
    add(target, 2, "B");
    PrepareInternalSync(plan);
    EXPECT_EQ(plan.newCandidates.count() + plan.deleteCandidates.count() + plan.changedCandidates.count(), 0);
    EXPECT_EQ(plan.sourceSongs.count(), 2);
    EXPECT_EQ(RunInternalSync(plan), "Zdrojová databáze:zdroj\nPřidané písně:\nUpravené písně:\nSmazané písně:\n");
    EXPECT_FALSE(target->isChanged());
}

TEST_F(InternalSync, AddsChangesAndDeletes) {
    KxSong* fresh = add(source, 30, "Nová píseň s velmi dlouhým názvem přes třicet znaků");
    KxSong* edited = add(source, 5, "Změněná", "new text");
    KxSong* same = add(source, 6, "Stejná");
    same->author = "x";
    add(target, 99, "Navíc");  // locid 1
    KxSong* old = add(target, 5, "Změněná", "old text");
    old->lang = "sk";
    add(target, 6, "Stejná")->author = "x";
    target->setChanged();
    PrepareInternalSync(plan);
    using Songs = std::vector<KxSong*>;
    EXPECT_EQ(items(plan.newCandidates), Songs{fresh});
    ASSERT_EQ(plan.deleteCandidates.count(), 1);
    EXPECT_EQ(items(plan.changedCandidates), Songs{edited});
    EXPECT_EQ(items(plan.changedTargets), Songs{old});
    EXPECT_EQ(plan.newSongs.count(), 1);  // every candidate chosen
    KxSong* gone = plan.deleteCandidates[0];
    btkstring goneLine = line(gone);

    btkstring report = RunInternalSync(plan);
    pass();
    ASSERT_EQ(target->songs.count(), 3);
    KxSong* added = target->songs[2];
    EXPECT_EQ(added->netid, 30);
    EXPECT_EQ(added->locid, 4);  // after the target's highest local id 3
    EXPECT_EQ(added->title, fresh->title);
    EXPECT_FALSE(added->netmodified);  // had no internet id when copied
    EXPECT_TRUE(added->modified);
    EXPECT_EQ(old->text, "new text");
    EXPECT_EQ(old->lang, "sk");
    EXPECT_TRUE(old->netmodified);
    EXPECT_EQ(target->findSongByLocid(1), nullptr);
    EXPECT_EQ(report, btkstring("Zdrojová databáze:zdroj\nPřidané písně:\n") + line(added) + "Upravené písně:\n" +
                          line(old) + "Smazané písně:\n" + goneLine);
    // The long title stands whole.
    EXPECT_NE(std::string(report.c_str()).find(fresh->title.c_str()), std::string::npos);
}

TEST_F(InternalSync, SongsWithoutInternetIdAreLeftAloneAndCounted) {
    add(source, 0, "Jen místní");
    add(source, 4, "Společná");
    KxSong* other = add(target, 0, "Jiná místní", "vlastní");
    add(target, 0, "Společná", "vlastní");  // the same title, no id: not the same song
    EXPECT_EQ(findSongByNetId(target->songs, 0), nullptr);
    PrepareInternalSync(plan);
    EXPECT_EQ(plan.newCandidates.count(), 1);
    EXPECT_EQ(plan.deleteCandidates.count() + plan.changedCandidates.count(), 0);
    EXPECT_EQ(1, plan.skippedSource);
    EXPECT_EQ(2, plan.skippedTarget);
    btkstring report = RunInternalSync(plan);
    pass();
    ASSERT_EQ(target->songs.count(), 3);
    EXPECT_EQ(other->title, "Jiná místní");
    EXPECT_EQ(target->songs[1]->text, "vlastní");
    EXPECT_EQ(target->songs[2]->netid, 4);
    EXPECT_NE(std::string(report.c_str())
                  .find("Písně bez internetového ID vynechané ze synchronizace: ve zdrojové "
                        "databázi 1, v cílové databázi 2\n"),
              std::string::npos)
        << report.c_str();
}

TEST(InternalSyncFields, CompareAndCopy) {
    KxSong a, b;
    EXPECT_FALSE(songsDiffer(&a, &b));
    b.remark = "r";
    EXPECT_TRUE(songsDiffer(&a, &b));
    b.remark = "";
    b.special = "netdelete";
    b.locid = 8;
    EXPECT_FALSE(songsDiffer(&a, &b));
    b.author = "x";
    EXPECT_TRUE(songsDiffer(&a, &b));
}

}  // namespace
