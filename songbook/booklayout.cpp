#include "songbook/booklayout.h"

#include <utility>

#include "foundation/btkprintdevice.h"
#include "foundation/btkredirectcanvas.h"

// ---- logical pages

std::unique_ptr<btkLogPages> PlaceItemsOnPages(const btkArray<KxPlacement>& items, int pageHeight, int firstNumber) {
    auto pages = std::make_unique<btkLogPages>(pageHeight);
    btkPageDistribState cursor;
    for (const KxPlacement& item : items) {
        if (!item.panes) continue;
        // Closing a page that is already closed opens nothing.
        if (item.newpage || item.skippage) cursor.finish(*pages);
        if (item.skippage) {
            pages->startPage();
            pages->endPage();
        }
        printPanesOnPages(*item.panes, *pages, &cursor);
    }
    cursor.finish(*pages);
    for (int k = 0; k < pages->count(); ++k) pages->page(k)->number = firstNumber + k;
    return pages;
}

btkLogPage* FindPageOfPane(const btkLogPages* pages, const btkPane* pane) {
    if (!pages || !pane) return nullptr;
    for (btkLogPage* page : pages->pages())
        for (const btkPane* placed : page->panes)
            if (placed == pane) return page;
    return nullptr;
}

// ---- table of contents

btkCustomGrOp* PageNumOp::copyAt(int dx, int dy) const {
    return new PageNumOp(find, numberFont, rightEdge + dx, top + dy);
}

void PageNumOp::draw(btkCanvas canvas) {
    if (!page && find) page = find();
    if (!page) return;
    const btkstring number = btkIntToStr(page->number);
    if (numberFont) canvas.setFont(numberFont);
    canvas.text(rightEdge - canvas.textWidth(number), top, number);
}

namespace {

// Records one entry (title words wrapped to the column width, then the
// page number) and returns its height.
int recordEntry(btkStdMetaCanvas& entry, btkFont* titleFont, btkFont* numberFont, int columnWidth, int lineHeight,
                const KxOutlineEntry& e) {
    btkCanvas c(0, 0, entry.sp());
    c.setFont(titleFont);
    const int blank = c.textWidth(" ");
    int x = 0, y = 0;
    const char* p = e.title.c_str();
    while (*p) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        const char* start = p;
        while (*p && *p != ' ') ++p;
        const btkstring word = e.title.substr(static_cast<int>(start - e.title.c_str()), static_cast<int>(p - start));
        const int w = c.textWidth(word);
        if (x > 0) {
            x += blank;
            if (x + w > columnWidth) {
                x = 0;
                y += lineHeight;
            }
        }
        c.text(x, y, word);
        x += w;
    }
    c.setFont(numberFont);
    if (x + c.textWidth("MMXXXX") > columnWidth) y += lineHeight;
    PageNumOp number(e.locate, numberFont, columnWidth, y);
    c.custom(&number, 0, 0);
    return y + lineHeight;
}

}  // namespace

void DrawOutlineEntries(btkPaneGrp& group, btkCanvas measure, btkFont* titleFont, btkFont* numberFont,
                        const KxOutlineFrame& frame, const btkObjVec<KxOutlineEntry>& entries) {
    const int columns = frame.columns < 1 ? 1 : frame.columns;
    const int columnWidth = frame.width / columns - (columns - 1) * frame.gap;
    int lineHeight = 0;
    {
        btkCanvas m(measure, 0, 0);
        lineHeight = m.setFont(titleFont).textHeight("A");
        const int numberHeight = m.setFont(numberFont).textHeight("A");
        if (numberHeight > lineHeight) lineHeight = numberHeight;
    }

    btkCanvas pane = group.handle();
    int column = 0, x = 0, y = 0;
    bool holdsEntries = false;
    for (const KxOutlineEntry& e : entries) {
        btkStdMetaCanvas entry(measure);
        const int height = recordEntry(entry, titleFont, numberFont, columnWidth, lineHeight, e);
        // An entry taller than the page would not fit a fresh column either:
        // it stays at the top of the empty one.
        if (y > 0 && y + height > frame.height) {
            y = 0;
            x += columnWidth + frame.gap;
            if (++column >= columns) {
                pane.paneBreak(frame.height, "");
                column = 0;
                x = 0;
                holdsEntries = false;
            }
        }
        entry.play(btkCanvas(pane, x, y));
        y += height;
        holdsEntries = true;
    }
    if (holdsEntries) pane.paneBreak(frame.height, "");
}

// ---- printing

bool PrintSheetSides(btkPrintDevice& printer, btkPageDistribution& sheets, btkPageFormat& format,
                     const btkArray<int>& sides, const char* jobName) {
    const int sideCount = 2 * sheets.sheets();
    btkCntVec<int> chosen;
    for (int side : sides)
        if (side >= 0 && side < sideCount) chosen.add(side);
    if (!printer.IsValid() || chosen.empty()) return false;
    if (!printer.startDoc(jobName)) return false;
    for (int side : chosen) {
        btkCanvas page = printer.newPage();
        drawSheetSide(sheets, page, format, side);
        printer.endPage();
    }
    printer.endDoc();
    return true;
}
