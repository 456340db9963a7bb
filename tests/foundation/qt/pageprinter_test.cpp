// Panes stacked onto printer pages: pages fill up to the printable height,
// and what the canvas was told lands where it was told on the PDF page.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkwinpageprinter.h"
#include "pdf_tools.h"

namespace {

constexpr double pointsPerPixel = 72.0 / 600.0;

struct PrintedPanes {
    std::string file;
    int pageHeight = 0;
    int width = 0;
    int marginLeftPx = 0;
    int marginTopPx = 0;
};

// Prints panes of the given heights (percent of the page height), pane k
// showing the word "Pane<k>" at (300, 200) in pane coordinates.
PrintedPanes printPanes(const QTemporaryDir& dir, std::initializer_list<int> percents) {
    PrintedPanes out;
    out.file = dir.filePath(QStringLiteral("panes.pdf")).toStdString();
    btkRef<btkPrinterProps> props = new btkPrinterProps("");
    props->setOutputFile(out.file.c_str());
    QPageLayout layout = props->pageLayout();
    layout.setMargins(QMarginsF(15, 25, 10, 10));  // millimetres
    props->setPageLayout(layout);
    out.marginLeftPx = qRound(15 * 600 / 25.4);
    out.marginTopPx = qRound(25 * 600 / 25.4);

    btkWinPrinter printer(props.get());
    out.pageHeight = printer.pageHeight();
    btkDCCanvas measure(nullptr, printer.ic());
    btkDCFont font(printer.scaleFont(QFont(QStringLiteral("DejaVu Sans"), 12)));

    btkPaneGrp group;
    group.canvas().setMeasureTarget(measure.sp());
    btkCanvas c = group.handle();
    int k = 1;
    for (int percent : percents) {
        c.setFont(&font);
        c.text(300, 200, btkFormat("Pane%d", k++));
        c.line(0, 0, 2000, 0);
        c.paneBreak(printer.pageHeight() * percent / 100, "");
    }
    btkWinPagePrinter pages(&printer);
    out.width = pages.width();
    if (!printer.startDoc("kx")) return out;
    printPanesOnPages(group, pages, nullptr);
    printer.endDoc();
    return out;
}

TEST(WinPagePrinter, PagesFillUpToThePrintableHeight) {
    QTemporaryDir dir;
    PrintedPanes printed = printPanes(dir, {40, 40, 40});
    EXPECT_EQ(printed.width, printed.pageHeight);
    EXPECT_EQ(kx6test::pdfPageCount(printed.file), 2);

    std::vector<kx6test::PdfWord> words = kx6test::pdfWords(printed.file);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].page, 0);
    EXPECT_EQ(words[1].page, 0);
    EXPECT_EQ(words[2].page, 1);
    EXPECT_EQ(words[2].text, "Pane3");
}

TEST(WinPagePrinter, WordsLandWithinAPointOfWhereTheyWereDrawn) {
    QTemporaryDir dir;
    PrintedPanes printed = printPanes(dir, {40, 40, 40});
    std::vector<kx6test::PdfWord> words = kx6test::pdfWords(printed.file);
    ASSERT_EQ(words.size(), 3u);
    const int secondPaneY = printed.pageHeight * 40 / 100;
    const int expectedY[] = {200, secondPaneY + 200, 200};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(words[static_cast<size_t>(i)].text);
        EXPECT_NEAR(words[static_cast<size_t>(i)].xMin, (printed.marginLeftPx + 300) * pointsPerPixel, 1.0);
        EXPECT_NEAR(words[static_cast<size_t>(i)].yMin, (printed.marginTopPx + expectedY[i]) * pointsPerPixel, 1.0);
    }
}

TEST(WinPagePrinter, ATallPaneGetsAPageOfItsOwn) {
    QTemporaryDir dir;
    PrintedPanes printed = printPanes(dir, {30, 120, 10});
    EXPECT_EQ(kx6test::pdfPageCount(printed.file), 3);
}

}  // namespace
