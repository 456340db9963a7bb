// The wizard controller on a form of three tab pages: page order, the
// footer's buttons, the header, Esc.
#include "frk/qt/vclwizard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "foundation/qt/btkqstring.h"

namespace {

class TestWizard final : public vclWizard {
public:
    void cancel() override { ++cancelled; }
    btkstring pageSubtitle() override { return currentPage() == 1 ? "middle" : ""; }
    int cancelled = 0;
};

class TestForm final : public vclWizardForm {
public:
    explicit TestForm(int pageCount) {
        auto* column = new QVBoxLayout(this);
        head = new Tvclwizardheadfrm(this);
        pager = new QTabWidget(this);
        foot = new Tvclwizardfootfrm(this);
        for (int i = 0; i < pageCount; ++i) {
            auto* sheet = new QWidget;
            new QWidget(sheet);  // the page's panel
            pager->addTab(sheet, QString("Page %1").arg(i));
        }
        column->addWidget(head);
        column->addWidget(pager);
        column->addWidget(foot);
        wizard.init(pager, head, foot);
    }
    // "prev next finish cancel", each 1 when enabled.
    QString buttons() const {
        return QString("%1%2%3%4")
            .arg(foot->btprev->isEnabled())
            .arg(foot->btnext->isEnabled())
            .arg(foot->btfinish->isEnabled())
            .arg(foot->btcancel->isEnabled());
    }
    QTabWidget* pager;
    TestWizard wizard;
};

TEST(vclWizard, PagesButtonsHeaderAndEsc) {
    TestForm form(3);
    form.show();
    form.wizard.showPage(0);
    EXPECT_FALSE(form.pager->isVisible());
    const struct {
        QPushButton* Tvclwizardfootfrm::*button;
        int page;
        const char* buttons;
        const char* subtitle;
    } steps[] = {
        {nullptr, 0, "0101", ""},
        {&Tvclwizardfootfrm::btnext, 1, "1101", "middle"},
        {&Tvclwizardfootfrm::btnext, 2, "1011", ""},
        {&Tvclwizardfootfrm::btprev, 1, "1101", "middle"},
    };
    for (const auto& s : steps) {
        if (s.button) (form.foot->*s.button)->click();
        EXPECT_EQ(form.wizard.currentPage(), s.page);
        EXPECT_EQ(form.buttons(), s.buttons) << s.page;
        EXPECT_EQ(form.head->title->text(), QString("Page %1").arg(s.page));
        EXPECT_EQ(btkFromQString(form.head->subtitle->text()), btkstring(s.subtitle));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(form.wizard.pagePanel(i)->isVisible(), i == s.page);
    }
    // Esc is the cancel button: the wizard's cancel, then the form closes.
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&form, &esc);
    EXPECT_EQ(form.wizard.cancelled, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

}  // namespace
