// The drawing interface every drawing goes through (screen, previews,
// recordings, panes, printer pages), the value handle that draws on it at an
// origin, fonts and deferred drawing operations.
#pragma once

#include <utility>

#include "foundation/btkcolor.h"
#include "foundation/btksmartptr.h"
#include "foundation/btkstring.h"

struct btkPoint {
    int x = 0;
    int y = 0;
    btkPoint offset(int dx, int dy) const { return {x + dx, y + dy}; }
    bool operator==(const btkPoint&) const = default;
};

struct btkRect {
    btkPoint topLeft;
    btkPoint bottomRight;
    bool operator==(const btkRect&) const = default;
};

class btkRealCanvas;
class btkCanvas;
using btkSPCanvas = btkSmartPtr<btkRealCanvas>;

// An abstract font. Each concrete canvas accepts the fonts of its own family
// (tested by the font's run-time type) and ignores any other.
class btkFont {
public:
    virtual ~btkFont() = default;
    virtual int size() const = 0;
    virtual void setSize(int size) = 0;
    // A new font of the same kind, owned by the caller.
    virtual btkFont* clone() const = 0;
};

// A drawing operation that a canvas draws later, for example a page number
// that is known only once the pages are laid out.
class btkCustomGrOp {
public:
    virtual ~btkCustomGrOp() = default;
    // A new operation of the same kind placed at (x, y), owned by the
    // caller. A recording canvas keeps this copy with the position of the
    // call and later lets it draw through the replay handle.
    virtual btkCustomGrOp* copyAt(int x, int y) const = 0;
    // Draws itself through the handle (relative to the handle's origin).
    virtual void draw(btkCanvas canvas) = 0;
};

// The drawing interface. Every operation has a harmless default, so a
// canvas overrides only what its device supports. Coordinates are in the
// canvas's own units (screen or printer pixels).
class btkRealCanvas {
public:
    btkRealCanvas();
    btkRealCanvas(const btkRealCanvas&) = delete;
    btkRealCanvas& operator=(const btkRealCanvas&) = delete;
    // Clears the proxy first, so references that outlive the canvas see null.
    virtual ~btkRealCanvas();

    virtual btkRect getRect() { return {}; }
    virtual void setFg(btkColor) {}
    virtual void setBg(btkColor) {}
    virtual void setPenWi(int) {}
    virtual void pixel(int, int, btkColor) {}
    virtual btkColor getPixel(int, int) { return 0; }
    virtual void line(int, int, int, int) {}
    virtual void rect(int, int, int, int) {}
    virtual void ell(int, int, int, int) {}
    virtual void polygon(const btkPoint*, int) {}
    virtual int textWidth(const btkstring&) { return 0; }
    virtual int textHeight(const btkstring&) { return 0; }
    virtual void setFont(btkFont*) {}
    virtual void text(int, int, const btkstring&) {}
    // Draws the one-character text of c; extra is carried through recordings
    // and used by no canvas.
    virtual void charOut(int x, int y, char c, int extra);
    // Reserved operations: no canvas gives them a meaning; the redirecting
    // canvas passes the first on to its draw target.
    virtual void reserved1(int, int, int, int, int, int, int) {}
    virtual void reserved2() {}
    // Ends a block of drawing of the given height and kind. An ordinary
    // canvas moves the caller's y down by the height (when y is not null);
    // a pane group closes its pane instead.
    virtual void paneBreak(int height, const btkstring& kind, int* y);
    virtual int reserved3() { return 0; }
    // The canvas that answers measuring for this one.
    virtual btkRealCanvas* measureCanvas() { return this; }
    // Lets the operation draw at once through a handle at (x, y) on this
    // canvas; recording canvases keep a copy instead.
    virtual void custom(btkCustomGrOp* op, int x, int y);

    // A counted reference to this canvas, the way every other object holds it.
    btkSPCanvas sp() const { return self; }

private:
    btkSPCanvas self;
};

// The value handle drawing routines receive: an origin and a reference to a
// canvas. Every coordinate gets the origin added, so the same routine draws
// anywhere. Drawing through a handle whose canvas is empty or gone does
// nothing (measuring answers 0).
class btkCanvas {
public:
    btkCanvas() = default;
    btkCanvas(int x, int y, btkSPCanvas canvas) : ox(x), oy(y), target(std::move(canvas)) {}
    // A copy of other moved by (dx, dy): same canvas, origin + (dx, dy).
    btkCanvas(const btkCanvas& other, int dx, int dy) : ox(other.ox + dx), oy(other.oy + dy), target(other.target) {}

    int originX() const { return ox; }
    int originY() const { return oy; }
    btkSPCanvas sp() const { return target; }
    btkRealCanvas* get() const { return target.get(); }

    btkCanvas& setFg(btkColor c);
    btkCanvas& setBg(btkColor c);
    btkCanvas& setPenWi(int width);
    btkCanvas& setFont(btkFont* font);
    btkCanvas& pixel(int x, int y, btkColor c);
    btkCanvas& line(int x1, int y1, int x2, int y2);
    btkCanvas& rect(int x1, int y1, int x2, int y2);
    btkCanvas& ell(int x1, int y1, int x2, int y2);
    // The caller's points stay unchanged; a moved copy reaches the canvas.
    btkCanvas& polygon(const btkPoint* points, int n);
    btkCanvas& text(int x, int y, const btkstring& s);
    btkCanvas& charOut(int x, int y, char c, int extra);
    btkCanvas& custom(btkCustomGrOp* op, int x, int y);
    // Passes the handle's own y, so an ordinary canvas moves this handle down.
    btkCanvas& paneBreak(int height, const btkstring& kind);
    int textWidth(const btkstring& s) const;
    int textHeight(const btkstring& s) const;

private:
    int ox = 0;
    int oy = 0;
    btkSPCanvas target;
};
