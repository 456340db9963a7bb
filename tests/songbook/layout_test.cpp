// The layout steps over panes and pages: items placed on numbered logical
// pages with their page flags, and the table of contents.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "songbook/booklayout.h"
#include "tests/support/canvas_doubles.h"
#include "tests/support/fake_printer.h"

using kx6test::CallLog;

namespace {

// Keeps only the texts drawn on it, as "text@x,y"; measures every byte 6
// wide.
class TextCollector : public kx6test::FixedMetricCanvas {
public:
    void text(int x, int y, const btkstring& s) override {
        out += (out.empty() ? "" : " ") + std::string(s.c_str()) + "@" + std::to_string(x) + "," + std::to_string(y);
    }
    std::string out;
};

// "a10 o5 b10": panes named a and b of height 10 with an optional pane of
// height 5 between; each pane draws its name at (0, 0).
std::unique_ptr<btkPaneGrp> panes(const std::string& spec) {
    auto g = std::make_unique<btkPaneGrp>();
    std::istringstream in(spec);
    std::string t;
    while (in >> t) {
        const bool optional = t[0] == 'o';
        if (!optional) g->handle().text(0, 0, t.substr(0, 1).c_str());
        g->endPane(std::stoi(t.substr(1)), optional ? "optional" : "");
    }
    return g;
}

// Each page as "number: texts", pages parted by " | ".
std::string describe(const btkLogPages& pages) {
    std::string out;
    for (btkLogPage* page : pages.pages()) {
        TextCollector c;
        page->drawing.play(btkCanvas(0, 0, c.sp()));
        out += (out.empty() ? "" : " | ") + std::to_string(page->number) + ":" + (c.out.empty() ? "" : " ") + c.out;
    }
    return out;
}

}  // namespace

TEST(BookLayout, ItemsOnNumberedPages) {
    const struct {
        std::vector<std::string> items;  // "N" / "S" before the panes set newpage / skippage
        int first;
        const char* pages;
    } cases[] = {
        {{"a10 b10", "c15"}, 1, "1: a@0,0 b@0,10 | 2: c@0,0"},
        {{"a10", "N b10"}, 1, "1: a@0,0 | 2: b@0,0"},
        {{"S a10"}, 1, "1: | 2: a@0,0"},
        // newpage right after skippage: closing a closed page opens nothing.
        {{"S a10", "N b10"}, 1, "1: | 2: a@0,0 | 3: b@0,0"},
        {{"a10", "-", "b10"}, 5, "5: a@0,0 b@0,10"},
        {{}, 1, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::unique_ptr<btkPaneGrp>> groups;
        btkObjVec<KxPlacement> items;
        for (const std::string& spec : c.items) {
            KxPlacement item;
            item.newpage = spec[0] == 'N';
            item.skippage = spec[0] == 'S';
            if (spec != "-") {
                groups.push_back(panes(item.newpage || item.skippage ? spec.substr(2) : spec));
                item.panes = groups.back().get();
            }
            items.add(item);
        }
        EXPECT_EQ(describe(*PlaceItemsOnPages(items, 30, c.first)), c.pages) << c.pages;
    }
}

TEST(BookLayout, FindPageOfPane) {
    auto a = panes("a10 b10");
    auto b = panes("c10");
    btkObjVec<KxPlacement> items;
    items.add({a.get(), false, false});
    items.add({b.get(), true, false});
    auto pages = PlaceItemsOnPages(items, 30, 1);
    EXPECT_EQ(FindPageOfPane(pages.get(), b->pane(0)), pages->page(1));
    EXPECT_EQ(FindPageOfPane(pages.get(), a->pane(1)), pages->page(0));
    EXPECT_EQ(FindPageOfPane(nullptr, a->pane(0)), nullptr);
    btkPane loose;
    EXPECT_EQ(FindPageOfPane(pages.get(), &loose), nullptr);
}

// Columns 90 wide (200 / 2 - 10), 40 high; every byte 6 wide, lines 10
// high, so "MMXXXX" is 36 wide.
TEST(BookLayout, OutlineColumnsWrapsAndNumbers) {
    const std::string a(15, 'a'), b(15, 'b'), c(15, 'c'), d(15, 'd');
    const struct {
        std::string title;
        int page;
    } rows[] = {
        {"Short", 3},
        {"aaaa bbbb cccc dddd", 4},             // the last word wraps
        {"ccccccccccccc", 5},                   // no room for the number: a line of its own
        {a + " " + b + " " + c + " " + d, 12},  // taller than the page
        {"Short", 6},
    };
    std::vector<std::unique_ptr<btkLogPage>> pages;
    btkObjVec<KxOutlineEntry> entries;
    for (const auto& r : rows) {
        pages.push_back(std::make_unique<btkLogPage>());
        pages.back()->number = r.page;
        btkLogPage* page = pages.back().get();
        entries.add({r.title.c_str(), [page] { return page; }});
    }
    kx6test::FixedMetricCanvas measure(6, 10);
    kx6test::NamedFont title("T"), number("N");
    btkPaneGrp group;
    DrawOutlineEntries(group, btkCanvas(0, 0, measure.sp()), &title, &number, {200, 40, 10, 2}, entries);

    ASSERT_EQ(group.count(), 2);
    std::vector<std::string> played;
    for (btkPane* pane : group.panes()) {
        EXPECT_EQ(pane->height, 40);
        TextCollector out;
        pane->play(btkCanvas(0, 0, out.sp()));
        played.push_back(out.out);
    }
    EXPECT_EQ(played[0],
              "Short@0,0 3@84,0 aaaa@0,10 bbbb@30,10 cccc@60,10 dddd@0,20 4@84,20 ccccccccccccc@100,0 5@184,10");
    EXPECT_EQ(played[1], a + "@0,0 " + b + "@0,10 " + c + "@0,20 " + d + "@0,30 12@78,40 Short@100,0 6@184,0");
}

// Three logical pages, one per side: sides 0 to 2 hold pages 0 to 2, side 3
// is blank.
TEST(BookLayout, PrintChosenSheetSides) {
    const struct {
        std::vector<int> sides;
        bool valid, failStart, printed;
        const char* log;
    } cases[] = {
        {{2, 9, 0, -1},
         true,
         false,
         true,
         "startDoc(kx); newPage; text(0,0,page 2); endPage; newPage; text(0,0,page 0); endPage; endDoc"},
        {{3}, true, false, true, "startDoc(kx); newPage; endPage; endDoc"},
        {{4}, true, false, false, ""},
        {{0}, false, false, false, ""},
        {{0}, true, true, false, "startDoc(kx)"},
    };
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 3);
    btkPageDistribution sheets(1, 1, pages, nullptr, 0, 1);
    for (const auto& c : cases) {
        kx6test::FakePrinter printer;
        printer.valid = c.valid;
        printer.failStart = c.failStart;
        CallLog formatLog;
        kx6test::StubPageFormat format(&formatLog, 100, 100);
        btkCntVec<int> sides;
        for (int s : c.sides) sides.add(s);
        EXPECT_EQ(PrintSheetSides(printer, sheets, format, sides, "kx"), c.printed) << c.log;
        EXPECT_EQ(kx6test::joined(printer.log), c.log);
    }
}
