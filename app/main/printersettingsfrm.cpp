#include "app/main/printersettingsfrm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"
#include "songs/uibridge.h"

Tprintersettingsfrm::Tprintersettingsfrm() {
    setObjectName("printersettingsfrm");
    setWindowTitle(btkToQString("Nastavení tiskárny"));
    printers = new QComboBox(this);
    printers->setObjectName("printers");
    setup = new QPushButton(btkToQString("Nastavení"), this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(printers, 1);
    layout->addWidget(setup);
    for (const btkstring& name : btkPrinterNames()) printers->addItem(btkToQString(name));
    SelectFirstComboItems(this);
    QObject::connect(setup, &QPushButton::clicked, this, btkGuarded([](bool) { runPrinterSetup(); }));
    // Made after the options were read: the set-up of the last session.
    getPrinterProps()->restore(OptionsRoot().childByName("print").childByName("printer"));
}

void Tprintersettingsfrm::commonEvent(KxCommonEvent& event) {
    if (event.code == KX_EVENT_OPTIONS_SAVE)
        getPrinterProps()->store(OptionsRoot().getChild("print").getChild("printer"));
}
