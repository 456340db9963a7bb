// Sheet imposition (booklet and reading order) and the drawing of one sheet
// side through a page format.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/btkimposition.h"
#include "tests/support/canvas_doubles.h"

using kx6test::CallLog;
using kx6test::LoggingCanvas;
using kx6test::StubPageFormat;

namespace {

// Page numbers of one side of one sheet, row by row, columns left to right;
// -1 for a blank cell.
std::vector<int> side(const btkPageDistribution& d, int sheet, int s) {
    std::vector<int> out;
    for (int r = 0; r < d.rows(); ++r)
        for (int c = 0; c < d.cols(); ++c) {
            btkLogPage* p = d.get(sheet, c, r, s);
            out.push_back(p ? p->number : -1);
        }
    return out;
}

using V = std::vector<int>;

}  // namespace

TEST(Imposition, BookletOfEightPages) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 8);
    btkPageDistribution d(2, 1, pages, nullptr, 0, 0);
    EXPECT_EQ(d.sheets(), 2);
    EXPECT_EQ(d.total(), 8);
    EXPECT_EQ(side(d, 0, 0), (V{7, 0}));
    EXPECT_EQ(side(d, 0, 1), (V{1, 6}));
    EXPECT_EQ(side(d, 1, 0), (V{5, 2}));
    EXPECT_EQ(side(d, 1, 1), (V{3, 4}));
}

TEST(Imposition, BookletOfFivePagesLeavesTheLastCellsBlank) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 5);
    btkPageDistribution d(2, 1, pages, nullptr, 0, 0);
    EXPECT_EQ(d.total(), 8);
    EXPECT_EQ(d.sheets(), 2);
    EXPECT_EQ(side(d, 0, 0), (V{-1, 0}));
    EXPECT_EQ(side(d, 0, 1), (V{1, -1}));
    EXPECT_EQ(side(d, 1, 0), (V{-1, 2}));
    EXPECT_EQ(side(d, 1, 1), (V{3, 4}));
}

TEST(Imposition, BookletTwoRowsPairsFacingCells) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 8);
    btkPageDistribution d(2, 2, pages, nullptr, 0, 0);
    // Storage order per row: front column 1, back column 0, front column 0,
    // back column 1; each step of four positions takes i, i + 1, 7 - i, 6 - i.
    EXPECT_EQ(d.sheets(), 1);
    EXPECT_EQ(side(d, 0, 0), (V{7, 0, 5, 2}));
    EXPECT_EQ(side(d, 0, 1), (V{1, 6, 3, 4}));
}

TEST(Imposition, OddColumnsTakeStorageOrder) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 6);
    btkPageDistribution d(3, 1, pages, nullptr, 0, 0);
    EXPECT_EQ(d.sheets(), 1);
    EXPECT_EQ(side(d, 0, 0), (V{4, 2, 0}));
    EXPECT_EQ(side(d, 0, 1), (V{1, 3, 5}));
}

TEST(Imposition, SingleCellSheetsInEveryMode) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 3);
    for (int mode : {0, 1, 2}) {
        btkPageDistribution d(1, 1, pages, nullptr, 0, mode);
        EXPECT_EQ(d.sheets(), 2) << mode;
        EXPECT_EQ(side(d, 0, 0), V{0}) << mode;
        EXPECT_EQ(side(d, 0, 1), V{1}) << mode;
        EXPECT_EQ(side(d, 1, 0), V{2}) << mode;
        EXPECT_EQ(side(d, 1, 1), V{-1}) << mode;
    }
}

TEST(Imposition, ReadingOrder) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 5);
    btkPageDistribution d(2, 2, pages, nullptr, 0, 1);
    EXPECT_EQ(d.sheets(), 1);
    EXPECT_EQ(side(d, 0, 0), (V{0, 1, 4, -1}));
    EXPECT_EQ(side(d, 0, 1), (V{2, 3, -1, -1}));
}

TEST(Imposition, OneLeadingBlank) {
    btkObjArray<btkLogPage> pages;
    kx6test::addMarkerPages(pages, 5);
    btkPageDistribution d(2, 2, pages, nullptr, 1, 1);
    EXPECT_EQ(d.lead(), 1);
    EXPECT_EQ(side(d, 0, 0), (V{-1, 0, 3, 4}));
    EXPECT_EQ(side(d, 0, 1), (V{1, 2, -1, -1}));

    // Four pages and one blank need a second sheet.
    btkObjArray<btkLogPage> eight;
    kx6test::addMarkerPages(eight, 8);
    btkPageDistribution d2(2, 1, eight, nullptr, 1, 0);
    EXPECT_EQ(d2.total(), 12);
    EXPECT_EQ(d2.sheets(), 3);
    // Cell i holds page i - 1: the first booklet step (cells 0, 1, 11, 10)
    // places only page 0.
    EXPECT_EQ(side(d2, 0, 0), (V{-1, -1}));
    EXPECT_EQ(side(d2, 0, 1), (V{0, -1}));
    EXPECT_EQ(side(d2, 1, 0), (V{-1, 1}));
    EXPECT_EQ(side(d2, 1, 1), (V{2, 7}));
    EXPECT_EQ(side(d2, 2, 0), (V{6, 3}));
    EXPECT_EQ(side(d2, 2, 1), (V{4, 5}));
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
    EXPECT_EQ(d.get(1, 0, 0, 0), &filler);
    EXPECT_EQ(d.get(-1, 0, 0, 0), &filler);
    EXPECT_EQ(d.get(0, 1, 0, 0), &filler);
    EXPECT_EQ(d.get(0, 0, 1, 0), &filler);
    EXPECT_EQ(d.get(0, 0, 0, 2), &filler);
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
        "beginSide@1000,0",
        "cellPosition(0,0,0,0)", "beginCell(page 0)@1010,20", "text(1010,20,page 0)", "endCell(page 0)@1010,20",
        "cellPosition(0,0,0,1)", "beginCell(page 4)@1010,70", "text(1010,70,page 4)", "endCell(page 4)@1010,70",
        "cellPosition(0,0,1,0)", "beginCell(page 1)@1110,20", "text(1110,20,page 1)", "endCell(page 1)@1110,20",
        "cellPosition(0,0,1,1)", "beginCell(page 5)@1110,70", "text(1110,70,page 5)", "endCell(page 5)@1110,70",
        "endSide@1000,0",
    };
    EXPECT_EQ(log, expected) << kx6test::joined(log);

    // Back of sheet 0: row 0 pages 2, 3, row 1 blank: blank cells get no calls.
    log.clear();
    drawSheetSide(d, btkCanvas(0, 0, paper.sp()), format, 1);
    expected = {
        "beginSide@0,0",
        "cellPosition(0,1,0,0)", "beginCell(page 2)@10,20", "text(10,20,page 2)", "endCell(page 2)@10,20",
        "cellPosition(0,1,1,0)", "beginCell(page 3)@110,20", "text(110,20,page 3)", "endCell(page 3)@110,20",
        "endSide@0,0",
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
    CallLog expected = {"beginSide@0,0", "cellPosition(1,0,1,0)", "beginCell(page 2)@300,0",
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
