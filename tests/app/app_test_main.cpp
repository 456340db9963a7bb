// Runs the window tests inside the program's own application object on the
// offscreen platform.
#include <gtest/gtest.h>

#include <QTimer>

#include "foundation/qt/btkapplication.h"

namespace {

// Closing the main window asks the application to exit. Outside exec() that
// request stays pending and makes every later event loop return at once, so
// the tests after it would get no idle passes and no modal dialogs. Running
// one short exec() after each test takes the request back.
class ExitRequestReset final : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Listing the tests at build time has no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    btkApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ExitRequestReset);
    return RUN_ALL_TESTS();
}
