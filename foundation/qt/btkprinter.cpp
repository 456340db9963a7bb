#include "foundation/qt/btkprinter.h"

#include <utility>

#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkqstring.h"

namespace {

// Resolution of the PDF files printed where there is no printer.
constexpr int pdfResolution = 600;

btkPrinterNameSource& nameSource() {
    static btkPrinterNameSource source;
    return source;
}

btkStrings qtPrinterNames() {
    btkStrings names;
    const QString first = QPrinterInfo::defaultPrinterName();
    if (!first.isEmpty()) names.add(btkFromQString(first));
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        if (name != first) names.add(btkFromQString(name));
    return names;
}

bool printerExists(const btkstring& name) {
    if (name.empty()) return false;
    const btkStrings names = btkPrinterNames();
    for (const btkstring& known : names)
        if (known == name) return true;
    return false;
}

// Paper, orientation and margins: the printer's own, or A4 portrait with
// the PDF page's margins for a PDF file (and for a printer Qt does not
// know).
QPageLayout defaultLayout(const btkstring& name, bool exists) {
    const QPrinterInfo info = exists ? QPrinterInfo::printerInfo(btkToQString(name)) : QPrinterInfo();
    if (!info.isNull()) {
        QPrinter printer(info, QPrinter::HighResolution);
        return printer.pageLayout();
    }
    const double m = btkPdfPageMarginMm;
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}

btkstring defaultPrinterName() {
    const btkStrings names = btkPrinterNames();
    return names.count() > 0 ? names[0] : btkstring();
}

// Lengths are written with a point whatever the locale.
btkstring millimetres(double value) { return btkFromQString(QString::number(value, 'f', 2)); }

double millimetresAttr(const btkXMLNode& node, const char* name, double fallback) {
    bool ok = false;
    const double value = btkToQString(node.attr(name)).toDouble(&ok);
    return ok && node.hasAttr(name) ? value : fallback;
}

}  // namespace

btkStrings btkPrinterNames() { return nameSource() ? nameSource()() : qtPrinterNames(); }

btkPrinterNameSource btkSetPrinterNameSource(btkPrinterNameSource source) {
    return std::exchange(nameSource(), std::move(source));
}

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

void btkPrinterProps::store(btkXMLNode node) const {
    node.setAttr("name", name);
    const QSizeF paper = layout.pageSize().size(QPageSize::Millimeter);
    node.setAttr("paperw", millimetres(paper.width()));
    node.setAttr("paperh", millimetres(paper.height()));
    node.setIntAttr("landscape", landscape() ? 1 : 0);
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    node.setAttr("mleft", millimetres(margins.left()));
    node.setAttr("mtop", millimetres(margins.top()));
    node.setAttr("mright", millimetres(margins.right()));
    node.setAttr("mbottom", millimetres(margins.bottom()));
}

void btkPrinterProps::restore(const btkXMLNode& node) {
    const btkstring stored = node.attr("name");
    name = printerExists(stored) ? stored : defaultPrinterName();
    exists = printerExists(name);
    layout = defaultLayout(name, exists);
    output = "";
    const QSizeF defaultPaper = layout.pageSize().size(QPageSize::Millimeter);
    const QSizeF paper(millimetresAttr(node, "paperw", defaultPaper.width()),
                       millimetresAttr(node, "paperh", defaultPaper.height()));
    const QMarginsF m = layout.margins(QPageLayout::Millimeter);
    const QMarginsF margins(millimetresAttr(node, "mleft", m.left()), millimetresAttr(node, "mtop", m.top()),
                            millimetresAttr(node, "mright", m.right()), millimetresAttr(node, "mbottom", m.bottom()));
    const bool turned = node.hasAttr("landscape") ? node.intAttr("landscape") != 0 : landscape();
    const QPageLayout restored(QPageSize(paper, QPageSize::Millimeter),
                               turned ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                               QPageLayout::Millimeter);
    // Sizes or margins no page can have (a damaged file) keep the defaults.
    if (restored.isValid() && paper.width() > 0 && paper.height() > 0 &&
        restored.fullRect().contains(restored.paintRect()) && !restored.paintRect().isEmpty())
        layout = restored;
}

bool btkPrinterProps::pageSetup() {
    QPrinter printer(QPrinter::HighResolution);
    applyTo(printer);
    // Without a printer the page is the PDF output's: paper, orientation
    // and margins are set up before any file name is known.
    if (!exists && output.empty()) printer.setOutputFormat(QPrinter::PdfFormat);
    if (!btkDialogs().pageSetup(printer)) return false;
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
