// The log window (report lines, saving to the daily log, a writer that
// outlives its window) and the log viewer.
#include <fstream>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

#include "app/main/logctrlfrm.h"
#include "app/main/mainfrm.h"
#include "app/main/showlogfrm.h"
#include "app/main/vcllogwinfrm.h"
#include "app/windows.h"
#include "appenv.h"
#include "foundation/btkfile.h"
#include "foundation/qt/btkqstring.h"
#include "songs/dailylog.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"

namespace {

class LogWindowTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        LogClose();
        folder.write("options.xml", "<options />");
        folder.write("data/.keep", "");
        folder.write("db/zpevnik.xml", SongDatabaseXml({"A", "B", "C"}));
    }
    void TearDown() override {
        AppTest::TearDown();
        LogClose();
    }
    btkstring todaysLog() { return btkReadTextFile(LogFileName()); }
    // Types the text over the first pane of the viewer; the save warning
    // will be answered yes.
    void editInViewer(const char* text) {
        showlogfrm->btreadonly->setChecked(false);
        showlogfrm->logctrl1->memo->selectAll();
        showlogfrm->logctrl1->memo->insertPlainText(btkToQString(text));
        boxes().answer(btkID_YES);
    }
};

TEST_F(LogWindowTest, WriterShowsLinesWithoutEmptyOnesAndOutlivesItsWindow) {
    start();
    btkRef<LogWindow> writer = OpenLogWindow("dupltest", "Test stejných písní", "db/zpevnik.xml");
    ASSERT_EQ(OpenLogWindowCount(), 1);
    Tvcllogwinfrm* window = OpenLogWindowAt(0);
    EXPECT_TRUE(window->isVisible());
    writer->write("první\n\n\ndruhá\n");
    writer->write("třetí");
    EXPECT_EQ(window->logctrl->text(), btkstring("první\ndruhá\ntřetí"));
    EXPECT_TRUE(window->logctrl->isReadOnly());
    window->btreadonly->click();
    EXPECT_FALSE(window->logctrl->isReadOnly());

    // "Zavřít" frees the window; the running task's later writes are dropped.
    window->SpeedButton2->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(OpenLogWindowCount(), 0);
    writer->write("pozdě");
}

TEST_F(LogWindowTest, SavingTwiceAppendsTwoRecordsToTheDailyLog) {
    start();
    btkRef<LogWindow> writer = OpenLogWindow("internalsyn", "Interní synchronizace", "db/zpevnik.xml");
    Tvcllogwinfrm* window = OpenLogWindowAt(0);
    writer->write("    2 (netid=    0)# B");
    window->saveToLog();
    window->saveToLog();
    ASSERT_EQ(boxes().shown().size(), 2u);
    EXPECT_EQ(boxes().shown()[0].text, btkFormat("Informace byly zapsány do souboru %s", LogFileName().c_str()));

    LogFileContent log;
    log.parse(todaysLog());
    ASSERT_EQ(log.entries.count(), 2);
    for (const LogEntry* entry : log.entries) {
        EXPECT_EQ(entry->name, btkstring("internalsyn"));
        EXPECT_EQ(entry->title, btkstring("Interní synchronizace"));
        EXPECT_EQ(entry->dbFile, btkstring("db/zpevnik.xml"));
        EXPECT_EQ(entry->text, btkstring("    2 (netid=    0)# B\n"));
        EXPECT_EQ(entry->endLines.count(), 1);
    }
}

TEST_F(LogWindowTest, ClickOnANumberSelectsThatSongOfTheLogsDatabase) {
    folder.write("db/jina.xml", SongDatabaseXml({"X", "Y"}));
    start();
    EXPECT_EQ(btkFromQString(mainfrm->dbs->currentText()), btkstring("jina.xml"));
    Tlogctrlfrm frame;
    frame.SetLog("Změněné písně:\n    3 (netid=    0)# C\nbez čísla\n", "zpevnik");
    // The padded columns of the lines line up only in a fixed-pitch font.
    const QFontMetrics metrics(frame.memo->font());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("WWWW")));
    QTextCursor cursor(frame.memo->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    frame.memo->setTextCursor(cursor);
    EXPECT_TRUE(frame.selectNumberAtCaret());
    EXPECT_EQ(btkFromQString(mainfrm->dbs->currentText()), btkstring("zpevnik.xml"));
    ASSERT_NE(mainfrm->getActSong(), nullptr);
    EXPECT_EQ(mainfrm->getActSong()->locid, 3);

    cursor = QTextCursor(frame.memo->document()->findBlockByNumber(2));
    frame.memo->setTextCursor(cursor);
    EXPECT_FALSE(frame.selectNumberAtCaret());
    // The log of an unknown database selects nothing.
    frame.SetLog("5", "neznama");
    EXPECT_FALSE(frame.selectNumberAtCaret());
}

