// Recording and replay, and the redirecting canvas's choice of target.
#include <gtest/gtest.h>

#include <memory>

#include "foundation/btkmetacanvas.h"
#include "foundation/btkredirectcanvas.h"
#include "tests/support/canvas_doubles.h"

using kx6test::CallLog;
using kx6test::FixedMetricCanvas;
using kx6test::LabelOp;
using kx6test::LoggingCanvas;
using kx6test::NamedFont;

TEST(MetaCanvas, ReplayAtAnOriginLeavesTheRecording) {
    btkMetaCanvas m;
    btkCanvas rec(0, 0, m.sp());
    rec.setFg(0x0000FF).line(0, 0, 10, 0).text(0, 5, "A");
    EXPECT_EQ(m.count(), 3);
    // A replay leaves the recording as it was: the second replay is the same.
    LoggingCanvas target;
    for (int replay = 0; replay < 2; ++replay) {
        target.log().clear();
        btkCanvas at(100, 200, target.sp());
        replay ? m.play(&at) : m.play(at);
        EXPECT_EQ(target.log(), (CallLog{"setFg(255)", "line(100,200,110,200)", "text(100,205,A)"})) << replay;
    }
    // A cleared recording replays nothing.
    m.clear();
    EXPECT_EQ(m.count(), 0);
    target.log().clear();
    m.play(btkCanvas(5, 5, target.sp()));
    EXPECT_TRUE(target.log().empty());
}

TEST(MetaCanvas, EveryKindReplaysWithBothOrigins) {
    btkMetaCanvas m;
    // The recording handle's origin is stored in the items...
    btkCanvas rec(1, 2, m.sp());
    btkPoint pts[2] = {{0, 0}, {3, 4}};
    NamedFont f("Serif");
    rec.setBg(4).setPenWi(2).pixel(0, 0, 5).rect(0, 0, 1, 1).ell(2, 2, 3, 3).polygon(pts, 2);
    rec.setFont(&f).charOut(7, 8, 'z', 42).text(0, 0, "\x8A");
    // ...and the replay handle's origin is added on top.
    LoggingCanvas target;
    m.play(btkCanvas(10, 100, target.sp()));
    CallLog expected = {"setBg(4)",           "setPenWi(2)",
                        "pixel(11,102,5)",    "rect(11,102,12,103)",
                        "ell(13,104,14,105)", "polygon(11,102 14,106)",
                        "setFont(Serif)",     "charOut(18,110,z,42)",
                        "text(11,102,\x8A)"};
    EXPECT_EQ(target.log(), expected) << kx6test::joined(target.log());
}

TEST(MetaCanvas, CustomOperationGetsTheReplayOriginOnce) {
    ASSERT_EQ(LabelOp::alive, 0);
    {
        btkMetaCanvas m;
        LabelOp op("7");
        btkCanvas(5, 5, m.sp()).custom(&op, 10, 20);
        EXPECT_EQ(LabelOp::alive, 2);  // the caller's and the recorded copy at (15, 25)

        LoggingCanvas target;
        m.play(btkCanvas(100, 200, target.sp()));
        EXPECT_EQ(target.log(), (CallLog{"custom(100,200)", "text(115,225,7)"}));

        // Recording into another recording and replaying still adds each
        // origin once.
        btkMetaCanvas outer;
        m.play(btkCanvas(1000, 0, outer.sp()));
        target.log().clear();
        outer.play(btkCanvas(0, 2000, target.sp()));
        EXPECT_EQ(target.log(), (CallLog{"custom(0,2000)", "text(1015,2025,7)"}));
    }
    EXPECT_EQ(LabelOp::alive, 0);  // the recordings freed their copies
}

TEST(MetaCanvas, RecordedFontIsItsOwnClone) {
    btkMetaCanvas m;
    auto f = std::make_unique<NamedFont>("Sans", 12);
    m.setFont(f.get());
    f->name = "Changed";
    f.reset();
    m.setFont(nullptr);
    LoggingCanvas target;
    m.play(btkCanvas(0, 0, target.sp()));
    EXPECT_EQ(target.log(), (CallLog{"setFont(Sans)", "setFont(null)"}));
}

TEST(MetaCanvas, MeasuringAndBreaksAreNotRecorded) {
    btkMetaCanvas m;
    m.reserved1(1, 2, 3, 4, 5, 6, 7);
    int y = 3;
    m.paneBreak(10, "", &y);
    EXPECT_EQ(y, 13);
    EXPECT_EQ(m.textWidth("abc"), 0);
    EXPECT_EQ(m.textHeight("abc"), 0);
    EXPECT_EQ(m.getRect(), btkRect{});
    EXPECT_EQ(m.measureCanvas(), &m);
    EXPECT_EQ(m.count(), 0);
}

TEST(MetaCanvas, ReplayIntoItselfReplaysTheOldItemsOnce) {
    btkMetaCanvas m;
    m.text(0, 0, "a");
    m.play(btkCanvas(1, 1, m.sp()));
    EXPECT_EQ(m.count(), 2);
    LoggingCanvas target;
    m.play(btkCanvas(0, 0, target.sp()));
    EXPECT_EQ(target.log(), (CallLog{"text(0,0,a)", "text(1,1,a)"}));
}

