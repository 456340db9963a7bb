// kxtool subcommands over the Qt printer: print-test writes a two-page PDF
// through the printer layer, so printing can be checked from a shell.
#ifdef KXTOOL_WITH_QT

#include <cstdio>

#include <QFont>

#include "foundation/qt/btkprinter.h"
#include "foundation/qt/btkqtcanvas.h"
#include "kxtool.h"
#include "qtcommand.h"

namespace {

// Page 1: a frame 1 cm inside the printable area and one line of Czech text
// whose first half is in DejaVu Sans and second half in DejaVu Serif italic;
// page 2: a page number.
int printTest(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("print-test OUT.pdf");
    const kxtool::QtCommandApp app;

    btkRef<btkPrinterProps> props = new btkPrinterProps("");
    props->setOutputFile(a[0].c_str());
    btkWinPrinter printer(props.get());
    if (!printer.startDoc("kxtool print-test")) return 1;

    QFont serifScreen(QStringLiteral("DejaVu Serif"), 14);
    serifScreen.setItalic(true);
    btkDCFont sans(printer.scaleFont(QFont(QStringLiteral("DejaVu Sans"), 14)));
    btkDCFont serif(printer.scaleFont(serifScreen));
    btkDCCanvas canvas;

    canvas.setPainter(printer.startPage());
    btkCanvas page(0, 0, canvas.sp());
    const int w = printer.pageWidth();
    const int h = printer.pageHeight();
    const int cm = 10 * printer.pixelsPerMmX();
    page.line(cm, cm, w - cm, cm)
        .line(w - cm, cm, w - cm, h - cm)
        .line(w - cm, h - cm, cm, h - cm)
        .line(cm, h - cm, cm, cm);
    const btkstring first = "Příliš žluťoučký kůň";
    const btkstring second = "úpěl ďábelské ódy";
    page.setFont(&sans).text(2 * cm, 2 * cm, first);
    const int x = 2 * cm + page.textWidth(first) + page.textWidth(" ");
    page.setFont(&serif).text(x, 2 * cm, second);
    printer.endPage();

    canvas.setPainter(printer.startPage());
    page.setFont(&sans).text(2 * cm, 2 * cm, "Strana 2");
    printer.endPage();
    printer.endDoc();
    std::printf("%s: 2 pages, %d x %d pixels at %d dpi\n", a[0].c_str(), w, h, printer.printerDpiY());
    return 0;
}

KXTOOL_COMMAND("print-test", "print-test OUT.pdf  (two test pages through the printer)", printTest);

}  // namespace

#endif
