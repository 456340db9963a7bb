// The login wizard, the automatic login dialog, the synchronisation options
// dialog and the internal synchronisation wizard, run through their runners
// on a program started without an internet connection.
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/internet/autologindialog.h"
#include "app/internet/dbsyndialog.h"
#include "app/internet/internetactions.h"
#include "app/windows.h"
#include "appenv.h"
#include "foundation/btkscramble.h"
#include "foundation/qt/btkqstring.h"
#include "songs/inetconnection.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"

namespace {

struct SongRow {
    const char* title;
    int netid;
    const char* text;
    const char* extra;  // further attributes
};

// An internet database file with the songs given.
btkstring DatabaseXml(std::initializer_list<SongRow> songs) {
    btkstring xml =
        "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<melodar_data version=\"4.0\" >\n"
        "<database isinetdb=\"1\" >\n";
    int id = 0;
    for (const SongRow& s : songs)
        xml += btkFormat(
            "<song title=\"%s\" locid=\"%d\" netid=\"%d\" %s >\n<text xml:space=\"preserve\" >%s</text>\n"
            "</song>\n",
            s.title, ++id, s.netid, s.extra, s.text);
    xml += "</database>\n</melodar_data>\n";
    return xml;
}

class InternetWindowsTest : public AppTest {
protected:
    InternetWindowsTest() { folder.write("options.xml", "<options />"); }
    KxDatabase* database(int i) {
        btkCntVec<KxDatabase*> dbs;
        gKxSpace->getDatabases(dbs);
        return dbs.at(i);
    }
    // "title:text" of each song of the database, in order.
    std::string songsOf(KxDatabase* db) {
        btkCntVec<KxSong*> songs;
        db->getSongs(songs);
        std::string out;
        for (KxSong* s : songs) out += std::string(s->title.c_str()) + ":" + s->text.c_str() + " ";
        return out;
    }
    KxSong* song(KxDatabase* db, const char* title) {
        btkCntVec<KxSong*> songs;
        db->getSongs(songs);
        for (KxSong* s : songs)
            if (s->title == title) return s;
        return nullptr;
    }
    QString fields(QWidget* w) const {
        QString out;
        for (QLabel* l : w->findChildren<QLabel*>()) out += l->text() + "|";
        return out;
    }
};

TEST_F(InternetWindowsTest, LoginWizardPagesAndDifferingPasswords) {
    start();
    Tloginwizardfrm& form = *loginwizardfrm;
    int runs = 0;
    form.runner = [&](Tloginwizardfrm& f) {
        ++runs;
        const struct {
            QPushButton* Tvclwizardfootfrm::*button;
            bool newAccount;
            int page;
            const char* buttons;  // prev next finish
        } steps[] = {
            {nullptr, false, 0, "010"},
            {&Tvclwizardfootfrm::btnext, false, 2, "101"},
            {&Tvclwizardfootfrm::btprev, true, 0, "010"},
            {&Tvclwizardfootfrm::btnext, true, 1, "101"},
        };
        for (const auto& s : steps) {
            if (s.newAccount) f.howaccount1->setChecked(true);
            if (s.button) (f.foot->*s.button)->click();
            EXPECT_EQ(f.wizard->currentPage(), s.page);
            const QString buttons = QString("%1%2%3")
                                        .arg(f.foot->btprev->isEnabled())
                                        .arg(f.foot->btnext->isEnabled())
                                        .arg(f.foot->btfinish->isEnabled());
            EXPECT_EQ(buttons, s.buttons) << s.page;
        }
        f.login->setText("novak");
        f.password1->setText("a");
        f.password2->setText("b");
        f.foot->btfinish->click();  // refused before anything is sent
        EXPECT_EQ(f.wizard->currentPage(), 1);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&f, &esc);
        EXPECT_FALSE(f.isVisible());
    };
    mainfrm->actionlist.find("a_login")->trigger();
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].text, btkstring("Liší se heslo a jeho opis"));
    EXPECT_FALSE(LoginRef::isSet());
    // The next run starts on the first page again, with the texts kept.
    form.runner = [](Tloginwizardfrm& f) {
        EXPECT_EQ(f.wizard->currentPage(), 0);
        EXPECT_EQ(f.login->text(), "novak");
    };
    mainfrm->actionlist.find("a_login")->trigger();
}

