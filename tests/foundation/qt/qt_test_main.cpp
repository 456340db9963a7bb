// Runs the Qt tests inside a QApplication on the offscreen platform, with the C locale the program
// restores after creating its application object.
#include <gtest/gtest.h>

#include <clocale>

#include <QApplication>

int main(int argc, char** argv) {
    // No test shows a window; listing the tests at build time has no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_CTYPE, "C");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
