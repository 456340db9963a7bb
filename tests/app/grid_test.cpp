// The song grid in the main window: sorting by a header click, following the
// combo and the queue, stack marks, the quick search, quick cell editing,
// filling and filtering, the column dialog and the stored column layout, and
// the time a database of 20,000 songs takes.
#include <cstdio>
#include <cstring>

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include "app/main/songgridmodel.h"
#include "app/windows.h"
#include "foundation/qt/btkqstring.h"
#include "gridenv.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/songcolumns.h"
#include "songs/songcompare.h"
#include "songs/uibridge.h"

namespace {

using Titles = std::vector<std::string>;

const std::vector<SongSpec> alphaSongs = {
    {"Zlato", "Lidová", "Adam", "3"}, {"Anna", "Pop", "Eva", "10"},
    {"Okno", "Lidová", "Cyril", "2"}, {"Bude", "", "Bára"},
    {"Pole", "Pop", "Dan"},           {"Cesta", "Lidová", "Filip"},
};
const Titles byTitle = {"Anna", "Bude", "Cesta", "Okno", "Pole", "Zlato"};
const Titles byAuthor = {"Zlato", "Bude", "Okno", "Pole", "Anna", "Cesta"};

const char* const NotAllowedText = "Není povoleno provádět rychlé úpravy, dá se povolit v menu Úpravy";

class SongGridTest : public GridTest {
protected:
    void SetUp() override {
        GridTest::SetUp();
        folder.write("db/alpha.xml", GridDatabaseXml(alphaSongs, "tempo;"));
        folder.write("db/beta.xml", GridDatabaseXml({{"Hora"}, {"Chata"}, {"Čert"}}));
    }
    KxDatabase* database(int i) { return gKxSpace->getView(i)->asDatabase(); }
    KxSong* song(const char* title) {
        for (int row = 0; row < grid()->songCount(); ++row)
            if (grid()->songAt(row)->title == title) return grid()->songAt(row);
        return nullptr;
    }
    int indexOf(const char* title) {
        const Titles shown = titles();
        for (size_t i = 0; i < shown.size(); ++i)
            if (shown[i] == title) return static_cast<int>(i);
        return -1;
    }
    QAction* action(const char* name) { return mainfrm->actionlist.find(name); }
    btkstring cellEdit() { return btkFromQString(mainfrm->cell->text()); }
};

TEST_F(SongGridTest, HeaderClickSortsByItsColumnAndTheComboChangesTheSongs) {
    start();
    EXPECT_EQ(titles(), byTitle);
    EXPECT_EQ(grid()->sortColumnId(), 1);
    EXPECT_TRUE(grid()->grid->horizontalHeader()->isVisible());
    // The sort mark sits in the title column only, ascending.
    QHeaderView* header = grid()->grid->horizontalHeader();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), gridColumn(1));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(btkFromQString(grid()->model->headerData(gridColumn(3), Qt::Horizontal).toString()), btkstring("Autor"));

    clickHeader(COL_AUTHOR);
    EXPECT_EQ(grid()->sortColumnId(), COL_AUTHOR);
    EXPECT_EQ(titles(), byAuthor);
    EXPECT_EQ(header->sortIndicatorSection(), gridColumn(3));

    // The stack column has no order of its own: the songs stay as they are.
    clickHeader(COL_STACK);
    EXPECT_EQ(grid()->sortColumnId(), COL_STACK);
    EXPECT_EQ(titles(), byAuthor);

    // The user column sorts by its text, songs without a value first in
    // the group order.
    ASSERT_EQ(gridColumn(16), 16);
    EXPECT_EQ(btkFromQString(grid()->model->headerData(16, Qt::Horizontal).toString()), btkstring("tempo"));
    clickHeader(16);
    EXPECT_EQ(titles(), (Titles{"Bude", "Cesta", "Pole", "Anna", "Okno", "Zlato"}));
    EXPECT_EQ(grid()->cellText(indexOf("Anna"), 16).text, btkstring("10"));

    clickHeader(COL_TITLE);
    EXPECT_EQ(titles(), byTitle);
    // The second database in the Czech order ("ch" after "h"), without the
    // user column of the first.
    selectDatabase(1);
    EXPECT_EQ(grid()->getView(), gMainWin->getActView());
    EXPECT_EQ(titles(), (Titles{"Čert", "Hora", "Chata"}));
    EXPECT_EQ(grid()->model->rowCount(), 3);
    EXPECT_EQ(grid()->model->columnCount(), 16);
    btkCntVec<KxSong*> listed;
    gMainWin->getListSongs(listed);
    ASSERT_EQ(listed.count(), 3);
    EXPECT_EQ(listed[2]->title, btkstring("Chata"));
}

