#include "foundation/qt/btkshortcut.h"

#include <strings.h>

#include <cstring>

namespace {

struct KeyName {
    const char* name;
    int key;
};

const KeyName namedKeys[] = {
    {"BkSp", Qt::Key_Backspace}, {"Tab", Qt::Key_Tab},     {"Enter", Qt::Key_Return},  {"Esc", Qt::Key_Escape},
    {"Space", Qt::Key_Space},    {"PgUp", Qt::Key_PageUp}, {"PgDn", Qt::Key_PageDown}, {"End", Qt::Key_End},
    {"Home", Qt::Key_Home},      {"Left", Qt::Key_Left},   {"Up", Qt::Key_Up},         {"Right", Qt::Key_Right},
    {"Down", Qt::Key_Down},      {"Ins", Qt::Key_Insert},  {"Del", Qt::Key_Delete},
};

struct ModifierName {
    const char* prefix;
    Qt::KeyboardModifier modifier;
};

const ModifierName modifierNames[] = {
    {"Shift+", Qt::ShiftModifier},
    {"Ctrl+", Qt::ControlModifier},
    {"Alt+", Qt::AltModifier},
};

// The key of a name, 0 when there is none.
int keyOfName(const char* name) {
    const size_t n = std::strlen(name);
    if (n == 1) {
        const unsigned char c = static_cast<unsigned char>(name[0]);
        if (c >= '0' && c <= '9') return Qt::Key_0 + (c - '0');
        if (c >= 'A' && c <= 'Z') return Qt::Key_A + (c - 'A');
        if (c >= 'a' && c <= 'z') return Qt::Key_A + (c - 'a');
        return 0;
    }
    if ((name[0] == 'F' || name[0] == 'f') && n <= 3) {
        int f = 0;
        for (size_t i = 1; i < n; ++i) {
            if (name[i] < '0' || name[i] > '9') return 0;
            f = f * 10 + (name[i] - '0');
        }
        return f >= 1 && f <= 24 ? Qt::Key_F1 + (f - 1) : 0;
    }
    for (const KeyName& k : namedKeys)
        if (strcasecmp(k.name, name) == 0) return k.key;
    return 0;
}

btkstring nameOfKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const char s[2] = {static_cast<char>('0' + (key - Qt::Key_0)), 0};
        return s;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const char s[2] = {static_cast<char>('A' + (key - Qt::Key_A)), 0};
        return s;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return btkFormat("F%d", key - Qt::Key_F1 + 1);
    if (key == Qt::Key_Enter) return "Enter";
    for (const KeyName& k : namedKeys)
        if (k.key == key) return k.name;
    return btkstring();
}

}  // namespace

QKeySequence btkTextToShortCut(const char* text) {
    const char* p = text;
    Qt::KeyboardModifiers modifiers;
    for (bool found = true; found;) {
        found = false;
        for (const ModifierName& m : modifierNames) {
            const size_t n = std::strlen(m.prefix);
            if (strncasecmp(p, m.prefix, n) == 0 && p[n]) {
                modifiers |= m.modifier;
                p += n;
                found = true;
            }
        }
    }
    const int key = keyOfName(p);
    if (!key) return QKeySequence();
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

btkstring btkShortCutToText(const QKeySequence& shortcut) {
    if (shortcut.isEmpty()) return btkstring();
    const QKeyCombination combination = shortcut[0];
    const btkstring name = nameOfKey(combination.key());
    if (name.empty()) return btkstring();
    btkstring text;
    for (const ModifierName& m : modifierNames)
        if (combination.keyboardModifiers() & m.modifier) text += m.prefix;
    return text + name;
}
