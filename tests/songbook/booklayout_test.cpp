// The book's layout on the fake printer: page numbers from pagenumstart, the
// table of contents, booklet sheets, automatic distribution and its error.
#include "songbook/booklayout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bookenv.h"
#include "songbook/melodar.h"
#include "tests/support/fake_printer.h"

namespace {

// Keeps the texts drawn on it, parted by blanks.
class TextCollector : public btkRealCanvas {
public:
    void text(int, int, const btkstring& s) override { out += (out.empty() ? "" : " ") + std::string(s.c_str()); }
    std::string out;
};

// Books print on a fake printer of the given printable height (1000 wide,
// 4 pixels a millimetre); default fonts measure 16 pixels a line of lyrics
// and 44 a song's head.
class BookLayoutTest : public BookFolderTest {
protected:
    void usePrinter(int height) {
        btkSetPrinterMaker([height](bool) { return std::make_unique<kx6test::FakePrinter>(1000, height, 4); });
    }
    ~BookLayoutTest() override { btkSetPrinterMaker(btkPrinterMaker()); }

    static KxData* addSong(Melodar& book, const char* title, bool newpage = false) {
        auto song = std::make_unique<SongData>(&book);
        song->title = title;
        song->text = "[G]la la\nla la";
        song->newpage = newpage;
        KxData* item = song.get();
        book.appendItem(std::move(song));
        return item;
    }
    static std::string texts(const btkLogPage* page) {
        TextCollector c;
        if (page) const_cast<btkLogPage*>(page)->drawing.play(btkCanvas(0, 0, c.sp()));
        return c.out;
    }
};

}  // namespace

TEST_F(BookLayoutTest, PageNumbersAndTableOfContents) {
    usePrinter(1400);
    Melodar book;
    book.initType();
    book.type->pagenumstart = 5;
    auto outline = std::make_unique<KxOutline>(&book);
    KxData* toc = outline.get();
    book.insertOutline(std::move(outline));
    KxData* alfa = addSong(book, "Alfa");
    KxData* beta = addSong(book, "Beta", true);
    KxData* gama = addSong(book, "Gama");
    book.relayout();

    ASSERT_TRUE(book.logPages);
    EXPECT_EQ(book.logPages->count(), 3);
    const int pages[] = {PageOfItem(book, toc)->number, PageOfItem(book, alfa)->number, PageOfItem(book, beta)->number,
                         PageOfItem(book, gama)->number};
    EXPECT_EQ(std::vector<int>(pages, pages + 4), (std::vector<int>{5, 6, 7, 7}));
    EXPECT_EQ(texts(PageOfItem(book, toc)), "Alfa 6 Beta 7 Gama 7");

    // A second layout draws the contents anew with the new numbers.
    book.type->pagenumstart = 1;
    book.relayout();
    EXPECT_EQ(texts(PageOfItem(book, toc)), "Alfa 2 Beta 3 Gama 3");
}

TEST_F(BookLayoutTest, BookletSheets) {
    usePrinter(1400);
    Melodar book;
    book.initType();
    book.type->hcnt = 2;
    for (int i = 0; i < 9; ++i) addSong(book, ("S" + std::to_string(i)).c_str(), true);
    book.relayout();

    ASSERT_TRUE(book.sheets);
    EXPECT_EQ(book.logPages->count(), 9);
    EXPECT_EQ(book.sheets->sheets(), 3);
    EXPECT_EQ(SheetSideCount(book), 6);
    // The front of the outer sheet: the last place (blank) left, page 1 right.
    EXPECT_EQ(book.sheets->get(0, 0, 0, 0), nullptr);
    EXPECT_EQ(book.sheets->get(0, 1, 0, 0), book.logPages->page(0));
    EXPECT_EQ(book.sheets->get(0, 0, 0, 1), book.logPages->page(1));
}

