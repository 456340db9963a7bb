#include "app/main/printrangefrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"

Tprintrangefrm::Tprintrangefrm() {
    setObjectName("printrangefrm");
    setWindowTitle(btkToQString("Tisk"));
    pages = new QListWidget(this);
    pages->setObjectName("pages");
    pages->setSelectionMode(QAbstractItemView::MultiSelection);
    Button1 = new QPushButton(btkToQString("Liché"), this);
    Button2 = new QPushButton(btkToQString("Sudé"), this);
    Button3 = new QPushButton(btkToQString("Všechny"), this);
    BitBtn1 = new QPushButton(btkToQString("Tisk"), this);
    BitBtn2 = new QPushButton(btkToQString("Storno"), this);
    BitBtn1->setDefault(true);

    auto* choice = new QVBoxLayout;
    choice->addWidget(Button1);
    choice->addWidget(Button2);
    choice->addWidget(Button3);
    choice->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(pages, 1);
    middle->addLayout(choice);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(btkToQString("Stránky"), this));
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    QObject::connect(Button1, &QPushButton::clicked, this, btkGuarded([this](bool) { oddPages(); }));
    QObject::connect(Button2, &QPushButton::clicked, this, btkGuarded([this](bool) { evenPages(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { allPages(); }));
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
}

bool Tprintrangefrm::Execute(int pageCount, btkCntVec<int>& pagesOut) {
    pages->clear();
    for (int i = 1; i <= pageCount; ++i) pages->addItem(QString::number(i));
    allPages();
    const int result = runner ? runner(*this) : exec();
    if (result != QDialog::Accepted) return false;
    selectedPages(pagesOut);
    return true;
}

void Tprintrangefrm::oddPages() {
    // Page i + 1 sits on line i: even pages are the odd lines.
    for (int i = 1; i < pages->count(); i += 2) pages->item(i)->setSelected(false);
}

void Tprintrangefrm::evenPages() {
    for (int i = 0; i < pages->count(); i += 2) pages->item(i)->setSelected(false);
}

void Tprintrangefrm::allPages() {
    for (int i = 0; i < pages->count(); ++i) pages->item(i)->setSelected(true);
}

void Tprintrangefrm::selectedPages(btkCntVec<int>& out) const {
    out.clear();
    for (int i = 0; i < pages->count(); ++i)
        if (pages->item(i)->isSelected()) out.add(i);
}
