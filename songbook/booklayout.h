// A song book's layout: the steps that work on panes and pages alone
// (placing the items' panes on logical pages, the table of contents with
// page numbers resolved when it is played, printing sheet sides), and the
// book's own layout and automatic distribution (Melodar::relayout and
// Melodar::autoDistribute, melodar.h), which string them together.
#pragma once

#include <functional>
#include <memory>

#include "foundation/btkarray.h"
#include "foundation/btkcanvas.h"
#include "foundation/btkimposition.h"
#include "foundation/btkpane.h"
#include "foundation/btkstring.h"

class btkPrintDevice;

// ---- logical pages

// One item as the page placement sees it.
struct KxPlacement {
    btkPaneGrp* panes = nullptr;  // null: the item is left out
    bool newpage = false;         // starts on a new page
    bool skippage = false;        // one empty page before it
};

// New logical pages of the given height holding the items' panes in order,
// one below the other: newpage closes the open page, skippage also adds an
// empty page, a pane that does not fit starts the next page. Page k is
// numbered firstNumber + k.
std::unique_ptr<btkLogPages> PlaceItemsOnPages(const btkArray<KxPlacement>& items, int pageHeight, int firstNumber);

// The logical page that holds the pane; null when none does.
btkLogPage* FindPageOfPane(const btkLogPages* pages, const btkPane* pane);

// ---- table of contents

// A page number drawn when the recording is played: the number of the
// logical page that holds an item's first pane, right-aligned at a right
// edge, in the number font. Nothing is drawn while the item has no page.
class PageNumOp final : public btkCustomGrOp {
public:
    // Finds the item's logical page (null when there is none yet).
    using Locate = std::function<btkLogPage*()>;

    // font is not owned; it lives as long as the pane group that records
    // the operation.
    PageNumOp(Locate locate, btkFont* font, int right, int y)
        : find(std::move(locate)), numberFont(font), rightEdge(right), top(y) {}

    btkCustomGrOp* copyAt(int dx, int dy) const override;
    // Looks the page up once; later draws use the page found.
    void draw(btkCanvas canvas) override;

private:
    Locate find;
    btkFont* numberFont;
    int rightEdge;
    int top;
    btkLogPage* page = nullptr;
};

struct KxOutlineEntry {
    btkstring title;
    PageNumOp::Locate locate;
};

// The frame of a table of contents: the logical page size, the gap between
// columns and the number of columns (below 1 counts as 1).
struct KxOutlineFrame {
    int width = 0;
    int height = 0;
    int gap = 0;
    int columns = 1;
};

// Draws the entries into group: each title word-wrapped to the column
// width in titleFont, its page number in numberFont right-aligned on the
// last line or on a line of its own; entries flow down the columns, and a
// full set of columns closes a pane of the page height, as does the last
// pane with entries. An entry taller than the page stands at the top of an
// empty column. Text is measured on measure; the fonts are not owned.
void DrawOutlineEntries(btkPaneGrp& group, btkCanvas measure, btkFont* titleFont, btkFont* numberFont,
                        const KxOutlineFrame& frame, const btkObjVec<KxOutlineEntry>& entries);

// ---- printing

// Prints the sheet sides listed (numbered from 0 over all sheets, front and
// back) in their order, each as one printer page drawn through the page
// format, in one job under jobName. Sides outside the distribution are left
// out. False, printing nothing, when the printer is not valid, nothing is
// left to print or the job cannot start.
[[nodiscard]] bool PrintSheetSides(btkPrintDevice& printer, btkPageDistribution& sheets, btkPageFormat& format,
                                   const btkArray<int>& sides, const char* jobName);

// ---- the book

class KxData;
class Melodar;

// The logical page of the book's last layout that holds the item's first
// pane; null when the book has no pages or the item no panes.
btkLogPage* PageOfItem(const Melodar& book, const KxData* item);

// The number of sheet sides of the book's last layout (0 without one).
int SheetSideCount(const Melodar& book);

// Prints the listed sheet sides of the book's last layout on its printer,
// one printer page each, in one job named as the book (Melodar::name).
// False, printing nothing, without a layout, a page format or a valid
// printer, or when the job cannot start.
[[nodiscard]] bool PrintBookSides(Melodar& book, const btkArray<int>& sides);
