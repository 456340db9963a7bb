// The console window, the song condition frame and the search window on a
// started program.
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "app/main/cmdlinefrm.h"
#include "app/main/mainfrm.h"
#include "app/main/searchfrm.h"
#include "app/main/songcondfrm.h"
#include "appenv.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"

namespace {

using Titles = std::vector<std::string>;

class QueryWindowsTest : public AppTest {
protected:
    void SetUp() override {
        folder.write("db/pisne.xml",
                     "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<melodar_data version=\"4.0\" >\n<database >\n"
                     "<song title=\"Hymna\" author=\"x\" lang=\"cz\" locid=\"1\" netid=\"5\" >\n"
                     "<text xml:space=\"preserve\" >[C]la</text>\n</song>\n"
                     "<song title=\"Balada\" author=\"Y\" remark=\"Láska\" lang=\"sk\" locid=\"2\" >\n"
                     "<text xml:space=\"preserve\" >bez akordu</text>\n</song>\n"
                     "<song title=\"Cesta\" author=\"x\" lang=\"en\" locid=\"3\" >\n"
                     "<text xml:space=\"preserve\" >[G]x</text>\n</song>\n"
                     "</database>\n</melodar_data>\n");
        folder.write("data/cmdline.txt", "old\r\n");
        start();
        mainfrm->selectView(0);
        gKxSpace->getView(0)->getSongs(songs);
    }
    Titles matching(Tsongcondfrm& frame) {
        Titles titles;
        for (KxSong* song : songs)
            if (frame.Matches(song)) titles.push_back(song->title.c_str());
        return titles;
    }
    std::string memoText() const { return btkFromQString(cmdlinefrm->memo->toPlainText()).c_str(); }

    btkCntVec<KxSong*> songs;  // in file order
};

TEST_F(QueryWindowsTest, ConsoleRunsTheConfirmedLineAndKeepsItsHistory) {
    mainfrm->actionlist.find("a_cmdline")->trigger();
    ASSERT_TRUE(cmdlinefrm->isVisible());
    QPlainTextEdit* memo = cmdlinefrm->memo;
    QTest::keyClicks(memo, "select from pisne where locid >= 2");
    QTest::keyClick(memo, Qt::Key_Return);
    idle();
    ASSERT_EQ(gKxSpace->viewCount(), 2);
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 1);
    EXPECT_EQ(mainfrm->getActView(), gKxSpace->getView(1));
    // Shift+Enter only breaks the line; Enter after output waits below it.
    QTest::keyClicks(memo, "echo a");
    QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(memo, "help quit");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "echo b");
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memoText(),
              "old\nNápovědu získáte příkazem help\nselect from pisne where locid >= 2\necho a\nhelp quit\n"
              "K příkazu QUIT není dostupná podrobná nápověda\necho b\n b\n");
    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_FALSE(cmdlinefrm->isVisible());
    end();
    EXPECT_EQ(std::string(folder.read("data/cmdline.txt").c_str()),
              "old\r\nNápovědu získáte příkazem help\r\nselect from pisne where locid >= 2\r\necho a\r\nhelp quit\r\n"
              "K příkazu QUIT není dostupná podrobná nápověda\r\necho b\r\n b\r\n");
    start();
    const std::string restarted = memoText();
    EXPECT_TRUE(restarted.ends_with("\n b\nNápovědu získáte příkazem help\n")) << restarted;
}

// The console opened from the main window's grid takes the keys typed next,
// with the caret at the end of its text, when it is opened and when it is
// raised again over the main window.
TEST_F(QueryWindowsTest, OpenedConsoleTakesTheTypedCommand) {
    for (int opening = 0; opening < 2; ++opening) {
        mainfrm->activateWindow();
        mainfrm->list->grid->setFocus();
        idle();
        // A caret left on an older line does not receive the new command.
        cmdlinefrm->memo->moveCursor(QTextCursor::Start);
        mainfrm->actionlist.find("a_cmdline")->trigger();
        idle();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_EQ(focus, cmdlinefrm->memo) << opening;
        QTest::keyClicks(focus, opening ? "echo dva" : "echo jedna");
        QTest::keyClick(focus, Qt::Key_Return);
    }
    EXPECT_TRUE(memoText().ends_with("\necho jedna\n jedna\necho dva\n dva\n")) << memoText();
}

// A box that, as a real one does on closing, leaves the focus with the
// main window's grid.
class FocusTakingBoxes final : public btkMessageBoxBackend {
public:
    int show(const char* text, const char*, int) override {
        shown.push_back(text);
        mainfrm->activateWindow();
        QApplication::processEvents();
        mainfrm->list->grid->setFocus();
        return btkID_OK;
    }
    std::vector<std::string> shown;
};

