// Tinternalsynfrm ("Interní synchronizace"): synchronises two open local
// song databases. Page "Databáze k synchronizování" picks the source and
// the target; next prepares the plan (every candidate chosen) and page
// "Filtr operací" shows how many songs would be added, changed and deleted
// in the target, each list narrowed through the song subset window. Only
// finish applies the plan; cancel or the close box change nothing.
#pragma once

#include <functional>
#include <memory>

#include "foundation/btkarray.h"
#include "frk/qt/vclwizard.h"
#include "songs/internalsync.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class Tinternalsynfrm;

class InternalSynWizard final : public vclWizard {
public:
    explicit InternalSynWizard(Tinternalsynfrm& form) : form(form) {}
    void finish() override;
    // From the first page: "Nejsou vybrány dvě různé databáze" unless two
    // different databases are chosen; otherwise a new plan replaces the
    // old one and the counts page follows.
    void next() override;
    btkstring pageSubtitle() override;

private:
    Tinternalsynfrm& form;
};

class Tinternalsynfrm final : public vclWizardForm {
public:
    Tinternalsynfrm();
    ~Tinternalsynfrm() override;

    // Runs the wizard on the databases open now; true when the user
    // finished and the plan was applied.
    bool Execute();
    void Button1Click();  // new songs
    void Button2Click();  // changed songs, each beside its target song
    void Button3Click();  // deleted songs
    void showCounts();

    QTabWidget* pager = nullptr;
    QComboBox* srcdb = nullptr;
    QComboBox* dstdb = nullptr;
    QLabel* newcnt = nullptr;
    QLabel* upcnt = nullptr;
    QLabel* delcnt = nullptr;
    QLabel* skipcnt = nullptr;  // songs left out for want of an internet id
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

    btkCntVec<KxDatabase*> databases;  // in the order of the combo entries
    std::unique_ptr<InternalSyncPlan> plan;
    std::unique_ptr<InternalSynWizard> wizard;
    bool finished = false;

    // Tests: called with the form on its first page instead of running it.
    std::function<void(Tinternalsynfrm&)> runner;
};

extern Tinternalsynfrm* internalsynfrm;
