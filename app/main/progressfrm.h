// Tprogressfrm: the progress window behind KxProgress. While shown it is
// application-modal and holds the idle queue pass.
#pragma once

#include <memory>

#include <QDialog>

#include "foundation/qt/btkapplication.h"
#include "songs/uibridge.h"

class QLabel;
class QProgressBar;
class QPushButton;

class Tprogressfrm : public QDialog, public KxProgressWindow {
public:
    Tprogressfrm();
    ~Tprogressfrm() override;

    // Sets caption and text, clears the cancel flag, sets the bar's maximum,
    // shows or hides "Storno" and shows the window (not modal).
    void Start(const char* caption, const char* text, int maximum, bool cancelVisible);
    // Sets text and position, lets pending events run; false once the user
    // pressed "Storno".
    bool Step(int position, const char* text);
    void Close();

    void start(const char* caption, const char* text, int maximum, bool cancelVisible) override {
        Start(caption, text, maximum, cancelVisible);
    }
    bool step(int position, const char* text) override { return Step(position, text); }
    void close() override { Close(); }

    bool cancelled() const { return cancelPressed; }

    QLabel* label = nullptr;
    QProgressBar* progress = nullptr;
    QPushButton* btcancel = nullptr;

protected:
    // The window is closed only by its owner.
    void reject() override {}

private:
    bool cancelPressed = false;
    std::unique_ptr<btkIdleHold> hold;
};
