#include "songbook/logpagepreview.h"

#include "foundation/btkprintdevice.h"
#include "songbook/kxtype.h"
#include "songbook/pageformat.h"

int LogPagePreview::pageCount() const {
    const btkLogPages* pages = book ? book() : nullptr;
    return pages ? pages->count() : 0;
}

void LogPagePreview::drawPage(int i, const btkCanvas& canvas, int x, int y) const {
    const btkLogPages* pages = book ? book() : nullptr;
    if (!pages || i < 0 || i >= pages->count()) return;
    pages->page(i)->drawing.play(btkCanvas(canvas, x, y));
}

// ---- booklet pairs

int BookLogPagePreview::count() const { return pageCount() / 2 + 1; }

btkstring BookLogPagePreview::caption(int index) const {
    btkstring text = "Strana ";
    text += index == 0 ? btkstring("?") : btkIntToStr(2 * index);
    text += ",";
    text += 2 * index < pageCount() ? btkIntToStr(2 * index + 1) : btkstring("?");
    return text;
}

void BookLogPagePreview::size(int* width, int* height) const {
    *width = 2 * w;
    *height = h;
}

void BookLogPagePreview::draw(int index, btkCanvas canvas) const {
    if (index < 0) return;
    if (index >= 1) drawPage(2 * index - 1, canvas, 0, 0);
    drawPage(2 * index, canvas, w, 0);
}

// ---- single pages

int SimpleLogPagePreview::count() const { return pageCount(); }

btkstring SimpleLogPagePreview::caption(int index) const { return btkFormat("Strana %d/%d", index + 1, pageCount()); }

void SimpleLogPagePreview::size(int* width, int* height) const {
    *width = w;
    *height = h;
}

void SimpleLogPagePreview::draw(int index, btkCanvas canvas) const { drawPage(index, canvas, 0, 0); }

// ---- rows

int LineLogPagePreview::count() const { return (pageCount() + across - 1) / across; }

btkstring LineLogPagePreview::caption(int index) const {
    return btkFormat("Strana %d..%d", across * index + 1, across * index + across);
}

void LineLogPagePreview::size(int* width, int* height) const {
    *width = across * w;
    *height = h;
}

void LineLogPagePreview::draw(int index, btkCanvas canvas) const {
    if (index < 0) return;
    for (int j = 0; j < across; ++j) drawPage(across * index + j, canvas, w * j, 0);
}

std::unique_ptr<LogPagePreview> MakeLogPagePreview(const BaseKxType& type, const btkPrintDevice& printer,
                                                   LogPagePreview::Pages pages) {
    int w = 0, h = 0;
    logicalPageSize(type, printer, &w, &h);
    if (type.a4distrib == 1) return std::make_unique<LineLogPagePreview>(std::move(pages), w, h, type.hcnt);
    if (type.hcnt % 2 == 0) return std::make_unique<BookLogPagePreview>(std::move(pages), w, h);
    return std::make_unique<SimpleLogPagePreview>(std::move(pages), w, h);
}
