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
// event, and a repaint failing alike does not show it again.
TEST(FormHelpers, PaintFailureIsShownOnceAfterThePaintEvent) {
    struct FailingBox : QWidget {
        void paintEvent(QPaintEvent*) override {
            QPainter painter(this);
            btkGuardPaint(this, [this] {
                ++paints;
                throw btkError(message);
            });
        }
        const char* message = "Kresba selhala";
        int paints = 0;
    };
    btkDefaultMessageBoxes().reset();
    btkDefaultMessageBoxes().quiet = true;
    FailingBox box;
    box.resize(20, 20);
    const struct {
        const char* message;
        size_t boxes;  // shown after the paint
    } rows[] = {{"Kresba selhala", 1}, {"Kresba selhala", 1}, {"Jiná chyba", 2}};
    for (const auto& r : rows) {
        box.message = r.message;
        const size_t before = btkDefaultMessageBoxes().shown().size();
        (void)box.grab();
        EXPECT_EQ(btkDefaultMessageBoxes().shown().size(), before) << r.message;
        QCoreApplication::processEvents();
        ASSERT_EQ(btkDefaultMessageBoxes().shown().size(), r.boxes) << r.message;
        EXPECT_STREQ(btkDefaultMessageBoxes().shown().back().text.c_str(), r.message);
    }
    EXPECT_EQ(box.paints, 3);
    btkDefaultMessageBoxes().quiet = false;
}
