#include "tests/support/canvas_doubles.h"

namespace kx6test {

namespace {

std::string args(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) {
        if (!s.empty()) s += ',';
        s += std::to_string(v);
    }
    return s;
}

std::string fontName(btkFont* font) {
    if (!font) return "null";
    if (auto* named = dynamic_cast<NamedFont*>(font)) return named->name;
    return "?";
}

std::string at(const btkCanvas& canvas) { return "@" + args({canvas.originX(), canvas.originY()}); }

std::string pageName(btkLogPage* page) { return page ? "page " + std::to_string(page->number) : "null"; }

}  // namespace

std::string joined(const CallLog& log) {
    std::string s;
    for (const std::string& line : log) {
        if (!s.empty()) s += "; ";
        s += line;
    }
    return s;
}

std::string drawn(const CallLog& log) {
    CallLog drawing;
    for (const std::string& line : log)
        if (line.find("textWidth(") == std::string::npos && line.find("textHeight(") == std::string::npos)
            drawing.push_back(line);
    return joined(drawing);
}

btkRect LoggingCanvas::getRect() {
    add("getRect()");
    return rectAnswer;
}

void LoggingCanvas::setFg(btkColor c) { add("setFg(" + std::to_string(c) + ")"); }
void LoggingCanvas::setBg(btkColor c) { add("setBg(" + std::to_string(c) + ")"); }
void LoggingCanvas::setPenWi(int width) { add("setPenWi(" + args({width}) + ")"); }

void LoggingCanvas::pixel(int x, int y, btkColor c) { add("pixel(" + args({x, y}) + "," + std::to_string(c) + ")"); }

btkColor LoggingCanvas::getPixel(int x, int y) {
    add("getPixel(" + args({x, y}) + ")");
    return 0;
}

void LoggingCanvas::line(int x1, int y1, int x2, int y2) { add("line(" + args({x1, y1, x2, y2}) + ")"); }
void LoggingCanvas::rect(int x1, int y1, int x2, int y2) { add("rect(" + args({x1, y1, x2, y2}) + ")"); }
void LoggingCanvas::ell(int x1, int y1, int x2, int y2) { add("ell(" + args({x1, y1, x2, y2}) + ")"); }

void LoggingCanvas::polygon(const btkPoint* points, int n) {
    std::string s = "polygon(";
    for (int i = 0; i < n; ++i) {
        if (i) s += ' ';
        s += args({points[i].x, points[i].y});
    }
    add(s + ")");
}

int LoggingCanvas::textWidth(const btkstring& s) {
    add("textWidth(" + std::string(s.c_str()) + ")");
    return cw * s.length();
}

int LoggingCanvas::textHeight(const btkstring& s) {
    add("textHeight(" + std::string(s.c_str()) + ")");
    return lh;
}

void LoggingCanvas::setFont(btkFont* font) { add("setFont(" + fontName(font) + ")"); }

void LoggingCanvas::text(int x, int y, const btkstring& s) {
    add("text(" + args({x, y}) + "," + std::string(s.c_str()) + ")");
}

void LoggingCanvas::charOut(int x, int y, char c, int extra) {
    add("charOut(" + args({x, y}) + "," + std::string(1, c) + "," + std::to_string(extra) + ")");
}

void LoggingCanvas::reserved1(int a, int b, int c, int d, int e, int f, int g) {
    add("reserved1(" + args({a, b, c, d, e, f, g}) + ")");
}

void LoggingCanvas::paneBreak(int height, const btkstring& kind, int* y) {
    add("paneBreak(" + std::to_string(height) + "," + std::string(kind.c_str()) + ")");
    btkRealCanvas::paneBreak(height, kind, y);
}

void LoggingCanvas::custom(btkCustomGrOp* op, int x, int y) {
    add("custom(" + args({x, y}) + ")");
    btkRealCanvas::custom(op, x, y);
}

btkCanvas LoggingPagePrinter::startPage() {
    ++started;
    out->push_back("startPage");
    return btkCanvas(0, 0, canvas.sp());
}

void LoggingPagePrinter::endPage() {
    ++ended;
    out->push_back("endPage");
}

void LoggingPagePrinter::notePane(btkPane* pane) { out->push_back("notePane(" + std::to_string(pane->height) + ")"); }

void StubPageFormat::cellPosition(int sheet, int side, int col, int row, int* x, int* y) {
    out->push_back("cellPosition(" + args({sheet, side, col, row}) + ")");
    *x = lx + col * cw;
    *y = ty + row * ch;
}

void StubPageFormat::beginSide(btkCanvas canvas) { out->push_back("beginSide" + at(canvas)); }
void StubPageFormat::endSide(btkCanvas canvas) { out->push_back("endSide" + at(canvas)); }

void StubPageFormat::beginCell(btkCanvas canvas, btkLogPage* page) {
    out->push_back("beginCell(" + pageName(page) + ")" + at(canvas));
}

void StubPageFormat::endCell(btkCanvas canvas, btkLogPage* page) {
    out->push_back("endCell(" + pageName(page) + ")" + at(canvas));
}

btkLogPage* newMarkerPage(int number) {
    auto* page = new btkLogPage;
    page->number = number;
    btkCanvas(0, 0, page->drawing.sp()).text(0, 0, ("page " + std::to_string(number)).c_str());
    return page;
}

void addMarkerPages(btkObjArray<btkLogPage>& pages, int count) {
    for (int i = 0; i < count; ++i) pages.add(newMarkerPage(i));
}

}  // namespace kx6test
