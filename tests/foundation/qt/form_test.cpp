// The form helpers that walk a window's controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QWidget>

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
