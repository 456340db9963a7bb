// The options dialog with its shortcut page, the stored action settings,
// and the database properties dialog: user columns and the duplicate test,
// driven from the main window's actions.
#include <cstring>
#include <iterator>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QTimer>

#include "app/main/songgridmodel.h"
#include "app/main/vcllogwinfrm.h"
#include "app/program.h"
#include "app/settings/fontbutton.h"
#include "app/windows.h"
#include "appenv.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkshortcut.h"
#include "songs/kxdatabase.h"
#include "songs/kxspace.h"
#include "songs/uibridge.h"

namespace {

class SettingsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder.write("options.xml",
                     "<options db=\"0\"><settings><mainwin><actions>"
                     "<a_newsong shortcut=\"Ctrl+N\" title=\"Nová\" />"
                     "<a_active_db shortcut=\"Ctrl+B\" />"
                     "</actions></mainwin></settings></options>");
        folder.write("db/alfa.xml", songs({"[C]Skákal pes přes oves", "[G]Pec nám spadla", "[C]Skákal pes přes oves"}));
        previous = btkSetDialogBackend(&dialogs);
        start();
        idle();
    }
    void TearDown() override {
        end();
        btkSetDialogBackend(previous);
    }
    static btkstring songs(std::initializer_list<const char*> texts) {
        btkstring xml =
            "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<melodar_data version=\"4.0\" >\n<database >\n";
        int id = 0;
        for (const char* text : texts)
            xml += btkFormat("<song title=\"S%d\" locid=\"%d\" >\n<text xml:space=\"preserve\" >%s</text>\n</song>\n",
                             id + 1, id + 1, text),
                ++id;
        return xml + "</database>\n</melodar_data>\n";
    }
    QAction* action(const char* name) { return mainfrm->actionlist.find(name); }
    btkstring shortcutOf(const char* name) { return btkShortCutToText(action(name)->shortcut()); }
    KxDatabase* database() { return gKxSpace->getView(0)->asDatabase(); }

    btkScriptedDialogs dialogs;
    btkDialogBackend* previous = nullptr;
};

// Picks the row of the list whose text is the given one, as a click does.
void clickRow(QListWidget* list, const char* text, const std::function<void()>& click) {
    const auto found = list->findItems(btkToQString(text), Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << text;
    list->setCurrentItem(found.first());
    click();
}

TEST_F(SettingsTest, ShortcutSetInTheOptionsReachesTheActionAndSurvivesARestart) {
    EXPECT_EQ(shortcutOf("a_newsong"), btkstring("Ctrl+N"));
    EXPECT_EQ(btkFromQString(action("a_newsong")->text()), btkstring("Nová"));
    optionsfrm->runner = [](Toptionsfrm& w) {
        Tkeyeditfrm& keys = *w.mainwinkeys;
        // Categories beginning with "_" are not offered.
        EXPECT_TRUE(keys.groups->findItems(QStringLiteral("_toolbar"), Qt::MatchExactly).isEmpty());
        clickRow(keys.groups, "Píseň", [&] { keys.groupsClick(); });
        EXPECT_EQ(btkFromQString(keys.actions->item(0)->text()), btkstring("Nová"));
        clickRow(keys.actions, "Upravit", [&] { keys.actionsClick(); });
        keys.shortcut->setValue(btkTextToShortCut("Ctrl+N"));  // held by a_newsong: taken from it
        clickRow(keys.groups, "Databáze", [&] { keys.groupsClick(); });
        clickRow(keys.groups, "Píseň", [&] { keys.groupsClick(); });
        clickRow(keys.actions, "Upravit", [&] { keys.actionsClick(); });
        EXPECT_EQ(btkFromQString(keys.shortcut->text()), QStringLiteral("Ctrl+N"));
        return int(QDialog::Accepted);
    };
    action("a_options")->trigger();
    EXPECT_EQ(shortcutOf("a_editsong"), btkstring("Ctrl+N"));
    EXPECT_EQ(shortcutOf("a_newsong"), btkstring());
    const btkXMLNode stored = OptionsRoot().childByName("settings").childByName("mainwin").childByName("actions");
    // Every offered action is written, titles stay as they were.
    EXPECT_TRUE(stored.childByName("a_quit").hasAttr("shortcut"));
    EXPECT_EQ(stored.childByName("a_newsong").attr("title"), btkstring("Nová"));
    EXPECT_FALSE(stored.childByName("a_editsong").hasAttr("title"));
    EXPECT_EQ(stored.childByName("a_active_db").attr("shortcut"), btkstring("Ctrl+B"));

    SaveOptions();  // as the program's close does
    end();
    EXPECT_NE(std::strstr(folder.read("options.xml").c_str(), "<a_editsong shortcut=\"Ctrl+N\""), nullptr);
    start();
    idle();
    EXPECT_EQ(shortcutOf("a_editsong"), btkstring("Ctrl+N"));
}

// The printer set-up of "Nastavení tiskárny" is kept in options.xml and is
// the same after a restart; an options.xml without it (an older one) gives
// the PDF page's 5 mm margins.
TEST_F(SettingsTest, PrinterSetupSurvivesARestart) {
    auto margins = [] {
        const QMarginsF m = getPrinterProps()->pageLayout().margins(QPageLayout::Millimeter);
        return std::vector<double>{m.left(), m.top(), m.right(), m.bottom()};
    };
    ASSERT_FALSE(getPrinterProps()->isValid());  // no printer here: the PDF page
    EXPECT_EQ(margins(), (std::vector<double>{5, 5, 5, 5}));
    dialogs.printers.push_back([](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Landscape);
        return printer.setPageMargins(QMarginsF(12, 7.5, 9, 20), QPageLayout::Millimeter);
    });
    action("a_printersetup")->trigger();
    SaveOptions();  // as the program's close does
    end();
    start();
    idle();
    EXPECT_EQ(margins(), (std::vector<double>{12, 7.5, 9, 20}));
    EXPECT_TRUE(getPrinterProps()->landscape());
    EXPECT_EQ(getPrinterProps()->pageLayout().pageSize().id(), QPageSize::A5);
}

