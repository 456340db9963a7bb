// Tprintersettingsfrm: a printer combo and a setup button. It is made at
// start-up with the other windows; the printer setup itself runs through
// runPrinterSetup.
#pragma once

#include "foundation/qt/btkform.h"

class QComboBox;
class QPushButton;

class Tprintersettingsfrm : public btkDialogForm {
public:
    Tprintersettingsfrm();

    QComboBox* printers = nullptr;
    QPushButton* setup = nullptr;
};

extern Tprintersettingsfrm* printersettingsfrm;
