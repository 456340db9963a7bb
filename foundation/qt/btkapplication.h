// The program's application object: the idle hook and the guard around every
// event handler.
//
// Idle hook: when the event loop is about to wait for new events and the
// idle work says it has something to do, a zero-length timer is armed; when
// it fires, the idle work runs once. So the work runs once per idle period,
// never inside itself, and never while a busy or progress window lets
// events through (btkIdleHold).
//
// Guard: every event delivered by the application runs inside btkGuard, so
// an exception thrown by a handler shows an error box and the event loop
// goes on.
//
// Screen: every top-level window is fitted into its screen's available area
// at its first show (btkscreenfit.h).
#pragma once

#include <functional>

#include <QApplication>

class QTimer;

class btkApplication : public QApplication {
public:
    // Also sets LC_NUMERIC and LC_CTYPE back to "C": nothing in the program
    // depends on the user's locale.
    btkApplication(int& argc, char** argv);
    ~btkApplication() override;

    // The idle work: pending tells whether there is anything to do, run does
    // it. Either may be empty (no idle work).
    void setIdleWork(std::function<bool()> pending, std::function<void()> run);
    // Runs the idle work now unless it is held or already running; true when
    // it ran. Tests use it to stand for one idle period.
    bool runIdleWork();
    bool idleArmed() const;

    bool notify(QObject* receiver, QEvent* event) override;

    static btkApplication* instance();

private:
    void aboutToWait();

    std::function<bool()> m_pending;
    std::function<void()> m_run;
    QTimer* m_timer = nullptr;
    bool m_running = false;
};

// While one exists, the idle work does not run: a busy or progress window
// that lets events through holds it, because the model may still hold
// objects the idle pass would delete.
class btkIdleHold {
public:
    btkIdleHold();
    btkIdleHold(const btkIdleHold&) = delete;
    btkIdleHold& operator=(const btkIdleHold&) = delete;
    ~btkIdleHold();

    static bool held();
};

// Runs the handler; a btkError shows its message in the error box (a
// printer failure, shown by the printer already, and a btkDeclinedError,
// the user's own answer, nothing more), any other exception the generic
// error box. True when the handler returned normally.
bool btkGuard(const std::function<void()>& handler);

// A handler for a signal connection that runs inside btkGuard.
template <class F> auto btkGuarded(F f) {
    return [f](auto&&... args) { btkGuard([&] { f(args...); }); };
}

// Runs the drawing of a paint event. An error box opened inside a paint
// event would run a nested event loop while the painter is active and
// repaint into it, so a failure is shown by a queued call once the event is
// over. The same message again for the same owner (the next repaint fails
// alike) is not shown until a paint of that owner has succeeded in between.
// owner ends the queued call when it goes first. True when the drawing
// returned normally.
bool btkGuardPaint(QObject* owner, const std::function<void()>& paint);

// The text of the generic error box.
extern const char* const btkUnexpectedErrorText;
