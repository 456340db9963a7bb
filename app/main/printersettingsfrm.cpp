#include "app/main/printersettingsfrm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPrinterInfo>
#include <QPushButton>

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"

Tprintersettingsfrm::Tprintersettingsfrm() {
    setObjectName("printersettingsfrm");
    setWindowTitle(btkToQString("Nastavení tiskárny"));
    printers = new QComboBox(this);
    printers->setObjectName("printers");
    setup = new QPushButton(btkToQString("Nastavení"), this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(printers, 1);
    layout->addWidget(setup);
    for (const QString& name : QPrinterInfo::availablePrinterNames()) printers->addItem(name);
    SelectFirstComboItems(this);
    QObject::connect(setup, &QPushButton::clicked, this, btkGuarded([](bool) { runPrinterSetup(); }));
}
