#include "foundation/qt/btkwinpageprinter.h"

btkCanvas btkWinPagePrinter::startPage() {
    canvas.setPainter(prn->startPage());
    return btkCanvas(0, 0, canvas.sp());
}
