// The song windows: the song set question, the subset window with its view
// and difference windows, and the group page of the main window following
// the song stack and the queue.
#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "app/main/songgridmodel.h"
#include "app/song/groupviewfrm.h"
#include "app/song/songdifffrm.h"
#include "app/song/songsetfrm.h"
#include "app/song/songsubsetfrm.h"
#include "app/song/viewsongfrm.h"
#include "foundation/qt/btkqstring.h"
#include "gridenv.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/songcolumns.h"

namespace {

using Titles = std::vector<std::string>;

Titles titlesOf(const btkCntVec<KxSong*>& songs) {
    Titles titles;
    for (KxSong* song : songs) titles.push_back(song->title.c_str());
    return titles;
}

// A song that exists only for the window, not in any database.
struct LooseSong : AbstractSongData {
    btkstring title, author, group, remark, text;
    btkstring getTitle() const override { return title; }
    btkstring getAuthor() const override { return author; }
    btkstring getGroup() const override { return group; }
    btkstring getRemark() const override { return remark; }
    btkstring getText() const override { return text; }
};

class SongWindowsTest : public GridTest {
protected:
    void SetUp() override {
        GridTest::SetUp();
        folder.write("db/alpha.xml", GridDatabaseXml({{"Zlato", "Lidová"},
                                                      {"Anna", "Pop"},
                                                      {"Okno", "Lidová"},
                                                      {"Bude"},
                                                      {"Pole", "Pop"},
                                                      {"Cesta", "Lidová"}}));
        folder.write("db/beta.xml", GridDatabaseXml({{"Hora"}, {"Anna"}}));
    }
    KxSong* song(const char* title) {
        btkCntVec<KxSong*> all;
        gKxSpace->getView(0)->getSongs(all);
        for (KxSong* s : all)
            if (s->title == title) return s;
        return nullptr;
    }
    Tgroupviewfrm* groups() { return mainfrm->grpv; }
    Titles groupNames() {
        Titles names;
        for (int g = 0; g < groups()->groupCount(); ++g)
            names.push_back(btkFromQString(groups()->groups->model()->index(g, 0).data().toString()).c_str());
        return names;
    }
    Titles groupLines() {
        Titles lines;
        for (int i = 0; i < groups()->songCount(); ++i) lines.push_back(groups()->songAt(i)->title.c_str());
        return lines;
    }
    bool lineChecked(int line) {
        return groups()->songs->model()->index(line, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    void clickLine(QListView* view, int line, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QModelIndex index = view->model()->index(line, 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, view->visualRect(index).center());
    }
};

TEST_F(SongWindowsTest, SongSetDialogReturnsTheChosenSetAndCancelKeepsTheLastChoice) {
    start();
    mainfrm->list->selectSong(song("Okno"));
    song("Pole")->putOnStack();
    const struct {
        int choice;
        Titles songs;
    } rows[] = {
        {0, {"Okno"}},
        {1, {"Pole"}},
        {2, {"Zlato", "Anna", "Okno", "Bude", "Pole", "Cesta"}},
        {3, {"Zlato", "Anna", "Okno", "Bude", "Pole", "Cesta", "Hora", "Anna"}},
    };
    for (const auto& row : rows) {
        songsetfrm->runner = [&](Tsongsetfrm& form) {
            EXPECT_EQ(btkFromQString(form.label->text()), btkstring("Které písně?"));
            form.setctrl->choices[row.choice]->click();
            return QDialog::Accepted;
        };
        btkCntVec<KxSong*> songs;
        EXPECT_TRUE(AskSongSet("Které písně?", songs));
        EXPECT_EQ(titlesOf(songs), row.songs) << row.choice;
    }

    // Cancel ends the command: nothing collected, and the next question
    // starts from the last confirmed choice.
    songsetfrm->runner = [](Tsongsetfrm& form) {
        form.setctrl->choices[1]->click();
        return QDialog::Rejected;
    };
    btkCntVec<KxSong*> kept;
    kept.add(song("Anna"));
    EXPECT_FALSE(AskSongSet("?", kept));
    EXPECT_EQ(titlesOf(kept), Titles{"Anna"});
    int choice = -1;
    songsetfrm->runner = [](Tsongsetfrm&) { return QDialog::Accepted; };
    EXPECT_TRUE(songsetfrm->ask("?", choice));
    EXPECT_EQ(choice, 3);
}

TEST_F(SongWindowsTest, SubsetWindowTicksWithoutTheStackAndOpensViewAndDifference) {
    start();
    btkCntVec<KxSong*> offered, partners, ticked;
    for (const char* title : {"Anna", "Bude", "Cesta"}) offered.add(song(title));
    partners.add(song("Zlato"));
    partners.add(nullptr);
    ticked.add(song("Cesta"));

    std::vector<std::string> opened;
    viewsongfrm->runner = [&](Tviewsongfrm& form) {
        opened.push_back("view " + std::string(btkFromQString(form.title->text()).c_str()));
        return QDialog::Accepted;
    };
    songdifffrm->runner = [&](Tsongdifffrm& form) {
        opened.push_back("diff " + std::string(btkFromQString(form.songs[0].title->text()).c_str()) + " " +
                         std::string(btkFromQString(form.songs[1].title->text()).c_str()));
        return QDialog::Accepted;
    };
    songsubsetfrm->runner = [&](Tsongsubsetfrm& form) {
        Tsonggridfrm* grid = form.list;
        EXPECT_TRUE(form.btdiff->isEnabled());
        EXPECT_EQ(grid->songCount(), 3);
        btkColor color = 0;
        EXPECT_TRUE(grid->rowBackground(2, color));  // Cesta, ticked by the caller
        EXPECT_EQ(color, btkColor(65535));
        EXPECT_FALSE(grid->rowBackground(0, color));
        // Insert ticks Anna in the window, not on the stack.
        grid->selectRow(0);
        QTest::keyClick(grid->grid, Qt::Key_Insert);
        EXPECT_TRUE(form.isTicked(song("Anna")));
        EXPECT_FALSE(song("Anna")->isOnStack());
        // F3 and F4 on Anna; F4 on Bude, who has no partner, opens nothing.
        grid->selectRow(0);
        QTest::keyClick(grid->grid, Qt::Key_F3);
        QTest::keyClick(grid->grid, Qt::Key_F4);
        grid->selectRow(1);
        QTest::keyClick(grid->grid, Qt::Key_F4);
        form.btselall->click();
        EXPECT_EQ(form.tickedSongs().count(), 3);
        form.btremoveall->click();
        grid->selectRow(1);
        QTest::keyClick(grid->grid, Qt::Key_Insert);
        return QDialog::Accepted;
    };
    EXPECT_TRUE(selectSongSubset(offered, ticked, &partners));
    EXPECT_EQ(titlesOf(ticked), Titles{"Bude"});
    EXPECT_EQ(opened, (std::vector<std::string>{"view Anna", "diff Anna Zlato"}));
    EXPECT_EQ(gKxSpace->getStack()->songs.count(), 0);

    // Without partners there is no comparison; cancel keeps the list.
    opened.clear();
    songsubsetfrm->runner = [&](Tsongsubsetfrm& form) {
        EXPECT_FALSE(form.btdiff->isEnabled());
        form.list->selectRow(0);
        QTest::keyClick(form.list->grid, Qt::Key_F4);
        form.btselall->click();
        return QDialog::Rejected;
    };
    EXPECT_FALSE(selectSongSubset(offered, ticked, nullptr));
    EXPECT_EQ(titlesOf(ticked), Titles{"Bude"});
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(OptionsRoot().childByName("songsubsetlist").attr("count").length() > 0);
}

TEST_F(SongWindowsTest, DifferenceWindowMarksExactlyTheDifferingFields) {
    start();
    LooseSong base;
    base.title = "Holka";
    base.author = "lidová";
    base.group = "Česká";
    base.remark = "";
    base.text = "[G]Holka modrooká\n";
    const struct {
        const char* name;
        void (*change)(LooseSong&);
        std::vector<bool> red;  // title, author, group, remark, text
    } rows[] = {
        {"same", [](LooseSong&) {}, {false, false, false, false, false}},
        {"title case", [](LooseSong& s) { s.title = "holka"; }, {true, false, false, false, false}},
        {"trailing line feed",
         [](LooseSong& s) { s.text = "[G]Holka modrooká\n\n"; },
         {false, false, false, false, true}},
        {"author and remark",
         [](LooseSong& s) {
             s.author = "Lidová";
             s.remark = "x";
         },
         {false, true, false, true, false}},
    };
    songdifffrm->runner = [](Tsongdifffrm&) { return QDialog::Accepted; };
    for (const auto& row : rows) {
        LooseSong other = base;
        row.change(other);
        songdifffrm->Execute(base, other);
        std::vector<bool> red;
        for (QLabel* label :
             {songdifffrm->ltitle, songdifffrm->lauthor, songdifffrm->lgroup, songdifffrm->lremark, songdifffrm->ltext})
            red.push_back(label->palette().color(QPalette::WindowText) == QColor(255, 0, 0));
        EXPECT_EQ(red, row.red) << row.name;
        EXPECT_EQ(btkFromQString(songdifffrm->songs[1].title->text()), other.title) << row.name;
    }
}

TEST_F(SongWindowsTest, ViewSongShowsTheStoredTextAndHidesAnEmptyRemark) {
    start();
    KxSong* anna = song("Anna");
    anna->transposition = 2;
    anna->remark = "Pozor";
    for (const char* remark : {"Pozor", ""}) {
        anna->remark = remark;
        viewsongfrm->runner = [&](Tviewsongfrm& form) {
            EXPECT_EQ(btkFromQString(form.title->text()), btkstring("Anna"));
            EXPECT_EQ(btkFromQString(form.group->text()), btkstring("Pop"));
            EXPECT_EQ(form.remark->isHidden(), *remark == 0);
            EXPECT_EQ(form.songv->getSongText(), anna->text);
            return QDialog::Accepted;
        };
        viewsongfrm->Execute(*anna);
    }
}

TEST_F(SongWindowsTest, GroupPageFollowsTheStackAndRebuildsOncePerPass) {
    start();
    // The page starts without a current song (start-up makes the grid's
    // first song current).
    mainfrm->list->grid->setCurrentIndex(QModelIndex());
    mainfrm->pager->setCurrentIndex(1);
    EXPECT_EQ(groupNames(), (Titles{"", "Lidová", "Pop"}));
    clickLine(groups()->groups, 1);
    EXPECT_EQ(groupLines(), (Titles{"Cesta", "Okno", "Zlato"}));
    EXPECT_EQ(mainfrm->songv->getSongText(), btkstring());
    clickLine(groups()->songs, 1);
    EXPECT_EQ(mainfrm->getActSong(), song("Okno"));
    EXPECT_EQ(mainfrm->songv->getSongText(), song("Okno")->displayText());

    // Space ticks the current line: the song goes on the stack and the grid
    // shows its mark; a song put on the stack elsewhere is ticked here
    // without a rebuild.
    QSignalSpy resets(groups()->groups->model(), &QAbstractItemModel::modelReset);
    QTest::keyClick(groups()->songs, Qt::Key_Space);
    EXPECT_TRUE(song("Okno")->isOnStack());
    song("Zlato")->putOnStack();
    idle();
    EXPECT_EQ(SongCellText(song("Okno"), COL_STACK, btkStrings()), btkstring("ano"));
    EXPECT_TRUE(lineChecked(2));
    EXPECT_EQ(resets.count(), 0);

    // Shift-click upwards takes the range off the stack.
    clickLine(groups()->songs, 2);
    clickLine(groups()->songs, 0, Qt::ShiftModifier);
    for (const char* title : {"Cesta", "Okno", "Zlato"}) EXPECT_FALSE(song(title)->isOnStack()) << title;
    EXPECT_FALSE(lineChecked(1));

    // New titles and a new song rebuild once at the end of the pass; the
    // current song stays selected.
    groups()->setActSong(song("Okno"));
    SetSongCellText(song("Cesta"), COL_TITLE, "Alena", btkStrings());
    SetSongCellText(song("Zlato"), COL_GROUP, "Pop", btkStrings());
    KxSong* added = gKxSpace->getView(0)->asDatabase()->addNewSong();
    added->title = "Nová";
    added->group = "Lidová";
    added->changed();
    idle();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(groupLines(), (Titles{"Alena", "Nová", "Okno"}));
    EXPECT_EQ(groups()->getActSong(), song("Okno"));
    btkCntVec<KxSong*> all;
    EXPECT_EQ(groups()->GetAllSongs(all), 3);
    EXPECT_EQ(all.count(), 7);

    // The shown view goes: both lists are empty.
    auto* custom = new KxCustomView(all);
    groups()->setView(custom);
    EXPECT_EQ(groups()->groupCount(), 3);
    custom->release();
    idle();
    EXPECT_EQ(groups()->groupCount(), 0);
    EXPECT_EQ(groups()->songCount(), 0);
}

}  // namespace