TEST_F(SongGridTest, TypingOpensTheQuickSearchAndEnterFindsTheNextSong) {
    start();
    // "n" is in the titles Anna and Okno and in the author of Pole.
    QTest::keyClick(grid()->grid, 'n');
    ASSERT_TRUE(qsearchfrm->isVisible());
    EXPECT_EQ(qsearchfrm->text(), btkstring("n"));
    EXPECT_EQ(currentTitle(), "Anna");
    EXPECT_EQ(mainfrm->songv->getSongText(), song("Anna")->displayText());

    QTest::keyClick(qsearchfrm->stext, Qt::Key_Return);
    EXPECT_EQ(currentTitle(), "Okno");
    QTest::keyClick(qsearchfrm->stext, Qt::Key_Return);
    EXPECT_EQ(currentTitle(), "Pole");
    EXPECT_EQ(mainfrm->statusText(0), btkstring());
    QTest::keyClick(qsearchfrm->stext, Qt::Key_Return);
    EXPECT_EQ(currentTitle(), "Anna");
    EXPECT_EQ(mainfrm->statusText(0), btkstring("Hledání znova od začátku"));
    QTest::keyClick(qsearchfrm->stext, Qt::Key_Up);
    EXPECT_EQ(currentTitle(), "Pole");
    EXPECT_EQ(mainfrm->statusText(0), btkstring("Hledání znova od konce"));
    EXPECT_EQ(mainfrm->songv->getSongText(), song("Pole")->displayText());

    // Folded: case and diacritics do not matter; growing text searches
    // from the current row.
    grid()->search("ZLATO", 0);
    EXPECT_EQ(currentTitle(), "Zlato");
    grid()->search("bára", 1);
    EXPECT_EQ(currentTitle(), "Bude");
    // The only match is the current song: it stays found.
    grid()->search("bára", 1);
    EXPECT_EQ(currentTitle(), "Bude");
    EXPECT_NE(mainfrm->statusText(0), btkstring("Nenalazen řetězec:\"bára\""));

    grid()->search("xyz", 1);
    EXPECT_EQ(currentTitle(), "Bude");
    EXPECT_EQ(mainfrm->statusText(0), btkstring("Nenalazen řetězec:\"xyz\""));

    QTest::keyClick(qsearchfrm->stext, Qt::Key_Escape);
    EXPECT_FALSE(qsearchfrm->isVisible());
}

TEST_F(SongGridTest, SearchInAnEmptyGridFindsNothing) {
    start();
    gKxSpace->addView(new KxCustomView);
    idle();
    selectDatabase(2);
    EXPECT_EQ(grid()->model->rowCount(), 0);
    EXPECT_FALSE(grid()->grid->horizontalHeader()->isVisible());
    for (int direction : {-1, 0, 1}) {
        grid()->search("a", direction);
        EXPECT_EQ(mainfrm->statusText(0), btkstring("Nenalazen řetězec:\"a\""));
    }
    EXPECT_EQ(gMainWin->getActSong(), nullptr);
}

