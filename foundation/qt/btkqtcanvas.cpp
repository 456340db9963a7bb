#include "foundation/qt/btkqtcanvas.h"

#include "foundation/qt/btkqstring.h"

btkQtCanvas::btkQtCanvas(QPainter* painter, const QPaintDevice* measureDevice)
    : paint(painter), measureOn(measureDevice), color(Qt::black) {
    if (paint && paint->isActive()) font = paint->font();
}

void btkQtCanvas::setPainter(QPainter* painter) {
    paint = painter;
    cachedMetrics.reset();
}

const QPaintDevice* btkQtCanvas::device() const {
    if (paint && paint->isActive()) return paint->device();
    return measureOn;
}

const QFontMetrics* btkQtCanvas::metrics() {
    const QPaintDevice* d = device();
    if (!d) return nullptr;
    if (!cachedMetrics || metricsDevice != d) {
        cachedMetrics.emplace(font, d);
        metricsDevice = d;
    }
    return &*cachedMetrics;
}

void btkQtCanvas::useFont(const QFont& f, const QColor& textColor) {
    font = f;
    color = textColor;
    cachedMetrics.reset();
}

void btkQtCanvas::line(int x1, int y1, int x2, int y2) {
    if (paint && paint->isActive()) paint->drawLine(x1, y1, x2, y2);
}

int btkQtCanvas::textWidth(const btkstring& s) {
    const QFontMetrics* m = metrics();
    return m ? m->horizontalAdvance(btkToQString(s)) : 0;
}

int btkQtCanvas::textHeight(const btkstring&) {
    const QFontMetrics* m = metrics();
    return m ? m->height() : 0;
}

void btkQtCanvas::text(int x, int y, const btkstring& s) {
    if (!paint || !paint->isActive()) return;
    const QFontMetrics* m = metrics();
    if (paint->font() != font) paint->setFont(font);
    const QPen pen = paint->pen();
    paint->setPen(color);
    paint->drawText(QPoint(x, y + (m ? m->ascent() : 0)), btkToQString(s));
    paint->setPen(pen);
}

void btkVCLCanvas::setFont(btkFont* f) {
    if (auto* font = dynamic_cast<btkVCLFont*>(f)) useFont(font->font, btkToQColor(font->color));
}

void btkDCCanvas::setFont(btkFont* f) {
    if (auto* font = dynamic_cast<btkDCFont*>(f)) useFont(font->font, Qt::black);
}
