#include "songbook/pageformat.h"

#include "foundation/btkprintdevice.h"
#include "songbook/kxtype.h"

namespace {

// hcnt and vcnt are at least 1 after every read; a type never read is not.
int atLeastOne(int n) { return n < 1 ? 1 : n; }

// The sum of the list's first n entries; entries beyond its end count as 0.
int sumFirst(const KxIntList& list, int n) {
    int sum = 0;
    for (int i = 0; i < n && i < list.count(); ++i) sum += list[i];
    return sum;
}

// Equal margins around every cell.
class SimplePageMarginProvider final : public PageMarginProvider {
public:
    using PageMarginProvider::PageMarginProvider;

    void cellSize(int* width, int* height) const override {
        *width = W / atLeastOne(type.hcnt) - type.leftsp * sx - type.rightsp * sx;
        *height = H / atLeastOne(type.vcnt) - type.topsp * sy - type.bottomsp * sy;
    }
    void cellPosition(int, int, int col, int row, int* x, int* y) const override {
        *x = W / atLeastOne(type.hcnt) * col + type.leftsp * sx;
        *y = H / atLeastOne(type.vcnt) * row + type.topsp * sy;
    }
};

// Margins of their own for each column (left, right) and row (top,
// bottom); every cell has the same size.
class ForEachPageMarginProvider final : public PageMarginProvider {
public:
    using PageMarginProvider::PageMarginProvider;

    void cellSize(int* width, int* height) const override {
        const int cols = atLeastOne(type.hcnt);
        const int rows = atLeastOne(type.vcnt);
        *width = (W - (sumFirst(type.mleft, cols) + sumFirst(type.mright, cols)) * sx) / cols;
        *height = (H - (sumFirst(type.mtop, rows) + sumFirst(type.mbottom, rows)) * sy) / rows;
    }
    void cellPosition(int, int, int col, int row, int* x, int* y) const override {
        int w = 0, h = 0;
        cellSize(&w, &h);
        *x = w * col + (sumFirst(type.mleft, col + 1) + sumFirst(type.mright, col)) * sx;
        *y = h * row + (sumFirst(type.mtop, row + 1) + sumFirst(type.mbottom, row)) * sy;
    }
};

}  // namespace

// ---- margins

PageMarginProvider::PageMarginProvider(const BaseKxType& pageType, const btkPrintDevice& printer)
    : type(pageType),
      W(printer.pageWidth()),
      H(printer.pageHeight()),
      sx(printer.pixelsPerMmX()),
      sy(printer.pixelsPerMmY()) {}

std::unique_ptr<PageMarginProvider> PageMarginProvider::create(const BaseKxType& type, const btkPrintDevice& printer) {
    if (type.margintype == 1) return std::unique_ptr<PageMarginProvider>(new ForEachPageMarginProvider(type, printer));
    return std::unique_ptr<PageMarginProvider>(new SimplePageMarginProvider(type, printer));
}

void logicalPageSize(const BaseKxType& type, const btkPrintDevice& printer, int* width, int* height) {
    PageMarginProvider::create(type, printer)->cellSize(width, height);
}

// ---- header and footer

btkstring expandHeadFoot(const char* templ, int pageNumber) {
    btkstring out;
    for (const char* p = templ; *p; ++p) {
        if (*p != '$') {
            out += *p;
        } else if (p[1] == 'c') {
            out += btkIntToStr(pageNumber);
            ++p;
        } else if (p[1] == '$') {
            out += '$';
            ++p;
        }
    }
    return out;
}

KxPageFormat::KxPageFormat(const BaseKxType& pageType, const btkPrintDevice& printer)
    : type(pageType), provider(PageMarginProvider::create(pageType, printer)) {}

void KxPageFormat::cellPosition(int sheet, int side, int col, int row, int* x, int* y) {
    provider->cellPosition(sheet, side, col, row, x, y);
}

void KxPageFormat::endCell(btkCanvas canvas, btkLogPage* page) {
    const int number = page ? page->number : 0;
    drawCentred(canvas, headerFont, expandHeadFoot(type.header.c_str(), number), true);
    drawCentred(canvas, footerFont, expandHeadFoot(type.footer.c_str(), number), false);
}

void KxPageFormat::drawCentred(btkCanvas& canvas, btkFont* font, const btkstring& text, bool above) {
    if (text.empty()) return;
    int w = 0, h = 0;
    provider->cellSize(&w, &h);
    if (font) canvas.setFont(font);
    const int x = w / 2 - canvas.textWidth(text) / 2;
    canvas.text(x, above ? -canvas.textHeight(text) : h, text);
}
