// Tprintersettingsfrm: a printer combo and a setup button. It is made at
// start-up with the other windows; the printer setup itself runs through
// runPrinterSetup. It keeps the shared printer set-up in the options: it
// restores it from the element print/printer when it is made and writes it
// there when the options are saved.
#pragma once

#include "foundation/qt/btkform.h"
#include "songs/appservices.h"

class QComboBox;
class QPushButton;

class Tprintersettingsfrm : public btkDialogForm {
public:
    Tprintersettingsfrm();

    // The options are about to be saved: the shared printer set-up goes
    // into print/printer.
    void commonEvent(KxCommonEvent& event);

    QComboBox* printers = nullptr;
    QPushButton* setup = nullptr;

private:
    TPrivateCommonHandler<Tprintersettingsfrm> handler{this};
};

extern Tprintersettingsfrm* printersettingsfrm;
