// Start-up on a temporary program folder, the main window's database combo
// and bridge, and the close questions.
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>

#include "app/main/mainfrm.h"
#include "app/program.h"
#include "appenv.h"
#include "export/importfilter.h"
#include "foundation/btkfile.h"
#include "foundation/btkscramble.h"
#include "foundation/btksyspath.h"
#include "foundation/qt/btkqstring.h"
#include "songs/appservices.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/mainwinmsgs.h"
#include "songs/uibridge.h"

namespace {

const char* const ChangedQuestionStart = "Následující databáze byly změněny, uložit?\n";

btkstring comboText(int i) { return btkFromQString(mainfrm->dbs->itemText(i)); }

const char* const optionsText =
    "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<options db=\"0\" ><view /></options>\n";

class StartupTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder.write("options.xml", optionsText);
        folder.write("db/alpha.xml", SongDatabaseXml({"Anička", "Bude", "Cesta"}));
        folder.write("db/beta.xml", SongDatabaseXml({"Čert", "Dolina"}));
    }
    KxDatabase* database(int i) { return gKxSpace->getView(i)->asDatabase(); }
    // Changes the first song of the database through the model.
    void changeFirstSong(KxDatabase* db) {
        btkCntVec<KxSong*> songs;
        db->getSongs(songs);
        ASSERT_GT(songs.count(), 0);
        songs[0]->title = "Nový název";
        songs[0]->setModified(true);
        songs[0]->changed();
    }
};

TEST_F(StartupTest, ComboListsTheDatabasesAndFollowsTheSelection) {
    start();
    EXPECT_EQ(btkFromQString(mainfrm->windowTitle()), btkstring("Kantorix 6.0.8"));
    ASSERT_EQ(mainfrm->dbs->count(), 2);
    EXPECT_EQ(comboText(0), btkstring("alpha.xml"));
    EXPECT_EQ(comboText(1), btkstring("beta.xml"));
    // The stored index selects the first database.
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 0);
    EXPECT_EQ(gMainWin->getActDatabase(), database(0));

    mainfrm->dbs->setCurrentIndex(1);
    EXPECT_EQ(gMainWin->getActView(), static_cast<KxView*>(database(1)));
    EXPECT_EQ(mainfrm->dbs->currentText(), btkToQString("beta.xml"));
    btkCntVec<KxSong*> shown;
    gMainWin->getListSongs(shown);
    EXPECT_EQ(shown.count(), 2);
    EXPECT_EQ(btkFromQString(mainfrm->statusBar()->findChild<QLabel*>("status1")->text()), btkstring("Nepřihlášen"));
    EXPECT_TRUE(mainfrm->actionlist.find("a_login")->isEnabled());
    EXPECT_FALSE(mainfrm->actionlist.find("a_logout")->isEnabled());
    // The three import filters, once, however often the program started.
    ASSERT_EQ(importFilters.count(), 3);
    EXPECT_EQ(importFilters[2]->name(), "Textové soubory");
}

// The database selected at the last exit comes back by its file name; a
// view that is gone (a virtual one, a deleted file) gives the first database.
TEST_F(StartupTest, StartSelectsTheStoredDatabaseOrTheFirst) {
    const struct {
        const char* attributes;
        int index;
    } rows[] = {
        {"db=\"1\"", 1},
        {"db=\"5\"", 0},
        {"db=\"2\" dbfile=\"beta.xml\"", 1},
        {"db=\"1\" dbfile=\"\"", 0},
        {"db=\"1\" dbfile=\"pryc.xml\"", 0},
    };
    for (const auto& r : rows) {
        folder.write("options.xml", btkFormat("<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<options %s ><view "
                                              "/></options>\n",
                                              r.attributes));
        start();
        EXPECT_EQ(mainfrm->dbs->currentIndex(), r.index) << r.attributes;
        EXPECT_NE(gMainWin->getActDatabase(), nullptr) << r.attributes;
        end();
    }
    // A virtual view selected at exit stores no file name.
    start();
    gKxSpace->addView(new KxCustomView);
    idle();
    gMainWin->selectView(2);
    EXPECT_TRUE(mainfrm->close());
    btkXMLNode options;
    options.load(folder.path("options.xml"));
    EXPECT_EQ(options.intAttr("db"), 2);
    EXPECT_TRUE(options.hasAttr("dbfile"));
    EXPECT_EQ(options.attr("dbfile"), btkstring());
}

