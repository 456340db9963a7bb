#include "foundation/btkmetacanvas.h"

#include <memory>
#include <vector>

namespace {

class FgItem : public btkMetaCanvas::Item {
public:
    explicit FgItem(btkColor c) : color(c) {}
    void play(btkCanvas& canvas) override { canvas.setFg(color); }

private:
    btkColor color;
};

class BgItem : public btkMetaCanvas::Item {
public:
    explicit BgItem(btkColor c) : color(c) {}
    void play(btkCanvas& canvas) override { canvas.setBg(color); }

private:
    btkColor color;
};

class SetPenWiItem : public btkMetaCanvas::Item {
public:
    explicit SetPenWiItem(int w) : width(w) {}
    void play(btkCanvas& canvas) override { canvas.setPenWi(width); }

private:
    int width;
};

class PixelItem : public btkMetaCanvas::Item {
public:
    PixelItem(int px, int py, btkColor c) : x(px), y(py), color(c) {}
    void play(btkCanvas& canvas) override { canvas.pixel(x, y, color); }

private:
    int x, y;
    btkColor color;
};

// Line, rectangle and ellipse: four coordinates and the handle call to repeat.
class ShapeItem : public btkMetaCanvas::Item {
public:
    using Call = btkCanvas& (btkCanvas::*)(int, int, int, int);
    ShapeItem(Call c, int a1, int b1, int a2, int b2) : call(c), x1(a1), y1(b1), x2(a2), y2(b2) {}
    void play(btkCanvas& canvas) override { (canvas.*call)(x1, y1, x2, y2); }

private:
    Call call;
    int x1, y1, x2, y2;
};

class PolygonItem : public btkMetaCanvas::Item {
public:
    PolygonItem(const btkPoint* p, int n) : points(p, p + n) {}
    void play(btkCanvas& canvas) override { canvas.polygon(points.data(), static_cast<int>(points.size())); }

private:
    std::vector<btkPoint> points;
};

class FontItem : public btkMetaCanvas::Item {
public:
    explicit FontItem(btkFont* f) : font(f ? f->clone() : nullptr) {}
    void play(btkCanvas& canvas) override { canvas.setFont(font.get()); }

private:
    std::unique_ptr<btkFont> font;
};

class TextItem : public btkMetaCanvas::Item {
public:
    TextItem(int px, int py, const btkstring& s) : x(px), y(py), text(s) {}
    void play(btkCanvas& canvas) override { canvas.text(x, y, text); }

private:
    int x, y;
    btkstring text;
};

class CharItem : public btkMetaCanvas::Item {
public:
    CharItem(int px, int py, char ch, int ex) : x(px), y(py), c(ch), extra(ex) {}
    void play(btkCanvas& canvas) override { canvas.charOut(x, y, c, extra); }

private:
    int x, y;
    char c;
    int extra;
};

class CustomItem : public btkMetaCanvas::Item {
public:
    explicit CustomItem(btkCustomGrOp* copy) : op(copy) {}
    // The copy already carries its position: draw it at the handle's origin.
    void play(btkCanvas& canvas) override { canvas.custom(op.get(), 0, 0); }

private:
    std::unique_ptr<btkCustomGrOp> op;
};

}  // namespace

void btkMetaCanvas::setFg(btkColor c) { record(new FgItem(c)); }
void btkMetaCanvas::setBg(btkColor c) { record(new BgItem(c)); }
void btkMetaCanvas::setPenWi(int width) { record(new SetPenWiItem(width)); }
void btkMetaCanvas::pixel(int x, int y, btkColor c) { record(new PixelItem(x, y, c)); }

void btkMetaCanvas::line(int x1, int y1, int x2, int y2) { record(new ShapeItem(&btkCanvas::line, x1, y1, x2, y2)); }

void btkMetaCanvas::rect(int x1, int y1, int x2, int y2) { record(new ShapeItem(&btkCanvas::rect, x1, y1, x2, y2)); }

void btkMetaCanvas::ell(int x1, int y1, int x2, int y2) { record(new ShapeItem(&btkCanvas::ell, x1, y1, x2, y2)); }

void btkMetaCanvas::polygon(const btkPoint* points, int n) {
    if (!points || n < 0) n = 0;
    record(new PolygonItem(points, n));
}

void btkMetaCanvas::setFont(btkFont* font) { record(new FontItem(font)); }
void btkMetaCanvas::text(int x, int y, const btkstring& s) { record(new TextItem(x, y, s)); }
void btkMetaCanvas::charOut(int x, int y, char c, int extra) { record(new CharItem(x, y, c, extra)); }

void btkMetaCanvas::custom(btkCustomGrOp* op, int x, int y) {
    if (op) record(new CustomItem(op->copyAt(x, y)));
}

void btkMetaCanvas::play(btkCanvas canvas) {
    // By index over the count at the start: a recording replayed into itself
    // grows while it plays.
    for (int i = 0, n = items.count(); i < n; ++i) items[i]->play(canvas);
}

void btkMetaCanvas::play(btkCanvas* canvas) {
    if (canvas) play(*canvas);
}
