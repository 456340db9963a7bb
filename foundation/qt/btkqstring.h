// The one pair of functions through which text passes between the program
// (Windows-1250 bytes) and Qt (QString). Nothing else builds a QString from
// a narrow text: narrow literals are Windows-1250 bytes, not UTF-8.
#pragma once

#include <QList>
#include <QString>

#include "foundation/btkstring.h"

// Windows-1250 text to QString. The five byte values that Windows-1250 leaves
// undefined become '?'; a null text gives an empty string.
QString btkToQString(const char* text);

// QString to Windows-1250. Every character that Windows-1250 cannot hold
// becomes one '?' (a character outside the basic plane too); the text ends
// at a NUL character.
btkstring btkFromQString(const QString& text);
