// The printer over Qt, printing into PDF files: page metrics, font scaling,
// the job calls, failures, and the absence of a printer.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkprinter.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkqtcanvas.h"
#include "pdf_tools.h"

namespace {

class PdfPrinting : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = true;
    }
    void TearDown() override { btkDefaultMessageBoxes().quiet = false; }

    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    // Properties that print into a PDF file (A4, the given margins in mm).
    btkRef<btkPrinterProps> pdfProps(const std::string& file, double left = 0, double top = 0) {
        btkRef<btkPrinterProps> props = new btkPrinterProps("");
        props->setOutputFile(file.c_str());
        QPageLayout layout = props->pageLayout();
        layout.setMargins(QMarginsF(left, top, 0, 0));
        props->setPageLayout(layout);
        return props;
    }

    QTemporaryDir dir;
};

TEST_F(PdfPrinting, PageSizeResolutionAndOrientation) {
    btkRef<btkPrinterProps> props = pdfProps(path("a.pdf"), 10, 20);
    btkWinPrinter portrait(props.get());
    ASSERT_TRUE(portrait.IsValid());
    EXPECT_FALSE(portrait.landscape());
    EXPECT_EQ(portrait.printerDpiX(), 600);
    EXPECT_EQ(portrait.printerDpiY(), 600);
    // A4 less the margins: 200 x 277 mm at 600 dpi (Qt keeps paper sizes in
    // whole points, hence the tolerance).
    EXPECT_NEAR(portrait.pageWidth(), 200 * 600 / 25.4, 4);
    EXPECT_NEAR(portrait.pageHeight(), 277 * 600 / 25.4, 4);
    // 23.62 pixels per millimetre, truncated.
    EXPECT_EQ(portrait.pixelsPerMmX(), 23);
    EXPECT_EQ(portrait.pixelsPerMmY(), 23);
    EXPECT_DOUBLE_EQ(portrait.scaleY(), portrait.screenDpiY() / 600.0);
    EXPECT_EQ(portrait.ic()->logicalDpiY(), 600);

    props->setLandscape(true);
    props->setPageLayout([&] {
        QPageLayout l = props->pageLayout();
        l.setMargins(QMarginsF(0, 0, 0, 0));
        return l;
    }());
    btkWinPrinter landscape(props.get());
    EXPECT_TRUE(landscape.landscape());
    EXPECT_NEAR(landscape.pageWidth(), 297 * 600 / 25.4, 4);
    EXPECT_NEAR(landscape.pageHeight(), 210 * 600 / 25.4, 4);
    // The first printer works on its own copy of the settings.
    EXPECT_FALSE(portrait.landscape());
}

TEST_F(PdfPrinting, FontsScaleByTheResolutionRatioAsAFraction) {
    btkRef<btkPrinterProps> props = pdfProps(path("f.pdf"));
    btkWinPrinter printer(props.get());
    ASSERT_EQ(printer.screenDpiY(), 96);
    QFont screen(QStringLiteral("DejaVu Sans"));
    screen.setPixelSize(16);
    screen.setBold(true);
    QFont scaled = printer.scaleFont(screen);
    EXPECT_EQ(scaled.pixelSize(), 100);  // 16 x 6.25, not 16 x 6
    EXPECT_TRUE(scaled.bold());
    EXPECT_EQ(scaled.family(), screen.family());
    screen.setPixelSize(13);
    EXPECT_EQ(printer.scaleFont(screen).pixelSize(), 81);  // 81.25 truncated
    // 12 points are 16 screen pixels at 96 dpi.
    screen.setPointSize(12);
    EXPECT_EQ(printer.scaleFont(screen).pixelSize(), 100);

    // Text measured on the printer is measured in printer pixels.
    btkDCCanvas measure(nullptr, printer.ic());
    btkDCFont font(scaled);
    measure.setFont(&font);
    EXPECT_GT(measure.textHeight("A"), 100);
    EXPECT_LT(measure.textHeight("A"), 130);
}

