// The program's message boxes: every error, notice and question goes through
// ErrorBox, InfoBox or QuestionBox, captioned with the program's name.
//
// The boxes are shown by a replaceable backend. The windows install a Qt one
// at start-up; the default needs no Qt: it writes the box to stderr and
// returns a scripted answer, so nothing that runs without windows (tests
// included) ever waits for a user.
#pragma once

#include <deque>
#include <vector>

#include "foundation/btkstring.h"

// Box flags as the platform's MessageBox takes them.
enum : int {
    btkMB_OK = 0,
    btkMB_YESNOCANCEL = 3,
    btkMB_YESNO = 4,
    btkMB_ICONERROR = 16,
    btkMB_ICONQUESTION = 32,
    btkMB_ICONINFORMATION = 64,
};

// Answers as the platform's MessageBox returns them.
enum : int {
    btkID_OK = 1,
    btkID_CANCEL = 2,
    btkID_YES = 6,
    btkID_NO = 7,
};

class btkMessageBoxBackend {
public:
    virtual ~btkMessageBoxBackend() = default;
    // Shows a modal box and returns the button chosen (btkID_...).
    virtual int show(const char* text, const char* caption, int flags) = 0;
};

// The default backend: prints "caption: text" to stderr and answers from a
// script. Without a scripted answer it takes the answer that changes
// nothing: Cancel for yes/no/cancel, No for yes/no, OK for a plain box.
class btkScriptedMessageBoxes : public btkMessageBoxBackend {
public:
    struct Shown {
        btkstring text;
        btkstring caption;
        int flags;
    };

    int show(const char* text, const char* caption, int flags) override;
    // Queues the answer for the next box.
    void answer(int id) { answers.push_back(id); }
    // Forgets the boxes shown and the answers still queued.
    void reset();
    const std::vector<Shown>& shown() const { return boxes; }
    bool quiet = false;  // true: nothing is written to stderr

private:
    std::deque<int> answers;
    std::vector<Shown> boxes;
};

// The backend in use (the default scripted one until another is set).
btkMessageBoxBackend& btkMessageBoxes();
// The default backend, for tests that script answers and read the boxes.
btkScriptedMessageBoxes& btkDefaultMessageBoxes();
// Installs a backend (not owned); null restores the default. Returns the
// previous one.
btkMessageBoxBackend* btkSetMessageBoxBackend(btkMessageBoxBackend* backend);

// The program's name, the caption of every box.
extern const char* const btkAppCaption;

int ErrorBox(const char* text);
int InfoBox(const char* text);
// mode "ync": Yes, No and Cancel; "yn": Yes and No (both with a question
// icon); anything else a plain OK box. 1 for Yes, 2 for No, 0 otherwise.
int QuestionBox(const char* text, const char* mode);
