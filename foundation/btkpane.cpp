#include "foundation/btkpane.h"

#include <cstring>

void btkPaneGrpCanvas::paneBreak(int height, const btkstring& kind, int*) { grp->endPane(height, kind); }

btkPaneGrp::btkPaneGrp() : current(new btkPane), grpCanvas(this) {
    redirect.setTarget(current->sp());
    redirect.setPaneTarget(grpCanvas.sp());
}

btkPaneGrp::~btkPaneGrp() {
    // Handles kept by callers may outlive the group: let go of every target
    // first; the members delete what the group made.
    redirect.setTarget(btkSPCanvas());
    redirect.setMeasureTarget(btkSPCanvas());
    redirect.setPaneTarget(btkSPCanvas());
}

void btkPaneGrp::endPane(int height, const btkstring& kind) {
    btkPane* done = current.release();
    done->height = height;
    done->optional = std::strcmp(kind.c_str(), "optional") == 0;
    done->keepWithNext = std::strcmp(kind.c_str(), "keep") == 0;
    closed.add(done);
    current.reset(new btkPane);
    redirect.setTarget(current->sp());
}

btkCanvas btkLogPages::startPage() {
    current.reset(new btkLogPage);
    return btkCanvas(0, 0, current->drawing.sp());
}

void btkLogPages::endPage() {
    if (current.isSet()) finished.add(current.release());
}

void btkLogPages::notePane(btkPane* pane) {
    if (current.isSet()) current->panes.add(pane);
}

void btkPageDistribState::finish(btkPagePrinter& printer) {
    if (openPage.isSet()) printer.endPage();
    openPage.reset();
    used = 0;
    skipping = false;
}

namespace {

// The height the pane at i needs on its page: its own, or with a pane kept
// with the next, up to and including the next plain pane.
int neededHeight(const btkArray<btkPane*>& panes, int i) {
    int need = panes[i]->height;
    if (!panes[i]->keepWithNext) return need;
    for (int k = i + 1; k < panes.count(); ++k) {
        need += panes[k]->height;
        if (!panes[k]->optional) break;
    }
    return need;
}

}  // namespace

void printPanesOnPages(btkPaneGrp& group, btkPagePrinter& printer, btkPageDistribState* state) {
    if (group.count() == 0) return;

    btkCanvas page;
    int used = 0;
    bool skipping = false;
    if (state && state->openPage.isSet()) {
        page = btkCanvas(*state->openPage, 0, 0);
        used = state->used;
        skipping = state->skipping;
        state->openPage.reset();
        state->used = 0;
        state->skipping = false;
    } else {
        page = printer.startPage();
    }

    const int limit = printer.width();
    const btkArray<btkPane*>& all = group.panes();
    for (int i = 0; i < all.count(); ++i) {
        btkPane* p = all[i];
        if (!((used <= 0 || neededHeight(all, i) + used <= limit) && !skipping)) {
            if (p->optional) {
                skipping = true;
                continue;
            }
            printer.endPage();
            page = printer.startPage();
            used = 0;
            skipping = false;
        }
        // An optional pane never starts a page.
        if (used == 0 && p->optional) continue;
        p->play(btkCanvas(page, 0, used));
        printer.notePane(p);
        used += p->height;
    }

    if (!state) {
        printer.endPage();
        return;
    }
    state->openPage.reset(new btkCanvas(page, 0, 0));
    state->used = used;
    state->skipping = skipping;
}
