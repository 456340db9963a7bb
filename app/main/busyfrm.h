// Tbusyfrm: the busy window behind KxBusy. While shown it is
// application-modal and holds the idle queue pass: the operation that shows
// it may still hold objects the pass would delete.
#pragma once

#include <memory>

#include <QDialog>

#include "foundation/qt/btkapplication.h"
#include "songs/uibridge.h"

class QLabel;

class Tbusyfrm : public QDialog, public KxBusyWindow {
public:
    Tbusyfrm();
    ~Tbusyfrm() override;

    // Nested notices show the innermost text; the window goes with the
    // outermost.
    void showBusy(const char* text) override;
    void hideBusy() override;
    btkstring text() const;

    QLabel* label = nullptr;

private:
    int depth = 0;
    std::unique_ptr<btkIdleHold> hold;
};
