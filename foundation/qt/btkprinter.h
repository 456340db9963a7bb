// The printer: the user's printer choice (btkPrinterProps: printer name,
// paper, orientation and margins from page setup, or a PDF file where there
// is no printer) and one print job on it (btkWinPrinter: page size and
// resolution, printer-scaled fonts, the document and page calls). The job
// is also the Qt-free layers' printer (btkPrintDevice).
#pragma once

#include <functional>
#include <memory>

#include <QFont>
#include <QPageLayout>
#include <QPainter>

#include "foundation/btkerror.h"
#include "foundation/btkprintdevice.h"
#include "foundation/btkref.h"
#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"
#include "foundation/btkxml.h"
#include "foundation/qt/btkqtcanvas.h"

class QPrinter;
class QPaintDevice;

// A failure of the printer. Its text has been shown to the user already (in
// the program's error box), so it carries none of its own.
class btkPrinterError : public btkError {
public:
    btkPrinterError() : btkError("") {}
};

// The names of the system's printers, the default one first; empty when
// there is none. Qt's printers, unless a source was installed.
btkStrings btkPrinterNames();
// A source of printer names in place of Qt's (tests: printers that exist by
// name only); an empty function restores Qt's. Returns the previous one.
using btkPrinterNameSource = std::function<btkStrings()>;
btkPrinterNameSource btkSetPrinterNameSource(btkPrinterNameSource source);

// The margins of the PDF page where there is no printer, in millimetres on
// each side: what a common printer cannot print, so that a PDF printed
// later loses nothing at the sheet's edges.
constexpr double btkPdfPageMarginMm = 5;

// The user's printer choice, shared through counted references. Printing
// goes to the printer it names, or, when an output file is set, into that
// PDF file. Without a printer the page is a PDF page (paper, orientation
// and margins from page setup; A4 portrait with btkPdfPageMarginMm on each
// side by default), and each job is given its file.
class btkPrinterProps : public btkRCObject {
public:
    // The default printer (the first printer when none is the default; no
    // printer at all when the machine has none).
    btkPrinterProps();
    // The named printer; a name no printer has gives properties that are
    // not valid.
    explicit btkPrinterProps(const btkstring& printerName);

    // A printer of this name exists.
    bool isValid() const { return exists; }
    // There is something to print on: a printer, or a PDF output file.
    bool canPrint() const { return exists || !output.empty(); }

    void setPrinterName(const btkstring& name);
    const btkstring& getPrinterName() const { return name; }
    void setLandscape(bool landscape);
    bool landscape() const { return layout.orientation() == QPageLayout::Landscape; }
    const QPageLayout& pageLayout() const { return layout; }
    void setPageLayout(const QPageLayout& pageLayout) { layout = pageLayout; }
    // The PDF file printed into instead of the printer ("" for the printer).
    void setOutputFile(const btkstring& file) { output = file; }
    const btkstring& outputFile() const { return output; }

    // Runs the page setup dialog (paper, orientation, margins) on a copy of
    // the settings and takes them over when the user confirms. With no
    // printer it sets up the page of the PDF output.
    bool pageSetup();

    // Sets up a printer for these settings (printer or PDF file, paper,
    // orientation, margins). PDF files are written at 600 dpi.
    void applyTo(QPrinter& printer) const;

    // Writes the printer name, the paper (paperw, paperh), the orientation
    // (landscape) and the margins (mleft, mtop, mright, mbottom), lengths in
    // millimetres, as attributes of node. The output file is not kept.
    void store(btkXMLNode node) const;
    // The default settings, then what node holds of store's attributes: a
    // printer that does not exist (any more) leaves the default printer,
    // and an element without the attributes (an older file) keeps the
    // defaults. The output file is cleared.
    void restore(const btkXMLNode& node);

private:
    btkstring name;
    bool exists = false;
    QPageLayout layout;
    btkstring output;
};

