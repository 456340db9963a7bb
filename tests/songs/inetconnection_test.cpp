// The internet connection without a server: no connection file, a damaged
// one, an unreachable server, the caption, and the rights check that comes
// before everything else in a synchronisation.
#include "songs/inetconnection.h"

#include <gtest/gtest.h>

#include <string>

#include "dbw/dbwsession.h"
#include "foundation/btkmessagebox.h"
#include "modelenv.h"
#include "programfolder.h"
#include "songs/inetsync.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

namespace {

const char* const NotConfigured = "Nebyl načten soubor cfg/connect.xml s údaji o připojení";
const std::string RightsHeader =
    "Abyste mohli tuto operaci provést, potřebujete navíc tato oprávnění\n(některá se dají naklikat v Nastavení na "
    "adrese https://kx6.example.org/, pokud jste přihlášeni) :\n";

class InetConnection : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        setProgramDir(folder.root.c_str());
    }
    void TearDown() override {
        DoneInternetConnection();
        ModelTest::TearDown();
    }
    std::string box(int i) const { return btkDefaultMessageBoxes().shown().at(i).text.c_str(); }

    btkXMLNode connection(const char* name, const char* server) {
        btkXMLNode node;
        node.parse(
            btkFormat("<connection name=\"%s\" engine=\"1\" server=\"%s\" dbname=\"songs\" user=\"nobody\" "
                      "port=\"1\" />",
                      name, server));
        return node;
    }

    ProgramFolder folder;
};

TEST_F(InetConnection, WithoutAConnectionFileEveryInternetStepStopsAtOneText) {
    InitInternetConnection();
    EXPECT_EQ(0, boxCount());  // a missing file is not reported
    EXPECT_EQ(nullptr, StoredConnection());
    EXPECT_EQ(nullptr, SessionManager());
    EXPECT_EQ(btkstring(), ConnectionCaption());

    EXPECT_FALSE(LoginUser("tester", "heslo"));
    EXPECT_FALSE(CreateAccountAndLogin("tester", "heslo"));
    EXPECT_EQ(0, boxCount());  // logins fail silently

    EXPECT_FALSE(OpenInternetDatabase().isSet());
    PingInternetDatabase();
    EXPECT_EQ(boxes(), std::vector<std::string>(2, NotConfigured));
    EXPECT_FALSE(LoginRef::isSet());
    for (const char* right : {"dbadd", "dbchg", "dbdel", "ddadd", ""}) EXPECT_FALSE(hasRight(right)) << right;
}

TEST_F(InetConnection, ADamagedConnectionFileIsNamedAndStartUpGoesOn) {
    folder.write("cfg/connect.xml", "<connection name=\"!Server\" engine=\"1\"");
    EXPECT_NO_THROW(InitInternetConnection());
    ASSERT_EQ(1, boxCount());
    EXPECT_NE(std::string::npos, box(0).find(folder.path("cfg/connect.xml"))) << box(0);
    EXPECT_EQ(nullptr, StoredConnection());
    EXPECT_EQ(nullptr, ActiveConnection());
    EXPECT_EQ(btkstring(), ConnectionCaption());
    // Each command reads the file again and says again why it is not taken.
    EXPECT_FALSE(OpenInternetDatabase().isSet());
    ASSERT_EQ(3, boxCount());
    EXPECT_EQ(box(0), box(1));
    EXPECT_EQ(NotConfigured, box(2));
}

TEST_F(InetConnection, AConnectionFileWrittenAfterStartUpIsTakenByTheNextCommand) {
    InitInternetConnection();
    folder.writeConnection(connection("!Pozdě", "/nonexistent"));
    EXPECT_FALSE(LoginUser("tester", "heslo"));
    ASSERT_NE(nullptr, StoredConnection());
    EXPECT_EQ(btkstring("!Pozdě"), ConnectionCaption());
    ASSERT_EQ(1, boxCount());
    EXPECT_EQ("Připojení nebylo úspěšné", box(0));
}

