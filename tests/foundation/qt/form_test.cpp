// The form helpers that walk a window's controls, and the guard of a
// paint event.
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
