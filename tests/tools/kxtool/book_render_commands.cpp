// kxtool book-render: lays a song book out on the PDF printer (no system
// printer needed) and prints its sheet sides into a PDF file, so layout and
// printing can be checked from a shell.
#ifdef KXTOOL_WITH_QT

#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/qt/btkprinter.h"
#include "kxtool.h"
#include "qtcommand.h"
#include "songbook/booklayout.h"
#include "songbook/melodar.h"

namespace {

constexpr const char* Usage = "book-render PROGRAMDIR BOOK.kx OUT.pdf [SIDES]  (SIDES a-b: sheet sides from 1)";

// "a-b" or "a", counted from 1 as the print range dialog lists the sides,
// as indexes from 0; false unless 1 <= a <= b <= count.
bool parseSides(const std::string& text, int count, btkCntVec<int>& sides) {
    char* end = nullptr;
    const long first = std::strtol(text.c_str(), &end, 10);
    long last = first;
    if (*end == '-') last = std::strtol(end + 1, &end, 10);
    if (end == text.c_str() || *end || first < 1 || last < first || last > count) return false;
    for (long s = first; s <= last; ++s) sides.add(static_cast<int>(s - 1));
    return true;
}

// Every job of the book prints into the PDF file.
void printInto(const std::string& pdf) {
    btkSetPrinterMaker([pdf](bool landscape) -> std::unique_ptr<btkPrintDevice> {
        btkRef<btkPrinterProps> props = new btkPrinterProps("");
        props->setLandscape(landscape);
        props->setOutputFile(pdf.c_str());
        auto printer = std::make_unique<btkWinPrinter>(props.get());
        if (!printer->IsValid()) return nullptr;
        return printer;
    });
}

int render(const kxtool::Args& a) {
    Melodar book;
    try {
        book.load(a[1].c_str());
    } catch (const btkError& e) {
        std::fprintf(stderr, "%s: %s\n", a[1].c_str(), e.what());
        return 1;
    }
    if (!book.logPages || !book.sheets) {
        std::fprintf(stderr, "%s: the book could not be laid out\n", a[1].c_str());
        return 1;
    }
    std::printf("logical pages %d, sheets %d\n", book.logPages->count(), book.sheets->sheets());
    std::fflush(stdout);
    btkCntVec<int> sides;
    if (a.size() < 4) {
        for (int s = 0; s < SheetSideCount(book); ++s) sides.add(s);
    } else if (!parseSides(a[3], SheetSideCount(book), sides)) {
        std::fprintf(stderr, "sheet sides '%s' not within 1-%d\n", a[3].c_str(), SheetSideCount(book));
        return 2;
    }
    if (!PrintBookSides(book, sides)) {
        std::fprintf(stderr, "%s: nothing printed\n", a[2].c_str());
        return 1;
    }
    return 0;
}

int bookRender(const kxtool::Args& a) {
    if (a.size() < 3 || a.size() > 4) return kxtool::usageError(Usage);
    const kxtool::QtCommandApp app;

    setProgramDir(a[0].c_str());
    printInto(a[2]);
    const int result = render(a);
    btkSetPrinterMaker(btkPrinterMaker());
    return result;
}

KXTOOL_COMMAND("book-render", Usage, bookRender);

}  // namespace

#endif
