// The question which songs a command works on: the frame Tsongsetctrlfrm
// with its radio group of the four song sets (also placed in the search and
// custom export windows) and the dialog Tsongsetfrm ("Výběr písní") around
// it.
#pragma once

#include <functional>

#include <QWidget>

#include "foundation/btkarray.h"
#include "foundation/qt/btkform.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class KxSong;

// The radio group "Množina písní": 0 the current song, 1 the song stack, 2
// the active view, 3 every view (the choices of CollectSongSet).
class Tsongsetctrlfrm final : public QWidget {
public:
    explicit Tsongsetctrlfrm(QWidget* parent);

    // The selected choice, 0 to 3.
    int choice() const;
    // Selects a choice; one outside 0 to 3 changes nothing.
    void setChoice(int choice);

    QGroupBox* songsrc = nullptr;
    QButtonGroup* buttons = nullptr;
    QRadioButton* choices[4] = {};
};

class Tsongsetfrm final : public btkDialogForm {
public:
    Tsongsetfrm();

    // Shows the question and asks modally. On OK the selected choice is
    // written to choice and true returned; otherwise choice is left alone,
    // the radio group goes back to the last confirmed choice, and the
    // result is false.
    [[nodiscard]] bool ask(const char* question, int& choice);

    QLabel* label = nullptr;
    Tsongsetctrlfrm* setctrl = nullptr;
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // "Storno"

    // Tests: called with the filled dialog instead of running it; returns
    // the dialog's result.
    std::function<int(Tsongsetfrm&)> runner;
};

extern Tsongsetfrm* songsetfrm;

// Asks the question in the song set dialog and collects the songs of the
// chosen set (CollectSongSet). False, with the list left alone, when the
// user cancels or the dialog does not exist.
[[nodiscard]] bool AskSongSet(const char* question, btkCntVec<KxSong*>& songs);
