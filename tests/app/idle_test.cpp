// The idle queue pass: once per idle period, never inside itself, never
// while a busy or progress window lets events through.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QTimer>

#include "app/main/busyfrm.h"
#include "app/main/progressfrm.h"
#include "app/windows.h"
#include "appenv.h"
#include "foundation/qt/btkapplication.h"
#include "songs/appservices.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"

namespace {

// Counts the passes that reached the handlers.
class PassCounter : public KxHandler {
public:
    ~PassCounter() = default;
    void queueDone() override { ++passes; }
    int passes = 0;
};

class IdleTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder.write("options.xml", "<options />");
        folder.write("db/big.xml", SongDatabaseXml({"A", "B", "C", "D"}));
        folder.write("db/other.xml", SongDatabaseXml({"E"}));
    }
    // The event loop is about to wait: the idle hook arms its timer when the
    // queue holds something.
    void aboutToWait() { emit QAbstractEventDispatcher::instance()->aboutToBlock(); }
    KxDatabase* database(int i) { return gKxSpace->getView(i)->asDatabase(); }
};

TEST_F(IdleTest, BusyWindowOfALongModelOperationRunsNoPassInsideIt) {
    start();
    idle();
    PassCounter counter;
    // Something waits for the pass, and the loop has armed the idle timer.
    database(0)->changed();
    aboutToWait();
    ASSERT_TRUE(btkApplication::instance()->idleArmed());

    // Loading the other database shows the busy window, which lets events
    // through while the model works.
    btkCntVec<KxSong*> songs;
    database(1)->getSongs(songs);
    EXPECT_EQ(songs.count(), 1);
    EXPECT_EQ(counter.passes, 0);

    {
        KxBusy busy("Pracuji");
        EXPECT_TRUE(busyfrm->isVisible());
        EXPECT_EQ(busyfrm->text(), btkstring("Pracuji"));
        aboutToWait();
        EXPECT_FALSE(btkApplication::instance()->idleArmed());
        QApplication::processEvents();
        EXPECT_FALSE(btkApplication::instance()->runIdleWork());
        EXPECT_EQ(counter.passes, 0);
    }
    EXPECT_FALSE(busyfrm->isVisible());
    // The next idle period runs the pass that waited.
    idle();
    EXPECT_EQ(counter.passes, 1);
    // One pass per idle period: nothing pending, nothing runs.
    idle();
    EXPECT_EQ(counter.passes, 1);
}

TEST_F(IdleTest, ProgressWindowHoldsThePassUntilItCloses) {
    start();
    idle();
    PassCounter counter;
    {
        KxProgress progress("Synchronizace", "Začínám", 10, true);
        EXPECT_TRUE(progressfrm->isVisible());
        database(0)->changed();
        aboutToWait();
        for (int i = 1; i <= 3; ++i) EXPECT_TRUE(progress.step(i, "krok"));
        EXPECT_EQ(counter.passes, 0);
    }
    EXPECT_FALSE(progressfrm->isVisible());
    idle();
    EXPECT_EQ(counter.passes, 1);
}

TEST_F(IdleTest, PassWithManyNoticesShowsTheBusyWindowAndDoesNotRunInsideItself) {
    start();
    btkCntVec<KxSong*> songs;
    database(0)->getSongs(songs);
    idle();
    PassCounter counter;
    // More than 32 notices: the pass itself shows the busy window, whose
    // event processing must not start a second pass.
    for (int i = 0; i < 40; ++i) {
        auto* view = new KxCustomView;
        gKxSpace->addView(view);
    }
    aboutToWait();
    idle();
    EXPECT_EQ(counter.passes, 1);
    EXPECT_FALSE(busyfrm->isVisible());
    EXPECT_EQ(mainfrm->dbs->count(), 42);
}

TEST_F(IdleTest, ExceptionInTheIdleWorkShowsAnErrorAndTheLoopGoesOn) {
    int runs = 0;
    btkApplication::instance()->setIdleWork([] { return true; },
                                            [&] {
                                                ++runs;
                                                throw btkError("Chyba v obsluze");
                                            });
    idle();
    btkApplication::instance()->setIdleWork({}, {});
    EXPECT_GE(runs, 1);
    EXPECT_TRUE(boxShown("Chyba v obsluze"));
}

}  // namespace
