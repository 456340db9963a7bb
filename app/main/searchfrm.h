// Tsearchfrm: the search window. It steps the main window's current song
// to the next or previous song of the current list that the condition
// frame accepts, or collects the accepted songs of a song set into a new
// custom view. Shown without blocking the main window.
#pragma once

#include "foundation/qt/btkform.h"

class QPushButton;
class Tsongcondfrm;
class Tsongsetctrlfrm;

class Tsearchfrm final : public btkDialogForm {
public:
    Tsearchfrm();

    // Releases the first two text switches and shows the window.
    void ShowSearch();

    void btnextClick();
    void btprevClick();
    // A new custom view of the matching songs of the chosen set; the main
    // window selects it after the queue pass. Closes the window.
    void Button3Click();

    Tsongcondfrm* cond = nullptr;
    Tsongsetctrlfrm* ssc = nullptr;
    QPushButton* btnext = nullptr;
    QPushButton* btprev = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;

private:
    // Steps through the current list from the current song (1 forward,
    // -1 backward), wrapping around once.
    void step(int direction);
};

extern Tsearchfrm* searchfrm;
