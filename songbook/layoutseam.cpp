// The layout entry points of the song book until the layout proper takes
// them over in booklayout.cpp (which then replaces this file): a book is
// kept without logical pages.
#include "songbook/melodar.h"

void Melodar::relayout() {
    if (layingOut || !type) return;
    dropPages();
}

void Melodar::autoDistribute() { relayout(); }
