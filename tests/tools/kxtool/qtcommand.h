// The Qt application of a kxtool command that draws (printing, book
// rendering): on the offscreen platform when there is no display, with the
// "C" locale for numbers and character classes as in the program.
#pragma once

#ifdef KXTOOL_WITH_QT

#include <clocale>

#include <QApplication>

namespace kxtool {

class QtCommandApp {
public:
    QtCommandApp() : app((chooseOffscreen(), argc), argv) {
        std::setlocale(LC_NUMERIC, "C");
        std::setlocale(LC_CTYPE, "C");
    }
    QtCommandApp(const QtCommandApp&) = delete;
    QtCommandApp& operator=(const QtCommandApp&) = delete;

private:
    static void chooseOffscreen() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    // QApplication keeps references to both for its lifetime.
    int argc = 1;
    char name[7] = "kxtool";
    char* argv[2] = {name, nullptr};
    QApplication app;
};

}  // namespace kxtool

#endif
