// Panes (blocks of recorded drawing that are never split across pages),
// pane groups that cut a drawing into panes at its pane breaks, page
// printers that receive pages, logical pages and the stacking of panes onto
// pages.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkcanvas.h"
#include "foundation/btkmetacanvas.h"
#include "foundation/btkredirectcanvas.h"
#include "foundation/btkref.h"

// The drawing of one block in pane-local coordinates, with its height.
class btkPane : public btkMetaCanvas {
public:
    int height = 0;
    // A gap: dropped where it would start a page or overflow one.
    bool optional = false;
    // Never ends a page on its own: it moves on with the next plain pane
    // (a heading and the first block under it).
    bool keepWithNext = false;
};

class btkPaneGrp;

// The pane target of a pane group: a pane break closes the group's current
// pane; the caller's y is left alone.
class btkPaneGrpCanvas : public btkRealCanvas {
public:
    explicit btkPaneGrpCanvas(btkPaneGrp* group) : grp(group) {}
    void paneBreak(int height, const btkstring& kind, int* y) override;

private:
    btkPaneGrp* grp;
};

// Turns one drawing into panes: everything drawn through canvas() goes into
// the open current pane, and each pane break closes it with the break's
// height and kind ("optional" marks a gap, "keep" a pane kept with the next
// plain one) and opens the next. Drawing after
// the last break stays in the open pane and is never printed.
class btkPaneGrp {
public:
    btkPaneGrp();
    btkPaneGrp(const btkPaneGrp&) = delete;
    btkPaneGrp& operator=(const btkPaneGrp&) = delete;
    // Deletes the panes it made; the measure target (the owner's canvas) is
    // only released, never deleted.
    ~btkPaneGrp();

    // The canvas to draw on (through a handle at (0, 0)); its owner sets the
    // measure target before the drawing measures text.
    btkRedirectCanvas& canvas() { return redirect; }
    btkCanvas handle() { return btkCanvas(0, 0, redirect.sp()); }

    // Closes the current pane and opens a fresh one.
    void endPane(int height, const btkstring& kind);

    // The closed panes, in order.
    const btkArray<btkPane*>& panes() const { return closed; }
    int count() const { return closed.count(); }
    btkPane* pane(int i) const { return closed.at(i); }

private:
    btkObjArray<btkPane> closed;
    btkRedirectCanvas redirect;
    btkAutoPtr<btkPane> current;
    btkPaneGrpCanvas grpCanvas;
};

// Receiver of the pages that printPanesOnPages fills.
class btkPagePrinter {
public:
    virtual ~btkPagePrinter() = default;
    // The extent the stacked panes of one page may fill.
    virtual int width() = 0;
    // A handle to draw the new page through.
    virtual btkCanvas startPage() = 0;
    virtual void endPage() = 0;
    // Told of each pane placed on the current page.
    virtual void notePane(btkPane*) {}
};

// One logical page: its number (set by the layout), the panes placed on it
// (not owned) and everything drawn on it.
class btkLogPage {
public:
    int number = 0;
    btkCntVec<btkPane*> panes;
    btkMetaCanvas drawing;
};

// A page printer that collects logical pages of a given extent, later
// placed on sheets and shown in previews.
class btkLogPages : public btkPagePrinter {
public:
    explicit btkLogPages(int extent) : pageExtent(extent) {}

    int width() override { return pageExtent; }
    // Opens a new page; a page that was started and not ended is discarded.
    btkCanvas startPage() override;
    // Appends the open page to the pages (nothing when none is open).
    void endPage() override;
    // Lists the pane on the open page (nothing when none is open).
    void notePane(btkPane* pane) override;

    const btkArray<btkLogPage*>& pages() const { return finished; }
    int count() const { return finished.count(); }
    // The bounds error of btkArray outside 0..count-1.
    btkLogPage* page(int i) const { return finished.at(i); }
    btkLogPage* currentPage() const { return current.get(); }

private:
    btkObjArray<btkLogPage> finished;
    btkAutoPtr<btkLogPage> current;
    int pageExtent;
};

// Carries a page left open from one printPanesOnPages call to the next, so
// consecutive groups share pages; the caller ends the last page with finish.
class btkPageDistribState {
public:
    // Ends the open page on the printer (when there is one) and resets.
    void finish(btkPagePrinter& printer);
    bool hasOpenPage() const { return openPage.isSet(); }

    btkAutoPtr<btkCanvas> openPage;
    int used = 0;
    // An optional pane overflowed: the next plain pane starts a new page.
    bool skipping = false;
};

// Stacks the closed panes of group onto pages of printer, opening a new page
// where the next pane does not fit and dropping optional panes that would
// start or overflow a page. A pane kept with the next goes to a new page
// unless it fits there together with the panes up to the next plain one. Without state the group gets pages of its own
// and the last is ended; with state it continues on the page the record
// holds open and leaves its last page open there.
void printPanesOnPages(btkPaneGrp& group, btkPagePrinter& printer, btkPageDistribState* state);