TEST_F(StartupTest, FirstStartFillsMostOfTheScreenAndShowsTheFirstSong) {
    start();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect window = mainfrm->frameGeometry();
    EXPECT_NEAR(window.width(), area.width() * 0.8, area.width() * 0.05);
    EXPECT_NEAR(window.height(), area.height() * 0.8, area.height() * 0.05);
    EXPECT_LE((window.center() - area.center()).manhattanLength(), 20);
    ASSERT_NE(gMainWin->getActSong(), nullptr);
    EXPECT_EQ(gMainWin->getActSong()->title, btkstring("Anička"));
    EXPECT_EQ(mainfrm->songv->getSongText(), btkstring("[C]la la [G]la"));
}

TEST_F(StartupTest, ChangedSongPutsAStarOnTheCaptionAfterTheNextIdlePass) {
    start();
    mainfrm->dbs->setCurrentIndex(1);
    changeFirstSong(database(1));
    // Nothing reaches the window before the pass.
    EXPECT_EQ(comboText(1), btkstring("beta.xml"));
    idle();
    EXPECT_EQ(comboText(1), btkstring("beta.xml*"));
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 1);

    // A change to a database that is not selected leaves its entry alone.
    changeFirstSong(database(0));
    idle();
    EXPECT_EQ(comboText(0), btkstring("alpha.xml"));

    // After a commit the star goes at the next pass.
    database(1)->commit();
    idle();
    EXPECT_EQ(comboText(1), btkstring("beta.xml"));
}

TEST_F(StartupTest, NewViewRefillsTheComboAtTheNextPass) {
    start();
    gKxSpace->addView(new KxCustomView);
    EXPECT_EQ(mainfrm->dbs->count(), 2);
    idle();
    ASSERT_EQ(mainfrm->dbs->count(), 3);
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 0);
    // A virtual database is a view but not a database.
    gMainWin->selectView(2);
    EXPECT_NE(gMainWin->getActView(), nullptr);
    EXPECT_EQ(gMainWin->getActDatabase(), nullptr);
    EXPECT_EQ(gMainWin->getActDatabaseMsg(), nullptr);
    EXPECT_TRUE(boxShown(NoDatabaseText));
}

TEST_F(StartupTest, QueuedMessagesSelectTheNewestViewAndTheSongAfterTheAction) {
    start();
    btkCntVec<KxSong*> songs;
    database(1)->getSongs(songs);
    gKxSpace->addView(new KxCustomView(songs));
    gKxSystem->postMessage(new M_LastDB);
    gKxSystem->postMessage(new M_SetActSong(songs[1]));
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 0);
    idle();
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 2);
    EXPECT_EQ(gMainWin->getActSong(), songs[1]);
    EXPECT_EQ(mainfrm->songv->getSongText(), songs[1]->displayText());
}

TEST_F(StartupTest, HintsAndStatusTextsGoToTheFirstPanel) {
    start();
    QStatusTipEvent tip(btkToQString("Databáze"));
    QApplication::sendEvent(mainfrm->dbs, &tip);
    EXPECT_EQ(mainfrm->statusText(0), btkstring("Databáze"));
    ShowStatusText("Uloženo");
    EXPECT_EQ(mainfrm->statusText(0), btkstring("Uloženo"));
}

