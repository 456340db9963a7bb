// Journeys through the main window: the program started on a temporary
// folder, driven by its actions, with scripted message boxes, file dialogs,
// song set questions and editor runs.
#include <cstring>
#include <filesystem>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QToolBar>

#include "app/main/mainactions.h"
#include "app/qtfiledialogs.h"
#include "app/settings/fontrecords.h"
#include "app/windows.h"
#include "appenv.h"
#include "foundation/btkfile.h"
#include "foundation/btkprintdevice.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"
#include "songbook/melodar.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/uibridge.h"

namespace {

class JourneyTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder.write("options.xml", "<options db=\"0\" />");
        folder.write("db/alfa.xml", SongDatabaseXml({"Anna", "Bude", "Cesta"}));
        folder.write("db/beta.xml", SongDatabaseXml({"Den"}));
        previous = btkSetDialogBackend(&dialogs);
        InstallQtFileDialogs();
        start();
        idle();
    }
    void TearDown() override {
        end();
        gFileDialogs = nullptr;
        btkSetDialogBackend(previous);
    }

    void trigger(const char* name) {
        QAction* action = mainfrm->actionlist.find(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
        idle();
    }
    // The next song set question is answered with the choice (0 current
    // song ... 3 every view).
    void answerSongSet(int choice) {
        songsetfrm->runner = [choice](Tsongsetfrm& form) {
            form.setctrl->choices[choice]->click();
            return int(QDialog::Accepted);
        };
    }
    KxDatabase* database(int i) { return gKxSpace->getView(i)->asDatabase(); }
    KxSong* song(int db, int i) { return database(db)->songs[i]; }

    btkScriptedDialogs dialogs;
    btkDialogBackend* previous = nullptr;
};

TEST_F(JourneyTest, EveryActionSitsInItsMenuInOrder) {
    ASSERT_EQ(mainfrm->actionlist.count(), MainActionCount);
    const QList<QAction*> menus = mainfrm->menuBar()->actions();
    ASSERT_EQ(menus.size(), MainMenuCount);
    for (int m = 0; m < MainMenuCount; ++m) {
        EXPECT_EQ(btkFromQString(menus[m]->text()), btkstring(MainMenus[m].title));
        const QList<QAction*> items = menus[m]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(MainMenus[m].actions.size())) << MainMenus[m].title;
        int i = 0;
        for (const char* name : MainMenus[m].actions) {
            if (name[0] == '-')
                EXPECT_TRUE(items[i]->isSeparator());
            else
                EXPECT_EQ(items[i], mainfrm->actionlist.find(name)) << name;
            ++i;
        }
    }
    // Every command has its handler; only logging out cannot work while
    // nobody is logged in.
    for (int i = 0; i < MainActionCount; ++i)
        EXPECT_EQ(mainfrm->actionlist.find(MainActions[i].name)->isEnabled(),
                  std::strcmp(MainActions[i].name, "a_logout") != 0)
            << MainActions[i].name;
    // The tool bar toggles hide and show their part.
    mainfrm->actionlist.find("a_transp")->trigger();
    EXPECT_TRUE(mainfrm->toolbar_transp->isHidden());
    mainfrm->actionlist.find("a_transp")->trigger();
    EXPECT_FALSE(mainfrm->toolbar_transp->isHidden());
}

TEST_F(JourneyTest, EditedSongReachesTheFileOnlyOnCommit) {
    gMainWin->setActSong(song(0, 1));
    editsongfrm->runner = [](Teditsongfrm& w) {
        w.title->setText(QStringLiteral("Nový název"));
        w.title->setModified(true);
        w.text->setPlainText(QStringLiteral("[D]nový\r\ntext"));
        w.Uloit1->trigger();
        EXPECT_FALSE(w.isModified());
        return int(QDialog::Accepted);
    };
    trigger("a_editsong");
    EXPECT_EQ(song(0, 1)->title, btkstring("Nový název"));
    EXPECT_EQ(song(0, 1)->text, btkstring("[D]nový\ntext"));
    EXPECT_TRUE(database(0)->isChanged());
    EXPECT_EQ(std::strstr(folder.read("db/alfa.xml").c_str(), "Nový název"), nullptr);
    trigger("a_dbcommit");
    EXPECT_NE(std::strstr(folder.read("db/alfa.xml").c_str(), "Nový název"), nullptr);
    EXPECT_FALSE(database(0)->isChanged());
}

