// Timportfrm: the text import window "Import z textu". The user picks an
// import filter, imports any number of files through it into a temporary
// view shown in a song grid, and then adds the songs to the active
// database or writes them to an XML database file. The temporary view lives
// only while the window is shown; songs neither added nor written are lost
// with it.
#pragma once

#include <functional>

#include "foundation/qt/btkform.h"

class QListWidget;
class KxCustomView;
class Tsonggridfrm;

class Timportfrm : public btkDialogForm {
public:
    Timportfrm();

    // Runs the window once over a fresh empty view.
    void Execute();

    void Button1Click();  // Importovat soubory ...
    void Button2Click();  // Přidat do databáze
    void Button3Click();  // Vyexportovat do XML

    KxCustomView* view() const { return importView; }

    QListWidget* flts = nullptr;
    Tsonggridfrm* list = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;          // Storno
    std::function<int(Timportfrm&)> runner;  // tests: runs the filled window

protected:
    void FormClose() override;

private:
    KxCustomView* importView = nullptr;
};

extern Timportfrm* importfrm;
