// A printer double with fixed metrics for the song-book tests: a page size,
// whole pixels per millimetre and an orientation given at construction;
// fonts are NamedFonts whose size is the record's times a scale; text is
// measured by the font last set (each byte as wide as the font's size,
// every text twice its size high); the job calls and every page's drawing
// go to one call log.
#pragma once

#include "foundation/btkprintdevice.h"
#include "tests/support/canvas_doubles.h"

namespace kx6test {

// Measures by the size of the NamedFont last set: each byte size pixels
// wide, every text 2 x size high; without a font size 10.
class FontMetricCanvas : public btkRealCanvas {
public:
    int textWidth(const btkstring& s) override { return size() * s.length(); }
    int textHeight(const btkstring&) override { return 2 * size(); }
    void setFont(btkFont* f) override { font = f ? f->size() : 0; }

private:
    int size() const { return font > 0 ? font : 10; }
    int font = 0;
};

class FakePrinter : public btkPrintDevice {
public:
    explicit FakePrinter(int pageWidth = 1000, int pageHeight = 1400, int pixelsPerMm = 4, bool landscape = false,
                         int fontScale = 1)
        : w(pageWidth), h(pageHeight), ppm(pixelsPerMm), land(landscape), scale(fontScale), page(&log) {}

    bool IsValid() const override { return valid; }
    bool landscape() const override { return land; }
    int pageWidth() const override { return valid ? w : 0; }
    int pageHeight() const override { return valid ? h : 0; }
    int pixelsPerMmX() const override { return ppm; }
    int pixelsPerMmY() const override { return ppm; }
    btkCanvas measureCanvas() override { return btkCanvas(0, 0, measure.sp()); }
    // A NamedFont named after the face with size x scale (10 x scale for a
    // size of 0 or less).
    btkFont* makeFont(const btkFontSpec& spec) const override;
    // Logs "startDoc(<name>)"; false when failStart is set or not valid.
    bool startDoc(const btkstring& documentName) override;
    // Logs "newPage"; the page draws through a LoggingCanvas on the log.
    btkCanvas newPage() override;
    void endPage() override { log.push_back("endPage"); }
    void endDoc() override { log.push_back("endDoc"); }

    CallLog log;
    bool valid = true;
    bool failStart = false;

private:
    int w, h, ppm;
    bool land;
    int scale;
    FontMetricCanvas measure;
    LoggingCanvas page;
};

}  // namespace kx6test