TEST(KeyEdit, KeysWithoutControlOrAltGetAlt) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
    } rows[] = {
        {Qt::Key_F5, Qt::NoModifier, "Alt+F5"},
        {Qt::Key_A, Qt::ShiftModifier, "Shift+Alt+A"},
        {Qt::Key_Delete, Qt::ControlModifier, "Ctrl+Del"},
        {Qt::Key_Control, Qt::ControlModifier, "Ctrl+Del"},  // a modifier alone changes nothing
        {Qt::Key_Eacute, Qt::ControlModifier, "Ctrl+Del"},   // nor a key without a stored name
    };
    KeyEdit edit;
    int left = 0;
    edit.left = [&] { ++left; };
    for (const auto& r : rows) {
        QKeyEvent press(QEvent::KeyPress, r.key, r.modifiers);
        QApplication::sendEvent(&edit, &press);
        EXPECT_EQ(btkShortCutToText(edit.value()), btkstring(r.text)) << r.key;
    }
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&edit, &out);
    EXPECT_EQ(left, 1);
}

TEST_F(SettingsTest, OptionsWrittenOnlyOnOkWithEveryNode) {
    const btkstring before = OptionsRoot().toString();
    optionsfrm->runner = [](Toptionsfrm& w) {
        w.vinacs->setChecked(true);
        w.pslspacehi->setValue(150);
        return int(QDialog::Rejected);
    };
    action("a_options")->trigger();
    EXPECT_EQ(OptionsRoot().toString(), before);

    dialogs.fonts.push_back({QFont(QStringLiteral("DejaVu Serif"), 14), QColor(0, 0, 255)});
    dialogs.colors.push_back(QColor(255, 0, 0));
    optionsfrm->runner = [](Toptionsfrm& w) {
        w.csongv->choose();
        EXPECT_FALSE(w.vinacs->isChecked());
        EXPECT_EQ(w.pslspacehi->value(), 0);
        w.fsongvtext->click();
        w.vinacs->setChecked(true);
        w.pslspacehi->setValue(150);
        return int(QDialog::Accepted);
    };
    action("a_options")->trigger();
    const btkXMLNode& root = OptionsRoot();
    EXPECT_EQ(root.childByName("view").intAttr("inacs"), 1);
    EXPECT_EQ(root.childByName("print").intAttr("slspacehi"), 150);
    const btkXMLNode font = root.childByName("view").childByName("fonts").childByName("fntext");
    EXPECT_EQ(font.attr("name"), btkstring("DejaVu Serif"));
    EXPECT_EQ(font.intAttr("size"), 14);
    EXPECT_EQ(font.attr("color"), btkstring("Blue"));
    EXPECT_TRUE(root.childByName("print").childByName("fonts").childByName("fnauthor").hasAttr("size"));
    // Colours missing from the options stay missing; a chosen one is kept.
    EXPECT_FALSE(root.childByName("settings").childByName("mainwin").hasAttr("grid.color"));
    EXPECT_EQ(root.childByName("settings").childByName("mainwin").attr("songv.color"), btkstring("Red"));
    // The song view follows at once.
    EXPECT_EQ(mainfrm->songv->fntext.font.family(), QStringLiteral("DejaVu Serif"));
}

