// Pane groups, logical pages and the stacking of panes onto pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "foundation/btkpane.h"
#include "tests/support/canvas_doubles.h"

using kx6test::CallLog;
using kx6test::FixedMetricCanvas;
using kx6test::LabelOp;
using kx6test::LoggingCanvas;
using kx6test::LoggingPagePrinter;
using kx6test::NamedFont;

namespace {

// Draws pane i as the text "P<i>" at (0, 0) followed by a break of its
// height; 'o' marks an optional pane.
void drawPanes(btkPaneGrp& group, const std::vector<std::pair<int, char>>& panes) {
    btkCanvas h = group.handle();
    int i = 0;
    for (auto [height, kind] : panes) {
        h.text(0, 0, ("P" + std::to_string(i++)).c_str());
        h.paneBreak(height, kind == 'o' ? "optional" : "");
    }
}

// A printer log in short: "[" and "]" start and end a page, "P<i>@<y>" is
// pane i's text drawn at y, "+<h>" notes a placed pane of height h.
std::string pagesOf(const CallLog& log) {
    std::string out;
    for (const std::string& e : log) {
        int y = 0, i = 0, h = 0;
        std::string token = e == "startPage" ? "["
                            : e == "endPage" ? "]"
                            : std::sscanf(e.c_str(), "text(0,%d,P%d)", &y, &i) == 2
                                ? "P" + std::to_string(i) + "@" + std::to_string(y)
                            : std::sscanf(e.c_str(), "notePane(%d)", &h) == 1 ? "+" + std::to_string(h)
                                                                              : e;
        out += (out.empty() ? "" : " ") + token;
    }
    return out;
}

// Prints the panes on pages of the given height; the pages in short.
std::string print(const std::vector<std::pair<int, char>>& panes, int limit) {
    btkPaneGrp group;
    drawPanes(group, panes);
    CallLog log;
    LoggingPagePrinter printer(&log, limit);
    printPanesOnPages(group, printer, nullptr);
    std::string pages = pagesOf(log);
    EXPECT_EQ(printer.started, std::count(pages.begin(), pages.end(), '['));
    EXPECT_EQ(printer.ended, std::count(pages.begin(), pages.end(), ']'));
    return pages;
}

}  // namespace

TEST(PaneGrp, BreaksCutTheDrawingIntoPanes) {
    btkPaneGrp group;
    btkCanvas h = group.handle();
    h.text(5, 5, "a").paneBreak(10, "");
    h.text(0, 0, "b").line(0, 0, 9, 0).paneBreak(20, "optional");
    h.text(0, 0, "c").paneBreak(30, "Optional");  // only the exact word marks a gap
    h.text(0, 0, "unfinished");
    EXPECT_EQ(h.originY(), 0);  // a pane break does not move the drawing handle

    ASSERT_EQ(group.count(), 3);
    EXPECT_EQ(group.pane(0)->height, 10);
    EXPECT_FALSE(group.pane(0)->optional);
    EXPECT_EQ(group.pane(1)->height, 20);
    EXPECT_TRUE(group.pane(1)->optional);
    EXPECT_FALSE(group.pane(2)->optional);
    EXPECT_ANY_THROW(group.pane(3));

    LoggingCanvas target;
    for (btkPane* p : group.panes()) p->play(btkCanvas(0, 100, target.sp()));
    EXPECT_EQ(target.log(), (CallLog{"text(5,105,a)", "text(0,100,b)", "line(0,100,9,100)", "text(0,100,c)"}));
}

