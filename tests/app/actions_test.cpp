// Shortcut texts and the action settings the main window applies.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QToolBar>

#include "app/main/mainfrm.h"
#include "appenv.h"
#include "foundation/qt/btkactionlist.h"
#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkshortcut.h"

namespace {

TEST(ShortCutText, ReadsAndWritesTheStoredForm) {
    struct Case {
        const char* text;
        QKeySequence key;
    };
    const Case cases[] = {
        {"Ctrl+N", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"F4", QKeySequence(Qt::Key_F4)},
        {"Shift+Ctrl+Alt+Del", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_Delete)},
        {"Ctrl+Up", QKeySequence(Qt::CTRL | Qt::Key_Up)},
        {"Alt+5", QKeySequence(Qt::ALT | Qt::Key_5)},
        {"Shift+F12", QKeySequence(Qt::SHIFT | Qt::Key_F12)},
        {"PgDn", QKeySequence(Qt::Key_PageDown)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(btkTextToShortCut(c.text), c.key) << c.text;
        EXPECT_EQ(btkShortCutToText(c.key), btkstring(c.text)) << c.text;
    }
    // Case and modifier order do not matter when reading.
    EXPECT_EQ(btkTextToShortCut("alt+ctrl+x"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X));
    for (const char* bad : {"", "Ctrl+", "Ctrl+Nic", "F0", "F25", "+", "Ž"})
        EXPECT_TRUE(btkTextToShortCut(bad).isEmpty()) << bad;
    EXPECT_EQ(btkShortCutToText(QKeySequence()), btkstring());
}

TEST(ActionSettings, PresentAttributesApplyAbsentOnesLeaveTheAction) {
    QObject owner;
    btkActionList list;
    QAction* quit = list.add(&owner, "a_quit", "Konec", "Melodar");
    QAction* about = list.add(&owner, "a_about", "O programu", "Nápověda");
    about->setShortcut(QKeySequence(Qt::Key_F1));
    btkXMLNode actions;
    actions.parse(
        "<actions><a_quit shortcut=\"Alt+X\" title=\"Ukončit\" hint=\"Konec práce\" />"
        "<a_about title=\"Info\" /><a_neznama shortcut=\"F9\" /></actions>");
    list.applySettings(actions);
    EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    EXPECT_EQ(btkFromQString(quit->text()), btkstring("Ukončit"));
    EXPECT_EQ(btkActionList::hint(quit), btkstring("Konec práce"));
    EXPECT_EQ(btkFromQString(about->text()), btkstring("Info"));
    EXPECT_EQ(about->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(list.find("a_neznama"), nullptr);
    EXPECT_EQ(list.category(1), btkstring("Nápověda"));
}

class MainActionsTest : public AppTest {};

TEST_F(MainActionsTest, MainWindowAppliesTheStoredShortcutsWhenShown) {
    folder.write(
        "options.xml",
        "<options><settings><mainwin><actions><a_quit shortcut=\"Ctrl+Q\" /></actions></mainwin></settings></options>");
    start();
    EXPECT_EQ(mainfrm->actionlist.find("a_quit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(btkFromQString(mainfrm->actionlist.find("a_quit")->text()), btkstring("Konec"));
}

TEST_F(MainActionsTest, EachToolBarToggleHidesExactlyItsOwnPart) {
    start();
    Tmainfrm& w = *mainfrm;
    const char* const names[] = {"a_active_db", "a_base_toolbar", "a_celledit", "a_qedit", "a_transp"};
    // The part each toggle stands for, in the order of the names.
    QWidget* const parts[] = {w.dbs, w.toolbar_base, w.cell, w.toolbar_qedit, w.toolbar_transp};
    for (int off = 0; off < 5; ++off) {
        w.actionlist.find(names[off])->trigger();
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(parts[i]->isVisibleTo(&w), i != off) << names[off] << " hides? " << names[i];
            EXPECT_EQ(w.actionlist.find(names[i])->isChecked(), parts[i]->isVisibleTo(&w)) << names[i];
        }
        w.actionlist.find(names[off])->trigger();
        EXPECT_TRUE(parts[off]->isVisibleTo(&w)) << names[off];
    }
}

}  // namespace
