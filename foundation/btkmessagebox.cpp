#include "foundation/btkmessagebox.h"

#include <cstdio>
#include <cstring>

const char* const btkAppCaption = "Kantorix";

namespace {

btkMessageBoxBackend* current = nullptr;

}  // namespace

int btkScriptedMessageBoxes::show(const char* text, const char* caption, int flags) {
    boxes.push_back(Shown{text, caption, flags});
    if (!quiet) std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    if (!answers.empty()) {
        int id = answers.front();
        answers.pop_front();
        return id;
    }
    switch (flags & 15) {
    case btkMB_YESNOCANCEL: return btkID_CANCEL;
    case btkMB_YESNO: return btkID_NO;
    default: return btkID_OK;
    }
}

void btkScriptedMessageBoxes::reset() {
    answers.clear();
    boxes.clear();
}

btkScriptedMessageBoxes& btkDefaultMessageBoxes() {
    static btkScriptedMessageBoxes boxes;
    return boxes;
}

btkMessageBoxBackend& btkMessageBoxes() { return current ? *current : btkDefaultMessageBoxes(); }

btkMessageBoxBackend* btkSetMessageBoxBackend(btkMessageBoxBackend* backend) {
    btkMessageBoxBackend* previous = &btkMessageBoxes();
    current = backend;
    return previous;
}

int ErrorBox(const char* text) { return btkMessageBoxes().show(text, btkAppCaption, btkMB_ICONERROR | btkMB_OK); }

int InfoBox(const char* text) { return btkMessageBoxes().show(text, btkAppCaption, btkMB_ICONINFORMATION | btkMB_OK); }

int QuestionBox(const char* text, const char* mode) {
    int flags = btkMB_OK;
    if (mode && std::strcmp(mode, "ync") == 0)
        flags = btkMB_ICONQUESTION | btkMB_YESNOCANCEL;
    else if (mode && std::strcmp(mode, "yn") == 0)
        flags = btkMB_ICONQUESTION | btkMB_YESNO;
    switch (btkMessageBoxes().show(text, btkAppCaption, flags)) {
    case btkID_YES: return 1;
    case btkID_NO: return 2;
    default: return 0;
    }
}
