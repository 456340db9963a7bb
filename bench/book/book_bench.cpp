// Lays out a generated song book of SONGS songs (500 by default; each of 10
// to 40 lines with chords and labelled verses) on the PDF printer and
// prints every sheet side into a PDF file; prints the layout time and the
// PDF time separately; then the layout time of the same book as a booklet
// with automatic distribution.
//
//   book_bench [FOLDER] [SONGS]
//
// The book and the PDF are written into FOLDER (a new temporary folder by
// default, removed afterwards). Target: layout and PDF together under 5 s
// for 500 songs.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>

#include "bench/common/lyrics.h"
#include "foundation/btkfile.h"
#include "foundation/btkxml.h"
#include "foundation/qt/btkprinter.h"
#include "songbook/booklayout.h"
#include "songbook/melodar.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// 10 to 40 lines: numbered verses of the generator's lines with chords.
std::string songText(BenchLyrics& lyrics) {
    const int lines = 10 + lyrics.pick(31);
    std::string text;
    for (int l = 0; l < lines; ++l) {
        if (l % 5 == 0) text += "." + std::to_string(l / 5 + 1) + "\n";
        text += lyrics.line();
    }
    return text;
}

// A book file of count songs on the default type.
void writeBook(const std::string& path, int count) {
    BenchLyrics lyrics(7);
    btkXMLNode root;
    root.setName("melodar");
    btkXMLNode type = root.addChild("kxtype");
    type.setAttr("savediff", "1");
    type.setAttr("basetype", "default");
    btkXMLNode items = root.addChild("items");
    for (int i = 0; i < count; ++i) {
        btkXMLNode song = items.addChild("song");
        song.setAttr("title", btkFormat("Píseň číslo %d", i + 1).c_str());
        song.setAttr("author", "lidová");
        song.addChild("text").setValue(songText(lyrics).c_str());
    }
    root.save(path.c_str(), "Windows-1250");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_CTYPE, "C");

    std::string folder = argc > 1 ? argv[1] : "";
    const int count = argc > 2 ? std::atoi(argv[2]) : 500;
    const bool own = folder.empty();
    if (own) {
        char pattern[] = "/tmp/kx6_book_bench_XXXXXX";
        if (!mkdtemp(pattern)) return 1;
        folder = pattern;
    }
    const std::string book = folder + "/bench.kx";
    const std::string pdf = folder + "/bench.pdf";
    writeBook(book, count);
    btkSetPrinterMaker([pdf](bool landscape) -> std::unique_ptr<btkPrintDevice> {
        btkRef<btkPrinterProps> props = new btkPrinterProps("");
        props->setLandscape(landscape);
        props->setOutputFile(pdf.c_str());
        return std::make_unique<btkWinPrinter>(props.get());
    });

    int result = 0;
    {
        Melodar melodar;
        // Reading the file is not layout: the type applied afterwards lays
        // every song out from scratch.
        melodar.load(book.c_str());
        auto start = std::chrono::steady_clock::now();
        melodar.applyType();
        const double layout = seconds(start);
        btkCntVec<int> sides;
        for (int s = 0; s < SheetSideCount(melodar); ++s) sides.add(s);
        start = std::chrono::steady_clock::now();
        const bool printed = PrintBookSides(melodar, sides);
        const double print = seconds(start);
        if (!printed || !melodar.logPages) {
            std::fprintf(stderr, "nothing printed\n");
            result = 1;
        } else {
            std::printf("%d songs: %d logical pages, %d sheet sides\n", count, melodar.logPages->count(),
                        SheetSideCount(melodar));
            std::printf("layout %.3f s, pdf %.3f s, together %.3f s\n", layout, print, layout + print);
        }
        // The same book as a booklet of two pages a side, sorted and
        // distributed automatically.
        melodar.type->hcnt = 2;
        melodar.type->autodistrib = true;
        start = std::chrono::steady_clock::now();
        melodar.applyType();
        std::printf("booklet with automatic distribution: layout %.3f s\n", seconds(start));
    }
    btkSetPrinterMaker(btkPrinterMaker());
    if (own) {
        std::remove(book.c_str());
        std::remove(pdf.c_str());
        rmdir(folder.c_str());
    }
    return result;
}