TEST_F(StartupTest, ReleasedSelectedDatabaseLeavesTheFramesAndTheCombo) {
    start();
    btkCntVec<KxSong*> songs;
    database(0)->getSongs(songs);
    gMainWin->setActSong(songs[0]);
    database(0)->release();
    idle();
    idle();
    ASSERT_EQ(mainfrm->dbs->count(), 1);
    EXPECT_EQ(comboText(0), btkstring("beta.xml"));
    // The frames follow the entry the combo now shows.
    EXPECT_EQ(mainfrm->list->getView(), gMainWin->getActView());
    EXPECT_EQ(gMainWin->getActSong(), nullptr);
    EXPECT_EQ(mainfrm->songv->getSongText(), btkstring());
}

TEST_F(StartupTest, CloseWithChangedDatabaseAnsweredNoWritesOnlyTheOptions) {
    start();
    mainfrm->dbs->setCurrentIndex(1);
    changeFirstSong(database(1));
    idle();
    const btkstring before = folder.read("db/beta.xml");

    boxes().answer(btkID_NO);
    EXPECT_TRUE(mainfrm->close());
    ASSERT_EQ(boxes().shown().size(), 1u);
    const btkstring question = boxes().shown()[0].text;
    EXPECT_TRUE(question.startsWith(ChangedQuestionStart));
    EXPECT_EQ(question, btkstring(ChangedQuestionStart) +
                            "ANO = všechny budou uloženy\nNE = žádná nebude uložena\n"
                            "Storno = kantorix nebude ukončen\nZměněné databáze:\n" +
                            database(1)->getFileName() + "\n");
    EXPECT_EQ(boxes().shown()[0].flags & 0x0F, int(btkMB_YESNOCANCEL));
    EXPECT_EQ(folder.read("db/beta.xml"), before);

    // options.xml is written in Windows-1250 with the selected index.
    btkXMLNode options;
    btkstring encoding;
    options.load(folder.path("options.xml"), &encoding);
    EXPECT_EQ(options.intAttr("db"), 1);
    EXPECT_EQ(options.attr("dbfile"), btkstring("beta.xml"));
    EXPECT_EQ(encoding.upper(), btkstring("WINDOWS-1250"));
    EXPECT_GE(options.indexOfChild("view"), 0);

    // The quitting flag keeps status texts away from the window.
    ShowStatusText("pozdě");
    EXPECT_EQ(mainfrm->statusText(0), btkstring());
}

TEST_F(StartupTest, CloseAnsweredCancelKeepsRunningAndChanged) {
    start();
    changeFirstSong(database(0));
    idle();
    boxes().answer(btkID_CANCEL);
    EXPECT_FALSE(mainfrm->close());
    EXPECT_TRUE(mainfrm->isVisible());
    EXPECT_TRUE(database(0)->isChanged());
    EXPECT_FALSE(gAppClosing);
    EXPECT_EQ(folder.read("options.xml"), optionsText);
    ShowStatusText("stále běží");
    EXPECT_EQ(mainfrm->statusText(0), btkstring("stále běží"));
}

TEST_F(StartupTest, CloseAnsweredYesCommitsEveryChangedDatabase) {
    start();
    changeFirstSong(database(0));
    boxes().answer(btkID_YES);
    EXPECT_TRUE(mainfrm->close());
    EXPECT_FALSE(database(0)->isChanged());
    EXPECT_TRUE(std::strstr(folder.read("db/alpha.xml"), "Nový název") != nullptr);
}

TEST_F(StartupTest, FailedCommitOnCloseNamesTheFileAndKeepsTheProgramOpen) {
    start();
    changeFirstSong(database(1));
    // The file's place is taken by a folder: the database cannot be written.
    std::filesystem::remove(folder.path("db/beta.xml").c_str());
    std::filesystem::create_directory(folder.path("db/beta.xml").c_str());
    boxes().answer(btkID_YES);
    EXPECT_FALSE(mainfrm->close());
    EXPECT_TRUE(mainfrm->isVisible());
    EXPECT_FALSE(gAppClosing);
    EXPECT_TRUE(database(1)->isChanged());
    ASSERT_EQ(boxes().shown().size(), 2u);
    EXPECT_TRUE(std::strstr(boxes().shown()[1].text, "beta.xml") != nullptr);
    EXPECT_EQ(folder.read("options.xml"), optionsText);
    // A file-size limit fails a save in the same way instead of a signal.
    EXPECT_EQ(std::signal(SIGXFSZ, SIG_IGN), SIG_IGN);
}

