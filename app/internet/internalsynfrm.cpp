#include "app/internet/internalsynfrm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/song/songsubsetfrm.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxdatabase.h"
#include "songs/kxspace.h"

Tinternalsynfrm* internalsynfrm = nullptr;

namespace {

const char* const NoTwoDatabasesText = "Nejsou vybrány dvě různé databáze";

// A tab page holding one panel with a grid of rows.
QGridLayout* addPage(QTabWidget* pager, const char* sheetName, const char* caption) {
    auto* grid = btkAddPanelPage<QGridLayout>(pager, sheetName, caption);
    grid->setRowStretch(3, 1);
    return grid;
}

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

// ---- wizard

void InternalSynWizard::finish() {
    form.finished = true;
    form.accept();
}

void InternalSynWizard::next() {
    if (currentPage() != 0) {
        vclWizard::next();
        return;
    }
    const int src = form.srcdb->currentIndex();
    const int dst = form.dstdb->currentIndex();
    if (src < 0 || dst < 0 || src == dst || src >= form.databases.count() || dst >= form.databases.count()) {
        ErrorBox(NoTwoDatabasesText);
        return;
    }
    form.plan = std::make_unique<InternalSyncPlan>();
    form.plan->source = form.databases[src];
    form.plan->target = form.databases[dst];
    PrepareInternalSync(*form.plan);
    form.showCounts();
    showPage(1);
}

btkstring InternalSynWizard::pageSubtitle() {
    if (currentPage() == 0) return "Výběr cílové a zdrojové databáze";
    if (currentPage() == 1) return "Umožňuje omezit operace, které se při synchronizaci provedou";
    return btkstring();
}

// ---- form

Tinternalsynfrm::Tinternalsynfrm() {
    setObjectName("internalsynfrm");
    setWindowTitle(btkToQString("Interní synchronizace"));
    auto* column = new QVBoxLayout(this);
    head = new Tvclwizardheadfrm(this);
    pager = named(new QTabWidget(this), "pager");
    foot = new Tvclwizardfootfrm(this);
    column->addWidget(head);
    column->addWidget(pager, 1);
    column->addWidget(foot);

    QGridLayout* grid = addPage(pager, "page1", "Databáze k synchronizování");
    srcdb = named(new QComboBox, "srcdb");
    dstdb = named(new QComboBox, "dstdb");
    grid->addWidget(new QLabel(btkToQString("Zdrojová databáze:")), 0, 0);
    grid->addWidget(srcdb, 0, 1);
    grid->addWidget(new QLabel(btkToQString("Cílová databáze:")), 1, 0);
    grid->addWidget(dstdb, 1, 1);

    grid = addPage(pager, "page2", "Filtr operací");
    const char* const labels[] = {"Přidané písně:", "Upravené písně:", "Smazané písně:"};
    QLabel** counts[] = {&newcnt, &upcnt, &delcnt};
    const char* const countNames[] = {"newcnt", "upcnt", "delcnt"};
    QPushButton** buttons[] = {&Button1, &Button2, &Button3};
    const char* const buttonNames[] = {"Button1", "Button2", "Button3"};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(btkToQString(labels[row])), row, 0);
        *counts[row] = named(new QLabel, countNames[row]);
        grid->addWidget(*counts[row], row, 1);
        *buttons[row] = named(new QPushButton(btkToQString("Seznam...")), buttonNames[row]);
        (*buttons[row])->setAutoDefault(false);
        grid->addWidget(*buttons[row], row, 2);
    }
    skipcnt = named(new QLabel, "skipcnt");
    grid->addWidget(skipcnt, 3, 0, 1, 3);
    QObject::connect(Button1, &QPushButton::clicked, this, btkGuarded([this](bool) { Button1Click(); }));
    QObject::connect(Button2, &QPushButton::clicked, this, btkGuarded([this](bool) { Button2Click(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { Button3Click(); }));

    wizard = std::make_unique<InternalSynWizard>(*this);
    wizard->init(pager, head, foot);
    resize(644, 320);
}

Tinternalsynfrm::~Tinternalsynfrm() = default;

bool Tinternalsynfrm::Execute() {
    databases.clear();
    if (gKxSpace) gKxSpace->getDatabases(databases);
    {
        const QSignalBlocker blockSrc(srcdb), blockDst(dstdb);
        srcdb->clear();
        dstdb->clear();
        for (KxDatabase* db : databases) {
            srcdb->addItem(btkToQString(db->caption()));
            dstdb->addItem(btkToQString(db->caption()));
        }
    }
    finished = false;
    wizard->showPage(0);
    if (runner)
        runner(*this);
    else
        exec();
    if (finished && plan) RunInternalSync(*plan);
    const bool applied = finished && plan;
    plan.reset();
    return applied;
}

void Tinternalsynfrm::showCounts() {
    if (!plan) return;
    newcnt->setText(QString::number(plan->newSongs.count()));
    upcnt->setText(QString::number(plan->changedSongs.count()));
    delcnt->setText(QString::number(plan->deleteSongs.count()));
    skipcnt->setText(btkToQString(SkippedSongsText(*plan).trimmed()));
}

void Tinternalsynfrm::Button1Click() {
    if (!plan) return;
    (void)selectSongSubset(plan->newCandidates, plan->newSongs, nullptr);
    showCounts();
}

void Tinternalsynfrm::Button2Click() {
    if (!plan) return;
    (void)selectSongSubset(plan->changedCandidates, plan->changedSongs, &plan->changedTargets);
    showCounts();
}

void Tinternalsynfrm::Button3Click() {
    if (!plan) return;
    (void)selectSongSubset(plan->deleteCandidates, plan->deleteSongs, nullptr);
    showCounts();
}
