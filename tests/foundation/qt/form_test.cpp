// The form helpers that walk a window's controls, the guard of a paint
// event, and fitting a framed window into the screen.
#include <gtest/gtest.h>

#include <string>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

#include "foundation/btkerror.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkscreenfit.h"

TEST(FormHelpers, EnableControlTreeLeavesGrandchildrenTheirOwnState) {
    QWidget panel;
    auto* button = new QPushButton(&panel);
    auto* group = new QGroupBox(&panel);
    auto* onPurpose = new QCheckBox(group);
    auto* plain = new QCheckBox(group);
    onPurpose->setEnabled(false);
    EnableControlTree(&panel, false);
    EXPECT_FALSE(panel.isEnabled());
    EXPECT_FALSE(plain->isEnabled());
    EnableControlTree(&panel, true);
    EXPECT_TRUE(panel.isEnabled());
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(plain->isEnabled());
    EXPECT_FALSE(onPurpose->isEnabled());
}

// A drawing that fails inside a paint event shows its box only after the
// event; a repaint failing alike shows nothing more until a paint of the same
// window has succeeded, and another window shows its own failure.
TEST(FormHelpers, PaintFailureIsShownOnceAfterThePaintEvent) {
    struct FailingBox : QWidget {
        void paintEvent(QPaintEvent*) override {
            QPainter painter(this);
            btkGuardPaint(this, [this] {
                ++paints;
                if (message) throw btkError(message);
            });
        }
        const char* message = nullptr;
        int paints = 0;
    };
    btkDefaultMessageBoxes().reset();
    btkDefaultMessageBoxes().quiet = true;
    FailingBox box, other;
    box.resize(20, 20);
    other.resize(20, 20);
    const struct {
        FailingBox* window;
        const char* message;  // null: the paint succeeds
        size_t boxes;         // shown after the paint
    } rows[] = {
        {&box, "Kresba selhala", 1}, {&box, "Kresba selhala", 1}, {&other, "Kresba selhala", 2},
        {&box, "Jiná chyba", 3},     {&box, nullptr, 3},          {&box, "Jiná chyba", 4},
    };
    for (const auto& r : rows) {
        r.window->message = r.message;
        const size_t before = btkDefaultMessageBoxes().shown().size();
        (void)r.window->grab();
        EXPECT_EQ(btkDefaultMessageBoxes().shown().size(), before) << r.boxes;
        QCoreApplication::processEvents();
        ASSERT_EQ(btkDefaultMessageBoxes().shown().size(), r.boxes) << r.boxes;
        if (r.message) {
            EXPECT_STREQ(btkDefaultMessageBoxes().shown().back().text.c_str(), r.message);
        }
    }
    EXPECT_EQ(box.paints + other.paints, 6);
    btkDefaultMessageBoxes().quiet = false;
}

// The frame (window and window-manager borders) ends inside the area: moved
// back when it reaches beyond, shrunk when larger, never below the window's
// minimum; an unplaced frame is centred.
TEST(ScreenFit, FrameEndsInsideTheArea) {
    const QRect area(0, 30, 1920, 1050);  // a panel above
    const QMargins frame(1, 20, 1, 1);
    const struct {
        QRect frameRect;
        bool placed;
        QSize minimum;
        QRect expected;
    } rows[] = {
        {{100, 100, 902, 661}, true, {}, {100, 100, 902, 661}},
        {{100, 455, 902, 661}, true, {}, {100, 419, 902, 661}},
        {{-50, 0, 560, 445}, true, {}, {0, 30, 560, 445}},
        {{100, 455, 902, 661}, false, {}, {509, 224, 902, 661}},
        {{0, 0, 2000, 1200}, true, {}, {0, 30, 1920, 1050}},
        {{0, 0, 800, 1200}, true, {300, 1100}, {0, 30, 800, 1121}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(btkFitFrameIntoArea(r.frameRect, area, r.placed, frame, r.minimum), r.expected) << r.frameRect.y();
    EXPECT_EQ(btkFitFrameIntoArea({5, 5, 10, 10}, QRect(), true, frame, {}), QRect(5, 5, 10, 10));
}
