#include "app/main/winlistfrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/modelservices.h"
#include "foundation/qt/btkqstring.h"

Twinlistfrm::Twinlistfrm() {
    setObjectName("winlistfrm");
    setWindowTitle(btkToQString("Seznam oken"));
    list = new QListWidget(this);
    list->setObjectName("list");
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn2 = new QPushButton(btkToQString("Storno"), this);
    BitBtn1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(btkToQString("Seznam otevřených oken"), this));
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
}

bool Twinlistfrm::Execute() {
    list->clear();
    for (int i = 0; i < OpenSongBookCount(); ++i)
        list->addItem(btkToQString(btkstring("Melodar ") + OpenSongBookName(i)));
    const int result = runner ? runner(*this) : exec();
    const int chosen = list->currentRow();
    if (result != QDialog::Accepted || chosen < 0 || chosen >= OpenSongBookCount()) return false;
    ActivateSongBook(chosen);
    return true;
}
