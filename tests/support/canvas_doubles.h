// Test doubles for drawing: a canvas with fixed metrics, a canvas that logs
// every call with its coordinates, a named font, a deferred operation that
// draws a label, a page format that places cells on a fixed grid and logs
// its calls, and logical pages that draw a marker naming their number.
#pragma once

#include <string>
#include <vector>

#include "foundation/btkcanvas.h"
#include "foundation/btkimposition.h"
#include "foundation/btkpane.h"

namespace kx6test {

using CallLog = std::vector<std::string>;

// The lines of a log joined with "; " (readable failure messages).
std::string joined(const CallLog& log);
// The same without the measuring calls (textWidth, textHeight): what was
// drawn, whatever the code measured on the way.
std::string drawn(const CallLog& log);

// A font known by its name; canvases log it by that name.
class NamedFont : public btkFont {
public:
    explicit NamedFont(std::string fontName, int fontSize = 10) : name(std::move(fontName)), pts(fontSize) {}
    int size() const override { return pts; }
    void setSize(int size) override { pts = size; }
    btkFont* clone() const override { return new NamedFont(name, pts); }

    std::string name;

private:
    int pts;
};

// Measures every font alike: each byte charWidth wide, every text
// lineHeight high. Remembers the font last set.
class FixedMetricCanvas : public btkRealCanvas {
public:
    explicit FixedMetricCanvas(int charWidth = 6, int lineHeight = 10) : cw(charWidth), lh(lineHeight) {}
    int textWidth(const btkstring& s) override { return cw * s.length(); }
    int textHeight(const btkstring&) override { return lh; }
    void setFont(btkFont* f) override {
        font = f;
        ++fontsSet;
    }

    btkFont* font = nullptr;
    int fontsSet = 0;

private:
    int cw;
    int lh;
};

// Logs every call it receives as "name(arguments)", for example
// "line(100,200,110,200)" or "text(11,22,A)". Measures like
// FixedMetricCanvas. The log is its own or one shared with other doubles,
// so the order of calls across them shows.
class LoggingCanvas : public btkRealCanvas {
public:
    explicit LoggingCanvas(CallLog* shared = nullptr, int charWidth = 6, int lineHeight = 10)
        : out(shared ? shared : &own), cw(charWidth), lh(lineHeight) {}

    CallLog& log() { return *out; }

    btkRect getRect() override;
    void setFg(btkColor c) override;
    void setBg(btkColor c) override;
    void setPenWi(int width) override;
    void pixel(int x, int y, btkColor c) override;
    btkColor getPixel(int x, int y) override;
    void line(int x1, int y1, int x2, int y2) override;
    void rect(int x1, int y1, int x2, int y2) override;
    void ell(int x1, int y1, int x2, int y2) override;
    void polygon(const btkPoint* points, int n) override;
    int textWidth(const btkstring& s) override;
    int textHeight(const btkstring& s) override;
    void setFont(btkFont* font) override;
    void text(int x, int y, const btkstring& s) override;
    void charOut(int x, int y, char c, int extra) override;
    void reserved1(int a, int b, int c, int d, int e, int f, int g) override;
    void paneBreak(int height, const btkstring& kind, int* y) override;
    // Logs "custom(x,y)", then lets the operation draw at (x, y) as every
    // drawing canvas does.
    void custom(btkCustomGrOp* op, int x, int y) override;

    btkRect rectAnswer{{0, 0}, {640, 480}};
    // When set, every entry starts with "<name>:" (tells canvases that share
    // a log apart).
    std::string name;

private:
    void add(std::string entry) { out->push_back(name.empty() ? std::move(entry) : name + ":" + entry); }

    CallLog own;
    CallLog* out;
    int cw;
    int lh;
};

// A page printer of a given extent whose pages are one LoggingCanvas on the
// shared log; logs "startPage", "endPage" and "notePane(<height>)".
class LoggingPagePrinter : public btkPagePrinter {
public:
    LoggingPagePrinter(CallLog* log, int extent) : out(log), limit(extent), canvas(log) {}
    int width() override { return limit; }
    btkCanvas startPage() override;
    void endPage() override;
    void notePane(btkPane* pane) override;

    int started = 0;
    int ended = 0;

private:
    CallLog* out;
    int limit;
    LoggingCanvas canvas;
};

// A deferred operation that draws its label at its position (relative to
// the handle it draws through); copyAt moves the copy by (dx, dy), so
// recording a replayed recording keeps every offset. Counts the live
// operations, so lost or doubly freed copies show.
class LabelOp : public btkCustomGrOp {
public:
    explicit LabelOp(std::string text, int px = 0, int py = 0) : label(std::move(text)), x(px), y(py) { ++alive; }
    LabelOp(const LabelOp& other) : LabelOp(other.label, other.x, other.y) {}
    LabelOp& operator=(const LabelOp&) = delete;
    ~LabelOp() override { --alive; }
    btkCustomGrOp* copyAt(int dx, int dy) const override { return new LabelOp(label, x + dx, y + dy); }
    void draw(btkCanvas canvas) override { canvas.text(x, y, label.c_str()); }

    static inline int alive = 0;
    std::string label;
    int x;
    int y;
};

// Places cell (col, row) at (left + col * cellWidth, top + row * cellHeight)
// on every sheet side and logs each call, with the handle's origin:
// "beginSide@0,0", "cellPosition(0,1,2,0)", "beginCell(page 3)@40,0", ...
class StubPageFormat : public btkPageFormat {
public:
    StubPageFormat(CallLog* log, int cellWidth, int cellHeight, int left = 0, int top = 0)
        : out(log), cw(cellWidth), ch(cellHeight), lx(left), ty(top) {}

    void cellPosition(int sheet, int side, int col, int row, int* x, int* y) override;
    void beginSide(btkCanvas canvas) override;
    void endSide(btkCanvas canvas) override;
    void beginCell(btkCanvas canvas, btkLogPage* page) override;
    void endCell(btkCanvas canvas, btkLogPage* page) override;

private:
    CallLog* out;
    int cw, ch, lx, ty;
};

// A logical page numbered number whose drawing is the text "page <number>"
// at (0, 0). Owned by the caller.
btkLogPage* newMarkerPage(int number);
// count marker pages numbered 0..count-1 into pages.
void addMarkerPages(btkObjArray<btkLogPage>& pages, int count);

}  // namespace kx6test
