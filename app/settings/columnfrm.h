// Tcolumnfrm: chooses which columns of the song grid are visible.
#pragma once

#include <functional>

#include "app/main/songgridcolumns.h"
#include "foundation/qt/btkform.h"

class QListWidget;
class QPushButton;

class Tcolumnfrm : public btkDialogForm {
public:
    Tcolumnfrm();

    // Lists the 16 standard columns and the user columns with their
    // captions, checked when visible, and runs the dialog. On OK writes the
    // check marks back into the visible flags and returns true; otherwise
    // changes nothing. Properties beyond them are neither shown nor changed.
    bool Execute(btkArray<ColProp*>& props, int userColumns);

    QListWidget* cols = nullptr;
    QPushButton* BitBtn2 = nullptr;  // OK
    QPushButton* BitBtn1 = nullptr;  // Storno
    // The number of columns shown.
    int shown = 0;

    // Tests: called with the filled dialog instead of running it.
    std::function<int(Tcolumnfrm&)> runner;
};

extern Tcolumnfrm* columnfrm;
