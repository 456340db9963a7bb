// Sheet imposition: which logical page goes into which cell of which side of
// which sheet (booklet or reading order), where the cells lie on the paper,
// and the drawing of one sheet side.
#pragma once

#include <cstddef>
#include <vector>

#include "foundation/btkarray.h"
#include "foundation/btkcanvas.h"
#include "foundation/btkpane.h"

// Places cells on the paper and may draw around them (headers, footers).
class btkPageFormat {
public:
    virtual ~btkPageFormat() = default;
    // The top-left corner of the cell on the sheet side.
    virtual void cellPosition(int sheet, int side, int col, int row, int* x, int* y) = 0;
    virtual void beginSide(btkCanvas) {}
    virtual void endSide(btkCanvas) {}
    // Before and after one cell's page is drawn; the handle is already moved
    // to the cell.
    virtual void beginCell(btkCanvas, btkLogPage*) {}
    virtual void endCell(btkCanvas, btkLogPage*) {}
};

// The cells of all sheets, cols x rows on each side, both sides of a sheet.
// Within a sheet the array holds front and back cells alternately, the
// front's columns mirrored (what lies behind a front cell is its back cell),
// so consecutive array positions are facing cells of a folded sheet.
template <class T> class btkA4Distribution {
public:
    // mode 1: reading order (each row shows cols pages on the front and the
    // next cols on the back); any other mode: booklet order (sheets folded
    // and nested read in page order) for an even column count, storage order
    // for an odd one. lead blank cells come before the first page. A column
    // or row count below 1 gives no sheets.
    btkA4Distribution(int cols, int rows, const btkArray<T>& pages, T filler, int lead, int mode)
        : nCols(cols), nRows(rows), fill(filler), nLead(lead < 0 ? 0 : lead), nPages(pages.count()) {
        if (nCols < 1 || nRows < 1) {
            nCols = nRows = 0;
            return;
        }
        perSheet = 2 * nRows * nCols;
        const int needed = nPages + nLead;
        nTotal = (needed + perSheet - 1) / perSheet * perSheet;
        nSheets = nTotal / perSheet;
        cells.assign(static_cast<std::size_t>(nTotal), fill);

        auto page = [&](int i) { return i < nLead || i >= nPages + nLead ? fill : pages[i - nLead]; };
        if (mode == 1) {
            int k = 0;
            for (int s = 0; s < nSheets; ++s)
                for (int r = 0; r < nRows; ++r)
                    for (int side = 0; side < 2; ++side)
                        for (int c = 0; c < nCols; ++c) set(s, c, r, side, page(k++));
        } else if (nCols % 2 == 0) {
            int pos = 0;
            for (int i = 0; i < nTotal / 2; i += 2) {
                cells[pos++] = page(i);
                cells[pos++] = page(i + 1);
                cells[pos++] = page(nTotal - 1 - i);
                cells[pos++] = page(nTotal - 2 - i);
            }
        } else {
            for (int i = 0; i < nTotal; ++i) cells[i] = page(i);
        }
    }

    int cols() const { return nCols; }
    int rows() const { return nRows; }
    // Sheets to print; a job prints 2 x sheets sides.
    int sheets() const { return nSheets; }
    int pages() const { return nPages; }
    int lead() const { return nLead; }
    int total() const { return nTotal; }

    // The cell's page; the filler for a blank cell or a cell out of range.
    T get(int sheet, int col, int row, int side) const {
        int i = index(sheet, col, row, side);
        return i < 0 ? fill : cells[i];
    }
    // Stores a page in a cell; a cell out of range is ignored.
    void set(int sheet, int col, int row, int side, T page) {
        int i = index(sheet, col, row, side);
        if (i >= 0) cells[i] = page;
    }

private:
    int index(int sheet, int col, int row, int side) const {
        if (sheet < 0 || sheet >= nSheets || col < 0 || col >= nCols || row < 0 || row >= nRows ||
            (side != 0 && side != 1))
            return -1;
        if (side == 1) return perSheet * sheet + 2 * (row * nCols + col) + 1;
        return perSheet * sheet + 2 * (row * nCols + (nCols - 1 - col));
    }

    int nCols;
    int nRows;
    T fill;
    std::vector<T> cells;
    int nSheets = 0;
    int nLead;
    int nPages;
    int perSheet = 0;
    int nTotal = 0;
};

using btkPageDistribution = btkA4Distribution<btkLogPage*>;

// Draws side n % 2 of sheet n / 2 (n counts sides from 0: sheet 0 front,
// sheet 0 back, sheet 1 front, ...): columns outer, rows inner; each page
// is replayed at its cell position between the format's beginCell and
// endCell; blank cells get no calls.
void drawSheetSide(btkPageDistribution& dist, btkCanvas canvas, btkPageFormat& format, int n);
