// Start-up against a real internet song database: the connection file, the
// automatic login, the login state in the status bar and the caption taken
// from the connection's name.
#include <cstdio>

#include <QAction>
#include <QLabel>
#include <QStatusBar>

#include "app/main/mainfrm.h"
#include "appenv.h"
#include "foundation/btkscramble.h"
#include "foundation/qt/btkqstring.h"
#include "inetdb_test.h"

namespace {

class InetLoginTest : public kx6InetDbTest {
protected:
    InetLoginTest() : kx6InetDbTest("kx6_app_login") {}
    void SetUp() override {
        kx6InetDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        app.folder.write("options.xml", "<options />");
        app.folder.write("cfg/autologin.txt", "");
        inet->connectionElement().save(app.folder.path("cfg/connect.xml"), "Windows-1250");
    }
    void TearDown() override {
        app.end();
        kx6InetDbTest::TearDown();
    }
    btkstring loginState() const { return btkFromQString(mainfrm->statusBar()->findChild<QLabel*>("status1")->text()); }
    QAction* action(const char* name) const { return mainfrm->actionlist.find(name); }

    TestProgram app;
};

TEST_F(InetLoginTest, AutomaticLoginFromTheFirstNonEmptyLineShowsTheLoginState) {
    app.folder.write("cfg/autologin.txt", btkFormat("\r\n\r\n %s \r\n%s\r\n", kx6InetDb::login,
                                                    btkScramblePassword(kx6InetDb::password).c_str()));
    app.start();
    EXPECT_TRUE(app.boxes().shown().empty());
    EXPECT_TRUE(loginState().startsWith(btkFormat("Přihlášen %s [", kx6InetDb::login)));
    EXPECT_FALSE(action("a_login")->isEnabled());
    EXPECT_TRUE(action("a_logout")->isEnabled());
    // A connection named with a leading "!" names the main window.
    EXPECT_EQ(btkFromQString(mainfrm->windowTitle()), btkstring("!Test"));

    action("a_logout")->trigger();
    EXPECT_EQ(loginState(), btkstring("Nepřihlášen"));
    EXPECT_TRUE(action("a_login")->isEnabled());
    EXPECT_FALSE(action("a_logout")->isEnabled());
}

TEST_F(InetLoginTest, RefusedAutomaticLoginShowsTheReasonAndStaysLoggedOut) {
    app.folder.write("cfg/autologin.txt",
                     btkFormat("%s\n%s\n", kx6InetDb::login, btkScramblePassword("spatne").c_str()));
    app.start();
    ASSERT_EQ(app.boxes().shown().size(), 1u);
    EXPECT_EQ(loginState(), btkstring("Nepřihlášen"));
    EXPECT_TRUE(action("a_login")->isEnabled());
}

TEST_F(InetLoginTest, ConnectionFileWrittenAfterStartUpIsTakenByTheNextCommand) {
    const btkstring file = app.folder.path("cfg/connect.xml");
    std::remove(file.c_str());
    app.start();
    mainfrm->actionlist.find("a_ping")->trigger();
    ASSERT_EQ(app.boxes().shown().size(), 1u);
    EXPECT_EQ(app.boxes().shown()[0].text, btkstring("Nebyl načten soubor cfg/connect.xml s údaji o připojení"));
    inet->connectionElement().save(file, "Windows-1250");
    app.boxes().reset();
    mainfrm->actionlist.find("a_ping")->trigger();
    ASSERT_EQ(app.boxes().shown().size(), 1u);
    EXPECT_EQ(app.boxes().shown()[0].text, btkstring("OK"));
}

}  // namespace