// Qt's own font and colour dialogs confirmed as they open, from the song
// view's "Text" button: the stored font comes back as it was (an upright
// font stays upright, a family missing here keeps its name). The fixed-pitch
// chooser of the export filters does the same.
TEST_F(SettingsTest, FontConfirmedUnchangedStaysTheSame) {
    btkSetDialogBackend(nullptr);
    int confirmed = 0;
    QTimer confirm;
    QObject::connect(&confirm, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if ((qobject_cast<QFontDialog*>(w) || qobject_cast<QColorDialog*>(w)) && w->isVisible()) {
                static_cast<QDialog*>(w)->accept();
                ++confirmed;
            }
    });
    confirm.start(10);
    auto attributes = [](const btkXMLNode& font) {
        return btkFormat("%s %d b%d i%d u%d s%d %s", font.attr("name").c_str(), font.intAttr("size"),
                         font.intAttr("bold"), font.intAttr("italic"), font.intAttr("underline"),
                         font.intAttr("strikeout"), font.attr("color").c_str());
    };
    const struct {
        const char* name;
        int bold, italic, underline;
    } rows[] = {
        {"DejaVu Sans", 0, 0, 0},      {"DejaVu Sans", 1, 0, 1}, {"DejaVu Serif", 0, 1, 0},
        {"DejaVu Sans Mono", 1, 1, 0}, {"Arial", 1, 0, 0},
    };
    for (const auto& r : rows) {
        btkXMLNode fntext = OptionsRoot().getChild("view").getChild("fonts").getChild("fntext");
        fntext.setAttr("name", r.name);
        fntext.setIntAttr("size", 11);
        fntext.setIntAttr("bold", r.bold);
        fntext.setIntAttr("italic", r.italic);
        fntext.setIntAttr("underline", r.underline);
        fntext.setAttr("color", "Blue");
        const btkstring before = attributes(fntext);
        optionsfrm->runner = [](Toptionsfrm& w) {
            w.fsongvtext->click();
            return int(QDialog::Accepted);
        };
        action("a_options")->trigger();
        EXPECT_EQ(attributes(OptionsRoot().childByName("view").childByName("fonts").childByName("fntext")), before);
    }
    FontButton fixed("fixed", "Text");
    fixed.fixedPitch = true;
    fixed.value.font = QFont(QStringLiteral("DejaVu Sans Mono"), 9);
    fixed.click();
    EXPECT_EQ(fixed.value.font, QFont(QStringLiteral("DejaVu Sans Mono"), 9));
    EXPECT_EQ(confirmed, 2 * int(std::size(rows)) + 2);
    btkSetDialogBackend(&dialogs);
}

