// Automatic distribution of song-book items onto logical pages: a simulation
// over pane heights only (no drawing). Each item is a group of unbreakable
// panes; optional space after a pane may fall away at a page end. An
// algorithm decides the order of the items and, for each, whether it starts
// at the top of a page and whether the page before it stays empty. The book
// applies the result (Melodar::autoDistribute, songbook/booklayout.cpp).
#pragma once

#include <memory>

#include "foundation/btkarray.h"
#include "foundation/btkpane.h"

class daPaneGrp;

// One unbreakable block: its body and the optional space after it.
struct daPane {
    daPaneGrp* group = nullptr;
    int body = 0;
    int trailing = 0;
    // A block kept with the next that could not join it on one page (a
    // song's head over a tall first block): it starts a page, as the page
    // placement puts it (printPanesOnPages).
    bool startsPage = false;
    int full() const { return body + trailing; }
};

// One item of the book: its panes in order and, after a run, its flags.
class daPaneGrp {
public:
    // Blocks are joined only up to pageCapacity, the height of one page.
    daPaneGrp(int itemIndex, bool toBegin, bool toEnd, int pageCapacity)
        : index(itemIndex), fixtobegin(toBegin), fixtoend(toEnd), capacity(pageCapacity) {}
    daPaneGrp(const daPaneGrp&) = delete;
    daPaneGrp& operator=(const daPaneGrp&) = delete;

    // A plain pane becomes a new block, or joins the last block when that
    // is kept with the next and the two (with the space between) fit one
    // page; a kept block that cannot be joined starts a page instead. An
    // optional pane's height is added to the space after the last block
    // (and dropped before the first).
    void addPane(int height, bool optional, bool keepWithNext = false);

    int index;
    bool fixtobegin;
    bool fixtoend;
    btkObjArray<daPane> panes;
    // Results: the item starts at the top of a page; the page before it
    // stays empty.
    bool newpage = false;
    bool skippage = false;

private:
    int capacity;
    bool joinNext = false;  // the last block is kept with the next plain pane
};

// One simulated logical page (a column of the given capacity).
class daLogPage {
public:
    explicit daLogPage(int pageCapacity) : capacity(pageCapacity) {}

    // The pane's body fits below what the page holds (a pane that starts a
    // page only on an empty page).
    bool fits(const daPane& pane) const { return fill + pane.body <= capacity && !(pane.startsPage && fill > 0); }
    // Appends the pane when it fits; otherwise nothing.
    void add(daPane* pane);
    // Moves the panes from index first to the end onto the top of next.
    void moveTailTo(int first, daLogPage& next);

    int capacity;
    int fill = 0;
    int fillWithoutTrailing = 0;
    btkCntVec<daPane*> panes;

private:
    void recompute();
};

// The base of both algorithms: the input groups, the simulated pages and
// the result order. Fill with addGroup, then run once.
class daDistribAlg {
public:
    explicit daDistribAlg(int pageCapacity) : capacity(pageCapacity) {}
    daDistribAlg(const daDistribAlg&) = delete;
    daDistribAlg& operator=(const daDistribAlg&) = delete;
    virtual ~daDistribAlg() = default;

    // A new input group appended after the others (owned by the algorithm).
    daPaneGrp* addGroup(int itemIndex, bool fixtobegin, bool fixtoend);

    // Distributes the groups and collects the result. False when some group
    // could not be placed (a first pane taller than a page): the result then
    // lacks it and must not be applied.
    [[nodiscard]] bool run();

    // The groups in their new order, with newpage and skippage set.
    const btkArray<daPaneGrp*>& result() const { return order; }
    int pageCount() const { return pages.count(); }
    const daLogPage& page(int i) const { return *pages.at(i); }

protected:
    virtual void distribute() = 0;

    daLogPage& newPage();
    daLogPage& lastPage() { return *pages[pages.count() - 1]; }
    bool isLeftPage(int pageIndex) const { return pageIndex % 2 == 1; }
    void placeGroup(daPaneGrp& g);
    // Page breaks g needs when it continues below what page holds.
    int breaksOn(const daLogPage& page, const daPaneGrp& g) const;
    // Pages g needs when it starts on a fresh page.
    int columnsNeeded(const daPaneGrp& g) const;

    btkObjArray<daPaneGrp> groups;
    btkObjArray<daLogPage> pages;
    int capacity;

private:
    void finish();

    btkCntVec<daPaneGrp*> order;
};

// Booklet sheets: a song that would break twice on a left page is held back
// for a filler or moved to the next spread, so songs of up to two pages are
// seen whole on facing pages.
class daKx4DistribAlg final : public daDistribAlg {
public:
    using daDistribAlg::daDistribAlg;

protected:
    void distribute() override;

private:
    void placeLeading(bool& placed);
    // The first waiting group that fits the last page with at most one
    // break, before any group bound to the end; -1 when none.
    int findFiller();
    void pullBack();
    void take(int waitingIndex);

    btkCntVec<daPaneGrp*> waiting;
};

// Sheets read in rows of columns pages: a song starts where it ends within
// the row it begins in.
class daKx4LinesDistribAlg final : public daDistribAlg {
public:
    // columns below 1 count as 1.
    daKx4LinesDistribAlg(int pageCapacity, int columns) : daDistribAlg(pageCapacity), cols(columns < 1 ? 1 : columns) {}

protected:
    void distribute() override;

private:
    void openRow();

    int cols;
};

// The algorithm of the type's a4distrib (0 booklet, 1 rows of hcnt
// columns) for pages of the given height; null for any other value, which
// distributes nothing.
std::unique_ptr<daDistribAlg> daMakeDistribAlg(int a4distrib, int hcnt, int pageCapacity);

// Appends one item's group: every plain pane of panes (null: none) becomes
// a block (a pane kept with the next one block with it), every optional
// pane space after the block before it.
daPaneGrp* daAddItemPanes(daDistribAlg& alg, int itemIndex, const btkPaneGrp* panes, bool fixtobegin, bool fixtoend);
