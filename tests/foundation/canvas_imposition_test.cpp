// Sheet imposition (booklet and reading order) and the drawing of one sheet
// side through a page format.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "foundation/btkimposition.h"
#include "tests/support/canvas_doubles.h"

using kx6test::CallLog;
using kx6test::LoggingCanvas;
using kx6test::StubPageFormat;

namespace {

// The page numbers of every sheet: cells row by row, columns left to right,
// "-" for a blank cell; front and back parted by "/", sheets by ", ".
std::string layout(const btkPageDistribution& d) {
    std::string out;
    for (int sheet = 0; sheet < d.sheets(); ++sheet)
        for (int s = 0; s < 2; ++s) {
            out += sheet == 0 && s == 0 ? "" : s == 0 ? ", " : "/";
            for (int r = 0; r < d.rows(); ++r)
                for (int c = 0; c < d.cols(); ++c) {
                    btkLogPage* p = d.get(sheet, c, r, s);
                    out += (r || c ? " " : "") + (p ? std::to_string(p->number) : std::string("-"));
                }
        }
    return out;
}

}  // namespace

TEST(Imposition, BookletAndReadingOrder) {
    const struct {
        int cols, rows, pages, lead, mode, total;  // total -1: not checked
        const char* layout;
    } cases[] = {
        {2, 1, 8, 0, 0, 8, "7 0/1 6, 5 2/3 4"},
        {2, 1, 5, 0, 0, 8, "- 0/1 -, - 2/3 4"},  // the last cells stay blank
        // Storage order per row: front column 1, back column 0, front column
        // 0, back column 1; each step of four positions takes i, i + 1,
        // 7 - i, 6 - i.
        {2, 2, 8, 0, 0, -1, "7 0 5 2/1 6 3 4"},
        {3, 1, 6, 0, 0, -1, "4 2 0/1 3 5"},  // odd columns take storage order
        {1, 1, 3, 0, 0, -1, "0/1, 2/-"},     // single cells in every mode
        {1, 1, 3, 0, 1, -1, "0/1, 2/-"},
        {1, 1, 3, 0, 2, -1, "0/1, 2/-"},
        {2, 2, 5, 0, 1, -1, "0 1 4 -/2 3 - -"},
        {2, 2, 5, 1, 1, -1, "- 0 3 4/1 2 - -"},
        // Four pages and one blank need a second sheet. Cell i holds page
        // i - 1: the first booklet step (cells 0, 1, 11, 10) places only page 0.
        {2, 1, 8, 1, 0, 12, "- -/0 -, - 1/2 7, 6 3/4 5"},
    };
    for (const auto& c : cases) {
        btkObjArray<btkLogPage> pages;
        kx6test::addMarkerPages(pages, c.pages);
        btkPageDistribution d(c.cols, c.rows, pages, nullptr, c.lead, c.mode);
        EXPECT_EQ(layout(d), c.layout) << c.cols << "x" << c.rows << " pages " << c.pages << " mode " << c.mode;
        EXPECT_EQ(d.lead(), c.lead);
        if (c.total >= 0) {
            EXPECT_EQ(d.total(), c.total) << c.layout;
        }
    }
}

TEST(Imposition, DegenerateCountsGiveNoSheets) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 3);
    btkObjArray<btkLogPage> none;
    for (auto [cols, rows] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{-2, 3}}) {
        btkPageDistribution d(cols, rows, pages, nullptr, 0, 0);
        EXPECT_EQ(d.sheets(), 0);
        EXPECT_EQ(d.get(0, 0, 0, 0), nullptr);
    }
    btkPageDistribution empty(2, 1, none, nullptr, 0, 0);
    EXPECT_EQ(empty.sheets(), 0);
    EXPECT_EQ(empty.total(), 0);
}

