#include "app/exchange/expflistfrm.h"

#include <strings.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "export/exportfilter.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"

Texpflistfrm* expflistfrm = nullptr;

void RefuseUnloadedFilter(const char* name, FilterLoadFailure failure) {
    if (failure != FilterLoadFailure::Shown) ErrorBox(btkFormat("Exportovací filtr %s nelze načíst", name));
}

Texpflistfrm::Texpflistfrm() {
    setObjectName("expflistfrm");
    setWindowTitle(btkToQString("Exportovací filtry"));
    resize(602, 350);
    expfs = new QListWidget(this);
    expfs->setObjectName("expfs");
    Button1 = btkNamedControl<QPushButton>("Button1", "Upravit", this);
    Button2 = btkNamedControl<QPushButton>("Button2", "Vymazat", this);
    newexpfname = new QLineEdit(this);
    newexpfname->setObjectName("newexpfname");
    newexpftype = new QComboBox(this);
    newexpftype->setObjectName("newexpftype");
    Button3 = btkNamedControl<QPushButton>("Button3", "Nový", this);
    Button4 = btkNamedControl<QPushButton>("Button4", "Zavřít", this);
    getExportFilterKinds(kinds, captions);
    for (int i = 0; i < captions.count(); ++i) newexpftype->addItem(btkToQString(captions[i]));
    newexpftype->setCurrentIndex(0);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(btkToQString("Dostupné exportovací filtry"), this), 0, 0);
    grid->addWidget(expfs, 1, 0, 3, 1);
    grid->addWidget(Button1, 1, 1);
    grid->addWidget(Button2, 2, 1);
    grid->addWidget(new QLabel(btkToQString("Jméno nového exportovacího filtru:"), this), 4, 0);
    grid->addWidget(newexpfname, 5, 0);
    grid->addWidget(new QLabel(btkToQString("Typ nového exportovacího filtru:"), this), 6, 0);
    grid->addWidget(newexpftype, 7, 0);
    grid->addWidget(Button3, 7, 1);
    grid->addWidget(Button4, 8, 1);
    QObject::connect(Button1, &QPushButton::clicked, this, btkGuarded([this](bool) { Button1Click(); }));
    QObject::connect(Button2, &QPushButton::clicked, this, btkGuarded([this](bool) { Button2Click(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { Button3Click(); }));
    QObject::connect(Button4, &QPushButton::clicked, this, [this] { accept(); });
}

void Texpflistfrm::Execute() {
    btkMakeDirs(programDir().join("data").join("expf"));
    fillList();
    if (runner)
        runner(*this);
    else
        exec();
}

void Texpflistfrm::fillList() {
    btkStrings names, again;
    listExportFilters(names, again);
    const QSignalBlocker blocker(expfs);
    expfs->clear();
    for (int i = 0; i < names.count(); ++i) expfs->addItem(btkToQString(btkFile(names[i]).changeExt("")));
}

btkstring Texpflistfrm::selectedName() const {
    const QListWidgetItem* item = expfs->currentItem();
    return item && item->isSelected() ? btkFromQString(item->text()) : btkstring();
}

void Texpflistfrm::Button3Click() {
    const btkstring name = btkFromQString(newexpfname->text());
    if (name.empty()) {
        ErrorBox("Není vyplněno jméno nového exportovacího filtru");
        return;
    }
    for (int i = 0; i < expfs->count(); ++i)
        if (strcasecmp(btkFromQString(expfs->item(i)->text()).c_str(), name.c_str()) == 0) {
            ErrorBox("Exportovací filtr už existuje");
            return;
        }
    const int kind = newexpftype->currentIndex();
    if (kind < 0 || kind >= kinds.count()) return;
    // A refused name or an unreadable file has been named in an error box.
    if (const std::unique_ptr<ExportFilter> filter = createExportFilter(kinds[kind], name))
        (void)saveExportFilter(*filter);
    fillList();
}

void Texpflistfrm::Button2Click() {
    const btkstring name = selectedName();
    if (!name.empty() && IsValidExportFilterName(name) && !btkRemoveFile(exportFilterPath(name)))
        ErrorBox(btkFormat("Exportovací filtr %s nelze vymazat: %s", name.c_str(), std::strerror(errno)));
    fillList();
}

void Texpflistfrm::Button1Click() {
    const btkstring name = selectedName();
    if (name.empty()) return;
    FilterLoadFailure failure;
    const std::unique_ptr<ExportFilter> filter = loadExportFilter(name, &failure);
    if (!filter) {
        RefuseUnloadedFilter(name, failure);
        return;
    }
    if (filter->editProperties()) (void)saveExportFilter(*filter);
}
