// Colour values (red in the low byte, as stored in the settings) and their
// names: a word from the table or "#RRGGBB".
#pragma once

#include <cstdint>

#include "foundation/btkstring.h"

using btkColor = std::uint32_t;
constexpr btkColor btkNoColor = 0x1FFFFFFF;

constexpr btkColor colorMake(int r, int g, int b) {
    return static_cast<btkColor>(r) + static_cast<btkColor>(g) * 256u + static_cast<btkColor>(b) * 65536u;
}
// A table name (any letter case) or "#" with six hex digits; otherwise
// btkNoColor.
btkColor colorFromName(const char* name);
// The table name of the colour, or "#RRGGBB" in upper-case digits.
btkstring colorToName(btkColor color);
