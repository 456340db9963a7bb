#include "app/exchange/importfrm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/main/songgridfrm.h"
#include "export/importfilter.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "songs/dbfile.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

Timportfrm* importfrm = nullptr;

Timportfrm::Timportfrm() {
    setObjectName("importfrm");
    setWindowTitle(btkToQString("Import z textu"));
    resize(630, 471);
    flts = new QListWidget(this);
    flts->setObjectName("flts");
    list = new Tsonggridfrm(this);
    list->setObjectName("list");
    list->applyOptionsNode(OptionsRoot().getChild("importwin.list"));
    Button1 = btkNamedControl<QPushButton>("Button1", "Importovat soubory ...", this);
    Button2 = btkNamedControl<QPushButton>("Button2", "Přidat do databáze", this);
    Button3 = btkNamedControl<QPushButton>("Button3", "Vyexportovat do XML", this);
    Button4 = btkNamedControl<QPushButton>("Button4", "Storno", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(btkToQString("Importovací filtr"), this), 0, 0);
    grid->addWidget(flts, 1, 0);
    grid->addWidget(new QLabel(btkToQString("Importované písně"), this), 2, 0);
    grid->addWidget(list, 3, 0);
    grid->setRowStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button2, Button3}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(Button4);
    grid->addLayout(buttons, 4, 0);

    QObject::connect(Button1, &QPushButton::clicked, this, btkGuarded([this](bool) { Button1Click(); }));
    QObject::connect(Button2, &QPushButton::clicked, this, btkGuarded([this](bool) { Button2Click(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { Button3Click(); }));
    QObject::connect(Button4, &QPushButton::clicked, this, [this] { reject(); });
}

void Timportfrm::Execute() {
    {
        const QSignalBlocker blocker(flts);
        flts->clear();
        for (int i = 0; i < importFilters.count(); ++i) flts->addItem(btkToQString(importFilters[i]->name()));
        flts->setCurrentRow(-1);
    }
    importView = new KxCustomView();
    list->setView(importView);
    if (runner)
        runner(*this);
    else
        exec();
    list->setView(nullptr);
    importView->release();
    importView = nullptr;
}

void Timportfrm::Button1Click() {
    const int row = flts->currentRow();
    if (row < 0 || row >= importFilters.count() || !importView) return;
    ImportFilter* filter = importFilters[row];
    btkStrings files;
    if (!btkDialogs().openFiles("Všechny soubory|*.*", nullptr, files)) return;
    // An unreadable file has been named in an error box; the others go on.
    for (int i = 0; i < files.count(); ++i) (void)filter->import(files[i], *importView);
}

void Timportfrm::Button2Click() {
    KxDatabase* database = gMainWin ? gMainWin->getActDatabaseMsg() : nullptr;
    if (database && importView) {
        // A song copy takes the text fields only: the language the import
        // set ("cz") is carried over by hand, or it would be lost.
        for (KxSong* song : importView->songs) database->addSongCopy(*song)->lang = song->lang;
        database->changed();
        database->setChanged();
    }
    accept();
}

void Timportfrm::Button3Click() {
    if (!importView) return;
    btkstring path;
    if (!btkDialogs().saveFile("XML Soubory (*.xml)|*.xml", nullptr, "xml", path)) return;
    // A failed write throws with the file's name: the guard shows it.
    WriteDatabaseFile(path, importView->songs, nullptr);
}

void Timportfrm::FormClose() { list->saveLayout(); }
