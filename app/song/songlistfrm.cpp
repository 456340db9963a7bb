#include "app/song/songlistfrm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/qt/btkqstring.h"
#include "songs/uibridge.h"

Tsonglistfrm* songlistfrm = nullptr;

Tsonglistfrm::Tsonglistfrm() {
    setObjectName("songlistfrm");
    setWindowTitle(btkToQString("Seznam písní"));
    resize(640, 480);
    list = new Tsonggridfrm(this);
    list->applyOptionsNode(OptionsRoot().getChild("showsonglist"));
    Button1 = new QPushButton(btkToQString("Zavřít"), this);
    Button1->setObjectName("Button1");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    QObject::connect(Button1, &QPushButton::clicked, this, [this] { reject(); });
}

void Tsonglistfrm::FormClose() { list->saveLayout(); }
