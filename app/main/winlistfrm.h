// Twinlistfrm: the list of open song books; the chosen book's window is
// shown and activated.
#pragma once

#include <functional>

#include "foundation/qt/btkform.h"

class QListWidget;
class QPushButton;

class Twinlistfrm : public btkDialogForm {
public:
    Twinlistfrm();

    // Fills the list with "Melodar " and each open song book's name and runs
    // the dialog; true when a song book window was activated.
    bool Execute();

    QListWidget* list = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // Tests: called with the filled dialog instead of running it.
    std::function<int(Twinlistfrm&)> runner;
};

extern Twinlistfrm* winlistfrm;
