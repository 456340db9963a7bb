// Page format: cell sizes and positions from the margins, header and footer
// templates and where they are drawn.
#include "songbook/pageformat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "songbook/kxtype.h"
#include "tests/support/canvas_doubles.h"
#include "tests/support/fake_printer.h"

using kx6test::CallLog;
using kx6test::FakePrinter;
using kx6test::LoggingCanvas;

namespace {

void setList(KxIntList& list, const std::vector<int>& values) {
    list.clear();
    for (int v : values) list.add(v);
}

}  // namespace

// A printable width of 4800 at 23 pixels per millimetre (600 dpi).
TEST(PageFormat, CellSizesAndPositions) {
    const struct {
        int margintype, hcnt, vcnt;
        int leftsp, rightsp, topsp, bottomsp;
        std::vector<int> mleft, mright, mtop, mbottom;
        int width, height;  // of every cell
        int x0, x1, y1;     // x of columns 0 and 1, y of row 1
    } cases[] = {
        {0, 2, 1, 10, 5, 0, 0, {}, {}, {}, {}, 2055, 2300, 230, 2630, 2300},
        {0, 1, 2, 0, 0, 10, 20, {}, {}, {}, {}, 4800, 460, 0, 4800, 1380},
        // Any margin type but 1 is read as simple margins.
        {7, 2, 1, 10, 5, 0, 0, {}, {}, {}, {}, 2055, 2300, 230, 2630, 2300},
        // SH = 10 + 20 + 5 = 35 mm; column 1 starts one cell and 35 mm in.
        {1, 2, 1, 0, 0, 0, 0, {10, 20}, {5}, {}, {}, 1997, 2300, 230, 2802, 2300},
        // Lists shorter than the columns and rows count 0 for the rest.
        {1, 3, 2, 0, 0, 0, 0, {10}, {}, {2}, {3, 4}, 1523, 1046, 230, 1753, 1161},
    };
    FakePrinter printer(4800, 2300, 23);
    for (const auto& c : cases) {
        BaseKxType type;
        type.margintype = static_cast<unsigned char>(c.margintype);
        type.hcnt = c.hcnt;
        type.vcnt = c.vcnt;
        type.leftsp = c.leftsp;
        type.rightsp = c.rightsp;
        type.topsp = c.topsp;
        type.bottomsp = c.bottomsp;
        setList(type.mleft, c.mleft);
        setList(type.mright, c.mright);
        setList(type.mtop, c.mtop);
        setList(type.mbottom, c.mbottom);
        int w = 0, h = 0, x0 = 0, x1 = 0, y1 = 0, y = 0, x = 0;
        logicalPageSize(type, printer, &w, &h);
        KxPageFormat format(type, printer);
        format.cellPosition(0, 0, 0, 0, &x0, &y);
        format.cellPosition(3, 1, 1, 0, &x1, &y);
        format.cellPosition(0, 0, 0, 1, &x, &y1);
        EXPECT_EQ((std::vector<int>{w, h, x0, x1, y1}), (std::vector<int>{c.width, c.height, c.x0, c.x1, c.y1}))
            << "margintype " << c.margintype << " hcnt " << c.hcnt << " vcnt " << c.vcnt;
    }
}

TEST(PageFormat, HeadFootExpansion) {
    const struct {
        const char* templ;
        const char* text;
    } cases[] = {
        {"$c", "7"}, {"$$c", "$c"}, {"a$", "a"}, {"$xy", "xy"}, {"- $c -$$", "- 7 -$"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_STREQ(expandHeadFoot(c.templ, 7).c_str(), c.text) << c.templ;
}

// Cells of 1000 x 1400; text 6 pixels a byte wide and 10 high.
TEST(PageFormat, HeaderAboveAndFooterBelowEachCell) {
    FakePrinter printer(1000, 1400, 4);
    BaseKxType type;
    type.hcnt = type.vcnt = 1;
    kx6test::NamedFont head("head"), foot("foot");
    btkLogPage page;
    page.number = 7;
    const struct {
        const char* header;
        const char* footer;
        const char* log;
    } cases[] = {
        {"H$c", "F", "setFont(head); text(494,-10,H7); setFont(foot); text(497,1400,F)"},
        // An empty template selects no font and draws nothing.
        {"", "$", ""},
    };
    for (const auto& c : cases) {
        type.header = c.header;
        type.footer = c.footer;
        KxPageFormat format(type, printer);
        format.setFonts(&head, &foot);
        LoggingCanvas canvas;
        format.endCell(btkCanvas(0, 0, canvas.sp()), &page);
        EXPECT_EQ(kx6test::drawn(canvas.log()), c.log) << c.header;
    }
}
