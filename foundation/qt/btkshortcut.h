// Keyboard shortcuts in their stored text form, as the options keep them:
// modifiers "Shift+", "Ctrl+", "Alt+" (in that order when written) before
// the key's name ("A", "5", "F4", "Del", "PgUp", ...).
#pragma once

#include <QKeySequence>

#include "foundation/btkstring.h"

// The shortcut of a text; an empty or unknown text gives no shortcut.
// Modifier names and key names are compared ignoring ASCII case.
QKeySequence btkTextToShortCut(const char* text);
// The text of a shortcut's first key; "" for none or a key without a name.
btkstring btkShortCutToText(const QKeySequence& shortcut);
