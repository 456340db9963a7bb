#include "app/settings/columnfrm.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/qt/btkqstring.h"

Tcolumnfrm::Tcolumnfrm() {
    setObjectName("columnfrm");
    setWindowTitle(btkToQString("Viditelné sloupce"));
    cols = new QListWidget(this);
    cols->setObjectName("cols");
    BitBtn2 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setDefault(true);
    BitBtn1 = new QPushButton(btkToQString("Storno"), this);
    BitBtn1->setObjectName("BitBtn1");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cols, 1);
    layout->addLayout(buttons);
    resize(240, 360);
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { reject(); });
}

bool Tcolumnfrm::Execute(btkArray<ColProp*>& props, int userColumns) {
    cols->clear();
    shown = std::min(StandardColumnCount + std::max(userColumns, 0), props.count());
    for (int i = 0; i < shown; ++i) {
        auto* item = new QListWidgetItem(btkToQString(props[i]->caption), cols);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(props[i]->visible ? Qt::Checked : Qt::Unchecked);
    }
    const int result = runner ? runner(*this) : exec();
    if (result != QDialog::Accepted) return false;
    for (int i = 0; i < shown && i < cols->count(); ++i) props[i]->visible = cols->item(i)->checkState() == Qt::Checked;
    return true;
}
