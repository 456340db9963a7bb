// The export filter list, the filter property dialogs, the custom export
// window and the text import window, driven from the main window's actions
// with scripted message boxes and file dialogs.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "app/main/songgridmodel.h"
#include "app/song/songsetfrm.h"
#include "app/windows.h"
#include "appenv.h"
#include "export/exportfilter.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxdatabase.h"
#include "songs/kxspace.h"
#include "songs/kxview.h"
#include "songs/uibridge.h"

namespace {

const char* const ExportData = KX6_SOURCE_DIR "/tests/export/data";

btkstring readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str().c_str();
}

class ExchangeTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder.write("options.xml", "<options db=\"0\" />");
        std::filesystem::create_directories(folder.path("db").c_str());
        std::filesystem::copy_file(btkFormat("%s/songs.xml", ExportData).c_str(), folder.path("db/songs.xml").c_str());
        previous = btkSetDialogBackend(&dialogs);
        start();
        idle();
    }
    void TearDown() override {
        end();
        btkSetDialogBackend(previous);
    }
    void trigger(const char* name) {
        mainfrm->actionlist.find(name)->trigger();
        idle();
    }
    // Runs the filter list with the steps.
    void inFilterList(const std::function<void(Texpflistfrm&)>& steps) {
        expflistfrm->runner = [steps](Texpflistfrm& w) {
            steps(w);
            return int(QDialog::Accepted);
        };
        trigger("a_exportfilters");
    }
    static void create(Texpflistfrm& w, const char* name, int kind) {
        w.newexpfname->setText(btkToQString(name));
        w.newexpftype->setCurrentIndex(kind);
        w.Button3->click();
    }
    static void select(QListWidget* list, const char* name) {
        const auto found = list->findItems(btkToQString(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        list->setCurrentItem(found.first());
    }
    // Runs the custom export with a filter, a song set and the outputs;
    // answers whether the window closed with OK.
    bool customExport(const char* filter, int songSet, const char* file, const char* dir) {
        bool ok = false;
        customexportfrm->runner = [&](Tcustomexportfrm& w) {
            select(w.expf, filter);
            w.expfClick();
            EXPECT_EQ(w.outfile->isEnabled(), file != nullptr);
            EXPECT_EQ(w.outdir->isEnabled(), dir != nullptr);
            w.songset->setChoice(songSet);
            w.outfile->setText(btkToQString(file ? file : ""));
            w.outdir->setText(btkToQString(dir ? dir : ""));
            ok = w.RunExport();
            return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
        trigger("a_customexport");
        return ok;
    }
    KxDatabase* database() { return gKxSpace->getView(0)->asDatabase(); }

    btkScriptedDialogs dialogs;
    btkDialogBackend* previous = nullptr;
};

TEST_F(ExchangeTest, NewFilterNamesAreCheckedBeforeAFileIsMade) {
    for (const char* name : {"a_options", "a_dbprops", "a_txtimport", "a_customexport", "a_exportfilters"})
        EXPECT_TRUE(mainfrm->actionlist.find(name)->isEnabled()) << name;
    const struct {
        const char* name;
        const char* box;
    } rows[] = {
        {"", "Není vyplněno jméno nového exportovacího filtru"},
        {"a/b", nullptr},
        {"a\\b", nullptr},
        {".skryty", nullptr},
        {"..", nullptr},
    };
    for (const auto& r : rows) {
        boxes().reset();
        boxes().quiet = true;
        inFilterList([&](Texpflistfrm& w) {
            create(w, r.name, 0);
            EXPECT_EQ(w.expfs->count(), 0) << r.name;
        });
        EXPECT_EQ(boxes().shown().size(), 1u) << r.name;
        if (r.box) {
            EXPECT_TRUE(boxShown(r.box));
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path("data/expf").c_str()));
    inFilterList([this](Texpflistfrm& w) {
        create(w, "Text", 0);
        create(w, "TEXT", 2);
        EXPECT_EQ(w.expfs->count(), 1);
        w.Button2->click();  // no row selected: only a refresh
        EXPECT_EQ(w.expfs->count(), 1);
        select(w.expfs, "Text");
        w.Button2->click();
        EXPECT_EQ(w.expfs->count(), 0);
        // A file that cannot be removed (here a folder took its place after
        // the list was filled) is reported.
        create(w, "Pevny", 0);
        std::filesystem::remove(folder.path("data/expf/Pevny.exp").c_str());
        std::filesystem::create_directory(folder.path("data/expf/Pevny.exp").c_str());
        select(w.expfs, "Pevny");
        w.Button2->click();
    });
    EXPECT_TRUE(boxShown("Exportovací filtr už existuje"));
    EXPECT_TRUE(boxShown("Exportovací filtr Pevny nelze vymazat: Is a directory"));
}

TEST_F(ExchangeTest, HtmlFilterExportsTheStackAsTheGoldenFile) {
    inFilterList([](Texpflistfrm& w) { create(w, "stranka", 2); });
    database()->ensureLoaded();
    gKxSpace->getStack()->songs = database()->songs;
    // A folder that does not exist: refused, nothing written.
    EXPECT_FALSE(customExport("stranka", 1, folder.path("chybi/x.html"), nullptr));
    EXPECT_TRUE(boxShown("Soubor nelze vytvořit"));
    ASSERT_TRUE(customExport("stranka", 1, folder.path("out.html"), nullptr));
    EXPECT_EQ(folder.read("out.html"), readFile(btkFormat("%s/golden/page.out", ExportData)));
    // A write that fails (no file can be made in /proc/self) is an error
    // box and a failed export; the window stays open.
    boxes().reset();
    boxes().quiet = true;
    EXPECT_FALSE(customExport("stranka", 1, "/proc/self/kx6-out.html", nullptr));
    EXPECT_EQ(boxes().shown().size(), 1u);

    // A filter file that names no kind is refused with a message.
    folder.write("data/expf/vadny.exp", "<?xml version=\"1.0\"?>\n<nic />\n");
    EXPECT_FALSE(customExport("vadny", 1, folder.path("x.html"), nullptr));
    EXPECT_TRUE(boxShown("Exportovací filtr vadny.exp nelze načíst"));
}

TEST_F(ExchangeTest, ShippedFiltersAreListedAndEachExports) {
    std::filesystem::create_directories(folder.path("data/expf").c_str());
    for (const auto& shipped : std::filesystem::directory_iterator(KX6_SOURCE_DIR "/dist/data/expf"))
        std::filesystem::copy_file(shipped.path(), folder.path("data/expf").c_str() / shipped.path().filename());
    const char* const streams[] = {"Prostý text", "RTF dokument", "HTML stránka", "Šablona ChordPro"};
    for (const char* name : streams) {
        const btkstring out = btkFormat("out-%d", int(&name - streams));
        ASSERT_TRUE(customExport(name, 2, folder.path(out), nullptr)) << name;
        EXPECT_GT(folder.read(out).length(), 200u) << name;
    }
    std::filesystem::create_directories(folder.path("web").c_str());
    ASSERT_TRUE(customExport("Webový adresář", 2, nullptr, folder.path("web")));
    EXPECT_TRUE(std::filesystem::exists(folder.path("web/index.html").c_str()));
}

TEST_F(ExchangeTest, OnlineFilterWritesAWebDirectory) {
    inFilterList([](Texpflistfrm& w) { create(w, "web", 4); });
    EXPECT_FALSE(customExport("web", 2, nullptr, folder.path("chybi")));
    EXPECT_TRUE(boxShown(btkFormat("Adresář neexistuje\n%s", folder.path("chybi").c_str())));
    std::filesystem::create_directories(folder.path("web").c_str());
    ASSERT_TRUE(customExport("web", 2, nullptr, folder.path("web")));
    EXPECT_TRUE(std::filesystem::exists(folder.path("web/grplist.html").c_str()));
    EXPECT_TRUE(std::filesystem::exists(folder.path("web/data/song0.html").c_str()));
    boxes().reset();
    boxes().quiet = true;
    EXPECT_FALSE(customExport("web", 2, nullptr, "/proc/self"));
    EXPECT_EQ(boxes().shown().size(), 1u);
}

TEST_F(ExchangeTest, OutputChoosersFillTheFieldOfTheFiltersKind) {
    inFilterList([](Texpflistfrm& w) {
        create(w, "web", 4);
        create(w, "prosty", 0);
    });
    const struct {
        const char* filter;
        QPushButton* Tcustomexportfrm::*chooser;
        QLineEdit* Tcustomexportfrm::*field;
        const char* chosen;
    } rows[] = {{"web", &Tcustomexportfrm::choosedir, &Tcustomexportfrm::outdir, "/tmp/web"},
                {"prosty", &Tcustomexportfrm::choosefile, &Tcustomexportfrm::outfile, "/tmp/pisne.txt"}};
    for (const auto& r : rows) {
        dialogs.files.push_back(r.chosen);
        customexportfrm->runner = [&](Tcustomexportfrm& w) {
            select(w.expf, r.filter);
            w.expfClick();
            EXPECT_TRUE((w.*r.chooser)->isEnabled()) << r.filter;
            (w.*r.chooser)->click();
            EXPECT_EQ(btkFromQString((w.*r.field)->text()), btkstring(r.chosen));
            return int(QDialog::Rejected);
        };
        trigger("a_customexport");
    }
}

TEST_F(ExchangeTest, PropertyDialogsWriteOnlyOnOk) {
    inFilterList([](Texpflistfrm& w) {
        create(w, "sablona", 3);
        create(w, "rtf", 1);
        create(w, "prosty", 0);
    });
    const btkstring rtfBefore = folder.read("data/expf/rtf.exp");
    rtfexpffrm->runner = [](Trtfexpffrm& w) {
        w.text->outacs->setChecked(true);
        return int(QDialog::Rejected);
    };
    customexpffrm->runner = [](Tcustomexpffrm& w) {
        w.custom->begindoc->setPlainText(QStringLiteral("<html>\n<body>"));
        w.custom->beginchord->setText(QStringLiteral("<b>"));
        w.text->inacs->setChecked(true);
        return int(QDialog::Accepted);
    };
    inFilterList([](Texpflistfrm& w) {
        for (const char* name : {"rtf", "sablona", "prosty"}) {
            select(w.expfs, name);
            w.Button1->click();
        }
    });
    EXPECT_EQ(folder.read("data/expf/rtf.exp"), rtfBefore);
    // Nothing to set is a notice, not an error.
    ASSERT_TRUE(boxShown("Exportovací filtr nemá žádné upravitelné vlastnosti"));
    for (const auto& box : boxes().shown()) {
        if (box.text == "Exportovací filtr nemá žádné upravitelné vlastnosti") {
            EXPECT_EQ(box.flags & 0xF0, btkMB_ICONINFORMATION);
        }
    }
    // The template comes back with its lines.
    customexpffrm->runner = [](Tcustomexpffrm& w) {
        EXPECT_EQ(w.custom->begindoc->toPlainText(), QStringLiteral("<html>\n<body>"));
        EXPECT_EQ(w.custom->beginchord->text(), QStringLiteral("<b>"));
        EXPECT_TRUE(w.text->inacs->isChecked());
        return int(QDialog::Rejected);
    };
    inFilterList([](Texpflistfrm& w) {
        select(w.expfs, "sablona");
        w.Button1->click();
    });
    const auto stored = loadExportFilter("sablona");
    const auto* templ = dynamic_cast<const CustomFileExportFilter*>(stored.get());
    ASSERT_NE(templ, nullptr);
    EXPECT_EQ(templ->custom.begindoc, btkstring("<html>\n<body>"));
}

TEST_F(ExchangeTest, TwoImportedFilesJoinTheActiveDatabase) {
    folder.write("a.txt", "Prvni\nAutor A\n[C]la la\n");
    folder.write("b.txt", "Druha\nAutor B\n[G]ta ta\n");
    database()->ensureLoaded();
    const int before = database()->songs.count();
    importfrm->runner = [&](Timportfrm& w) {
        w.Button1->click();  // no filter chosen: no file dialog
        EXPECT_EQ(dialogs.asked, 0);
        w.flts->setCurrentRow(0);
        dialogs.files = {folder.path("a.txt"), folder.path("b.txt")};
        w.Button1->click();
        idle(100);
        EXPECT_EQ(w.list->model->rowCount(), 2);
        // A database file that cannot be written is an error box; the
        // songs stay for the next try.
        boxes().quiet = true;
        dialogs.files = {"/proc/self/import.xml"};
        w.Button3->click();
        EXPECT_EQ(boxes().shown().size(), 1u);
        EXPECT_EQ(w.list->model->rowCount(), 2);
        dialogs.files = {folder.path("import.xml")};
        w.Button3->click();
        w.Button2->click();
        return int(QDialog::Accepted);
    };
    trigger("a_txtimport");
    ASSERT_EQ(database()->songs.count(), before + 2);
    EXPECT_EQ(database()->songs[before]->title, btkstring("Prvni"));
    EXPECT_EQ(database()->songs[before + 1]->author, btkstring("Autor B"));
    EXPECT_EQ(database()->songs[before + 1]->lang, btkstring("cz"));
    EXPECT_TRUE(database()->isChanged());
    EXPECT_NE(std::strstr(folder.read("import.xml").c_str(), "Druha"), nullptr);
}

}  // namespace
