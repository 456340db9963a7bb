#include "app/settings/customsortctrl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "foundation/btkstrings.h"
#include "foundation/qt/btkqstring.h"
#include "songs/songcolumns.h"

const CustomSortField CustomSortFields[CustomSortFieldCount] = {
    {"Název", 1}, {"Autor", 3}, {"Skupina", 2}, {"Poznámka", 5},
    {"Text", 32}, {"LOCID", 8}, {"NETID", 9},   {"Uživatelské pole", -1},
};

namespace {

constexpr int UserFieldIndex = CustomSortFieldCount - 1;

QComboBox* makeCombo(QWidget* parent, const char* name, std::initializer_list<const char*> items) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (const char* item : items) combo->addItem(btkToQString(item));
    return combo;
}

}  // namespace

Tcustomsortctrl::Tcustomsortctrl(QWidget* parent) : QWidget(parent) {
    setObjectName("sortctrl");
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    int column = 1;
    for (const char* label : {"Porovnávané pole", "Jméno uživatelského pole", "Pořadí", "Datový typ uložených dat"})
        layout->addWidget(new QLabel(btkToQString(label), this), 0, column++);
    for (int k = 0; k < 3; ++k) {
        const int n = k + 1;
        sw[k] = new QToolButton(this);
        sw[k]->setObjectName(btkToQString(btkFormat("sw%d", n)));
        sw[k]->setText(QString::number(n));
        sw[k]->setCheckable(true);
        fld[k] = new QComboBox(this);
        fld[k]->setObjectName(btkToQString(btkFormat("fld%d", n)));
        for (const CustomSortField& field : CustomSortFields) fld[k]->addItem(btkToQString(field.caption));
        user[k] = new QLineEdit(this);
        user[k]->setObjectName(btkToQString(btkFormat("user%d", n)));
        user[k]->setEnabled(false);
        order[k] = makeCombo(this, btkFormat("order%d", n), {"Vzestupně", "Sestupně"});
        datatype[k] = makeCombo(this, btkFormat("datatype%d", n), {"Text", "Číslo", "Datum"});
        layout->addWidget(sw[k], n, 0);
        layout->addWidget(fld[k], n, 1);
        layout->addWidget(user[k], n, 2);
        layout->addWidget(order[k], n, 3);
        layout->addWidget(datatype[k], n, 4);
        auto changed = [this, k] { keyChanged(k); };
        QObject::connect(fld[k], &QComboBox::currentIndexChanged, this, changed);
        QObject::connect(order[k], &QComboBox::currentIndexChanged, this, changed);
        QObject::connect(datatype[k], &QComboBox::currentIndexChanged, this, changed);
        QObject::connect(user[k], &QLineEdit::textChanged, this, changed);
    }
    const auto blockers = blockKeyEdits();
    for (int k = 0; k < 3; ++k) {
        fld[k]->setCurrentIndex(0);
        order[k]->setCurrentIndex(0);
        datatype[k]->setCurrentIndex(0);
    }
}

std::vector<QSignalBlocker> Tcustomsortctrl::blockKeyEdits() {
    std::vector<QSignalBlocker> blockers;
    for (int k = 0; k < 3; ++k)
        for (QObject* edit : std::initializer_list<QObject*>{fld[k], user[k], order[k], datatype[k]})
            blockers.emplace_back(edit);
    return blockers;
}

bool Tcustomsortctrl::isKeyActive(int key) const { return sw[key]->isChecked(); }

void Tcustomsortctrl::setKeyActive(int key, bool active) { sw[key]->setChecked(active); }

void Tcustomsortctrl::keyChanged(int key) {
    setKeyActive(key, true);
    updateUserEdit(key);
}

void Tcustomsortctrl::updateUserEdit(int key) { user[key]->setEnabled(fld[key]->currentIndex() == UserFieldIndex); }

void Tcustomsortctrl::writeKeys(btkXMLNode element) const {
    while (element.childCount() > 0) element.removeChild(element.childCount() - 1);
    for (int k = 0; k < 3; ++k) {
        if (!isKeyActive(k)) continue;
        btkXMLNode item = element.addChild(btkFormat("item%d", k + 1));
        const int field = fld[k]->currentIndex();
        const int column = field >= 0 && field < CustomSortFieldCount ? CustomSortFields[field].column : -1;
        item.setAttr("colid", SongColumnKey(column));
        item.setAttr("custom", btkFromQString(user[k]->text()));
        item.setIntAttr("revert", order[k]->currentIndex());
        item.setIntAttr("datatype", datatype[k]->currentIndex());
    }
}

void Tcustomsortctrl::loadKey(int key, const btkXMLNode& item) {
    const int column = SongColumnId(item.attr("colid"));
    int field = UserFieldIndex;
    for (int i = 0; i < UserFieldIndex; ++i)
        if (column >= 0 && CustomSortFields[i].column == column) field = i;
    fld[key]->setCurrentIndex(field);
    user[key]->setText(btkToQString(item.attr("custom")));
    const int revert = item.intAttr("revert");
    order[key]->setCurrentIndex(revert >= 0 && revert < order[key]->count() ? revert : 0);
    const int type = item.intAttr("datatype");
    datatype[key]->setCurrentIndex(type >= 0 && type < datatype[key]->count() ? type : 0);
    setKeyActive(key, true);
    updateUserEdit(key);
}

void Tcustomsortctrl::readKeys(const btkXMLNode& element) {
    const auto blockers = blockKeyEdits();
    for (int k = 0; k < 3; ++k) setKeyActive(k, false);
    // Each key comes from its own item element, so an order whose first
    // key was off keeps its later keys.
    for (int k = 0; k < 3; ++k) {
        const btkstring name = btkFormat("item%d", k + 1);
        if (element.indexOfChild(name) >= 0) loadKey(k, element.childByName(name));
    }
}