TEST_F(PdfPrinting, JobWritesOnePdfPagePerStartedPage) {
    const std::string file = path("three.pdf");
    btkRef<btkPrinterProps> props = pdfProps(file);
    btkWinPrinter printer(props.get());
    ASSERT_TRUE(printer.startDoc("kx"));
    EXPECT_TRUE(printer.documentOpen());
    btkDCCanvas canvas;
    btkDCFont font(printer.scaleFont(QFont(QStringLiteral("DejaVu Sans"), 12)));
    for (const char* word : {"jedna", "dvě", "tři"}) {
        canvas.setPainter(printer.startPage());
        canvas.setFont(&font);
        canvas.text(100, 100, word);
        printer.endPage();
    }
    printer.endDoc();
    EXPECT_FALSE(printer.documentOpen());
    EXPECT_EQ(kx6test::pdfPageCount(file), 3);
    std::vector<kx6test::PdfWord> words = kx6test::pdfWords(file);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1].page, 1);
    EXPECT_EQ(words[1].text, std::string(reinterpret_cast<const char*>(u8"dvě")));
    EXPECT_TRUE(btkDefaultMessageBoxes().shown().empty());
}

TEST_F(PdfPrinting, OutputFileGivenToTheJobWins) {
    const std::string file = path("other.pdf");
    btkRef<btkPrinterProps> props = pdfProps(path("unused.pdf"));
    btkWinPrinter printer(props.get());
    const int width = printer.pageWidth();
    ASSERT_TRUE(printer.startDoc("kx", file.c_str()));
    printer.startPage();
    printer.endPage();
    printer.endDoc();
    EXPECT_EQ(kx6test::pdfPageCount(file), 1);
    EXPECT_EQ(printer.ic()->width(), width);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("unused.pdf"))));
}

TEST_F(PdfPrinting, JobAbandonedByAnExceptionIsEndedByTheDestructor) {
    const std::string file = path("abandoned.pdf");
    btkRef<btkPrinterProps> props = pdfProps(file);
    try {
        btkWinPrinter printer(props.get());
        ASSERT_TRUE(printer.startDoc("kx"));
        btkDCCanvas canvas(printer.startPage());
        canvas.line(0, 0, 500, 500);
        printer.endPage();
        printer.startPage();
        throw std::runtime_error("layout failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(kx6test::pdfPageCount(file), 2);
}

TEST_F(PdfPrinting, FailuresAreShownInCzechAndThrown) {
    btkScriptedMessageBoxes& boxes = btkDefaultMessageBoxes();
    btkRef<btkPrinterProps> props = pdfProps(path("nowhere/missing-folder/x.pdf"));
    btkWinPrinter printer(props.get());
    ASSERT_TRUE(printer.IsValid());
    EXPECT_FALSE(printer.startDoc("kx"));
    EXPECT_FALSE(printer.documentOpen());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, btkstring(btkAppCaption));
    EXPECT_EQ(boxes.shown()[0].flags, btkMB_ICONERROR);
    const std::string text = boxes.shown()[0].text.c_str();
    EXPECT_EQ(text.rfind(std::string("Soubor ") + path("nowhere/missing-folder/x.pdf") + " nelze vytvořit.\n\n", 0), 0u)
        << text;

    EXPECT_THROW(printer.startPage(), btkPrinterError);
    EXPECT_THROW(printer.endPage(), btkPrinterError);
    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[2].text, btkstring("Není spuštěna žádná tisková úloha."));
    // A handler ended by the failure shows no second box.
    EXPECT_FALSE(btkGuard([&] { (void)printer.newPage(); }));
    EXPECT_EQ(boxes.shown().size(), 4u);
    printer.endDoc();  // no job: nothing to end
    EXPECT_EQ(boxes.shown().size(), 4u);
}