TEST_F(SongGridTest, CellEditChangesTheSongAndMarksTheDatabaseChanged) {
    start();
    clickCell(indexOf("Bude"), COL_TITLE);
    EXPECT_EQ(currentTitle(), "Bude");
    EXPECT_EQ(cellEdit(), btkstring("Bude"));
    EXPECT_EQ(mainfrm->selectedCellRow(), 1);
    EXPECT_EQ(mainfrm->selectedCellColumn(), gridColumn(COL_TITLE));

    mainfrm->cell->setText(btkToQString("Zvon"));
    QTest::keyClick(mainfrm->cell, Qt::Key_Return);
    KxSong* changed = song("Zvon");
    ASSERT_NE(changed, nullptr);
    EXPECT_TRUE(database(0)->isChanged());
    EXPECT_TRUE(changed->modified);
    // The new title sorts at the end of the pass; the song stays current.
    idle();
    EXPECT_EQ(titles(), (Titles{"Anna", "Cesta", "Okno", "Pole", "Zlato", "Zvon"}));
    EXPECT_EQ(currentTitle(), "Zvon");
    EXPECT_EQ(btkFromQString(mainfrm->dbs->currentText()), btkstring("alpha.xml*"));
    EXPECT_EQ(mainfrm->selectedCellRow(), 5);

    // Esc shows the cell's value again.
    mainfrm->cell->setText(btkToQString("nic"));
    QTest::keyClick(mainfrm->cell, Qt::Key_Escape);
    EXPECT_EQ(cellEdit(), btkstring("Zvon"));
    EXPECT_EQ(changed->title, btkstring("Zvon"));

    // A user column is written into the song's variable.
    clickCell(indexOf("Pole"), 16);
    mainfrm->cell->setText(btkToQString("7"));
    QTest::keyClick(mainfrm->cell, Qt::Key_Return);
    EXPECT_EQ(song("Pole")->getVar("tempo"), btkstring("7"));
}

TEST_F(SongGridTest, AutofillWritesOnlyCellsTheUserMovesTo) {
    start();
    action("a_autofill")->trigger();
    EXPECT_TRUE(boxShown(NotAllowedText));
    EXPECT_FALSE(action("a_autofill")->isChecked());

    action("a_allowquickedit")->trigger();
    action("a_autofill")->trigger();
    ASSERT_TRUE(action("a_autofill")->isChecked());
    mainfrm->cell->setText(btkToQString("pozn"));
    clickCell(indexOf("Anna"), COL_REMARK);
    EXPECT_EQ(song("Anna")->remark, btkstring("pozn"));
    // A song the search selects keeps its value, and the edit shows it.
    grid()->search("Okno", 1);
    EXPECT_EQ(currentTitle(), "Okno");
    EXPECT_EQ(song("Okno")->remark, btkstring());
    EXPECT_EQ(cellEdit(), btkstring());

    // Forbidding quick edits also ends the autofill.
    action("a_allowquickedit")->trigger();
    EXPECT_FALSE(action("a_autofill")->isChecked());
}

TEST_F(SongGridTest, FilterByCellMakesAVirtualDatabaseAndFillColumnNeedsQuickEdits) {
    start();
    clickCell(indexOf("Okno"), COL_GROUP);
    EXPECT_EQ(cellEdit(), btkstring("Lidová"));
    action("a_filtercell")->trigger();
    idle();
    ASSERT_EQ(mainfrm->dbs->count(), 3);
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 2);
    EXPECT_EQ(titles(), (Titles{"Cesta", "Okno", "Zlato"}));
    // The virtual database keeps the user columns.
    EXPECT_EQ(grid()->cellText(indexOf("Zlato"), gridColumn(16)).text, btkstring("3"));

    // An empty value collects the songs whose cell is empty.
    selectDatabase(0);
    clickCell(indexOf("Bude"), COL_GROUP);
    EXPECT_EQ(cellEdit(), btkstring());
    action("a_filtercell")->trigger();
    idle();
    EXPECT_EQ(mainfrm->dbs->currentIndex(), 3);
    EXPECT_EQ(titles(), (Titles{"Bude"}));

    selectDatabase(0);
    clickCell(0, COL_REMARK);
    mainfrm->cell->setText(btkToQString("nové"));
    action("a_fillcolumn")->trigger();
    EXPECT_TRUE(boxShown(NotAllowedText));
    EXPECT_FALSE(database(0)->isChanged());
    action("a_allowquickedit")->trigger();
    action("a_fillcolumn")->trigger();
    for (const SongSpec& spec : alphaSongs) EXPECT_EQ(song(spec.title)->remark, btkstring("nové"));
    EXPECT_TRUE(database(0)->isChanged());
}

