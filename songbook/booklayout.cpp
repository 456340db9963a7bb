#include "songbook/booklayout.h"

#include <utility>
#include <vector>

#include "foundation/btkmessagebox.h"
#include "foundation/btkprintdevice.h"
#include "foundation/btkredirectcanvas.h"
#include "songbook/distrib.h"
#include "songbook/melodar.h"
#include "songbook/pageformat.h"
#include "songs/songcompare.h"

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

// ---- the book

namespace {

// Marks a layout as running for the length of a call, also when it throws.
class LayoutRun {
public:
    explicit LayoutRun(bool& flag) : running(flag) { running = true; }
    LayoutRun(const LayoutRun&) = delete;
    LayoutRun& operator=(const LayoutRun&) = delete;
    ~LayoutRun() { running = false; }

private:
    bool& running;
};

// Spacing, width and fonts of the type for the printer.
std::unique_ptr<KxFormatProps> makeFormatProps(const BaseKxType& type, btkPrintDevice& printer) {
    auto props = std::make_unique<KxFormatProps>();
    props->printer = &printer;
    props->songlines = type.songlines;
    props->songspacehi = type.songspacehi;
    props->slspacehi = type.slspacehi;
    int h = 0;
    logicalPageSize(type, printer, &props->width, &h);
    props->loadFonts(type.fonts);
    return props;
}

// The song items of the book in book order, sorted by the outline's order
// when it has keys.
btkObjVec<KxOutlineEntry> outlineEntries(const Melodar& book, const KxOutline& outline) {
    btkCntVec<AbstractSongData*> songs;
    for (int i = 0; i < book.GetItemCount(); ++i)
        if (AbstractSongData* song = book.GetItem(i)->asSongData()) songs.add(song);
    if (outline.order.childCount() > 0) {
        CustomCompare order(outline.order);
        SortByCompare(&order, songs);
    }
    btkObjVec<KxOutlineEntry> entries;
    for (AbstractSongData* song : songs) {
        const KxData* item = dynamic_cast<const SongData*>(song);
        entries.add({song->getTitle(), [&book, item] { return PageOfItem(book, item); }});
    }
    return entries;
}

// A new drawing of the table of contents: page numbers change with every
// layout.
void drawOutline(const Melodar& book, KxOutline& outline, const KxFormatProps& props, btkPrintDevice& printer) {
    KxOutlineFrame frame;
    logicalPageSize(*book.type, printer, &frame.width, &frame.height);
    frame.gap = 5 * printer.pixelsPerMmX();
    frame.columns = book.type->colcnt;
    outline.panes = std::make_unique<btkPaneGrp>();
    outline.panes->canvas().setMeasureTarget(printer.measureCanvas().sp());
    DrawOutlineEntries(*outline.panes, printer.measureCanvas(), props.fnoutlinetitle.get(), props.fnoutlinenumber.get(),
                       frame, outlineEntries(book, outline));
}

}  // namespace

void Melodar::relayout() {
    if (layingOut || !type) return;
    LayoutRun run(layingOut);
    btkPrintDevice* device = printer();
    if (!device) {
        // Nothing to measure on: no pages rather than pages of a guess.
        dropPages();
        return;
    }
    if (!formatProps) formatProps = makeFormatProps(*type, *device);
    if (pageFormat) pageFormat->setFonts(formatProps->fnheader.get(), formatProps->fnfooter.get());

    for (auto& item : items) {
        if (auto* outline = dynamic_cast<KxOutline*>(item.get()))
            drawOutline(*this, *outline, *formatProps, *device);
        else if (!item->panes)
            item->drawPanes(*formatProps, device->measureCanvas());
    }
    if (type->autodistrib) {
        // Both ask for a layout, which returns at once: this run goes on
        // with the new order and flags, and the tables of contents list
        // the songs in it.
        CustomCompare order(type->order);
        sortSongs(&order);
        autoDistribute();
        for (auto& item : items)
            if (auto* outline = dynamic_cast<KxOutline*>(item.get()))
                drawOutline(*this, *outline, *formatProps, *device);
    }

    int w = 0, h = 0;
    logicalPageSize(*type, *device, &w, &h);
    btkObjVec<KxPlacement> placements;
    for (const auto& item : items) placements.add({item->panes.get(), item->newpage, item->skippage});
    dropPages();
    logPages = PlaceItemsOnPages(placements, h, type->pagenumstart);
    sheets =
        std::make_unique<btkPageDistribution>(type->hcnt, type->vcnt, logPages->pages(), nullptr, 0, type->a4distrib);
    if (window) window->UpdatePageCounts();
}

void Melodar::autoDistribute() {
    if (!type) return;
    relayout();
    btkPrintDevice* device = printer();
    if (!device) return;
    int w = 0, h = 0;
    logicalPageSize(*type, *device, &w, &h);
    std::unique_ptr<daDistribAlg> alg = daMakeDistribAlg(type->a4distrib, type->hcnt, h);
    if (!alg) return;
    for (int i = 0; i < GetItemCount(); ++i)
        daAddItemPanes(*alg, i, items[i]->panes.get(), items[i]->fixtobegin, items[i]->fixtoend);
    if (!alg->run() || alg->result().count() != GetItemCount()) {
        ErrorBox("Interní chyba v rozmisťovacím algoritmu");
        return;
    }
    std::vector<std::unique_ptr<KxData>> ordered;
    for (daPaneGrp* g : alg->result()) {
        std::unique_ptr<KxData>& item = items[g->index];
        item->newpage = g->newpage;
        item->skippage = g->skippage;
        ordered.push_back(std::move(item));
    }
    items = std::move(ordered);
    itemsChanged();
}

// ---- the book's pages and printing

btkLogPage* PageOfItem(const Melodar& book, const KxData* item) {
    if (!item || !item->panes || item->panes->count() == 0) return nullptr;
    return FindPageOfPane(book.logPages.get(), item->panes->pane(0));
}

int SheetSideCount(const Melodar& book) { return book.sheets ? 2 * book.sheets->sheets() : 0; }

bool PrintBookSides(Melodar& book, const btkArray<int>& sides) {
    if (!book.sheets || !book.logPages || !book.pageFormat) return false;
    btkPrintDevice* device = book.printer();
    if (!device) return false;
    return PrintSheetSides(*device, *book.sheets, *book.pageFormat, sides, book.name().c_str());
}
