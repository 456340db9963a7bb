// Tstartfrm: the splash window shown during start-up and the about box.
// Both are the same form; in about mode it shows its OK button.
#pragma once

#include "foundation/qt/btkform.h"

class QLabel;
class QPushButton;

class Tstartfrm : public btkDialogForm {
public:
    Tstartfrm();

    // Makes the splash window, shows it and lets it paint.
    static void showSplash();
    // Frees the splash window (the main window's creation does it).
    static void freeSplash();
    // The about box: a new form in about mode, shown modally, then freed.
    static void showAbout();

    bool aboutMode = false;
    QLabel* Label5 = nullptr;
    QLabel* version = nullptr;
    QPushButton* btok = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

// The splash window or the about box while one exists.
extern Tstartfrm* startfrm;