TEST(Imposition, OutOfRangeCellsGiveTheFiller) {
    int a = 1, b = 2, filler = -7;
    btkCntVec<int*> pages;
    pages.add(&a);
    pages.add(&b);
    btkA4Distribution<int*> d(1, 1, pages, &filler, 0, 1);
    EXPECT_EQ(d.get(0, 0, 0, 0), &a);
    EXPECT_EQ(d.get(0, 0, 0, 1), &b);
    for (auto [sheet, col, row, side] :
         {std::tuple{1, 0, 0, 0}, {-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 2}})
        EXPECT_EQ(d.get(sheet, col, row, side), &filler);
    d.set(5, 0, 0, 0, &b);  // ignored
    d.set(0, 0, 0, 0, &b);
    EXPECT_EQ(d.get(0, 0, 0, 0), &b);
}

TEST(DrawSheetSide, ColumnsOuterRowsInnerAtCellPositions) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 6);
    btkPageDistribution d(2, 2, pages, nullptr, 0, 1);
    CallLog log;
    LoggingCanvas paper(&log);
    StubPageFormat format(&log, 100, 50, 10, 20);
    drawSheetSide(d, btkCanvas(1000, 0, paper.sp()), format, 0);
    // Front: row 0 pages 0, 1; row 1 pages 4, 5.
    CallLog expected = {
        "beginSide@1000,0",        "cellPosition(0,0,0,0)", "beginCell(page 0)@1010,20", "text(1010,20,page 0)",
        "endCell(page 0)@1010,20", "cellPosition(0,0,0,1)", "beginCell(page 4)@1010,70", "text(1010,70,page 4)",
        "endCell(page 4)@1010,70", "cellPosition(0,0,1,0)", "beginCell(page 1)@1110,20", "text(1110,20,page 1)",
        "endCell(page 1)@1110,20", "cellPosition(0,0,1,1)", "beginCell(page 5)@1110,70", "text(1110,70,page 5)",
        "endCell(page 5)@1110,70", "endSide@1000,0",
    };
    EXPECT_EQ(log, expected) << kx6test::joined(log);

    // Back of sheet 0: row 0 pages 2, 3, row 1 blank: blank cells get no calls.
    log.clear();
    drawSheetSide(d, btkCanvas(0, 0, paper.sp()), format, 1);
    expected = {
        "beginSide@0,0",          "cellPosition(0,1,0,0)", "beginCell(page 2)@10,20",  "text(10,20,page 2)",
        "endCell(page 2)@10,20",  "cellPosition(0,1,1,0)", "beginCell(page 3)@110,20", "text(110,20,page 3)",
        "endCell(page 3)@110,20", "endSide@0,0",
    };
    EXPECT_EQ(log, expected) << kx6test::joined(log);
}

TEST(DrawSheetSide, BookletSidesAndBlankSides) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 5);
    btkPageDistribution d(2, 1, pages, nullptr, 0, 0);
    CallLog log;
    LoggingCanvas paper(&log);
    StubPageFormat format(&log, 300, 400);
    // Side 2 is the front of sheet 1: blank, page 2.
    drawSheetSide(d, btkCanvas(0, 0, paper.sp()), format, 2);
    CallLog expected = {"beginSide@0,0",      "cellPosition(1,0,1,0)", "beginCell(page 2)@300,0",
                        "text(300,0,page 2)", "endCell(page 2)@300,0", "endSide@0,0"};
    EXPECT_EQ(log, expected) << kx6test::joined(log);

    // A side with blank cells only, and sides beyond the last sheet.
    btkObjArray<btkLogPage> one;
    kx6test::addMarkerPages(one, 1);
    btkPageDistribution single(1, 1, one, nullptr, 0, 1);
    for (int n : {1, 2, -1}) {
        log.clear();
        drawSheetSide(single, btkCanvas(0, 0, paper.sp()), format, n);
        EXPECT_EQ(log, (CallLog{"beginSide@0,0", "endSide@0,0"})) << n;
    }
}
