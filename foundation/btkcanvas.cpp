#include "foundation/btkcanvas.h"

#include <cstddef>
#include <vector>

btkRealCanvas::btkRealCanvas() : self(new btkProxyObject<btkRealCanvas>(this)) {}

btkRealCanvas::~btkRealCanvas() { self.proxy()->object = nullptr; }

void btkRealCanvas::charOut(int x, int y, char c, int) {
    const char s[2] = {c, 0};
    text(x, y, btkstring(s));
}

void btkRealCanvas::paneBreak(int height, const btkstring&, int* y) {
    if (y) *y += height;
}

void btkRealCanvas::custom(btkCustomGrOp* op, int x, int y) {
    if (op) op->draw(btkCanvas(x, y, sp()));
}

btkCanvas& btkCanvas::setFg(btkColor c) {
    if (btkRealCanvas* cv = get()) cv->setFg(c);
    return *this;
}

btkCanvas& btkCanvas::setBg(btkColor c) {
    if (btkRealCanvas* cv = get()) cv->setBg(c);
    return *this;
}

btkCanvas& btkCanvas::setPenWi(int width) {
    if (btkRealCanvas* cv = get()) cv->setPenWi(width);
    return *this;
}

btkCanvas& btkCanvas::setFont(btkFont* font) {
    if (btkRealCanvas* cv = get()) cv->setFont(font);
    return *this;
}

btkCanvas& btkCanvas::pixel(int x, int y, btkColor c) {
    if (btkRealCanvas* cv = get()) cv->pixel(x + ox, y + oy, c);
    return *this;
}

btkCanvas& btkCanvas::line(int x1, int y1, int x2, int y2) {
    if (btkRealCanvas* cv = get()) cv->line(x1 + ox, y1 + oy, x2 + ox, y2 + oy);
    return *this;
}

btkCanvas& btkCanvas::rect(int x1, int y1, int x2, int y2) {
    if (btkRealCanvas* cv = get()) cv->rect(x1 + ox, y1 + oy, x2 + ox, y2 + oy);
    return *this;
}

btkCanvas& btkCanvas::ell(int x1, int y1, int x2, int y2) {
    if (btkRealCanvas* cv = get()) cv->ell(x1 + ox, y1 + oy, x2 + ox, y2 + oy);
    return *this;
}

btkCanvas& btkCanvas::polygon(const btkPoint* points, int n) {
    btkRealCanvas* cv = get();
    if (!cv) return *this;
    if (!points || n < 0) n = 0;
    std::vector<btkPoint> moved;
    moved.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) moved.push_back(points[i].offset(ox, oy));
    cv->polygon(moved.data(), n);
    return *this;
}

btkCanvas& btkCanvas::text(int x, int y, const btkstring& s) {
    if (btkRealCanvas* cv = get()) cv->text(x + ox, y + oy, s);
    return *this;
}

btkCanvas& btkCanvas::charOut(int x, int y, char c, int extra) {
    if (btkRealCanvas* cv = get()) cv->charOut(x + ox, y + oy, c, extra);
    return *this;
}

btkCanvas& btkCanvas::custom(btkCustomGrOp* op, int x, int y) {
    if (btkRealCanvas* cv = get()) cv->custom(op, x + ox, y + oy);
    return *this;
}

btkCanvas& btkCanvas::paneBreak(int height, const btkstring& kind) {
    if (btkRealCanvas* cv = get()) cv->paneBreak(height, kind, &oy);
    return *this;
}

int btkCanvas::textWidth(const btkstring& s) const {
    btkRealCanvas* cv = get();
    return cv ? cv->textWidth(s) : 0;
}

int btkCanvas::textHeight(const btkstring& s) const {
    btkRealCanvas* cv = get();
    return cv ? cv->textHeight(s) : 0;
}