TEST_F(InetConnection, TheCaptionShowsOnlyANameMarkedWithAnExclamationMark) {
    folder.writeConnection(connection("!Zpěvník", "/nonexistent"));
    InitInternetConnection();
    EXPECT_EQ(btkstring("!Zpěvník"), ConnectionCaption());
    ASSERT_NE(nullptr, SessionManager());

    folder.writeConnection(connection("Zpěvník!", "/nonexistent"));
    InitInternetConnection();
    EXPECT_EQ(btkstring(), ConnectionCaption());
    EXPECT_EQ(0, boxCount());
}

TEST_F(InetConnection, AnUnreachableServerRefusesOpeningAndLoginAndLogsOut) {
    folder.writeConnection(connection("!Zpěvník", "/nonexistent-socket-folder"));
    InitInternetConnection();
    LoginRef::reset(new dbwSession(SessionManager(), 7));  // somebody was logged in
    EXPECT_FALSE(LoginUser("tester", "heslo"));
    EXPECT_EQ(boxes(), std::vector<std::string>{"Připojení nebylo úspěšné"});
    // Opening failed before the login: the earlier login is not touched.
    EXPECT_TRUE(LoginRef::isSet());
    Logout();
    EXPECT_FALSE(LoginRef::isSet());
}

TEST_F(InetConnection, RightsAreCheckedBeforeTheLoginInTableOrder) {
    auto* db = new KxDatabase("");
    space->addView(db);
    SyncOptions options;
    options.deletedSongs.add(db->addNewSong());
    options.newSongs.add(db->addNewSong());
    EXPECT_FALSE(SynchronizeDatabase(db, options));
    EXPECT_EQ(boxes(), std::vector<std::string>{RightsHeader + "Přidávánání písní KantorixemMazání písní Kantorixem"});

    btkDefaultMessageBoxes().reset();
    options.deletedSongs.clear();
    options.changedSongs.add(options.newSongs[0]);
    while (options.newSongs.count() < 101) options.newSongs.add(db->addNewSong());
    EXPECT_FALSE(SynchronizeDatabase(db, options));
    EXPECT_EQ(boxes(),
              std::vector<std::string>{RightsHeader + "Přidávánání neomezeně mnoha písní KantorixemPřidávánání písní "
                                                      "KantorixemÚprava písní Kantorixem"});
}

TEST_F(InetConnection, WithNothingQueuedNoRightIsNeededButSomebodyMustBeLoggedIn) {
    auto* db = new KxDatabase("");
    space->addView(db);
    db->setChanged();
    EXPECT_FALSE(SynchronizeDatabase(db, SyncOptions()));
    EXPECT_EQ(0, boxCount());
    EXPECT_TRUE(db->isChanged());  // nothing was committed
}

TEST_F(InetConnection, EnsureLoggedInRunsTheWizardAndShowsTheLoginState) {
    struct Wizard : KxLoginWizard {
        void execute() override {
            ++runs;
            if (logIn) LoginRef::reset(new dbwSession(SessionManager(), 3));
        }
        int runs = 0;
        bool logIn = false;
    } wizard;
    FakeMainWin win;
    folder.writeConnection(connection("!Zpěvník", "/nonexistent"));
    InitInternetConnection();
    gLoginWizard = &wizard;
    gMainWin = &win;

    EXPECT_FALSE(EnsureLoggedIn());
    EXPECT_EQ(1, wizard.runs);
    EXPECT_EQ(1, win.loginShown);
    wizard.logIn = true;
    EXPECT_TRUE(EnsureLoggedIn());
    EXPECT_TRUE(EnsureLoggedIn());  // already logged in: no wizard
    EXPECT_EQ(2, wizard.runs);
    EXPECT_EQ(2, win.loginShown);
    Logout();
    EXPECT_FALSE(LoginRef::isSet());
    EXPECT_EQ(3, win.loginShown);

    gLoginWizard = nullptr;
    gMainWin = nullptr;
}

}  // namespace
