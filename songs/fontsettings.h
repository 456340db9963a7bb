// KxFont: a font description as the settings store it, as attributes of one
// XML element. A plain record: the windows turn it into a platform font.
#pragma once

#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

struct KxFont {
    btkstring name;  // face name
    bool underline = false;
    bool italic = false;
    bool strikeout = false;
    bool bold = false;
    int size = 10;  // points
    int color = 0;  // colour value, red in the low byte; 0 is black

    // Writes size, name, underline, bold, italic, strikeout and color.
    static void saveXML(const KxFont& font, btkXMLNode element);
    // Reads the same attributes; a missing size reads as 0, a missing style
    // as off, a missing name as "".
    static void loadXML(KxFont& font, const btkXMLNode& element);
};