TEST_F(SongGridTest, StackMarksRepaintTheirRowsWhileOtherChangesRebuildAfterThePass) {
    start();
    QSignalSpy resets(grid()->model, &QAbstractItemModel::modelReset);
    clickCell(0, COL_TITLE);
    QTest::keyClick(grid()->grid, Qt::Key_Insert);
    EXPECT_TRUE(song("Anna")->isOnStack());
    EXPECT_EQ(currentTitle(), "Bude");
    const CellData mark = grid()->cellText(0, gridColumn(COL_STACK));
    EXPECT_EQ(mark.text, btkstring("ano"));
    EXPECT_EQ(mark.image, 0);
    EXPECT_EQ(grid()->cellText(1, gridColumn(COL_STACK)).image, 1);
    EXPECT_EQ(grid()->cellText(1, gridColumn(COL_TITLE)).image, -1);
    idle();
    EXPECT_EQ(resets.count(), 0);

    // Shift and a press below the anchor put the range on the stack; a
    // press above it takes the range off.
    clickCell(indexOf("Bude"), COL_TITLE);
    clickCell(indexOf("Okno"), COL_TITLE, Qt::ShiftModifier);
    for (const char* title : {"Bude", "Cesta", "Okno"}) EXPECT_TRUE(song(title)->isOnStack()) << title;
    EXPECT_FALSE(song("Pole")->isOnStack());
    clickCell(indexOf("Anna"), COL_TITLE, Qt::ShiftModifier);
    for (const char* title : {"Anna", "Bude", "Cesta", "Okno"}) EXPECT_FALSE(song(title)->isOnStack()) << title;
    idle();
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(gKxSpace->getStack()->songs.count(), 0);

    // A new title sorts again, once, at the end of the pass.
    SetSongCellText(song("Anna"), COL_TITLE, "Zuzana", grid()->userColumns);
    SetSongCellText(song("Bude"), COL_TITLE, "Alena", grid()->userColumns);
    EXPECT_EQ(resets.count(), 0);
    idle();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(titles(), (Titles{"Alena", "Cesta", "Okno", "Pole", "Zlato", "Zuzana"}));
}

TEST_F(SongGridTest, AClickOnTheStackMarkTogglesItAsInsertDoes) {
    start();
    const struct {
        int dx;  // from the cell's left edge
        bool onStack;
    } clicks[] = {{10, true}, {10, false}, {40, false}};
    for (const auto& c : clicks) {
        const QRect cell = grid()->grid->visualRect(grid()->model->index(1, gridColumn(COL_STACK)));
        QTest::mouseClick(grid()->grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(cell.left() + c.dx, cell.center().y()));
        EXPECT_EQ(grid()->songAt(1)->isOnStack(), c.onStack) << c.dx;
    }
}

// Marks songs in a list of its own and colours the rows of songs it holds.
class MarkingWindow : public CustomSongSelector, public CustomSongCellPainter {
public:
    void put(KxSong* song) override { calls.push_back("put " + std::string(song->title.c_str())); }
    void take(KxSong* song) override { calls.push_back("take " + std::string(song->title.c_str())); }
    void toggle(KxSong* song) override { calls.push_back("toggle " + std::string(song->title.c_str())); }
    bool marked(KxSong* song) override { return song->title == "Cesta"; }
    btkstring markCaption() override { return "Vybráno"; }
    void background(KxSong* song, btkColor& color, bool& set) override {
        if (song->title == "Pole") {
            color = colorMake(255, 0, 0);
            set = true;
        }
    }
    void textColor(KxSong*, btkColor&, bool&) override {}
    std::vector<std::string> calls;
};

TEST_F(SongGridTest, ASongSelectorTakesThePlaceOfTheStackAndPaintersColourRows) {
    start();
    MarkingWindow window;
    grid()->setSongSelector(&window);
    grid()->addCellPainter(&window);
    clickCell(indexOf("Bude"), COL_TITLE);
    QTest::keyClick(grid()->grid, Qt::Key_Insert);
    clickCell(indexOf("Okno"), COL_TITLE, Qt::ShiftModifier);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"toggle Bude", "put Cesta", "put Okno"}));
    EXPECT_EQ(gKxSpace->getStack()->songs.count(), 0);
    // The stack column shows the selector's marks under its caption.
    EXPECT_EQ(grid()->columnCaption(COL_STACK), btkstring("Vybráno"));
    EXPECT_EQ(grid()->cellText(indexOf("Cesta"), gridColumn(COL_STACK)).text, btkstring("ano"));
    EXPECT_EQ(grid()->cellText(indexOf("Cesta"), gridColumn(COL_STACK)).image, 0);
    EXPECT_EQ(grid()->cellText(indexOf("Okno"), gridColumn(COL_STACK)).text, btkstring("ne"));

    const QVariant red = grid()->model->data(grid()->model->index(indexOf("Pole"), 1), Qt::BackgroundRole);
    EXPECT_EQ(red.value<QColor>(), QColor(255, 0, 0));
    EXPECT_TRUE(grid()->model->data(grid()->model->index(0, 1), Qt::BackgroundRole).isNull());
    EXPECT_TRUE(grid()->model->data(grid()->model->index(0, 1), Qt::ForegroundRole).isNull());
    grid()->setSongSelector(nullptr);  // the window goes before the grid
}

