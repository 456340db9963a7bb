#include "songbook/distrib.h"

void daPaneGrp::addPane(int height, bool optional, bool keepWithNext) {
    daPane* last = panes.empty() ? nullptr : panes[panes.count() - 1];
    if (optional) {
        if (last) last->trailing += height;
        return;
    }
    if (joinNext && last && height <= capacity - last->full()) {
        last->body += last->trailing + height;
        last->trailing = 0;
    } else {
        if (joinNext && last) last->startsPage = true;
        daPane* pane = new daPane;
        pane->group = this;
        pane->body = height;
        panes.add(pane);
    }
    joinNext = keepWithNext;
}

// ---- pages

void daLogPage::add(daPane* pane) {
    if (!fits(*pane)) return;
    panes.add(pane);
    fillWithoutTrailing = fill + pane->body;
    fill += pane->full();
}

void daLogPage::moveTailTo(int first, daLogPage& next) {
    btkCntVec<daPane*> moved;
    moved.append(panes, first, panes.count());
    moved.append(next.panes);
    next.panes = moved;
    panes.removeItems(first, panes.count() - first);
    recompute();
    next.recompute();
}

void daLogPage::recompute() {
    fill = 0;
    for (const daPane* p : panes) fill += p->full();
    fillWithoutTrailing = panes.empty() ? 0 : fill - panes[panes.count() - 1]->trailing;
}

// ---- the common steps

daPaneGrp* daDistribAlg::addGroup(int itemIndex, bool fixtobegin, bool fixtoend) {
    daPaneGrp* g = new daPaneGrp(itemIndex, fixtobegin, fixtoend, capacity);
    groups.add(g);
    return g;
}

bool daDistribAlg::run() {
    pages.clear();
    order.clear();
    distribute();
    finish();
    return order.count() == groups.count();
}

daLogPage& daDistribAlg::newPage() {
    pages.add(new daLogPage(capacity));
    return lastPage();
}

void daDistribAlg::placeGroup(daPaneGrp& g) {
    if (pages.empty()) newPage();
    for (daPane* pane : g.panes) {
        // A pane taller than a page opens a page and stays out of the
        // simulation; when it is the group's first, the group is missing
        // from the result.
        if (!lastPage().fits(*pane)) newPage();
        lastPage().add(pane);
    }
}

int daDistribAlg::breaksOn(const daLogPage& page, const daPaneGrp& g) const {
    int y = page.fill;
    int n = 0;
    for (const daPane* pane : g.panes) {
        if (pane->body + y > capacity || (pane->startsPage && y > 0)) {
            ++n;
            y = 0;
        }
        y += pane->full();
    }
    return n;
}

int daDistribAlg::columnsNeeded(const daPaneGrp& g) const {
    int y = capacity;
    int n = 0;
    for (const daPane* pane : g.panes) {
        if (pane->body + y > capacity || (pane->startsPage && y > 0)) {
            ++n;
            y = pane->full();
        } else {
            y += pane->full();
        }
    }
    return n;
}

// Every group whose first pane was placed, in page order; it starts a page
// when that pane heads its page. A group without panes (an empty table of
// contents) takes no room: it keeps following the group it followed.
void daDistribAlg::finish() {
    for (int p = 0; p < pages.count(); ++p) {
        const btkCntVec<daPane*>& placed = pages[p]->panes;
        for (int i = 0; i < placed.count(); ++i) {
            daPaneGrp* g = placed[i]->group;
            if (g->panes[0] != placed[i]) continue;
            order.add(g);
            g->newpage = i == 0;
            g->skippage = i == 0 && p > 0 && pages[p - 1]->panes.empty();
        }
    }
    for (int i = 0; i < groups.count(); ++i) {
        if (!groups[i]->panes.empty()) continue;
        int at = 0;
        if (i > 0) {
            at = order.find(groups[i - 1]) + 1;
            if (at == 0) continue;  // the group before was not placed: failed anyway
        }
        order.add(nullptr);
        for (int k = order.count() - 1; k > at; --k) order[k] = order[k - 1];
        order[at] = groups[i];
    }
}

// ---- booklet

void daKx4DistribAlg::take(int waitingIndex) {
    placeGroup(*waiting[waitingIndex]);
    waiting.removeItems(waitingIndex, 1);
}