TEST_F(BookLayoutTest, AutomaticDistribution) {
    // Pages of 100: a song (head 44, two lines of 32 and 16) needs 92.
    usePrinter(100);
    Melodar book;
    book.initType();
    KxData* a = addSong(book, "A");
    KxData* b = addSong(book, "B");
    a->newpage = b->newpage = false;
    book.autoDistribute();
    EXPECT_TRUE(a->newpage);
    EXPECT_TRUE(b->newpage);
    EXPECT_EQ(book.logPages->count(), 2);
    EXPECT_EQ(boxes(), "");

    // A song whose head is taller than a page can never be placed: the
    // book stays as it was.
    usePrinter(40);
    book.applyType();
    a->newpage = b->newpage = false;
    book.autoDistribute();
    EXPECT_EQ(boxes(), "Interní chyba v rozmisťovacím algoritmu|");
    EXPECT_FALSE(b->newpage);
    EXPECT_EQ(book.GetItem(0), a);
}

TEST_F(BookLayoutTest, DistributionOnEveryLayoutAndNoPrinter) {
    usePrinter(100);
    Melodar book;
    book.initType();
    book.type->autodistrib = true;
    addSong(book, "B");
    addSong(book, "A");
    book.relayout();
    EXPECT_EQ(book.logPages->count(), 2);
    EXPECT_TRUE(book.GetItem(1)->newpage);
    EXPECT_EQ(boxes(), "");

    btkSetPrinterMaker(btkPrinterMaker());
    book.applyType();
    EXPECT_FALSE(book.logPages);
    EXPECT_EQ(SheetSideCount(book), 0);
    btkCntVec<int> sides;
    sides.add(0);
    EXPECT_FALSE(PrintBookSides(book, sides));
}

// Songs of 3 to 40 lines, laid out by hand and by both distributions: no
// song's head ends a page (a column of a row) apart from its first line
// where the two fit a page together; where they do not (a head of 44 over a
// first line with chords on pages of 70), the head starts a page, and the
// distribution still places every song.
TEST_F(BookLayoutTest, HeadStaysWithTheFirstLine) {
    const struct {
        int pageHeight;
        bool autodistrib;
        int a4distrib;
        int hcnt;
    } layouts[] = {{600, false, 0, 1}, {600, true, 0, 1}, {600, true, 1, 2},
                   {70, false, 0, 1},  {70, true, 0, 1},  {70, true, 1, 2}};
    for (const auto& l : layouts) {
        usePrinter(l.pageHeight);
        Melodar book;
        book.initType();
        book.type->autodistrib = l.autodistrib;
        book.type->a4distrib = l.a4distrib;
        book.type->hcnt = l.hcnt;
        for (int s = 0; s < 80; ++s) {
            auto song = std::make_unique<SongData>(&book);
            song->title = btkIntToStr(s);
            const int lines = 3 + (s * 17) % 38;
            for (int k = 0; k < lines; ++k) song->text += (k + s) % 7 == 0 ? ".R:\n[G]la la\n" : "la la\n";
            book.appendItem(std::move(song));
        }
        book.applyType();
        ASSERT_TRUE(book.logPages);
        int songsChecked = 0, split = 0;
        for (int i = 0; i < book.GetItemCount(); ++i) {
            const btkPaneGrp* panes = book.GetItem(i)->panes.get();
            ASSERT_TRUE(panes && panes->count() > 2);
            int first = 1, together = panes->pane(0)->height;
            for (; panes->pane(first)->optional; ++first) together += panes->pane(first)->height;
            together += panes->pane(first)->height;
            const btkLogPage* head = FindPageOfPane(book.logPages.get(), panes->pane(0));
            ASSERT_TRUE(head);
            if (together <= l.pageHeight)
                EXPECT_EQ(head, FindPageOfPane(book.logPages.get(), panes->pane(first)))
                    << "song " << book.GetItem(i)->displayText().c_str() << " layout " << l.autodistrib << l.a4distrib;
            else
                EXPECT_EQ(head->panes[0], panes->pane(0)) << "song " << book.GetItem(i)->displayText().c_str();
            split += together > l.pageHeight;
            ++songsChecked;
        }
        EXPECT_EQ(songsChecked, 80);
        EXPECT_EQ(split > 0, l.pageHeight < 100);
    }
    EXPECT_EQ(boxes(), "");
}
