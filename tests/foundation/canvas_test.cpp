// The drawing interface's defaults, the canvas reference that outlives its
// canvas, and the handle that adds its origin to every coordinate.
#include <gtest/gtest.h>

#include <type_traits>

#include "foundation/btkcanvas.h"
#include "tests/support/canvas_doubles.h"

using kx6test::CallLog;
using kx6test::LabelOp;
using kx6test::LoggingCanvas;

TEST(Canvas, BaseDefaults) {
    btkRealCanvas c;
    EXPECT_EQ(c.getRect(), btkRect{});
    EXPECT_EQ(c.getPixel(1, 2), 0u);
    EXPECT_EQ(c.textWidth("abc"), 0);
    EXPECT_EQ(c.textHeight("abc"), 0);
    EXPECT_EQ(c.measureCanvas(), &c);
    EXPECT_EQ(c.reserved3(), 0);

    int y = 5;
    c.paneBreak(20, "", &y);
    EXPECT_EQ(y, 25);
    c.paneBreak(20, "", nullptr);  // no pointer: nothing to move
    EXPECT_EQ(c.sp().get(), &c);
}

TEST(Canvas, ReferenceOutlivesCanvas) {
    // Canvases are deleted through base pointers.
    static_assert(std::has_virtual_destructor_v<btkRealCanvas>);
    btkSPCanvas copy;
    btkCanvas handle;
    {
        LoggingCanvas c;
        btkSPCanvas ref = c.sp();
        EXPECT_EQ(ref.proxy()->refCount(), 2);  // the canvas's own and ref
        copy = ref;
        EXPECT_EQ(ref.proxy()->refCount(), 3);
        handle = btkCanvas(1, 1, ref);
        EXPECT_EQ(handle.get(), &c);
    }
    // The proxy lives on and answers null; drawing through it does nothing.
    EXPECT_EQ(copy.get(), nullptr);
    EXPECT_FALSE(copy.isSet());
    EXPECT_EQ(handle.get(), nullptr);
    EXPECT_EQ(copy.proxy()->refCount(), 2);
    handle.text(0, 0, "x").line(0, 0, 1, 1).paneBreak(5, "");
    EXPECT_EQ(handle.originY(), 1);
    EXPECT_EQ(handle.textWidth("x"), 0);
    // Releasing the last references frees the proxy (the leak check sees it).
}

TEST(Canvas, HandleAddsOriginToEveryCoordinate) {
    LoggingCanvas c;
    btkCanvas h(10, 20, c.sp());
    h.text(1, 2, "A");
    btkCanvas moved(h, 5, 5);
    moved.text(1, 2, "B");
    h.setFg(7)
        .setBg(8)
        .setPenWi(3)
        .pixel(1, 1, 9)
        .line(1, 2, 3, 4)
        .rect(0, 0, 5, 5)
        .ell(1, 1, 2, 2)
        .charOut(3, 4, 'q', 6);
    EXPECT_EQ(h.textWidth("abc"), 18);
    EXPECT_EQ(h.textHeight("abc"), 10);
    CallLog expected = {
        "text(11,22,A)",    "text(16,27,B)",      "setFg(7)",          "setBg(8)",
        "setPenWi(3)",      "pixel(11,21,9)",     "line(11,22,13,24)", "rect(10,20,15,25)",
        "ell(11,21,12,22)", "charOut(13,24,q,6)", "textWidth(abc)",    "textHeight(abc)",
    };
    EXPECT_EQ(c.log(), expected) << kx6test::joined(c.log());
    EXPECT_EQ(moved.originX(), 15);
    EXPECT_EQ(moved.originY(), 25);
    EXPECT_EQ(moved.get(), &c);
}

TEST(Canvas, PolygonMovesACopyOfThePoints) {
    LoggingCanvas c;
    btkPoint pts[3] = {{0, 0}, {10, 0}, {5, 8}};
    btkCanvas(100, 200, c.sp()).polygon(pts, 3);
    EXPECT_EQ(c.log(), CallLog{"polygon(100,200 110,200 105,208)"});
    EXPECT_EQ(pts[1], (btkPoint{10, 0}));
    EXPECT_EQ(pts[2], (btkPoint{5, 8}));
    btkCanvas(1, 1, c.sp()).polygon(nullptr, 4);  // no points: an empty polygon
    EXPECT_EQ(c.log().back(), "polygon()");
}

TEST(Canvas, DefaultCharOutDrawsOneCharacterText) {
    // Only text is overridden: charOut comes from the base.
    struct TextOnly : btkRealCanvas {
        CallLog log;
        void text(int x, int y, const btkstring& s) override {
            log.push_back(std::to_string(x) + "," + std::to_string(y) + ":" + s.c_str() + ":" +
                          std::to_string(s.length()));
        }
    } c;
    btkCanvas(0, 0, c.sp()).charOut(3, 4, 'x', 99);
    c.charOut(1, 1, '\x9A', 0);  // š in Windows-1250 stays one byte
    EXPECT_EQ(c.log, (CallLog{"3,4:x:1", "1,1:\x9A:1"}));
}

TEST(Canvas, DefaultCustomDrawsAtOnceRelativeToItsPosition) {
    LoggingCanvas c;
    LabelOp op("N", 2, 3);
    btkCanvas(10, 20, c.sp()).custom(&op, 5, 5);
    c.custom(nullptr, 1, 1);  // nothing to draw
    // On an ordinary canvas a pane break moves the handle.
    btkCanvas h(0, 5, c.sp());
    h.paneBreak(20, "optional").text(0, 0, "after");
    EXPECT_EQ(h.originY(), 25);
    EXPECT_EQ(c.log(),
              (CallLog{"custom(15,25)", "text(17,28,N)", "custom(1,1)", "paneBreak(20,optional)", "text(0,25,after)"}));
}

TEST(Canvas, EmptyHandleDoesNothing) {
    btkCanvas h;
    btkPoint p{1, 1};
    LabelOp op("x");
    h.setFg(1).setBg(1).setPenWi(1).setFont(nullptr).pixel(0, 0, 1).line(0, 0, 1, 1).rect(0, 0, 1, 1);
    h.ell(0, 0, 1, 1).polygon(&p, 1).text(0, 0, "t").charOut(0, 0, 'c', 0).custom(&op, 0, 0).paneBreak(4, "");
    EXPECT_EQ(h.textWidth("abc"), 0);
    EXPECT_EQ(h.textHeight("abc"), 0);
    EXPECT_EQ(h.originY(), 0);
    EXPECT_EQ(h.get(), nullptr);
}