// Another program saved the database file meanwhile: saving asks, and "Ne"
// keeps that file and the changes with no box after the answer, from the
// save command and from "ANO" to saving at exit (the program stays open).
TEST_F(StartupTest, SaveOverAFileChangedOnDiskAsksFirst) {
    start();
    changeFirstSong(database(0));
    const btkstring theirs = SongDatabaseXml({"Jejich"});
    folder.write("db/nova.xml", theirs);
    std::filesystem::rename(folder.path("db/nova.xml").c_str(), folder.path("db/alpha.xml").c_str());
    boxes().answer(btkID_NO);
    mainfrm->actionlist.find("a_dbcommit")->trigger();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(std::strstr(boxes().shown()[0].text, folder.path("db/alpha.xml")), nullptr);
    EXPECT_EQ(boxes().shown()[0].flags & 0x0F, int(btkMB_YESNO));
    EXPECT_EQ(folder.read("db/alpha.xml"), theirs);
    EXPECT_TRUE(database(0)->isChanged());

    boxes().reset();
    boxes().answer(btkID_YES);
    boxes().answer(btkID_NO);
    EXPECT_FALSE(mainfrm->close());
    ASSERT_EQ(boxes().shown().size(), 2u);
    EXPECT_TRUE(boxes().shown()[0].text.startsWith(ChangedQuestionStart));
    EXPECT_FALSE(gAppClosing);
    EXPECT_TRUE(database(0)->isChanged());
    EXPECT_EQ(folder.read("db/alpha.xml"), theirs);

    boxes().answer(btkID_YES);
    mainfrm->actionlist.find("a_dbcommit")->trigger();
    EXPECT_FALSE(database(0)->isChanged());
    EXPECT_NE(std::strstr(folder.read("db/alpha.xml"), "Nový název"), nullptr);
}

// options.xml that cannot be written at exit: the box names it and the
// program still ends (status 1) instead of running on without windows.
TEST_F(StartupTest, FailedOptionsSaveAtExitEndsTheProgramWithStatusOne) {
    start();
    std::filesystem::remove(folder.path("options.xml").c_str());
    std::filesystem::create_directory(folder.path("options.xml").c_str());
    QTimer::singleShot(0, [] { mainfrm->close(); });
    QTimer::singleShot(5000, [] { QApplication::exit(99); });  // a hang shows as 99
    EXPECT_EQ(QApplication::exec(), 1);
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(std::strstr(boxes().shown()[0].text, "options.xml"), nullptr) << boxes().shown()[0].text.c_str();
}

TEST_F(StartupTest, NoDbFolderGivesAnEmptyCombo) {
    std::filesystem::remove_all(folder.path("db").c_str());
    start();
    EXPECT_EQ(mainfrm->dbs->count(), 0);
    EXPECT_EQ(gMainWin->getActView(), nullptr);
    EXPECT_EQ(gMainWin->getActViewMsg(), nullptr);
    EXPECT_TRUE(boxShown(NoViewText));
    EXPECT_EQ(gMainWin->getActSongMsg(), nullptr);
    EXPECT_TRUE(boxShown(NoSongText));
    // Nothing changed: closing asks nothing.
    EXPECT_TRUE(mainfrm->close());
    EXPECT_EQ(boxes().shown().size(), 2u);
}