TEST(RedirectCanvas, EachCallReachesItsTarget) {
    CallLog log;
    LoggingCanvas draw(&log), measure(&log, 4, 9), pane(&log);
    draw.name = "draw";
    measure.name = "measure";
    pane.name = "pane";
    btkRedirectCanvas r;
    r.setTarget(draw.sp());
    r.setMeasureTarget(measure.sp());
    r.setPaneTarget(pane.sp());

    NamedFont f("Bold");
    btkPoint pts[1] = {{1, 1}};
    LabelOp op("L");
    btkCanvas h(10, 10, r.sp());
    h.setFont(&f);
    EXPECT_EQ(h.textWidth("ab"), 8);
    EXPECT_EQ(h.textHeight("ab"), 9);
    EXPECT_EQ(r.getPixel(1, 2), 0u);
    EXPECT_EQ(r.getRect(), draw.rectAnswer);
    h.setFg(1).setBg(2).setPenWi(3).pixel(0, 0, 4).line(0, 0, 1, 1).rect(0, 0, 1, 1).ell(0, 0, 1, 1);
    h.polygon(pts, 1).text(0, 0, "t").charOut(0, 0, 'c', 5).custom(&op, 0, 0);
    r.reserved1(1, 2, 3, 4, 5, 6, 7);
    h.paneBreak(30, "optional");
    EXPECT_EQ(h.originY(), 40);  // the pane target moved the handle's own y
    EXPECT_EQ(r.measureCanvas(), &measure);

    CallLog expected = {
        "measure:setFont(Bold)",
        "draw:setFont(Bold)",
        "measure:textWidth(ab)",
        "measure:textHeight(ab)",
        "measure:getPixel(1,2)",
        "draw:getRect()",
        "draw:setFg(1)",
        "draw:setBg(2)",
        "draw:setPenWi(3)",
        "draw:pixel(10,10,4)",
        "draw:line(10,10,11,11)",
        "draw:rect(10,10,11,11)",
        "draw:ell(10,10,11,11)",
        "draw:polygon(11,11)",
        "draw:text(10,10,t)",
        "draw:charOut(10,10,c,5)",
        "draw:custom(10,10)",
        "draw:text(10,10,L)",
        "draw:reserved1(1,2,3,4,5,6,7)",
        "pane:paneBreak(30,optional)",
    };
    EXPECT_EQ(log, expected) << kx6test::joined(log);
}

TEST(RedirectCanvas, MissingOrDestroyedTargetsDoNothing) {
    btkRedirectCanvas r;
    btkCanvas h(0, 0, r.sp());
    NamedFont f("x");
    LabelOp op("x");
    h.setFont(&f).text(0, 0, "t").line(0, 0, 1, 1).custom(&op, 1, 1).paneBreak(5, "");
    EXPECT_EQ(h.textWidth("abc"), 0);
    EXPECT_EQ(h.originY(), 0);
    EXPECT_EQ(r.measureCanvas(), nullptr);
    EXPECT_EQ(r.getRect(), btkRect{});

    {
        LoggingCanvas gone;
        r.setTarget(gone.sp());
        r.setMeasureTarget(gone.sp());
    }
    h.text(0, 0, "t");
    EXPECT_EQ(h.textHeight("abc"), 0);
    EXPECT_EQ(r.measureCanvas(), nullptr);
}

TEST(StdMetaCanvas, DefaultMeasuresZeroAndRecordsNoBreaks) {
    btkStdMetaCanvas s;
    btkCanvas h(0, 0, s.sp());
    EXPECT_EQ(h.textWidth("abc"), 0);
    EXPECT_EQ(h.textHeight("abc"), 0);
    h.text(0, 0, "a").paneBreak(15, "").text(0, 0, "b");
    EXPECT_EQ(s.recording().count(), 2);
    EXPECT_EQ(s.measureCanvas(), &s.recording());

    LoggingCanvas target;
    s.play(btkCanvas(1, 1, target.sp()));
    EXPECT_EQ(target.log(), (CallLog{"text(1,1,a)", "text(1,16,b)"}));
    s.clear();
    EXPECT_EQ(s.recording().count(), 0);
}

TEST(StdMetaCanvas, MeasuresOnTheRealCanvasWithTheFontLastSet) {
    FixedMetricCanvas screen(7, 13);
    btkStdMetaCanvas s(btkCanvas(0, 0, screen.sp()));
    btkCanvas h(0, 0, s.sp());
    NamedFont f("Mono");
    h.setFont(&f);
    EXPECT_EQ(screen.font, &f);
    EXPECT_EQ(h.textWidth("abcd"), 28);
    EXPECT_EQ(h.textHeight("x"), 13);
    h.text(0, 0, "abcd");
    EXPECT_EQ(s.measureCanvas(), &screen);

    LoggingCanvas printer;
    s.play(btkCanvas(0, 0, printer.sp()));
    EXPECT_EQ(printer.log(), (CallLog{"setFont(Mono)", "text(0,0,abcd)"}));
}