TEST_F(SongGridTest, DeletedSongsAndViewsLeaveTheGrid) {
    start();
    grid()->selectSong(song("Okno"));
    song("Anna")->release();
    idle();
    EXPECT_EQ(titles(), (Titles{"Bude", "Cesta", "Okno", "Pole", "Zlato"}));
    EXPECT_EQ(currentTitle(), "Okno");
    EXPECT_EQ(grid()->model->rowCount(), 5);

    // The current song goes: a neighbour becomes current, and the song view
    // and the cell edit follow it.
    clickCell(indexOf("Okno"), COL_TITLE);
    song("Okno")->release();
    idle();
    EXPECT_EQ(titles(), (Titles{"Bude", "Cesta", "Pole", "Zlato"}));
    KxSong* current = gMainWin->getActSong();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(mainfrm->songv->getSongText(), current->displayText());
    EXPECT_EQ(cellEdit(), current->title);

    database(0)->release();
    idle();
    idle();
    EXPECT_EQ(grid()->getView(), gMainWin->getActView());
    EXPECT_EQ(titles(), (Titles{"Čert", "Hora", "Chata"}));
}

TEST_F(SongGridTest, CustomOrderFromTheDialogLastsUntilAHeaderClick) {
    start();
    grid()->selectSong(song("Pole"));
    customsortfrm->runner = [](Tcustomsortfrm& w) {
        w.sortctrl->fld[0]->setCurrentIndex(1);    // "Autor"
        w.sortctrl->order[0]->setCurrentIndex(1);  // "Sestupně"
        return int(QDialog::Accepted);
    };
    action("a_dbcustomsort")->trigger();
    const Titles custom{"Cesta", "Anna", "Pole", "Okno", "Bude", "Zlato"};
    EXPECT_EQ(titles(), custom);
    EXPECT_EQ(currentTitle(), "Pole");
    // No column is the sorted one.
    EXPECT_FALSE(grid()->grid->horizontalHeader()->isSortIndicatorShown());

    // Cancelled: the order stays.
    customsortfrm->runner = [](Tcustomsortfrm&) { return int(QDialog::Rejected); };
    action("a_dbcustomsort")->trigger();
    EXPECT_EQ(titles()[0], "Cesta");

    // A song's change rebuilds the grid in the same order.
    song("Pole")->changed();
    idle();
    EXPECT_EQ(titles(), custom);
    EXPECT_EQ(currentTitle(), "Pole");

    // A header click sorts by its column again, with the mark.
    clickHeader(COL_TITLE);
    EXPECT_EQ(titles(), byTitle);
    EXPECT_EQ(grid()->grid->horizontalHeader()->sortIndicatorSection(), gridColumn(COL_TITLE));
}

