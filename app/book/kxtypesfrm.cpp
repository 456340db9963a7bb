#include "app/book/kxtypesfrm.h"

#include <cstdio>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/book/kxtypefrm.h"
#include "app/book/melodarfrm.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songbook/kxtype.h"

Tkxtypesfrm* kxtypesfrm = nullptr;

namespace {

// ASCII letter case ignored, as file names are matched.
bool sameName(const btkstring& a, const btkstring& b) { return a.upper() == b.upper(); }

}  // namespace

Tkxtypesfrm::Tkxtypesfrm() {
    setObjectName("kxtypesfrm");
    setWindowTitle(btkToQString("Typy melodaru"));
    Label1 = new QLabel(btkToQString("Dostupné typy melodaru"), this);
    Label1->setObjectName("Label1");
    kxtypes = new QListWidget(this);
    kxtypes->setObjectName("kxtypes");
    Button1 = new QPushButton(btkToQString("Upravit"), this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton(btkToQString("Vymazat"), this);
    Button2->setObjectName("Button2");
    Label2 = new QLabel(btkToQString("Jméno nového typu melodaru"), this);
    Label2->setObjectName("Label2");
    newkxtname = new QLineEdit(this);
    newkxtname->setObjectName("newkxtname");
    Button3 = new QPushButton(btkToQString("Nový"), this);
    Button3->setObjectName("Button3");
    Button4 = new QPushButton(btkToQString("Zavřít"), this);
    Button4->setObjectName("Button4");
    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(kxtypes, 1, 0, 3, 1);
    layout->addWidget(Button1, 1, 1);
    layout->addWidget(Button2, 2, 1);
    layout->addWidget(Label2, 4, 0);
    layout->addWidget(newkxtname, 5, 0);
    layout->addWidget(Button3, 5, 1);
    layout->addWidget(Button4, 6, 1);
    QObject::connect(Button1, &QPushButton::clicked, this, btkGuarded([this](bool) { Button1Click(); }));
    QObject::connect(kxtypes, &QListWidget::itemDoubleClicked, this,
                     btkGuarded([this](QListWidgetItem*) { Button1Click(); }));
    QObject::connect(Button2, &QPushButton::clicked, this, btkGuarded([this](bool) { Button2Click(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { Button3Click(); }));
    QObject::connect(Button4, &QPushButton::clicked, this, [this] { reject(); });
}

bool Tkxtypesfrm::Execute() {
    // A folder that cannot be made shows as an empty list.
    (void)BookFolder();
    fillList();
    return (runner ? runner(*this) : exec()) == QDialog::Accepted;
}

void Tkxtypesfrm::fillList() {
    kxtypes->clear();
    const btkFileList files(KxTypeWithBase::typeFilePath("*"));
    for (int i = 0; i < files.count(); ++i) kxtypes->addItem(btkToQString(files[i].substr(0, files[i].length() - 4)));
    // The list shows the files: open books offer the same.
    RefreshMelodarTypeChoices();
}

void Tkxtypesfrm::Button1Click() {
    QListWidgetItem* item = kxtypes->currentItem();
    if (!item || !item->isSelected() || !kxtypefrm) return;
    FileKxType type(btkFromQString(item->text()));
    if (kxtypefrm->EditKxType(type)) (void)type.save();
}

void Tkxtypesfrm::Button2Click() {
    QListWidgetItem* item = kxtypes->currentItem();
    // A file that cannot be removed stays listed: the list shows the disk.
    if (item && item->isSelected()) btkRemoveFile(KxTypeWithBase::typeFilePath(btkFromQString(item->text())));
    fillList();
}

void Tkxtypesfrm::Button3Click() {
    const btkstring name = btkFromQString(newkxtname->text());
    if (name.empty()) {
        ErrorBox("Není vyplněno jméno nového typu melodaru");
        return;
    }
    if (sameName(name, "default")) {
        ErrorBox("Typ melodaru 'default' je vyhrazené jméno pro implicitní typ melodaru");
        return;
    }
    // The name becomes a file in the melodary folder: nothing that could
    // reach elsewhere or hide the file.
    if (!KxTypeWithBase::isValidTypeName(name)) {
        ErrorBox(btkFormat("Neplatné jméno typu melodaru: %s", name.c_str()));
        return;
    }
    for (int i = 0; i < kxtypes->count(); ++i)
        if (sameName(name, btkFromQString(kxtypes->item(i)->text()))) {
            ErrorBox("Typ melodaru už existuje");
            return;
        }
    const FileKxType type(name);
    if (type.save()) fillList();
}
