// Tkxtypesfrm ("Typy melodaru"): the song-book type files melodary/*.kxt of
// the program folder, with new, delete and edit. "default" names the
// built-in type: it has no file and is never listed or made.
#pragma once

#include <functional>

#include "foundation/qt/btkform.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class Tkxtypesfrm final : public btkDialogForm {
public:
    Tkxtypesfrm();

    // Makes the folder when it is missing, fills the list and runs the
    // window; "Zavřít" closes it with false.
    bool Execute();
    // The list from the files, in name order, without the extension.
    void fillList();

    // ---- handlers
    void Button1Click();  // edit the selected type
    void Button2Click();  // delete the selected type's file
    void Button3Click();  // a new type named by newkxtname

    QLabel* Label1 = nullptr;
    QListWidget* kxtypes = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* newkxtname = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;

    // Tests: called with the filled window instead of running it.
    std::function<int(Tkxtypesfrm&)> runner;
};

extern Tkxtypesfrm* kxtypesfrm;