void daKx4DistribAlg::placeLeading(bool& placed) {
    int count = 0;
    while (!waiting.empty() && waiting[0]->fixtobegin) {
        take(0);
        ++count;
    }
    placed = false;
    if (count == 0) return;
    newPage();
    placed = !isLeftPage(pages.count() - 1);
}

int daKx4DistribAlg::findFiller() {
    for (int i = 0; i < waiting.count(); ++i) {
        if (waiting[i]->fixtoend) return -1;
        if (breaksOn(lastPage(), *waiting[i]) <= 1) return i;
    }
    return -1;
}

void daKx4DistribAlg::distribute() {
    waiting.clear();
    for (daPaneGrp* g : groups) waiting.add(g);
    newPage();
    bool placed = false;
    placeLeading(placed);

    // Every pass places one waiting group, so the loop ends.
    while (!waiting.empty()) {
        daPaneGrp& g = *waiting[0];
        const int breaks = breaksOn(lastPage(), g);
        if (!isLeftPage(pages.count() - 1)) {
            if (breaks == 0) {
                placed = true;
            } else {
                newPage();
            }
            take(0);
        } else if (breaks <= 1) {
            take(0);
            placed = true;
        } else if (!placed || columnsNeeded(g) > 2) {
            take(0);
        } else {
            const int filler = findFiller();
            if (filler > 0) {
                take(filler);
            } else {
                // g starts on the next left page, facing its own second page.
                newPage();
                newPage();
                take(0);
            }
        }
    }
    pullBack();
}

// A one-page song that starts low on a left page and ends on the facing
// right page moves whole to the top of that right page when it fits there.
void daKx4DistribAlg::pullBack() {
    for (int p = 1; p + 1 < pages.count(); p += 2) {
        daLogPage& page = *pages[p];
        daLogPage& next = *pages[p + 1];
        int first = -1;
        for (int i = page.panes.count() - 1; i >= 1 && first < 0; --i)
            if (page.panes[i]->group->panes[0] == page.panes[i]) first = i;
        if (first < 0) continue;
        int moved = 0;
        for (int i = first; i < page.panes.count(); ++i) moved += page.panes[i]->full();
        if (columnsNeeded(*page.panes[first]->group) == 1 && next.fill + moved < capacity) page.moveTailTo(first, next);
    }
}

// ---- rows

void daKx4LinesDistribAlg::openRow() {
    if (cols == 1) {
        newPage();
        return;
    }
    if (pages.count() % cols == 1) newPage();
    while (pages.count() % cols != 1) newPage();
}

void daKx4LinesDistribAlg::distribute() {
    btkCntVec<daPaneGrp*> waiting;
    for (daPaneGrp* g : groups) {
        if (columnsNeeded(*g) > cols)
            placeGroup(*g);
        else
            waiting.add(g);
    }
    if (pages.empty()) newPage();

    while (!waiting.empty()) {
        const int used = pages.count() % cols == 0 ? cols : pages.count() % cols;
        int pick = -1;
        for (int i = 0; i < waiting.count() && pick < 0; ++i)
            if (breaksOn(lastPage(), *waiting[i]) <= cols - used) pick = i;
        // On an empty page at the start of a row a new row would look the
        // same: the first waiting group goes here whatever it needs, so
        // every pass either places a group or opens a row that will.
        if (pick < 0 && lastPage().panes.empty() && (cols == 1 || pages.count() % cols == 1)) pick = 0;
        if (pick < 0) {
            openRow();
            continue;
        }
        placeGroup(*waiting[pick]);
        waiting.removeItems(pick, 1);
    }
}

// ---- making and filling

std::unique_ptr<daDistribAlg> daMakeDistribAlg(int a4distrib, int hcnt, int pageCapacity) {
    if (a4distrib == 0) return std::make_unique<daKx4DistribAlg>(pageCapacity);
    if (a4distrib == 1) return std::make_unique<daKx4LinesDistribAlg>(pageCapacity, hcnt);
    return nullptr;
}

daPaneGrp* daAddItemPanes(daDistribAlg& alg, int itemIndex, const btkPaneGrp* panes, bool fixtobegin, bool fixtoend) {
    daPaneGrp* g = alg.addGroup(itemIndex, fixtobegin, fixtoend);
    if (panes)
        for (const btkPane* pane : panes->panes()) g->addPane(pane->height, pane->optional, pane->keepWithNext);
    return g;
}
