// The printer as the Qt-free layers see it: page size and printable area in
// device pixels, whole pixels per millimetre, the orientation, a canvas that
// measures text as the printer prints it, device fonts made from a font
// record, and the job calls. foundation/qt's btkWinPrinter implements it
// over Qt's printer; tests use a fake with fixed metrics.
//
// Also the page printer over such a device (panes stacked down each page up
// to the printable height) and the program's printer maker, which the
// windows register at start-up so that a song book can get its printer.
#pragma once

#include <functional>
#include <memory>

#include "foundation/btkcanvas.h"
#include "foundation/btkcolor.h"
#include "foundation/btkpane.h"
#include "foundation/btkstring.h"

// A font as the settings describe it, in screen terms: the face name, the
// size in points as the screen shows it, the styles and the colour (red in
// the low byte).
struct btkFontSpec {
    btkstring name;
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    btkColor color = 0;
};

class btkPrintDevice {
public:
    btkPrintDevice() = default;
    btkPrintDevice(const btkPrintDevice&) = delete;
    btkPrintDevice& operator=(const btkPrintDevice&) = delete;
    virtual ~btkPrintDevice() = default;

    // There is something to print on; a device that is not valid is not
    // used (its sizes answer 0).
    virtual bool IsValid() const = 0;
    virtual bool landscape() const = 0;
    // The printable area in device pixels; it follows the orientation.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    // Device pixels per millimetre across and down, truncated to whole
    // pixels (600 dpi gives 23).
    virtual int pixelsPerMmX() const = 0;
    virtual int pixelsPerMmY() const = 0;

    // A handle to a canvas that measures text on the printer (it accepts
    // the fonts of makeFont) and draws nothing. It lives as long as the
    // device, with or without an open job.
    virtual btkCanvas measureCanvas() = 0;
    // A new device font for this printer, owned by the caller: the record's
    // screen height scaled by the printer's resolution over the screen's.
    virtual btkFont* makeFont(const btkFontSpec& spec) const = 0;

    // Without a system printer the device is the page of a PDF file that
    // each job is to be given (setOutputFile before startDoc).
    virtual bool needsOutputFile() const { return false; }
    // The PDF file the next jobs print into ("" for none).
    virtual void setOutputFile(const btkstring& /*file*/) {}

    // Starts a job under the document name; false when it cannot start
    // (the device has reported why) or the device is not valid.
    [[nodiscard]] virtual bool startDoc(const btkstring& documentName) = 0;
    // Starts the next page of the open job; the handle draws at the top-left
    // of its printable area. Throws btkError when no job is open.
    virtual btkCanvas newPage() = 0;
    virtual void endPage() = 0;
    // Ends the job; nothing when none is open.
    virtual void endDoc() = 0;
};

// A page printer whose pages are the device's pages. Panes are stacked down
// the page, so a page holds up to the printable height in either
// orientation. The device's job must be open.
class btkDevicePagePrinter : public btkPagePrinter {
public:
    explicit btkDevicePagePrinter(btkPrintDevice* device) : dev(device) {}
    int width() override { return dev->pageHeight(); }
    btkCanvas startPage() override { return dev->newPage(); }
    void endPage() override { dev->endPage(); }

private:
    btkPrintDevice* dev;
};

// Makes the program's printer from the user's printer choice in the given
// orientation; null where printing is not possible.
using btkPrinterMaker = std::function<std::unique_ptr<btkPrintDevice>(bool landscape)>;
// Registers the maker (an empty function: none). Returns the previous one.
btkPrinterMaker btkSetPrinterMaker(btkPrinterMaker maker);
// A printer from the registered maker; null when none is registered (the
// program without windows, most tests) or it made none.
std::unique_ptr<btkPrintDevice> btkMakePrinter(bool landscape);
