// The canvases that draw for real, with a QPainter: btkVCLCanvas for windows
// and images (screen fonts, text in the font's colour) and btkDCCanvas for
// previews and printer pages (device fonts, black text). Text is placed by
// its top: a text drawn at (x, y) has its baseline at y + ascent. A text's
// height is the font's line height on the target device and its width the
// font's advance there.
//
// A canvas draws through a painter it does not own, and measures on the
// painter's device; without a painter it measures on the device given (a
// widget, or a printer that has no job open) and draws nothing. Colours,
// rectangles, ellipses, polygons and pixels keep the harmless defaults of
// btkRealCanvas; lines use the painter's pen.
#pragma once

#include <optional>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "foundation/btkcanvas.h"
#include "foundation/qt/btkqtfont.h"

class btkQtCanvas : public btkRealCanvas {
public:
    // The painter (may be null) and the device measured on while there is
    // no painter (may be null: then measuring answers 0).
    btkQtCanvas(QPainter* painter, const QPaintDevice* measureDevice);

    // Replaces the painter (null: draw nothing); the canvas's font stays.
    void setPainter(QPainter* painter);
    QPainter* painter() const { return paint; }
    const QFont& currentFont() const { return font; }

    void line(int x1, int y1, int x2, int y2) override;
    int textWidth(const btkstring& s) override;
    int textHeight(const btkstring& s) override;
    void text(int x, int y, const btkstring& s) override;

protected:
    void useFont(const QFont& f, const QColor& textColor);

private:
    const QPaintDevice* device() const;
    const QFontMetrics* metrics();

    QPainter* paint;
    const QPaintDevice* measureOn;
    QFont font;
    QColor color;
    // Metrics of the font on the device they were taken for.
    std::optional<QFontMetrics> cachedMetrics;
    const QPaintDevice* metricsDevice = nullptr;
};

// A canvas on a window or an image. Accepts btkVCLFont only.
class btkVCLCanvas : public btkQtCanvas {
public:
    explicit btkVCLCanvas(QPainter* painter, const QPaintDevice* measureDevice = nullptr)
        : btkQtCanvas(painter, measureDevice) {}
    void setFont(btkFont* f) override;
};

// Saves the painter's state and restores it when the scope ends, also when
// the drawing in between throws.
class btkPainterState {
public:
    explicit btkPainterState(QPainter& painter) : painter(painter) { painter.save(); }
    ~btkPainterState() { painter.restore(); }
    btkPainterState(const btkPainterState&) = delete;
    btkPainterState& operator=(const btkPainterState&) = delete;

private:
    QPainter& painter;
};

// A canvas on a device's painter (a preview, a printer page), or only on a
// device for measuring (the printer's information context). Accepts
// btkDCFont only.
class btkDCCanvas : public btkQtCanvas {
public:
    explicit btkDCCanvas(QPainter* painter = nullptr, const QPaintDevice* measureDevice = nullptr)
        : btkQtCanvas(painter, measureDevice) {}
    void setFont(btkFont* f) override;
};