// A program folder such as ~/Zpěvníky/kx6 with Czech database names: the
// databases are listed and load; a name without a Windows-1250 form is left
// out rather than listed garbled.
TEST_F(StartupTest, CzechProgramFolderStartsAndListsItsDatabases) {
    const btkFile home = folder.path("Zpěvníky/kx6");
    folder.write("Zpěvníky/kx6/options.xml", optionsText);
    folder.write("Zpěvníky/kx6/db/Lidové písně.xml", SongDatabaseXml({"Ach synku", "Čerešničky"}));
    folder.write("Zpěvníky/kx6/db/beta.xml", SongDatabaseXml({"Dolina"}));
    const std::string chinese = btkSysPath(home.join("db/")) + reinterpret_cast<const char*>(u8"汉字.xml");
    std::ofstream(chinese) << SongDatabaseXml({"X"}).c_str();
    setProgramDir(home);
    start();
    EXPECT_TRUE(boxes().shown().empty());
    ASSERT_EQ(mainfrm->dbs->count(), 2);
    EXPECT_EQ(comboText(0), btkstring("Lidové písně.xml"));
    EXPECT_EQ(comboText(1), btkstring("beta.xml"));
    btkCntVec<KxSong*> shown;
    gMainWin->getListSongs(shown);
    ASSERT_EQ(shown.count(), 2);
    EXPECT_EQ(shown[1]->title, btkstring("Čerešničky"));
}

TEST_F(StartupTest, PageSwitchKeepsTheCurrentSong) {
    start();
    btkCntVec<KxSong*> songs;
    database(0)->getSongs(songs);
    gMainWin->setActSong(songs[1]);
    EXPECT_EQ(gMainWin->getActSong(), songs[1]);
    EXPECT_EQ(mainfrm->songv->getSongText(), songs[1]->displayText());
    mainfrm->pager->setCurrentIndex(1);
    EXPECT_EQ(gMainWin->getActSong(), songs[1]);
    EXPECT_FALSE(mainfrm->cell->isEnabled());
    EXPECT_FALSE(mainfrm->actionlist.find("a_editcellvalue")->isEnabled());
    mainfrm->pager->setCurrentIndex(0);
    EXPECT_TRUE(mainfrm->cell->isEnabled());
    gMainWin->selectSongById(3);
    EXPECT_EQ(gMainWin->getActSong(), songs[2]);
}

TEST_F(StartupTest, MissingOrMalformedOptionsEndTheProgramWithoutWritingThem) {
    for (const char* content : {"", "<options db=\"1\" ><view></options>"}) {
        SCOPED_TRACE(content);
        boxes().reset();
        if (*content)
            folder.write("options.xml", content);
        else
            std::filesystem::remove(folder.path("options.xml").c_str());
        start();
        EXPECT_TRUE(gTerminateRequested);
        ASSERT_EQ(boxes().shown().size(), 1u);
        // The box names where options.xml was looked for.
        const btkstring text = boxes().shown()[0].text;
        EXPECT_TRUE(text.startsWith(OptionsLoadErrorText)) << text.c_str();
        EXPECT_NE(std::strstr(text.c_str(), folder.path("options.xml").c_str()), nullptr) << text.c_str();
        // Start-up still finished.
        EXPECT_EQ(mainfrm->dbs->count(), 2);
        SaveOptions();
        EXPECT_EQ(std::filesystem::exists(folder.path("options.xml").c_str()), *content != 0);
        if (*content) {
            EXPECT_EQ(folder.read("options.xml"), btkstring(content));
        }
        end();
    }
}

TEST(AutoLoginText, FirstNonEmptyLineIsTheLogin) {
    btkstring login, password;
    EXPECT_FALSE(ParseAutoLogin("", login, password));
    EXPECT_FALSE(ParseAutoLogin("\n\n", login, password));
    EXPECT_TRUE(ParseAutoLogin("\n\n  karel \n", login, password));
    EXPECT_EQ(login, btkstring("karel"));
    EXPECT_EQ(password, btkstring());
    const btkstring scrambled = btkScramblePassword("tajné");
    EXPECT_TRUE(ParseAutoLogin(btkFormat("\nkarel\n\n %s \n", scrambled.c_str()), login, password));
    EXPECT_EQ(login, btkstring("karel"));
    EXPECT_EQ(password, btkstring("tajné"));
}

}  // namespace