TEST_F(QueryWindowsTest, ConsoleTakesTheFocusBackAfterAnErrorBox) {
    mainfrm->actionlist.find("a_cmdline")->trigger();
    cmdlinefrm->activateWindow();
    idle();
    cmdlinefrm->memo->setFocus();
    ASSERT_TRUE(cmdlinefrm->memo->hasFocus());
    FocusTakingBoxes focusTaking;
    btkMessageBoxBackend* previous = btkSetMessageBoxBackend(&focusTaking);
    QTest::keyClicks(cmdlinefrm->memo, "select from nikde");
    QTest::keyClick(cmdlinefrm->memo, Qt::Key_Return);
    btkSetMessageBoxBackend(previous);
    idle();
    ASSERT_EQ(focusTaking.shown.size(), 1u);
    EXPECT_TRUE(cmdlinefrm->memo->hasFocus());
}

TEST_F(QueryWindowsTest, ConditionFrameTestsEachSwitchedCondition) {
    const struct {
        const char* what;
        std::function<void(Tsongcondfrm&)> set;
        Titles titles;
    } rows[] = {
        {"nothing switched", [](Tsongcondfrm&) {}, {"Hymna", "Balada", "Cesta"}},
        {"laska in any field", [](Tsongcondfrm& f) { f.text[0]->setText("laska"); }, {"Balada"}},
        {"author not x anywhere",
         [](Tsongcondfrm& f) {
             f.text[1]->setText("x");
             f.op[1]->setCurrentIndex(3);
         },
         {"Balada"}},
        {"title equal",
         [](Tsongcondfrm& f) {
             f.text[2]->setText("Cesta");
             f.op[2]->setCurrentIndex(1);
             f.fld[2]->setCurrentIndex(1);
         },
         {"Cesta"}},
        {"expression", [](Tsongcondfrm& f) { f.expr4->setText("LOCID <> 2 AND AUTHOR = 'x'"); }, {"Hymna", "Cesta"}},
        {"netid 0",
         [](Tsongcondfrm& f) {
             f.numfld[0]->setCurrentIndex(1);
             f.sw[4]->setChecked(true);
         },
         {"Balada", "Cesta"}},
        {"locid >= 2",
         [](Tsongcondfrm& f) {
             f.num[1]->setValue(2);
             f.numop[1]->setCurrentIndex(5);
         },
         {"Balada", "Cesta"}},
        {"chords", [](Tsongcondfrm& f) { f.acs7->setCurrentIndex(1); }, {"Hymna", "Cesta"}},
        {"no chords", [](Tsongcondfrm& f) { f.sw[6]->setChecked(true); }, {"Balada"}},
        {"slovak", [](Tsongcondfrm& f) { f.lang[1]->click(); }, {"Balada"}},
        {"no language ticked",
         [](Tsongcondfrm& f) {
             f.lang[0]->click();
             f.lang[0]->click();
         },
         {}},
    };
    for (const auto& r : rows) {
        Tsongcondfrm frame(nullptr);
        r.set(frame);
        EXPECT_EQ(matching(frame), r.titles) << r.what;
    }

    // A faulty expression is reported once and then left out until edited.
    boxes().reset();
    Tsongcondfrm frame(nullptr);
    frame.expr4->setText("LANG = 'cz'");
    EXPECT_EQ(matching(frame).size(), 3u);
    EXPECT_EQ(matching(frame).size(), 3u);
    frame.expr4->setText("LOCID = 1");
    EXPECT_EQ(matching(frame), Titles{"Hymna"});
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].text, "Neznámá proměnná LANG");
}

TEST_F(QueryWindowsTest, SearchWindowStepsThroughTheListAndMakesAView) {
    mainfrm->actionlist.find("a_dbsearch")->trigger();
    ASSERT_TRUE(searchfrm->isVisible());
    searchfrm->cond->text[0]->setText("x");
    searchfrm->cond->op[0]->setCurrentIndex(1);
    searchfrm->cond->fld[0]->setCurrentIndex(2);
    btkCntVec<KxSong*> list;
    mainfrm->getListSongs(list);
    auto step = [&](QPushButton* button) {
        button->click();
        KxSong* song = mainfrm->getActSong();
        return std::string(song ? song->title.c_str() : "");
    };
    mainfrm->setActSong(songs[0]);
    EXPECT_EQ(step(searchfrm->btnext), "Cesta");
    EXPECT_EQ(step(searchfrm->btnext), "Hymna");
    EXPECT_EQ(step(searchfrm->btprev), "Cesta");
    searchfrm->cond->text[0]->setText("nikdo");
    EXPECT_EQ(step(searchfrm->btnext), "Cesta");
    EXPECT_TRUE(boxShown("Hledání nebylo úspěšné"));

    searchfrm->cond->text[0]->setText("Y");
    searchfrm->Button3->click();
    idle();
    EXPECT_FALSE(searchfrm->isVisible());
    ASSERT_EQ(gKxSpace->viewCount(), 2);
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 1);
    btkCntVec<KxSong*> found;
    gKxSpace->getView(1)->getSongs(found);
    ASSERT_EQ(found.count(), 1);
    EXPECT_EQ(found[0]->title, "Balada");
    // Showing the window again releases the first two text switches.
    mainfrm->actionlist.find("a_dbsearch")->trigger();
    EXPECT_FALSE(searchfrm->cond->sw[0]->isChecked());
}

}  // namespace