// One print job on a printer. Built from the printer properties (a copy of
// them is used, so later changes do not reach an open job). Without a
// printer and without an output file it is the PDF page of the properties:
// valid for layout and measuring, and a job needs a file (setOutputFile).
// Printer failures are shown in the program's error box and thrown as
// btkPrinterError.
class btkWinPrinter : public btkPrintDevice {
public:
    // With null props, the default printer.
    explicit btkWinPrinter(btkPrinterProps* props);
    // Ends a job still open (one abandoned by an exception), so its output
    // is complete; never throws.
    ~btkWinPrinter() override;

    // Always true: a printer, a PDF file, or the PDF page to lay out on.
    bool IsValid() const override { return printer != nullptr; }
    bool needsOutputFile() const override { return pdfPage && jobFile.empty(); }
    void setOutputFile(const btkstring& file) override { jobFile = file; }
    bool landscape() const override { return isLandscape; }
    // The printable area in device pixels (0 when not valid); it follows
    // the orientation.
    int pageWidth() const override { return width; }
    int pageHeight() const override { return height; }
    int printerDpiX() const { return dpiX; }
    int printerDpiY() const { return dpiY; }
    int screenDpiX() const { return screenX; }
    int screenDpiY() const { return screenY; }
    // Screen resolution over printer resolution (1 when not valid).
    double scaleX() const { return scaleXValue; }
    double scaleY() const { return scaleYValue; }
    // Device pixels per millimetre, truncated toward zero (from the screen
    // resolution when not valid).
    int pixelsPerMmX() const override { return static_cast<int>(mmX); }
    int pixelsPerMmY() const override { return static_cast<int>(mmY); }

    // The device to measure printer text on (a btkDCCanvas over it), with
    // or without an open job; null when not valid.
    const QPaintDevice* ic() const;

    // The screen font made for the printer: its height in screen pixels
    // times printer resolution over screen resolution (as a fraction, then
    // truncated toward zero), natural width. 16 pixels at 96 dpi become 100
    // at 600 dpi.
    QFont scaleFont(const QFont& screenFont) const;
    // A btkDCCanvas measuring on ic() (a null handle when not valid).
    btkCanvas measureCanvas() override;
    // A btkDCFont of scaleFont of the record's screen font (face, points,
    // styles; a size of 0 or less keeps Qt's default size).
    btkFont* makeFont(const btkFontSpec& spec) const override;

    // Starts a job under the document name; into the PDF file outputFile
    // when it is not empty. False when it cannot start (after the failure
    // was shown, once), and at once when the printer is not valid.
    [[nodiscard]] bool startDoc(const btkstring& documentName, const btkstring& outputFile);
    // Into the file of setOutputFile when one is set.
    [[nodiscard]] bool startDoc(const btkstring& documentName) override { return startDoc(documentName, jobFile); }
    // Starts the next page and returns the painter of the job.
    QPainter* startPage();
    // startPage through a btkDCCanvas of the printer's own.
    btkCanvas newPage() override;
    void endPage() override;
    // Ends the job (nothing when no job is open).
    void endDoc() override;
    bool documentOpen() const { return docOpen; }

private:
    // Shows the reason (and the system's own text after it, when there is
    // one) in an error box and throws btkPrinterError.
    [[noreturn]] void fail(const char* reason, const QString& detail = QString());

    std::unique_ptr<QPrinter> printer;
    QPainter job;
    // After printer and job, so they go first.
    std::unique_ptr<btkDCCanvas> icCanvas;
    btkDCCanvas pageCanvas;
    btkstring jobFile;
    bool pdfPage = false;  // no printer and no output file: the PDF page
    bool isLandscape = false;
    bool docOpen = false;
    int pagesStarted = 0;
    int width = 0;
    int height = 0;
    int dpiX = 96;
    int dpiY = 96;
    int screenX = 96;
    int screenY = 96;
    double scaleXValue = 1.0;
    double scaleYValue = 1.0;
    double mmX = 96 / 25.4;
    double mmY = 96 / 25.4;
};