TEST_F(SettingsTest, UserColumnsAreEditedInPlaceAndShownInTheGrid) {
    const int before = mainfrm->list->model->columnCount();
    dbpropsfrm->runner = [](Tdbpropsfrm& w) {
        w.Button1->click();
        w.Button1->click();
        EXPECT_EQ(w.cols->count(), 2);
        w.cols->setCurrentRow(0);
        w.colsClick();
        w.colname->setText(QStringLiteral("tempo"));
        w.cols->setCurrentRow(1);
        w.colsClick();                       // the first keeps its new name
        w.Button4->click();                  // ">>" on the last: nothing
        w.Button3->click();                  // "<<": "novy2" first
        EXPECT_EQ(w.cols->currentRow(), 1);  // the selection keeps its index
        return int(QDialog::Accepted);
    };
    action("a_dbprops")->trigger();
    idle();
    ASSERT_EQ(database()->customCols.count(), 2);
    EXPECT_EQ(database()->customCols[0], btkstring("novy2"));
    EXPECT_EQ(database()->customCols[1], btkstring("tempo"));
    EXPECT_TRUE(database()->isChanged());
    idle(200);
    ASSERT_EQ(mainfrm->list->model->columnCount(), before + 2);
    EXPECT_EQ(btkFromQString(mainfrm->list->model->headerData(before, Qt::Horizontal).toString()), btkstring("novy2"));
}

TEST_F(SettingsTest, UserColumnsGetFreeNamesAndATakenNameIsRefused) {
    dbpropsfrm->runner = [this](Tdbpropsfrm& w) {
        for (int i = 0; i < 3; ++i) w.Button1->click();
        w.cols->setCurrentRow(1);
        w.colsClick();
        w.colname->setText(QStringLiteral("novy"));  // taken by the first
        w.cols->setCurrentRow(2);
        w.colsClick();
        EXPECT_TRUE(boxShown("Sloupec s názvem \"novy\" už existuje, název sloupce se nezměnil"));
        w.colname->setText(QStringLiteral("novy3"));  // its own name
        w.Button2->click();
        w.Button1->click();  // the freed name is the first free one
        return int(QDialog::Accepted);
    };
    action("a_dbprops")->trigger();
    const btkStrings& names = database()->customCols;
    ASSERT_EQ(names.count(), 3);
    EXPECT_EQ(names[0], btkstring("novy"));
    EXPECT_EQ(names[1], btkstring("novy2"));
    EXPECT_EQ(names[2], btkstring("novy3"));
    EXPECT_EQ(boxes().shown().size(), 1u);
}

TEST_F(SettingsTest, DuplicateTestFindsThePairOrRefusesBadNumbers) {
    EXPECT_TRUE([] {
        float v = 0;
        return ParseDecimalText("0,25", v) && v == 0.25f && ParseDecimalText(" 1000.5 ", v) && v == 1000.5f &&
               !ParseDecimalText("", v) && !ParseDecimalText("1.2.3", v) && !ParseDecimalText("abc", v) &&
               !ParseDecimalText("inf", v);
    }());
    dbpropsfrm->runner = [](Tdbpropsfrm& w) {
        w.MAX_TEXT_DIFF_KOEF->setText(QStringLiteral("0,3x"));
        w.Button5->click();
        return int(QDialog::Rejected);
    };
    action("a_dbprops")->trigger();
    EXPECT_TRUE(boxes().shown().size() == 1);
    EXPECT_EQ(OpenLogWindowCount(), 0);

    // "Zrušit test" while the test runs: no report.
    dbpropsfrm->runner = [](Tdbpropsfrm& w) {
        w.MAX_TEXT_DIFF_KOEF->setText(QStringLiteral("0,3"));
        QTimer::singleShot(0, w.Button7, [&w] { w.Button7->click(); });
        w.Button5->click();
        return int(QDialog::Accepted);
    };
    action("a_dbprops")->trigger();
    EXPECT_EQ(OpenLogWindowCount(), 0);
    EXPECT_EQ(boxes().shown().size(), 1u);

    dbpropsfrm->runner = [](Tdbpropsfrm& w) {
        w.Button5->click();
        EXPECT_EQ(w.dbltestsum->text(), QStringLiteral("???"));
        return int(QDialog::Accepted);
    };
    action("a_dbprops")->trigger();
    ASSERT_EQ(OpenLogWindowCount(), 1);
    const btkstring log = OpenLogWindowAt(0)->logctrl->text();
    EXPECT_NE(std::strstr(log.c_str(), "S1"), nullptr) << log.c_str();
    EXPECT_NE(std::strstr(log.c_str(), "S3"), nullptr);
    EXPECT_EQ(std::strstr(log.c_str(), "S2"), nullptr);
}

}  // namespace
