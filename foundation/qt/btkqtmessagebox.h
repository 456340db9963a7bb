// The message boxes of the program shown with QMessageBox: the backend the
// program installs at start-up in place of the scripted default.
#pragma once

#include "foundation/btkmessagebox.h"

class btkQtMessageBoxes : public btkMessageBoxBackend {
public:
    // A modal box over the active window: the icon and buttons of the flags
    // (error, question, warning, information; OK, OK and Cancel, Yes and No
    // with or without Cancel). The answer is btkID_YES, btkID_NO, btkID_OK
    // or btkID_CANCEL; a box closed without its buttons answers Cancel.
    // The buttons read "Ano", "Ne", "Storno" and "OK", or as the text names
    // them at the start of a line ("ANO = všechny budou uloženy").
    int show(const char* text, const char* caption, int flags) override;
};

// Makes the Qt boxes the program's boxes (the backend lives until exit).
void btkInstallQtMessageBoxes();