TEST_F(JourneyTest, EditorTranspositionIsAChangeTheCloseQuestionProtects) {
    KxSong* target = song(0, 0);
    const btkstring before = target->text;
    editsongfrm->runner = [&](Teditsongfrm& w) {
        w.actionlist.find("a_trnext5")->trigger();  // Shift+F6: a fifth up
        EXPECT_EQ(w.editedText(), btkstring("[G]la la [D]la"));
        EXPECT_TRUE(w.isModified());
        boxes().answer(btkID_CANCEL);
        w.reject();  // Esc: asks, cancel keeps the window
        EXPECT_TRUE(boxShown("Píseň změněna, uložit do databáze?"));
        boxes().answer(btkID_NO);
        w.reject();
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(editsongfrm->Execute(target));
    EXPECT_EQ(target->text, before);
}

TEST_F(JourneyTest, NewSongStaysOnlyWhenSaved) {
    editsongfrm->runner = [](Teditsongfrm&) { return int(QDialog::Rejected); };
    trigger("a_newsong");
    EXPECT_EQ(database(0)->songs.count(), 3);
    editsongfrm->runner = [](Teditsongfrm& w) {
        EXPECT_EQ(btkFromQString(w.title->text()), btkstring("Nazev?"));
        w.SaveSong();
        return int(QDialog::Accepted);
    };
    trigger("a_newsong");
    ASSERT_EQ(database(0)->songs.count(), 4);
    EXPECT_EQ(song(0, 3)->group, btkstring("Skupina?"));
    EXPECT_EQ(song(0, 3)->lang, btkstring("cz"));
    EXPECT_GT(song(0, 3)->locid, 3);
}

TEST_F(JourneyTest, TranspositionsOfTheCurrentSongAndBack) {
    KxSong* current = song(0, 0);
    gMainWin->setActSong(current);
    const struct {
        const char* action;
        int expected;
    } steps[] = {{"a_trprev", 11}, {"a_trnext5", 6}, {"a_trprev5", 11},
                 {"a_trnext", 0},  {"a_trnext", 1},  {"a_trorig", 0}};
    for (const auto& s : steps) {
        trigger(s.action);
        EXPECT_EQ(current->transposition, s.expected) << s.action;
    }
    trigger("a_trnext");
    EXPECT_EQ(mainfrm->songv->getSongText(), btkstring("[C#]la la [As]la"));
    EXPECT_FALSE(database(0)->isChanged());
}

// With a system printer the print dialog of a song works on the shared
// set-up: the paper and orientation chosen there are offered at the next
// print and reach a new song book; the file printed into is the job's own.
TEST_F(JourneyTest, PrinterChosenForASongStaysForLaterPrints) {
    const btkPrinterNameSource qtNames = btkSetPrinterNameSource([] {
        btkStrings names;
        names.add("Tiskárna v kanceláři");
        return names;
    });
    getPrinterProps()->restore(btkXMLNode());  // the default printer: the one above
    ASSERT_TRUE(getPrinterProps()->isValid());
    btkInstallPrinterMaker();
    gMainWin->setActSong(song(0, 0));
    const btkstring pdf = folder.path("pisen.pdf");
    dialogs.printers.push_back([&](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setOutputFileName(btkToQString(pdf));  // print to file
        return true;
    });
    trigger("a_printsong");
    EXPECT_EQ(folder.read("pisen.pdf").substr(0, 5), btkstring("%PDF-"));
    EXPECT_EQ(getPrinterProps()->getPrinterName(), btkstring("Tiskárna v kanceláři"));
    EXPECT_EQ(getPrinterProps()->outputFile(), btkstring());
    QPageLayout offered;
    dialogs.printers.push_back([&](QPrinter& printer) {
        offered = printer.pageLayout();
        return false;
    });
    trigger("a_printsong");
    EXPECT_EQ(offered.pageSize().id(), QPageSize::A5);
    EXPECT_EQ(offered.orientation(), QPageLayout::Landscape);

    trigger("a_kxnew");
    ASSERT_EQ(OpenMelodars().count(), 1);
    btkPrintDevice* device = OpenMelodars()[0]->printer();
    ASSERT_NE(device, nullptr);
    EXPECT_LT(device->pageWidth() / device->pixelsPerMmX(), 149);  // A5 in the type's portrait
    btkSetPrinterNameSource(qtNames);
    btkSetPrinterMaker({});
}

// Without a printer the printer dialog of a song is the PDF file choice,
// first in the user's home folder, then in the folder used last: cancel
// prints nothing and shows nothing; every print asks again.
TEST_F(JourneyTest, PrintedSongGoesIntoAPdfWithoutAPrinter) {
    btkInstallPrinterMaker();
    gMainWin->setActSong(song(0, 0));
    getPrinterProps()->setOutputFile("");
    trigger("a_printsong");  // no file queued: cancel
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_TRUE(boxes().shown().empty());
    for (const char* name : {"pisen.pdf", "druha.pdf"}) {
        dialogs.files.push_back(folder.path(name));
        trigger("a_printsong");
        EXPECT_TRUE(boxes().shown().empty()) << name;
        ASSERT_TRUE(std::filesystem::exists(folder.path(name).c_str())) << name;
        EXPECT_EQ(folder.read(name).substr(0, 5), btkstring("%PDF-")) << name;
    }
    EXPECT_EQ(dialogs.asked, 3);
    const btkstring home = btkFromQString(QDir::homePath()), last = btkFile(folder.path("pisen.pdf")).dirPart();
    EXPECT_EQ(dialogs.saveFolders, (std::vector<btkstring>{home, home, last}));
    btkSetPrinterMaker({});
}

TEST_F(JourneyTest, ExportedSongsImportIntoAnotherDatabase) {
    answerSongSet(2);  // the active view
    dialogs.files.push_back(folder.path("vyber.xgz"));
    trigger("a_dbexport");
    EXPECT_EQ(btkFile(dialogs.proposed).fileName(), btkFile(database(0)->getFileName()).fileName());
    ASSERT_TRUE(std::filesystem::exists(folder.path("vyber.xgz").c_str()));
    EXPECT_EQ(static_cast<unsigned char>(folder.read("vyber.xgz")[0]), 0x1F);  // gzip

    gMainWin->selectView(1);
    dialogs.files.push_back(folder.path("vyber.xgz"));
    trigger("a_dbimport");
    EXPECT_EQ(database(1)->songs.count(), 4);
}

TEST_F(JourneyTest, RemovingADatabaseDeletesOnlyFilesOfTheDbFolder) {
    // A file opened from elsewhere is closed, never deleted; opened twice it
    // is selected, not loaded again.
    folder.write("jinde.xml", SongDatabaseXml({"Jinde"}));
    for (int i = 0; i < 2; ++i) {
        dialogs.files.push_back(folder.path("jinde.xml"));
        trigger("a_dbopenfile");
    }
    ASSERT_EQ(gKxSpace->viewCount(), 3);
    EXPECT_EQ(gMainWin->getActView(), gKxSpace->getView(2));
    trigger("a_dbremove");
    EXPECT_EQ(gKxSpace->viewCount(), 2);
    EXPECT_TRUE(std::filesystem::exists(folder.path("jinde.xml").c_str()));

    gMainWin->selectView(1);
    boxes().answer(btkID_NO);
    trigger("a_dbremove");
    EXPECT_TRUE(std::filesystem::exists(folder.path("db/beta.xml").c_str()));
    boxes().answer(btkID_YES);
    trigger("a_dbremove");
    EXPECT_FALSE(std::filesystem::exists(folder.path("db/beta.xml").c_str()));
    EXPECT_EQ(gKxSpace->viewCount(), 1);
}

TEST_F(JourneyTest, UserColumnsRoundTripByInternetId) {
    song(0, 0)->netid = 7;
    song(0, 0)->vars.set("tempo", "rychle");
    song(0, 1)->netid = 8;
    dialogs.files.push_back(folder.path("sloupce.udb"));
    trigger("a_udb_save");
    const btkstring file = folder.read("sloupce.udb");
    EXPECT_NE(std::strstr(file.c_str(), "netid=\"7\""), nullptr);
    EXPECT_NE(std::strstr(file.c_str(), "netid=\"8\""), nullptr);
    EXPECT_EQ(std::strstr(file.c_str(), "locid"), nullptr);

    song(0, 0)->vars.set("tempo", "");
    // A song element without an internet id names no song.
    folder.write("bez.udb",
                 "<user_data><songs><song><vars><var name=\"tempo\">x</var></vars></song></songs></user_data>");
    for (const char* name : {"sloupce.udb", "bez.udb"}) {
        dialogs.files.push_back(folder.path(name));
        trigger("a_udb_load");
    }
    EXPECT_EQ(song(0, 0)->vars.get("tempo"), btkstring("rychle"));
    EXPECT_EQ(song(0, 2)->vars.get("tempo"), btkstring());
}

TEST_F(JourneyTest, DownloadedDatabaseNamesStayInTheDbFolder) {
    EXPECT_EQ(DownloadDatabaseFile(" inet "), folder.path("db/inet.xml"));
    EXPECT_EQ(DownloadDatabaseFile(""), btkstring());
    for (const char* bad : {"../mimo", "a/b", "a\\b", ".skryta", "alfa"}) {
        boxes().reset();
        EXPECT_EQ(DownloadDatabaseFile(bad), btkstring()) << bad;
        EXPECT_EQ(boxes().shown().size(), 1u) << bad;
    }
    EXPECT_TRUE(boxShown("Databáze už existuje!"));
}

// Font records of the settings become screen fonts and back unchanged.
TEST(FontRecords, SettingsRecordsRoundTripThroughScreenFonts) {
    KxFont record;
    record.name = "DejaVu Serif";
    record.size = 13;
    record.italic = true;
    record.color = 0x800000;
    btkVCLFont font;
    KxFontToTFont(record, font);
    EXPECT_EQ(font.font.pointSize(), 13);
    EXPECT_TRUE(font.font.italic());
    KxFont back;
    KxFontFromTFont(back, font);
    EXPECT_EQ(back.name, record.name);
    EXPECT_EQ(back.size, 13);
    EXPECT_TRUE(back.italic);
    EXPECT_FALSE(back.bold);
    EXPECT_EQ(back.color, record.color);
}

}  // namespace
