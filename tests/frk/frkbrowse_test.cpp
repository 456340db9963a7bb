// frkBrowse on real widgets: the geometry of a built dialog, and that the
// caller's variables change only through OK.
#include "frk/qt/frkbrowse.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/qt/btkqstring.h"

namespace {

struct Values {
    btkstring login = "old";
    btkstring password = "secret";
    bool remember = true;
    int choice = 1;
};

// Two label and edit lines (the second a password), a check box and the
// default commands.
void build(frkBrowse& dlg, Values& v) {
    dlg.title("Test");
    frkConstStringSource::create(dlg, "Login").staticText();
    frkStringVarSource::create(dlg, v.login).edit();
    dlg.password();
    frkConstStringSource::create(dlg, "Heslo").staticText();
    frkStringVarSource::create(dlg, v.password).edit();
    frkBoolVarSource::create(dlg, v.remember);
    frkConstStringSource::create(dlg, "Pamatovat").check();
}

QString geometry(const QWidget* w) {
    return QString("%1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
}

TEST(frkBrowse, LaysOutLinesChecksAndCommands) {
    Values v;
    frkBrowse dlg;
    build(dlg, v);
    QStringList seen;
    frkBrowse::runner = [&](frkBrowse& d) {
        for (QWidget* w : d.form()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            seen << QString(w->metaObject()->className()) + " " + geometry(w);
        seen << geometry(d.form());
    };
    EXPECT_EQ(dlg.execute(), 0);
    frkBrowse::runner = nullptr;
    const QStringList expected = {
        "QLabel 10,5 200x21",  "QLineEdit 220,5 200x21",  "QLabel 10,30 200x21",      "QLineEdit 220,30 200x21",
        "QLabel 10,55 200x21", "QCheckBox 220,55 200x21", "QPushButton 80,85 130x25", "QPushButton 220,85 130x25",
    };
    EXPECT_EQ(seen.mid(0, 8), expected);
    EXPECT_EQ(seen.last().section(' ', 1), "430x115");
    auto edits = dlg.form()->findChildren<QLineEdit*>();
    EXPECT_EQ(edits[1]->echoMode(), QLineEdit::Password);  // the label left the option in place
    EXPECT_EQ(edits[0]->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(dlg.commandButton(0)->isDefault());
    EXPECT_EQ(btkFromQString(dlg.commandButton(1)->text()), btkstring("Storno"));
}

TEST(frkBrowse, WritesBackOnlyOnOk) {
    const struct {
        const char* how;
        int result;
        bool saved;
    } rows[] = {{"ok", -1, true}, {"cancel", 0, false}, {"esc", 0, false}, {"closebox", 0, false}};
    for (const auto& r : rows) {
        Values v;
        frkBrowse dlg;
        build(dlg, v);
        frkBrowse::runner = [&](frkBrowse& d) {
            d.form()->show();
            auto edits = d.form()->findChildren<QLineEdit*>();
            edits[0]->setText("new");
            edits[1]->setText("other");
            d.form()->findChild<QCheckBox*>()->setChecked(false);
            const QString how = r.how;
            if (how == "ok") d.commandButton(0)->click();
            if (how == "cancel") d.commandButton(1)->click();
            if (how == "esc") {
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(d.form(), &esc);
            }
            if (how == "closebox") d.form()->close();
            EXPECT_FALSE(d.form()->isVisible()) << r.how;
        };
        EXPECT_EQ(dlg.execute(), r.result) << r.how;
        frkBrowse::runner = nullptr;
        EXPECT_EQ(v.login, btkstring(r.saved ? "new" : "old")) << r.how;
        EXPECT_EQ(v.password, btkstring(r.saved ? "other" : "secret")) << r.how;
        EXPECT_EQ(v.remember, !r.saved) << r.how;
    }
}

class CommandDialog final : public frkBrowse {
public:
    void onCommand(int id) override {
        ++count;
        last = id;
        reload();
    }
    int count = 0, last = 0;
};

TEST(frkBrowse, ButtonsCombosAndOwnCommands) {
    CommandDialog dlg;
    btkstring condition = "b";
    int index = 5, counter = 2;
    frkStringVarSource::create(dlg, condition);
    dlg.valueSeparator(':');
    frkConstStringSource::create(dlg, ":All;a:Alpha;b:Beta").combo();
    frkIntVarSource::create(dlg, index);
    frkConstStringSource::create(dlg, "x;y").combo();
    frkIntVarSource::create(dlg, counter);
    dlg.format("%d items").staticText();
    frkCommandEvent::create(dlg, 7);
    frkConstStringSource::create(dlg, "List...").button();
    frkConstStringSource::create(dlg, "Nothing").button();
    dlg.saveEvent().closeWith(3).command("Save and 3", "");
    frkBrowse::runner = [&](frkBrowse& d) {
        auto combos = d.form()->findChildren<QComboBox*>();
        EXPECT_FALSE(combos[0]->isEditable());
        EXPECT_EQ(combos[0]->currentIndex(), 2);
        EXPECT_EQ(combos[1]->currentIndex(), -1);  // index 5 is no entry
        auto buttons = d.form()->findChildren<QPushButton*>();
        counter = 4;
        buttons[1]->click();  // no events: nothing happens
        EXPECT_EQ(dlg.count, 0);
        buttons[0]->click();
        EXPECT_EQ(d.form()->findChildren<QLabel*>()[0]->text(), "4 items");
        combos[0]->setCurrentIndex(0);
        d.commandButton(0)->click();
    };
    EXPECT_EQ(dlg.execute(), 3);
    frkBrowse::runner = nullptr;
    EXPECT_EQ(dlg.last, 7);
    EXPECT_EQ(condition, btkstring(""));  // the first entry's empty value
    EXPECT_EQ(index, -1);
}

}  // namespace
