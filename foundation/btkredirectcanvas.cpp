#include "foundation/btkredirectcanvas.h"

btkRect btkRedirectCanvas::getRect() {
    btkRealCanvas* t = drawTarget.get();
    return t ? t->getRect() : btkRect{};
}

void btkRedirectCanvas::setFg(btkColor c) {
    if (btkRealCanvas* t = drawTarget.get()) t->setFg(c);
}

void btkRedirectCanvas::setBg(btkColor c) {
    if (btkRealCanvas* t = drawTarget.get()) t->setBg(c);
}

void btkRedirectCanvas::setPenWi(int width) {
    if (btkRealCanvas* t = drawTarget.get()) t->setPenWi(width);
}

void btkRedirectCanvas::pixel(int x, int y, btkColor c) {
    if (btkRealCanvas* t = drawTarget.get()) t->pixel(x, y, c);
}

btkColor btkRedirectCanvas::getPixel(int x, int y) {
    btkRealCanvas* t = measureTarget.get();
    return t ? t->getPixel(x, y) : 0;
}

void btkRedirectCanvas::line(int x1, int y1, int x2, int y2) {
    if (btkRealCanvas* t = drawTarget.get()) t->line(x1, y1, x2, y2);
}

void btkRedirectCanvas::rect(int x1, int y1, int x2, int y2) {
    if (btkRealCanvas* t = drawTarget.get()) t->rect(x1, y1, x2, y2);
}

void btkRedirectCanvas::ell(int x1, int y1, int x2, int y2) {
    if (btkRealCanvas* t = drawTarget.get()) t->ell(x1, y1, x2, y2);
}

void btkRedirectCanvas::polygon(const btkPoint* points, int n) {
    if (btkRealCanvas* t = drawTarget.get()) t->polygon(points, n);
}

int btkRedirectCanvas::textWidth(const btkstring& s) {
    btkRealCanvas* t = measureTarget.get();
    return t ? t->textWidth(s) : 0;
}

int btkRedirectCanvas::textHeight(const btkstring& s) {
    btkRealCanvas* t = measureTarget.get();
    return t ? t->textHeight(s) : 0;
}

void btkRedirectCanvas::setFont(btkFont* font) {
    if (btkRealCanvas* t = measureTarget.get()) t->setFont(font);
    if (btkRealCanvas* t = drawTarget.get()) t->setFont(font);
}

void btkRedirectCanvas::text(int x, int y, const btkstring& s) {
    if (btkRealCanvas* t = drawTarget.get()) t->text(x, y, s);
}

void btkRedirectCanvas::charOut(int x, int y, char c, int extra) {
    if (btkRealCanvas* t = drawTarget.get()) t->charOut(x, y, c, extra);
}

void btkRedirectCanvas::reserved1(int a, int b, int c, int d, int e, int f, int g) {
    if (btkRealCanvas* t = drawTarget.get()) t->reserved1(a, b, c, d, e, f, g);
}

void btkRedirectCanvas::paneBreak(int height, const btkstring& kind, int* y) {
    if (btkRealCanvas* t = paneTarget.get()) t->paneBreak(height, kind, y);
}

void btkRedirectCanvas::custom(btkCustomGrOp* op, int x, int y) {
    if (btkRealCanvas* t = drawTarget.get()) t->custom(op, x, y);
}

btkStdMetaCanvas::btkStdMetaCanvas() {
    setTarget(meta.sp());
    setMeasureTarget(meta.sp());
    setPaneTarget(meta.sp());
}

btkStdMetaCanvas::btkStdMetaCanvas(const btkCanvas& m) {
    setTarget(meta.sp());
    setMeasureTarget(m.sp());
    setPaneTarget(meta.sp());
}