TEST_F(LogWindowTest, ViewerListsFilesShowsEntriesAndSavesOnlyTheEditedEntry) {
    folder.write("data/20261201.log",
                 "bez záznamu\r\n\r\n##BEGIN##[dupltest]{1.12.2026 10:11:12}(Test stejných písní)\r\n"
                 "##DBFILE##[db/zpevnik.xml]\r\nK vymazání:\r\n    2\r\n##END##[dupltest]\r\n");
    folder.write("data/20261130.log", "");
    folder.write("data/poznamka.txt", "");
    start();
    showlogfrm->showViewer();
    ASSERT_EQ(showlogfrm->files->count(), 2);
    EXPECT_EQ(btkFromQString(showlogfrm->files->item(0)->text()), btkstring("20261130.log"));
    showlogfrm->files->setCurrentRow(1);
    showlogfrm->parseLogFile();
    ASSERT_EQ(showlogfrm->entries->count(), 1);
    EXPECT_EQ(btkFromQString(showlogfrm->entries->item(0)->text()), btkstring("Test stejných písní 10:11:12"));
    EXPECT_EQ(showlogfrm->logctrl1->text(), btkstring("K vymazání:\n    2\n"));
    EXPECT_EQ(showlogfrm->logctrl1->logName(), btkstring("db/zpevnik.xml"));

    showlogfrm->showStrayText();
    EXPECT_EQ(showlogfrm->logctrl1->text(), btkstring("bez záznamu\n"));
    EXPECT_EQ(showlogfrm->logctrl1->logName(), btkstring());

    // The second pane, made editable, holds the edited entry text.
    showlogfrm->btlog2->click();
    EXPECT_EQ(showlogfrm->activeFrame(), showlogfrm->logctrl2);
    EXPECT_TRUE(showlogfrm->btreadonly->isChecked());
    showlogfrm->btreadonly->click();
    EXPECT_FALSE(showlogfrm->logctrl2->isReadOnly());
    EXPECT_TRUE(showlogfrm->logctrl1->isReadOnly());
    const btkstring original = folder.read("data/20261201.log");
    // Text that is not the entry's edited in a pane that shows it never
    // replaces the entry: an empty pane, the stray text, a pane filled from
    // outside.
    const auto saveChangesNothing = [&](const char* what) {
        boxes().answer(btkID_YES);
        showlogfrm->saveLogFile();
        EXPECT_EQ(folder.read("data/20261201.log"), original) << what;
    };
    saveChangesNothing("empty second pane");
    showlogfrm->showStrayText();
    saveChangesNothing("stray text");
    showlogfrm->logctrl2->SetLog("opraveno\n", "");
    saveChangesNothing("text set from outside");
    showlogfrm->ShowSelectedEntry();
    saveChangesNothing("the entry, not edited");

    // The entry shown in the second pane and edited there.
    showlogfrm->logctrl2->memo->selectAll();
    showlogfrm->logctrl2->memo->insertPlainText(QStringLiteral("opraveno\n"));
    showlogfrm->btlog1->click();
    // Refusing the warning writes nothing.
    boxes().answer(btkID_NO);
    showlogfrm->saveLogFile();
    EXPECT_EQ(folder.read("data/20261201.log"), original);
    boxes().answer(btkID_YES);
    showlogfrm->saveLogFile();
    EXPECT_EQ(folder.read("data/20261201.log"),
              btkstring("bez záznamu\r\n\r\n##BEGIN##[dupltest]{1.12.2026 10:11:12}(Test stejných písní)\r\n"
                        "##DBFILE##[db/zpevnik.xml]\r\nopraveno\r\n##END##[dupltest]\r\n"));
}

// The program logs on while the viewer shows today's file: a save keeps the
// entries written since the viewer read the file, and the entries written
// after the save go into the saved file. A file rewritten since the read is
// not overwritten.
TEST_F(LogWindowTest, ViewerSaveKeepsEntriesTheProgramWritesMeanwhile) {
    const auto entry = [](const char* title) {
        LogBegin("inetsyn", title);
        LogWriteLine("řádek");
        LogEnd("inetsyn");
    };
    start();
    entry("první");
    showlogfrm->showViewer();
    showlogfrm->files->setCurrentRow(0);
    showlogfrm->parseLogFile();
    editInViewer("opraveno\n");
    entry("druhá");
    showlogfrm->saveLogFile();
    entry("třetí");
    LogFileContent log;
    log.parse(todaysLog());
    ASSERT_EQ(log.entries.count(), 3);
    EXPECT_EQ(log.entries[0]->text, btkstring("opraveno\n"));
    EXPECT_EQ(log.entries[1]->title, btkstring("druhá"));
    EXPECT_EQ(log.entries[2]->title, btkstring("třetí"));

    boxes().reset();
    showlogfrm->files->setCurrentRow(0);
    showlogfrm->parseLogFile();
    ASSERT_TRUE(btkWriteTextFile(LogFileName(), "jiný obsah\n"));
    editInViewer("znovu\n");
    showlogfrm->SpeedButton3->click();
    EXPECT_EQ(todaysLog(), btkstring("jiný obsah\n"));
    EXPECT_TRUE(boxShown(
        btkFormat("Log nebyl uložen: soubor %s byl od načtení změněn, načtěte ho znovu", LogFileName().c_str())));
}

// A NUL byte (as a crash may leave in a file) shows as '?': the text after
// it is read and kept by a save.
TEST_F(LogWindowTest, ViewerReadsAndSavesTheTextAfterANulByte) {
    const char bytes[] = "##BEGIN##[a]{1.12.2026 1:02:03}(A)\nx\0y\n##END##[a]\n##BEGIN##[b]{}(B)\nz\n##END##[b]\n";
    std::ofstream(folder.path("data/20261201.log").c_str(), std::ios::binary) << std::string(bytes, sizeof bytes - 1);
    start();
    showlogfrm->showViewer();
    showlogfrm->files->setCurrentRow(0);
    showlogfrm->parseLogFile();
    ASSERT_EQ(showlogfrm->entries->count(), 2);
    EXPECT_EQ(showlogfrm->logctrl1->text(), btkstring("x?y\n"));
    showlogfrm->entries->setCurrentRow(1);
    editInViewer("nové\n");
    showlogfrm->saveLogFile();
    EXPECT_EQ(folder.read("data/20261201.log"),
              btkstring("##BEGIN##[a]{1.12.2026 1:02:03}(A)\nx?y\n##END##[a]\n##BEGIN##[b]{}(B)\nnové\n##END##[b]\n"));
}

}  // namespace
