#include "app/settings/customsortfrm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/uibridge.h"

const char* const NoOrderNameText = "Není vyplněn název!";
const char* const OverwriteOrderText = "Takto pojmenované pořadí už existuje, přepsat?";

btkXMLNode CustomOrdersNode() { return OptionsRoot().getChild("custom_order"); }

Tcustomsortfrm::Tcustomsortfrm() {
    setObjectName("customsortfrm");
    setWindowTitle(btkToQString("Vlastní pořadí"));
    sortctrl = new Tcustomsortctrl(this);
    list = new QListWidget(this);
    list->setObjectName("list");
    Button1 = new QPushButton(btkToQString("Načíst"), this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton(btkToQString("Uložit pod názvem:"), this);
    Button2->setObjectName("Button2");
    savename = new QLineEdit(this);
    savename->setObjectName("savename");
    Button3 = new QPushButton(btkToQString("Vymazat"), this);
    Button3->setObjectName("Button3");
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(btkToQString("Storno"), this);
    BitBtn2->setObjectName("BitBtn2");

    auto* saved = new QGridLayout;
    saved->addWidget(new QLabel(btkToQString("Uložené definice pořadí"), this), 0, 0);
    saved->addWidget(new QLabel(btkToQString("Název uloženého pořadí"), this), 0, 1);
    saved->addWidget(list, 1, 0, 4, 1);
    saved->addWidget(savename, 1, 1);
    saved->addWidget(Button2, 2, 1);
    saved->addWidget(Button1, 3, 1);
    saved->addWidget(Button3, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sortctrl);
    layout->addLayout(saved, 1);
    layout->addLayout(buttons);

    QObject::connect(Button1, &QPushButton::clicked, this, btkGuarded([this](bool) { loadSelected(); }));
    QObject::connect(Button2, &QPushButton::clicked, this, btkGuarded([this](bool) { saveNamed(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { deleteSelected(); }));
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
}

void Tcustomsortfrm::refillList() {
    const int row = list->currentRow();
    list->clear();
    const btkXMLNode orders = CustomOrdersNode();
    for (int i = 0; i < orders.childCount(); ++i) list->addItem(btkToQString(orders.child(i).attr("name")));
    if (row >= 0 && row < list->count()) list->setCurrentRow(row);
}

bool Tcustomsortfrm::selectedOrder(btkXMLNode& order) const {
    const int row = list->currentRow();
    const btkXMLNode orders = CustomOrdersNode();
    if (row < 0 || row >= orders.childCount()) return false;
    order = orders.child(row);
    return true;
}

void Tcustomsortfrm::loadSelected() {
    btkXMLNode order;
    if (!selectedOrder(order)) return;
    sortctrl->readKeys(order);
    savename->setText(btkToQString(order.attr("name")));
}

void Tcustomsortfrm::saveNamed() {
    const btkstring name = btkFromQString(savename->text());
    if (name.empty()) {
        ErrorBox(NoOrderNameText);
        return;
    }
    btkXMLNode orders = CustomOrdersNode();
    btkXMLNode target;
    bool found = false;
    for (int i = 0; i < orders.childCount(); ++i) {
        if (orders.child(i).attr("name") != name) continue;
        if (QuestionBox(OverwriteOrderText, "yn") != 1) return;
        target = orders.child(i);
        found = true;
    }
    if (!found) target = orders.addChild("order");
    sortctrl->writeKeys(target);
    target.setAttr("name", name);
    refillList();
}

void Tcustomsortfrm::deleteSelected() {
    const int row = list->currentRow();
    btkXMLNode orders = CustomOrdersNode();
    if (row < 0 || row >= orders.childCount()) return;
    orders.removeChild(row);
    refillList();
}

int Tcustomsortfrm::run() {
    refillList();
    return runner ? runner(*this) : exec();
}

std::unique_ptr<CustomCompare> Tcustomsortfrm::Execute() {
    if (run() != QDialog::Accepted) return nullptr;
    btkXMLNode keys;
    keys.setName("order");
    sortctrl->writeKeys(keys);
    return std::make_unique<CustomCompare>(keys);
}

bool Tcustomsortfrm::EditOrder(btkXMLNode element) {
    sortctrl->readKeys(element);
    if (run() != QDialog::Accepted) return false;
    sortctrl->writeKeys(element);
    return true;
}
