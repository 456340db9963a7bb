#include "foundation/btkimposition.h"

void drawSheetSide(btkPageDistribution& dist, btkCanvas canvas, btkPageFormat& format, int n) {
    const int sheet = n / 2;
    const int side = n % 2;
    format.beginSide(canvas);
    for (int c = 0; c < dist.cols(); ++c) {
        for (int r = 0; r < dist.rows(); ++r) {
            btkLogPage* page = dist.get(sheet, c, r, side);
            if (!page) continue;
            int x = 0, y = 0;
            format.cellPosition(sheet, side, c, r, &x, &y);
            btkCanvas cell(canvas, x, y);
            format.beginCell(cell, page);
            page->drawing.play(cell);
            format.endCell(cell, page);
        }
    }
    format.endSide(canvas);
}
