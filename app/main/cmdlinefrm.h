// Tcmdlinefrm: the console. A memo in which the user confirms any line with
// Enter; the console interpreter (query/cmdline.h) runs it and prints its
// output below. The memo's whole text is the history: read from
// data/cmdline.txt when the window is made, written back when it goes.
#pragma once

#include <QDialog>

#include "foundation/qt/btkform.h"
#include "query/cmdline.h"

class QPlainTextEdit;

class Tcmdlinefrm final : public btkDialogForm, public KxConsole {
public:
    // Reads the history and becomes the interpreter's console.
    Tcmdlinefrm();
    // Writes the history (FormDestroy) and leaves the interpreter without
    // a console.
    ~Tcmdlinefrm() override;

    // Shows and raises the window and gives the memo the keyboard focus with
    // the caret at the end of its text, where the next command is typed.
    void showConsole();
    // Appends the text as a new line and puts the caret on the empty line
    // below it.
    void Print(const char* text);
    void ClearScreen();
    void print(const char* line) override { Print(line); }
    void clearScreen() override { ClearScreen(); }

    QPlainTextEdit* memo = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Enter runs the caret's line; true when the key was used up.
    bool memoKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormDestroy();
    // Puts the caret on an empty last line.
    void caretBelowText();

    bool printed = false;  // output or CLS during the running command
};

extern Tcmdlinefrm* cmdlinefrm;
