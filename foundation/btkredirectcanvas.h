// A canvas that sends each call to one of three targets: drawing to the draw
// target, measuring to the measure target, pane breaks to the pane target.
// btkStdMetaCanvas records the drawing while a real canvas answers measuring.
#pragma once

#include "foundation/btkcanvas.h"
#include "foundation/btkmetacanvas.h"

class btkRedirectCanvas : public btkRealCanvas {
public:
    btkRedirectCanvas() = default;

    void setTarget(btkSPCanvas target) { drawTarget = std::move(target); }
    void setMeasureTarget(btkSPCanvas target) { measureTarget = std::move(target); }
    void setPaneTarget(btkSPCanvas target) { paneTarget = std::move(target); }
    btkSPCanvas target() const { return drawTarget; }

    // A call whose target is empty or gone does nothing and measuring
    // answers 0.
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
    // The measure target first (later measuring uses the font), then the
    // draw target.
    void setFont(btkFont* font) override;
    void text(int x, int y, const btkstring& s) override;
    void charOut(int x, int y, char c, int extra) override;
    void reserved1(int a, int b, int c, int d, int e, int f, int g) override;
    void paneBreak(int height, const btkstring& kind, int* y) override;
    // The measure target's canvas (null while none is set).
    btkRealCanvas* measureCanvas() override { return measureTarget.get(); }
    void custom(btkCustomGrOp* op, int x, int y) override;

private:
    btkSPCanvas drawTarget;
    btkSPCanvas measureTarget;
    btkSPCanvas paneTarget;
};

// A redirect canvas over its own recording: drawing and pane breaks go to
// the recording, measuring to the recording (answers 0) or to a real canvas.
class btkStdMetaCanvas : public btkRedirectCanvas {
public:
    btkStdMetaCanvas();
    // Measures on the canvas of the handle m (with the font last set through
    // this canvas, which reaches both m's canvas and the recording).
    explicit btkStdMetaCanvas(const btkCanvas& m);

    void play(btkCanvas canvas) { meta.play(canvas); }
    void play(btkCanvas* canvas) { meta.play(canvas); }
    void clear() { meta.clear(); }
    btkMetaCanvas& recording() { return meta; }

private:
    btkMetaCanvas meta;
};