TEST_F(PdfPrinting, WithNoPrinterThePdfPageLaysOutAndEachJobAsksForItsFile) {
    btkPrinterProps props("kx6 printer that does not exist");
    EXPECT_FALSE(props.isValid());
    EXPECT_FALSE(props.canPrint());
    props.setLandscape(true);
    EXPECT_TRUE(props.landscape());

    // Page setup still sets up the PDF page without asking for a file; the
    // dialog closed by the timer is a cancel that keeps the layout.
    bool dialogShown = false;
    QTimer::singleShot(500, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            dialogShown = true;
            w->close();
        }
    });
    EXPECT_FALSE(props.pageSetup());
    EXPECT_TRUE(dialogShown);
    EXPECT_TRUE(props.landscape());
    EXPECT_FALSE(props.canPrint());

    // The PDF page: A4 landscape less 5 mm on each side at 600 dpi,
    // measurable at once.
    btkWinPrinter printer(&props);
    ASSERT_TRUE(printer.IsValid());
    EXPECT_TRUE(printer.needsOutputFile());
    EXPECT_EQ(printer.pixelsPerMmY(), 23);
    EXPECT_NEAR(printer.pageWidth(), 287 * 600 / 25.4, 4);
    EXPECT_NEAR(printer.pageHeight(), 200 * 600 / 25.4, 4);
    btkDCCanvas measure(nullptr, printer.ic());
    EXPECT_GT(measure.textHeight("A"), 0);
    // A job without its file fails once, shown by the printer.
    EXPECT_FALSE(printer.startDoc("kx"));
    ASSERT_EQ(btkDefaultMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(btkDefaultMessageBoxes().shown()[0].text,
              btkstring("Nebyl zvolen soubor PDF, do kterého se má tisknout."));
    const std::string file = path("page.pdf");
    printer.setOutputFile(file.c_str());
    EXPECT_FALSE(printer.needsOutputFile());
    ASSERT_TRUE(printer.startDoc("kx"));
    (void)printer.newPage();
    printer.endDoc();
    EXPECT_EQ(kx6test::pdfPageCount(file), 1);

    // The file of each job: cancel, a new file, an existing one only after
    // "Ano"; "Ne" shows the dialog again.
    btkDefaultMessageBoxes().reset();
    btkScriptedDialogs dialogs;
    btkSetDialogBackend(&dialogs);
    const std::string other = path("jiny.pdf");
    const struct {
        std::vector<std::string> chosen;  // one name per dialog; then cancel
        std::vector<int> answers;         // to the overwrite questions
        int dialogsShown;
        std::string result;  // "": cancelled
    } rows[] = {
        {{}, {}, 1, ""},
        {{path("nova.pdf")}, {}, 1, path("nova.pdf")},
        {{file}, {btkID_NO}, 2, ""},
        {{file, other}, {btkID_NO}, 2, other},
        {{file}, {btkID_YES}, 1, file},
    };
    for (const auto& r : rows) {
        btkDefaultMessageBoxes().reset();
        for (const std::string& name : r.chosen) dialogs.files.push_back(name.c_str());
        for (int answer : r.answers) btkDefaultMessageBoxes().answer(answer);
        dialogs.asked = 0;
        btkstring chosen;
        EXPECT_EQ(btkChoosePdfFile("kniha", "", chosen), !r.result.empty()) << r.result;
        EXPECT_EQ(dialogs.asked, r.dialogsShown) << r.result;
        EXPECT_EQ(btkDefaultMessageBoxes().shown().size(), r.answers.size()) << r.result;
        EXPECT_EQ(chosen, btkstring(r.result.c_str()));
    }
    btkSetDialogBackend(nullptr);
}

TEST_F(PdfPrinting, SharedPropertiesAreMadeOnce) {
    btkPrinterProps* props = getPrinterProps();
    ASSERT_NE(props, nullptr);
    EXPECT_EQ(getPrinterProps(), props);
    EXPECT_EQ(props->isValid(), !props->getPrinterName().empty());
}

}  // namespace

// The face the Qt-free layers see: device fonts from a font record measured
// on the printer, pages through newPage, panes down to the printable height
// in landscape.
TEST_F(PdfPrinting, DeviceFacePrintsPanesInLandscape) {
    const std::string file = path("device.pdf");
    btkRef<btkPrinterProps> props = pdfProps(file);
    props->setLandscape(true);
    btkWinPrinter printer(props.get());
    btkPrintDevice& device = printer;
    ASSERT_TRUE(device.landscape());
    ASSERT_GT(device.pageWidth(), device.pageHeight());
    btkFontSpec spec;
    spec.name = "DejaVu Sans";
    spec.size = 12;
    std::unique_ptr<btkFont> font(device.makeFont(spec));
    btkCanvas measure = device.measureCanvas();
    measure.setFont(font.get());
    const int line = measure.textHeight("I");
    EXPECT_EQ(line, QFontMetrics(printer.scaleFont(QFont(QStringLiteral("DejaVu Sans"), 12)), printer.ic()).height());

    // Panes of a third of the page height: three fit on a page, not four.
    btkPaneGrp panes;
    panes.canvas().setMeasureTarget(measure.sp());
    for (int i = 0; i < 4; ++i)
        panes.handle().setFont(font.get()).text(0, 0, "x").paneBreak(device.pageHeight() / 3, "");
    ASSERT_TRUE(device.startDoc("kx"));
    btkDevicePagePrinter pages(&device);
    printPanesOnPages(panes, pages, nullptr);
    device.endDoc();
    EXPECT_EQ(kx6test::pdfPageCount(file), 2);
}
