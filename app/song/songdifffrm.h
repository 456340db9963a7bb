// Tsongdifffrm ("Rozdíl písní"): two songs side by side, typically a song
// and the duplicate paired with it, with the label of every field that
// differs in red. Works on any song data; nothing is written back. The two
// song columns share the width beside the labels equally.
#pragma once

#include <functional>

#include "app/song/songvfrm.h"
#include "foundation/qt/btkform.h"

class QLabel;
class QLineEdit;
class QPushButton;
class AbstractSongData;

class Tsongdifffrm final : public btkDialogForm {
public:
    Tsongdifffrm();

    // Fills both columns (texts as stored, not transposed), colours the
    // labels of title, author, group, remark and text black where the two
    // fields are equal byte for byte and red where they differ, and shows
    // the window modally.
    void Execute(const AbstractSongData& first, const AbstractSongData& second);

    // One column of the window.
    struct Column {
        QWidget* songpanel = nullptr;
        QLineEdit* title = nullptr;
        QLineEdit* author = nullptr;
        QLineEdit* group = nullptr;
        QLineEdit* remark = nullptr;
        Tsongvfrm* songv = nullptr;
    };

    QWidget* Panel1 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // "Storno"
    QWidget* leftpanel = nullptr;
    QLabel* ltitle = nullptr;
    QLabel* lauthor = nullptr;
    QLabel* lgroup = nullptr;
    QLabel* ltext = nullptr;
    QLabel* lremark = nullptr;
    Column songs[2];

    // Tests: called with the filled window instead of running it.
    std::function<int(Tsongdifffrm&)> runner;
};

extern Tsongdifffrm* songdifffrm;