TEST(PaneGrp, MeasuresOnTheOwnersCanvasAndNeverDeletesIt) {
    FixedMetricCanvas printerIC(5, 11);
    btkCanvas survivor;
    ASSERT_EQ(LabelOp::alive, 0);
    {
        btkPaneGrp group;
        group.canvas().setMeasureTarget(printerIC.sp());
        btkCanvas h = group.handle();
        NamedFont f("Title");
        h.setFont(&f);
        EXPECT_EQ(printerIC.font, &f);
        EXPECT_EQ(h.textWidth("abc"), 15);
        EXPECT_EQ(h.textHeight("abc"), 11);
        LabelOp op("n");
        h.custom(&op, 1, 1).paneBreak(11, "");
        h.custom(&op, 2, 2);  // stays in the open pane
        survivor = h;

        LoggingCanvas target;
        group.pane(0)->play(btkCanvas(0, 0, target.sp()));
        EXPECT_EQ(target.log(), (CallLog{"setFont(Title)", "custom(0,0)", "text(1,1,n)"}));
    }
    // The group freed its panes and the open pane; the caller's canvas lives on.
    EXPECT_EQ(LabelOp::alive, 0);
    EXPECT_EQ(printerIC.textWidth("ab"), 10);
    EXPECT_EQ(printerIC.sp().get(), &printerIC);
    // A handle kept past the group sees no canvas.
    EXPECT_EQ(survivor.get(), nullptr);
    survivor.text(0, 0, "late").paneBreak(5, "");
}

TEST(PrintPanes, EmptyGroupPrintsNoPage) {
    EXPECT_EQ(print({}, 100), "");

    // A continuation record passes through untouched.
    btkPaneGrp empty;
    CallLog log;
    LoggingPagePrinter printer(&log, 100);
    btkPageDistribState state;
    state.openPage.reset(new btkCanvas(printer.startPage()));
    state.used = 42;
    printPanesOnPages(empty, printer, &state);
    EXPECT_TRUE(state.hasOpenPage());
    EXPECT_EQ(state.used, 42);
}

TEST(PrintPanes, StackingOnPagesOf100) {
    const struct {
        std::vector<std::pair<int, char>> panes;
        const char* pages;
    } cases[] = {
        {{{40, 'n'}, {40, 'n'}, {40, 'n'}}, "[ P0@0 +40 P1@40 +40 ] [ P2@0 +40 ]"},
        // A pane ending exactly at the limit fits.
        {{{60, 'n'}, {40, 'n'}}, "[ P0@0 +60 P1@60 +40 ]"},
        // An optional pane never starts a page.
        {{{10, 'o'}, {20, 'n'}}, "[ P1@0 +20 ]"},
        // 60 and 30 fill 90; the 20 would end at 110 and is dropped; the 5
        // would still fit but the pending break starts page 2.
        {{{60, 'n'}, {30, 'o'}, {20, 'o'}, {5, 'n'}}, "[ P0@0 +60 P1@60 +30 ] [ P3@0 +5 ]"},
        // A pane taller than the page stands alone.
        {{{150, 'n'}, {10, 'n'}}, "[ P0@0 +150 ] [ P1@0 +10 ]"},
        {{{150, 'n'}, {10, 'o'}, {10, 'n'}}, "[ P0@0 +150 ] [ P2@0 +10 ]"},
    };
    for (const auto& c : cases) EXPECT_EQ(print(c.panes, 100), c.pages);
}

TEST(PrintPanes, LongListOnLogicalPages) {
    btkPaneGrp group;
    drawPanes(group, {{50, 'n'},
                      {10, 'o'},
                      {30, 'n'},
                      {20, 'o'},
                      {70, 'n'},
                      {10, 'o'},
                      {10, 'o'},
                      {120, 'n'},
                      {10, 'o'},
                      {40, 'n'},
                      {40, 'n'},
                      {30, 'o'},
                      {20, 'n'}});
    btkLogPages pages(100);
    printPanesOnPages(group, pages, nullptr);

    // Per page: the panes placed (by index) and where their drawing landed.
    std::vector<CallLog> expected = {
        {"text(0,0,P0)", "text(0,50,P1)", "text(0,60,P2)"},
        {"text(0,0,P4)", "text(0,70,P5)", "text(0,80,P6)"},
        {"text(0,0,P7)"},
        {"text(0,0,P9)", "text(0,40,P10)"},
        {"text(0,0,P12)"},
    };
    std::vector<std::vector<int>> placed = {{0, 1, 2}, {4, 5, 6}, {7}, {9, 10}, {12}};
    ASSERT_EQ(pages.count(), 5);
    EXPECT_EQ(pages.currentPage(), nullptr);
    for (int k = 0; k < pages.count(); ++k) {
        LoggingCanvas target;
        pages.page(k)->drawing.play(btkCanvas(0, 0, target.sp()));
        EXPECT_EQ(target.log(), expected[k]) << "page " << k << ": " << kx6test::joined(target.log());
        std::vector<int> onPage;
        for (btkPane* p : pages.page(k)->panes) {
            for (int i = 0; i < group.count(); ++i)
                if (group.pane(i) == p) onPage.push_back(i);
        }
        EXPECT_EQ(onPage, placed[k]) << "page " << k;
        EXPECT_EQ(pages.page(k)->number, 0);
    }
}

