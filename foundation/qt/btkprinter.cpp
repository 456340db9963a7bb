#include "foundation/qt/btkprinter.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkqstring.h"

namespace {

// Resolution of the PDF files printed where there is no printer.
constexpr int pdfResolution = 600;

bool printerExists(const btkstring& name) {
    return !name.empty() && !QPrinterInfo::printerInfo(btkToQString(name)).isNull();
}

// Paper, orientation and margins: the printer's own, or A4 portrait without
// margins for a PDF file.
QPageLayout defaultLayout(const btkstring& name, bool exists) {
    if (exists) {
        QPrinter printer(QPrinterInfo::printerInfo(btkToQString(name)), QPrinter::HighResolution);
        return printer.pageLayout();
    }
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

btkstring defaultPrinterName() {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (!all.isEmpty()) info = all.first();
    }
    return info.isNull() ? btkstring() : btkFromQString(info.printerName());
}

}  // namespace

btkPrinterProps::btkPrinterProps() : btkPrinterProps(defaultPrinterName()) {}

btkPrinterProps::btkPrinterProps(const btkstring& printerName)
    : name(printerName), exists(printerExists(printerName)), layout(defaultLayout(printerName, exists)) {}

void btkPrinterProps::setPrinterName(const btkstring& printerName) {
    name = printerName;
    exists = printerExists(name);
}

void btkPrinterProps::setLandscape(bool landscape) {
    layout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void btkPrinterProps::applyTo(QPrinter& printer) const {
    if (!output.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(btkToQString(output));
        printer.setResolution(pdfResolution);
    } else if (exists) {
        printer.setPrinterName(btkToQString(name));
    }
    if (!printer.setPageLayout(layout)) {
        // Margins the device cannot print: keep its own, take paper and
        // orientation.
        printer.setPageSize(layout.pageSize());
        printer.setPageOrientation(layout.orientation());
    }
}

bool btkPrinterProps::pageSetup() {
    QPrinter printer(QPrinter::HighResolution);
    applyTo(printer);
    // Without a printer the page is the PDF output's: paper, orientation
    // and margins are set up before any file name is known.
    if (!exists && output.empty()) printer.setOutputFormat(QPrinter::PdfFormat);
    QPageSetupDialog dialog(&printer);
    if (dialog.exec() != QDialog::Accepted) return false;
    layout = printer.pageLayout();
    return true;
}

btkWinPrinter::btkWinPrinter(btkPrinterProps* props) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        screenX = qRound(screen->logicalDotsPerInchX());
        screenY = qRound(screen->logicalDotsPerInchY());
    }
    dpiX = screenX;
    dpiY = screenY;
    mmX = dpiX / 25.4;
    mmY = dpiY / 25.4;

    btkRef<btkPrinterProps> settings = props ? new btkPrinterProps(*props) : new btkPrinterProps();
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdfPage = !settings->canPrint();
    if (pdfPage) {
        // The page of a PDF file still to be named, at the PDF resolution.
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setResolution(pdfResolution);
    }
    settings->applyTo(*printer);
    isLandscape = printer->pageLayout().orientation() == QPageLayout::Landscape;
    width = printer->width();
    height = printer->height();
    dpiX = printer->logicalDpiX();
    dpiY = printer->logicalDpiY();
    scaleXValue = static_cast<double>(screenX) / dpiX;
    scaleYValue = static_cast<double>(screenY) / dpiY;
    mmX = dpiX / 25.4;
    mmY = dpiY / 25.4;
    icCanvas = std::make_unique<btkDCCanvas>(nullptr, printer.get());
}

btkWinPrinter::~btkWinPrinter() {
    if (job.isActive()) job.end();
}

const QPaintDevice* btkWinPrinter::ic() const { return printer.get(); }

QFont btkWinPrinter::scaleFont(const QFont& screenFont) const {
    // The screen height in pixels, rounded from points as the screen does.
    const int screenPixels =
        screenFont.pixelSize() > 0 ? screenFont.pixelSize() : qRound(screenFont.pointSizeF() * screenY / 72.0);
    const int printerPixels = static_cast<int>(screenPixels * (static_cast<double>(dpiY) / screenY));
    QFont font(screenFont);
    font.setPixelSize(printerPixels > 0 ? printerPixels : 1);
    font.setStretch(QFont::AnyStretch);
    return font;
}

btkCanvas btkWinPrinter::measureCanvas() { return icCanvas ? btkCanvas(0, 0, icCanvas->sp()) : btkCanvas(); }

btkFont* btkWinPrinter::makeFont(const btkFontSpec& spec) const {
    QFont screen(btkToQString(spec.name));
    if (spec.size > 0) screen.setPointSize(spec.size);
    screen.setBold(spec.bold);
    screen.setItalic(spec.italic);
    screen.setUnderline(spec.underline);
    screen.setStrikeOut(spec.strikeout);
    return new btkDCFont(scaleFont(screen));
}

btkCanvas btkWinPrinter::newPage() {
    pageCanvas.setPainter(startPage());
    return btkCanvas(0, 0, pageCanvas.sp());
}

void btkWinPrinter::fail(const char* reason, const QString& detail) {
    ErrorBox(detail.isEmpty() ? btkstring(reason) : btkFormat("%s\n\n%s", reason, btkFromQString(detail).c_str()));
    throw btkPrinterError();
}

bool btkWinPrinter::startDoc(const btkstring& documentName, const btkstring& outputFile) {
    if (!printer) return false;
    try {
        if (docOpen) fail("Tisková úloha už běží.");
        if (pdfPage && outputFile.empty()) fail("Nebyl zvolen soubor PDF, do kterého se má tisknout.");
        if (!outputFile.empty()) {
            // Same resolution as measured, so the layout still fits.
            const QPageLayout layout = printer->pageLayout();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(btkToQString(outputFile));
            printer->setResolution(dpiY);
            printer->setPageLayout(layout);
        }
        if (printer->outputFormat() == QPrinter::PdfFormat) {
            QFile file(printer->outputFileName());
            if (!file.open(QIODevice::WriteOnly))
                fail(btkFormat("Soubor %s nelze vytvořit.", btkFromQString(printer->outputFileName()).c_str()).c_str(),
                     file.errorString());
        }
        printer->setDocName(btkToQString(documentName));
        if (!job.begin(printer.get())) fail("Tiskovou úlohu nelze spustit.");
        docOpen = true;
        pagesStarted = 0;
        return true;
    } catch (const btkPrinterError&) {
        return false;
    }
}

QPainter* btkWinPrinter::startPage() {
    if (!docOpen || !job.isActive()) fail("Není spuštěna žádná tisková úloha.");
    if (pagesStarted > 0 && !printer->newPage()) fail("Tiskárna nemůže začít novou stránku.");
    ++pagesStarted;
    return &job;
}

void btkWinPrinter::endPage() {
    if (!docOpen || !job.isActive()) fail("Není spuštěna žádná tisková úloha.");
}

void btkWinPrinter::endDoc() {
    if (!docOpen) return;
    docOpen = false;
    pagesStarted = 0;
    pageCanvas.setPainter(nullptr);
    if (!job.end()) fail("Tiskovou úlohu nelze dokončit.");
}
