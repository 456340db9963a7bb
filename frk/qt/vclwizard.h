// The wizard framework: a form holds a QTabWidget whose pages each carry one
// panel, a header frame and a footer frame. The controller vclWizard takes
// the panels out of the tab widget (which stays hidden), shows one at a
// time, puts the tab's caption and the wizard's subtitle into the header
// and enables the footer's buttons from its queries, asked each time a page
// is shown. A concrete wizard overrides the transitions and queries.
//
// The footer's buttons call the wizard's prev, next, finish and cancel;
// cancel then also ends the modal form with the cancel result, and Esc on a
// vclWizardForm clicks it (so both pass through the form's close query).
#pragma once

#include <QFrame>

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "foundation/qt/btkform.h"

class QLabel;
class QPushButton;
class QTabWidget;
class vclWizard;

// The header: title and subtitle of the page shown.
class Tvclwizardheadfrm final : public QFrame {
public:
    explicit Tvclwizardheadfrm(QWidget* parent);
    QLabel* title;
    QLabel* subtitle;
    vclWizard* wizard = nullptr;
};

// The footer: "Zpět", "Další", "Ukončit" and "Storno".
class Tvclwizardfootfrm final : public QFrame {
public:
    explicit Tvclwizardfootfrm(QWidget* parent);
    QPushButton* btprev;
    QPushButton* btnext;
    QPushButton* btfinish;
    QPushButton* btcancel;
    vclWizard* wizard = nullptr;
};

class vclWizard {
public:
    vclWizard() = default;
    vclWizard(const vclWizard&) = delete;
    vclWizard& operator=(const vclWizard&) = delete;
    // The panels stay with the form.
    virtual ~vclWizard() = default;

    // Takes each tab's first child widget as a page titled with the tab's
    // caption and moves it onto the tab widget's parent (into its layout,
    // where the tab widget stands); hides the tab widget and every page.
    void init(QTabWidget* pager, Tvclwizardheadfrm* head, Tvclwizardfootfrm* foot);
    // Hides the current page, shows page index (within the pages), then
    // sets the footer's buttons and the header.
    void showPage(int index);
    int currentPage() const { return current; }
    int pageCount() const { return pages.count(); }
    QWidget* pagePanel(int index) const { return pages.at(index)->panel; }
    void setPageVisible(int index, bool visible);

    virtual void finish() {}
    virtual void cancel() {}
    virtual void next() { showPage(current + 1); }
    virtual void prev() { showPage(current - 1); }
    virtual bool canNext() { return current < pageCount() - 1; }
    virtual bool canPrev() { return current > 0; }
    virtual bool canCancel() { return true; }
    virtual bool canFinish() { return current == pageCount() - 1; }
    virtual btkstring pageSubtitle() { return btkstring(); }

private:
    struct Page {
        QWidget* panel;
        btkstring title;
    };
    int current = -1;
    QTabWidget* pager = nullptr;
    Tvclwizardheadfrm* head = nullptr;
    Tvclwizardfootfrm* foot = nullptr;
    btkObjArray<Page> pages;
};

// A wizard's form: Esc clicks the footer's cancel button while it is
// enabled. The derived form makes head and foot and lays them out.
class vclWizardForm : public btkDialogForm {
public:
    Tvclwizardheadfrm* head = nullptr;
    Tvclwizardfootfrm* foot = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