TEST_F(SongGridTest, HiddenColumnAndWidthSurviveARestart) {
    start();
    EXPECT_EQ(grid()->model->columnCount(), 17);
    columnfrm->runner = [](Tcolumnfrm& w) {
        EXPECT_EQ(w.cols->count(), 17);
        EXPECT_EQ(btkFromQString(w.cols->item(16)->text()), btkstring("tempo"));
        EXPECT_EQ(w.cols->item(3)->checkState(), Qt::Checked);
        w.cols->item(3)->setCheckState(Qt::Unchecked);
        return int(QDialog::Accepted);
    };
    grid()->Viditelnsloupce1->trigger();
    EXPECT_EQ(gridColumn(COL_AUTHOR), -1);
    EXPECT_EQ(grid()->model->columnCount(), 16);
    grid()->grid->setColumnWidth(gridColumn(COL_TITLE), 222);

    // Cancel changes nothing.
    columnfrm->runner = [](Tcolumnfrm& w) {
        w.cols->item(1)->setCheckState(Qt::Unchecked);
        return int(QDialog::Rejected);
    };
    grid()->Viditelnsloupce1->trigger();
    EXPECT_GE(gridColumn(COL_TITLE), 0);

    EXPECT_TRUE(mainfrm->close());
    btkXMLNode options;
    options.load(folder.path("options.xml"));
    const btkXMLNode layout = options.childByName("mainwin.list");
    EXPECT_EQ(layout.attr("count"), btkstring("17"));
    EXPECT_EQ(layout.attr("visible3"), btkstring("0"));
    EXPECT_EQ(layout.attr("visible1"), btkstring("1"));
    EXPECT_EQ(layout.attr("wi1"), btkstring("222"));
    // The default width fits the caption.
    EXPECT_GE(layout.intAttr("wi3"), 50);

    end();
    start();
    EXPECT_EQ(gridColumn(COL_AUTHOR), -1);
    EXPECT_FALSE(grid()->colProps[COL_AUTHOR]->visible);
    EXPECT_EQ(grid()->grid->columnWidth(gridColumn(COL_TITLE)), 222);
}

TEST_F(SongGridTest, StoredLayoutWithMoreColumnsThanKnownAddsUnnamedOnes) {
    folder.write("options.xml",
                 "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<options db=\"0\" >\n"
                 "<mainwin.list count=\"18\" visible0=\"0\" wi1=\"120\" wi16=\"77\" visible17=\"0\" />\n</options>\n");
    start();
    ASSERT_EQ(grid()->colProps.count(), 18);
    EXPECT_EQ(grid()->colProps[16]->caption, btkstring("tempo"));
    EXPECT_EQ(grid()->colProps[17]->caption, btkstring("???"));
    EXPECT_EQ(grid()->visibleIds.find(17), -1);
    EXPECT_EQ(gridColumn(COL_STACK), -1);
    EXPECT_EQ(gridColumn(COL_TITLE), 0);
    EXPECT_EQ(grid()->grid->columnWidth(0), 120);
    EXPECT_EQ(grid()->grid->columnWidth(gridColumn(16)), 77);
    // A view without user columns shows only the standard ones.
    selectDatabase(1);
    EXPECT_EQ(grid()->visibleIds.find(16), -1);
}

TEST_F(SongGridTest, TwentyThousandSongsSelectAndSortQuickly) {
    constexpr int count = 20000;
    folder.write("db/big.xml", GeneratedDatabaseXml(count));
    start();
    QElapsedTimer timer;
    timer.start();
    selectDatabase(2);
    const qint64 selectMs = timer.elapsed();
    ASSERT_EQ(grid()->songCount(), count);
    clickHeader(COL_AUTHOR);
    timer.restart();
    clickHeader(COL_TITLE);
    const qint64 sortMs = timer.elapsed();
    std::printf("[ timing ] %d songs: selecting the database %lld ms, sorting by title %lld ms\n", count,
                static_cast<long long>(selectMs), static_cast<long long>(sortMs));
    RecordProperty("select_ms", static_cast<int>(selectMs));
    RecordProperty("sort_ms", static_cast<int>(sortMs));
    for (int row = 1; row < count; ++row)
        ASSERT_LE(gTitleCompare.compare(grid()->songAt(row - 1), grid()->songAt(row)), 0) << row;
    // The last row can be reached and shown.
    grid()->selectRow(count - 1);
    EXPECT_EQ(grid()->currentSong(), grid()->songAt(count - 1));

    // Keys typed faster than the search box takes the focus still reach
    // the grid first: every one of them lands in the box, in order.
    QTest::keyClicks(grid()->grid, "son");
    QTest::keyClicks(qsearchfrm->stext, "g");
    EXPECT_EQ(qsearchfrm->text(), btkstring("song"));
    QTest::keyClick(qsearchfrm->stext, Qt::Key_Escape);
}

}  // namespace
