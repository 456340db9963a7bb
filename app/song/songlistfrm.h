// Tsonglistfrm ("Seznam písní"): a plain song grid with a column layout of
// its own (the options element showsonglist) and a "Zavřít" button.
#pragma once

#include "app/main/songgridfrm.h"
#include "foundation/qt/btkform.h"

class QPushButton;

class Tsonglistfrm final : public btkDialogForm {
public:
    Tsonglistfrm();

    Tsonggridfrm* list = nullptr;
    QPushButton* Button1 = nullptr;  // "Zavřít"

protected:
    // Saves the grid's column layout into its options element.
    void FormClose() override;
};

extern Tsonglistfrm* songlistfrm;
