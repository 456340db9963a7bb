// A page printer whose pages are the printer's pages: panes stacked by
// printPanesOnPages are drawn straight onto the job.
#pragma once

#include "foundation/btkpane.h"
#include "foundation/qt/btkprinter.h"
#include "foundation/qt/btkqtcanvas.h"

class btkWinPagePrinter : public btkPagePrinter {
public:
    // The printer (not owned) must have its job started.
    explicit btkWinPagePrinter(btkWinPrinter* printer) : prn(printer) {}

    // Panes are stacked downwards, so a page holds up to the printable
    // height.
    int width() override { return prn->pageHeight(); }
    // Starts a printer page; the handle draws at its printable area's top-left.
    btkCanvas startPage() override;
    void endPage() override { prn->endPage(); }

private:
    btkWinPrinter* prn;
    btkDCCanvas canvas;
};