TEST(PrintPanes, GroupsShareAPageThroughTheContinuationRecord) {
    btkPaneGrp first, second, third;
    drawPanes(first, {{30, 'n'}, {30, 'n'}});
    drawPanes(second, {{20, 'n'}, {50, 'n'}});
    drawPanes(third, {{45, 'o'}, {10, 'n'}});
    CallLog log;
    LoggingPagePrinter printer(&log, 100);
    btkPageDistribState state;
    EXPECT_FALSE(state.hasOpenPage());

    printPanesOnPages(first, printer, &state);
    EXPECT_TRUE(state.hasOpenPage());
    EXPECT_EQ(state.used, 60);
    printPanesOnPages(second, printer, &state);
    EXPECT_EQ(state.used, 50);
    // 45 would end at 95: placed; then 10 ends at 105: a new page.
    printPanesOnPages(third, printer, &state);
    EXPECT_EQ(state.used, 10);
    EXPECT_EQ(printer.ended, 2);  // the last page stays open for the caller

    state.finish(printer);
    EXPECT_FALSE(state.hasOpenPage());
    EXPECT_EQ(state.used, 0);
    EXPECT_FALSE(state.skipping);
    EXPECT_EQ(pagesOf(log), "[ P0@0 +30 P1@30 +30 P0@60 +20 ] [ P1@0 +50 P0@50 +45 ] [ P1@0 +10 ]");

    state.finish(printer);  // nothing open: no further page ended
    EXPECT_EQ(printer.ended, 3);
}

TEST(PrintPanes, PendingBreakCarriesOverToTheNextGroup) {
    btkPaneGrp first, second;
    drawPanes(first, {{60, 'n'}, {50, 'o'}});
    drawPanes(second, {{10, 'n'}});
    CallLog log;
    LoggingPagePrinter printer(&log, 100);
    btkPageDistribState state;
    printPanesOnPages(first, printer, &state);
    EXPECT_TRUE(state.skipping);
    printPanesOnPages(second, printer, &state);
    state.finish(printer);
    EXPECT_EQ(pagesOf(log), "[ P0@0 +60 ] [ P0@0 +10 ]");
}

TEST(LogPages, CollectsPagesAndTheirPanes) {
    btkLogPages pages(250);
    EXPECT_EQ(pages.width(), 250);
    btkPane pane;
    pages.notePane(&pane);  // no open page: nothing
    pages.endPage();        // nothing to end
    EXPECT_EQ(pages.count(), 0);

    pages.startPage().text(1, 2, "discarded");
    btkCanvas h = pages.startPage();  // the unended page is dropped
    h.text(3, 4, "kept");
    pages.notePane(&pane);
    pages.endPage();
    ASSERT_EQ(pages.count(), 1);
    EXPECT_EQ(pages.page(0)->panes.count(), 1);
    EXPECT_EQ(pages.page(0)->panes[0], &pane);
    LoggingCanvas target;
    pages.page(0)->drawing.play(btkCanvas(10, 10, target.sp()));
    EXPECT_EQ(target.log(), CallLog{"text(13,14,kept)"});

    EXPECT_ANY_THROW(pages.page(1));
    EXPECT_ANY_THROW(pages.page(-1));
    EXPECT_EQ(pages.pages().count(), 1);
}