TEST_F(InternetWindowsTest, LoginWizardWithoutConnectionFileSaysSoAndStaysOpen) {
    start();
    const struct {
        bool newAccount;
        int page;
    } cases[] = {{false, 2}, {true, 1}};
    for (const auto& c : cases) {
        boxes().reset();
        loginwizardfrm->runner = [&](Tloginwizardfrm& f) {
            (c.newAccount ? f.howaccount1 : f.howaccount0)->setChecked(true);
            f.foot->btnext->click();
            f.foot->btfinish->click();
            EXPECT_EQ(f.wizard->currentPage(), c.page);
            EXPECT_NE(f.result(), QDialog::Accepted);
        };
        mainfrm->actionlist.find("a_login")->trigger();
        ASSERT_EQ(boxes().shown().size(), 1u) << c.page;
        EXPECT_EQ(boxes().shown()[0].text, btkstring("Nebyl načten soubor cfg/connect.xml s údaji o připojení"));
    }
}

TEST_F(InternetWindowsTest, AutologinFileIsPrivateAndReplacedWhole) {
    folder.write("cfg/autologin.txt", btkFormat("\r\nstary\r\n%s\r\ntreti\r\n", btkScramblePassword("h1").c_str()));
    chmod(folder.path("cfg/autologin.txt"), 0644);
    start();
    const struct {
        const char* button;
        bool result;
        const char* file;  // "" when the file is gone
    } rows[] = {{"Storno", false, nullptr}, {"OK", true, "novy"}, {"Smazat", true, ""}, {"Smazat", true, ""}};
    for (const auto& r : rows) {
        frkBrowse::runner = [&](frkBrowse& d) {
            auto edits = d.form()->findChildren<QLineEdit*>();
            if (!r.file) {  // the file as it was: first two non-empty lines
                EXPECT_EQ(edits[0]->text(), "stary");
                EXPECT_EQ(edits[1]->text(), "h1");
                EXPECT_EQ(edits[1]->echoMode(), QLineEdit::Password);
            }
            edits[0]->setText("novy");
            edits[1]->setText("tajne");
            for (int i = 0; d.commandButton(i); ++i)
                if (d.commandButton(i)->text() == btkToQString(r.button)) d.commandButton(i)->click();
        };
        EXPECT_EQ(runAutologinDialog(), r.result) << r.button;
        frkBrowse::runner = nullptr;
        struct stat st {};
        const bool exists = stat(folder.path("cfg/autologin.txt"), &st) == 0;
        if (!r.file) {
            EXPECT_EQ(st.st_mode & 0777, 0644u);
        } else if (*r.file) {
            EXPECT_EQ(st.st_mode & 0777, 0600u);
            EXPECT_EQ(folder.read("cfg/autologin.txt"),
                      btkFormat("novy\r\n%s\r\n", btkScramblePassword("tajne").c_str()));
        } else {
            EXPECT_FALSE(exists);
        }
    }
    // Without a connection the login is skipped silently; the file is
    // written all the same.
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(InternetWindowsTest, SyncOptionsCountsChoicesAndLanguage) {
    folder.write("db/Net.xml", DatabaseXml({{"Nova1", 0, "a", ""},
                                            {"Nova2", 0, "b", ""},
                                            {"Nova3", 0, "c", ""},
                                            {"Zmenena", 7, "d", "netmodified=\"1\""},
                                            {"Smazana", 8, "e", "special=\"netdelete\""},
                                            {"Beze", 0, "", ""}}));
    start();
    KxDatabase* db = database(0);
    for (bool confirm : {false, true}) {
        InetSynProps props;
        songsubsetfrm->runner = [&](Tsongsubsetfrm& f) {
            f.removeAll();
            f.tick(song(db, "Nova3"));
            f.tick(song(db, "Nova1"));
            return QDialog::Accepted;
        };
        frkBrowse::runner = [&](frkBrowse& d) {
            EXPECT_EQ(fields(d.form()).section('|', 0, 5),
                      btkToQString("Nové písně:|0/3|Upravené písně:|0/1|Smazané písně:|0/1"));
            auto buttons = d.form()->findChildren<QPushButton*>();
            auto checks = d.form()->findChildren<QCheckBox*>();
            checks[0]->setChecked(false);  // upload off, download missing on
            checks[2]->setChecked(true);
            buttons[0]->click();  // "Seznam..." of the new songs
            EXPECT_EQ(fields(d.form()).section('|', 1, 1), "2/3");
            EXPECT_FALSE(checks[0]->isChecked());  // kept through the new counts
            QComboBox* language = d.form()->findChild<QComboBox*>();
            EXPECT_FALSE(language->isEditable());
            EXPECT_EQ(btkFromQString(language->currentText()), btkstring("Vše"));
            language->setCurrentIndex(language->findText(btkToQString("Čeština a Slovenština")));
            d.commandButton(confirm ? 0 : 1)->click();
        };
        EXPECT_EQ(runSyncOptionsDialog(db, props), confirm);
        frkBrowse::runner = nullptr;
        // The chosen songs count at once; the rest only when confirmed.
        ASSERT_EQ(props.newSongs.count(), 2);
        EXPECT_EQ(props.newSongs[0]->title, btkstring("Nova3"));
        EXPECT_EQ(props.upload, !confirm);
        EXPECT_EQ(props.downloadMissing, confirm);
        EXPECT_TRUE(props.download);
        EXPECT_EQ(props.condition, btkstring(confirm ? "lang='cz' or lang='sk'" : ""));
    }
    // The download prompt shares the language row.
    btkstring name = "inet.xml";
    InetSynProps download;
    frkBrowse::runner = [](frkBrowse& d) {
        d.form()->findChild<QLineEdit*>()->setText("moje");
        d.form()->findChild<QComboBox*>()->setCurrentIndex(2);
        d.commandButton(0)->click();
    };
    EXPECT_TRUE(runDownloadDialog("Stáhnutí internetové databáze", name, download));
    frkBrowse::runner = nullptr;
    EXPECT_EQ(name, btkstring("moje"));
    EXPECT_EQ(download.condition, btkstring("lang='sk'"));
}

TEST_F(InternetWindowsTest, InternalSyncAppliesExactlyTheTickedChanges) {
    folder.write("db/A.xml", DatabaseXml({{"One", 1, "x", ""}, {"Two", 2, "y", ""}, {"Three", 3, "z", ""}}));
    folder.write("db/B.xml", DatabaseXml({{"Two", 2, "old", ""}, {"Four", 4, "w", ""}}));
    start();
    KxDatabase* source = database(0);
    KxDatabase* target = database(1);
    int subsets = 0;
    songsubsetfrm->runner = [&](Tsongsubsetfrm& f) {
        ++subsets;
        f.removeAll();
        if (subsets == 1) f.tick(song(source, "One"));
        return QDialog::Accepted;
    };
    internalsynfrm->runner = [&](Tinternalsynfrm& f) {
        EXPECT_EQ(f.srcdb->count(), 2);
        f.srcdb->setCurrentIndex(1);
        f.dstdb->setCurrentIndex(1);
        f.foot->btnext->click();  // the same database twice
        EXPECT_EQ(f.wizard->currentPage(), 0);
        // Both ways round once, so the plan is built anew.
        f.dstdb->setCurrentIndex(0);
        f.foot->btnext->click();
        f.foot->btprev->click();
        f.srcdb->setCurrentIndex(0);
        f.dstdb->setCurrentIndex(1);
        f.foot->btnext->click();
        EXPECT_EQ(f.wizard->currentPage(), 1);
        EXPECT_EQ(btkFromQString(f.head->subtitle->text()),
                  btkstring("Umožňuje omezit operace, které se při synchronizaci provedou"));
        EXPECT_EQ(f.newcnt->text() + f.upcnt->text() + f.delcnt->text(), "211");
        f.Button1->click();  // new: only One
        f.Button3->click();  // deleted: none
        EXPECT_EQ(f.newcnt->text() + f.upcnt->text() + f.delcnt->text(), "110");
        f.foot->btfinish->click();
    };
    mainfrm->actionlist.find("a_internalsyn")->trigger();
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].text, btkstring("Nejsou vybrány dvě různé databáze"));
    EXPECT_EQ(songsOf(target), "Two:y Four:w One:x ");

    // Cancel after preparing applies nothing.
    internalsynfrm->runner = [](Tinternalsynfrm& f) {
        f.srcdb->setCurrentIndex(0);
        f.dstdb->setCurrentIndex(1);
        f.foot->btnext->click();
        f.foot->btcancel->click();
    };
    EXPECT_FALSE(internalsynfrm->Execute());
    EXPECT_EQ(songsOf(target), "Two:y Four:w One:x ");
}

}  // namespace
