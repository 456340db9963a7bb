// Journeys through the internet windows against a throwaway internet song
// database: log in through the wizard and synchronise, create an account,
// and the automatic login dialog.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/windows.h"
#include "appenv.h"
#include "foundation/btkfile.h"
#include "foundation/btkscramble.h"
#include "foundation/qt/btkqstring.h"
#include "frk/qt/frkbrowse.h"
#include "inetdb_test.h"
#include "songs/inetconnection.h"

namespace {

class InternetJourneyTest : public kx6InetDbTest {
protected:
    InternetJourneyTest() : kx6InetDbTest("kx6_app_journey") {}
    void SetUp() override {
        kx6InetDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        app.folder.write("options.xml", "<options />");
        btkMakeDirs(app.folder.path("cfg"));
        inet->connectionElement().save(app.folder.path("cfg/connect.xml"), "Windows-1250");
    }
    void TearDown() override {
        frkBrowse::runner = nullptr;
        app.end();
        kx6InetDbTest::TearDown();
    }
    void trigger(const char* action) { mainfrm->actionlist.find(action)->trigger(); }
    // The boxes shown since the last call.
    std::vector<std::string> takeBoxes() {
        std::vector<std::string> texts;
        for (const auto& box : app.boxes().shown()) texts.emplace_back(box.text.c_str());
        app.boxes().reset();
        app.boxes().quiet = true;
        return texts;
    }

    TestProgram app;
};

TEST_F(InternetJourneyTest, WizardLoginThenSynchroniseUploadsTheChosenSongs) {
    app.folder.write("db/Net.xml",
                     "<melodar_data version=\"4.0\" ><database isinetdb=\"1\" >\n"
                     "<song title=\"Nova1\" locid=\"1\" ><text xml:space=\"preserve\" >[C]a</text></song>\n"
                     "<song title=\"Nova2\" locid=\"2\" ><text xml:space=\"preserve\" >[G]b</text></song>\n"
                     "<song title=\"Nova3\" locid=\"3\" ><text xml:space=\"preserve\" >[D]c</text></song>\n"
                     "</database></melodar_data>\n");
    app.start();
    songsubsetfrm->runner = [](Tsongsubsetfrm& f) {
        f.selectAll();
        f.untick(const_cast<KxSong*>(f.tickedSongs()[2]));
        return QDialog::Accepted;
    };
    frkBrowse::runner = [](frkBrowse& d) {
        d.form()->findChildren<QPushButton*>()[0]->click();  // "Seznam..." of the new songs
        d.commandButton(0)->click();                         // "Provést synchronizaci"
    };
    int attempts = 0;
    loginwizardfrm->runner = [&](Tloginwizardfrm& f) {
        f.howaccount0->setChecked(true);
        f.foot->btnext->click();
        f.llogin->setText(kx6InetDb::login);
        for (const char* password : {"spatne", kx6InetDb::password}) {
            f.lpassword->setText(password);
            f.foot->btfinish->click();
            ++attempts;
            if (attempts == 1) {
                EXPECT_EQ(f.wizard->currentPage(), 2);
                EXPECT_FALSE(LoginRef::isSet());
            }
        }
    };
    trigger("a_synchronize");
    EXPECT_EQ(attempts, 2);
    const std::vector<std::string> boxes = takeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0], "Špatný login nebo heslo");
    EXPECT_TRUE(LoginRef::isSet());
    EXPECT_EQ(inet->count("songs"), 2);
}

TEST_F(InternetJourneyTest, NewAccountThroughTheWizardAndATakenLogin) {
    app.start();
    const struct {
        const char* login;
        bool created;
        const char* box;
    } rows[] = {{"o'neil", true, nullptr}, {"o'neil", false, "Uživatelské jméno už existuje"}};
    for (const auto& r : rows) {
        loginwizardfrm->runner = [&](Tloginwizardfrm& f) {
            f.howaccount1->setChecked(true);
            f.foot->btnext->click();
            f.login->setText(btkToQString(r.login));
            f.password1->setText("heslo2");
            f.password2->setText("heslo2");
            f.foot->btfinish->click();
            // A refused account leaves the wizard open on its page.
            EXPECT_EQ(f.result() == QDialog::Accepted, r.created);
            EXPECT_EQ(f.wizard->currentPage(), 1);
        };
        // The second time somebody is still logged in: the refusal ends
        // that login too.
        loginwizardfrm->Execute();
        EXPECT_EQ(LoginRef::isSet(), r.created) << r.login;
        EXPECT_EQ(takeBoxes(), r.box ? std::vector<std::string>{r.box} : std::vector<std::string>{});
    }
    // The quote went to the server as part of the name.
    EXPECT_EQ(inet->value("SELECT COUNT(*) FROM dbw_users WHERE dbw_login='o''neil'"), "1");
}

TEST_F(InternetJourneyTest, AutomaticLoginDialogLogsInAndARefusalLogsOut) {
    app.start();
    for (const char* password : {kx6InetDb::password, "spatne"}) {
        frkBrowse::runner = [&](frkBrowse& d) {
            auto edits = d.form()->findChildren<QLineEdit*>();
            edits[0]->setText(kx6InetDb::login);
            edits[1]->setText(password);
            d.commandButton(0)->click();
        };
        trigger("a_autologin");
        const bool right = password == kx6InetDb::password;
        EXPECT_EQ(LoginRef::isSet(), right);
        EXPECT_EQ(takeBoxes(),
                  right ? std::vector<std::string>{} : std::vector<std::string>{"Špatný login nebo heslo"});
        // Written either way.
        EXPECT_EQ(app.folder.read("cfg/autologin.txt"),
                  btkFormat("%s\r\n%s\r\n", kx6InetDb::login, btkScramblePassword(password).c_str()));
    }
}

}  // namespace
