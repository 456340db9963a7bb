// Tqsearchfrm: the quick search box that typing in the song grid opens.
#pragma once

#include <QDialog>

#include "foundation/btkstring.h"

class QLineEdit;
class QToolButton;

// What the quick search searches: direction 1 the next occurrence, -1 the
// previous one, 0 the occurrence from the current place as the text grows.
class SearchControl {
public:
    virtual void search(const char* text, int direction) = 0;

protected:
    ~SearchControl() = default;
};

class Tqsearchfrm : public QDialog {
public:
    Tqsearchfrm();

    // Places the window at the screen point, puts the character into the
    // edit box and shows the window (a pop-up) with the caret at the end.
    // While the box is open for the same target the character is appended.
    void Execute(int x, int y, char first, SearchControl* target);
    btkstring text() const;

    QLineEdit* stext = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void search(int direction);

    SearchControl* target = nullptr;
};

extern Tqsearchfrm* qsearchfrm;
