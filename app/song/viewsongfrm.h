// Tviewsongfrm ("Prohlížení písně"): one song read-only in a window of its
// own: title, author, group and remark as headings above the song text as
// stored (not transposed), laid out by the song view. Works on any song
// data, so it serves songs and song-book items alike.
#pragma once

#include <functional>

#include "app/song/songvfrm.h"
#include "foundation/qt/btkform.h"

class QLabel;
class QPushButton;
class AbstractSongData;

class Tviewsongfrm final : public btkDialogForm {
public:
    Tviewsongfrm();

    // Fills the window from the song and shows it modally; both buttons
    // close it. Returns the modal result.
    int Execute(const AbstractSongData& song);

    QLabel* title = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* author = nullptr;
    QLabel* group = nullptr;
    QLabel* remark = nullptr;  // hidden when the remark is empty
    Tsongvfrm* songv = nullptr;
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // "Storno"

    // Tests: called with the filled window instead of running it; returns
    // the window's result.
    std::function<int(Tviewsongfrm&)> runner;
};

extern Tviewsongfrm* viewsongfrm;
