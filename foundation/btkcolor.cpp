#include "foundation/btkcolor.h"

#include <strings.h>

namespace {

struct NamedColor {
    const char* name;
    btkColor color;
};

const NamedColor colorTable[] = {
    {"Black", colorMake(0, 0, 0)},       {"Maroon", colorMake(128, 0, 0)},    {"Green", colorMake(0, 128, 0)},
    {"Olive", colorMake(128, 128, 0)},   {"Navy", colorMake(0, 0, 128)},      {"Purple", colorMake(128, 0, 128)},
    {"Teal", colorMake(0, 128, 128)},    {"Gray", colorMake(128, 128, 128)},  {"Silver", colorMake(192, 192, 192)},
    {"Red", colorMake(255, 0, 0)},       {"Lime", colorMake(0, 255, 0)},      {"Yellow", colorMake(255, 255, 0)},
    {"Blue", colorMake(0, 0, 255)},      {"Fuchsia", colorMake(255, 0, 255)}, {"Aqua", colorMake(0, 255, 255)},
    {"White", colorMake(255, 255, 255)}, {"Brown", colorMake(128, 64, 0)},    {"Pond", colorMake(64, 128, 0)},
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

btkColor colorFromName(const char* name) {
    if (!name) return btkNoColor;
    for (const NamedColor& c : colorTable)
        if (strcasecmp(name, c.name) == 0) return c.color;
    if (name[0] != '#') return btkNoColor;
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        // Stops at the text's end: a short text never reads past it.
        int hi = hexValue(name[1 + 2 * i]);
        int lo = hi < 0 ? -1 : hexValue(name[2 + 2 * i]);
        if (hi < 0 || lo < 0) return btkNoColor;
        channel[i] = hi * 16 + lo;
    }
    return colorMake(channel[0], channel[1], channel[2]);
}

btkstring colorToName(btkColor color) {
    for (const NamedColor& c : colorTable)
        if (c.color == color) return btkstring(c.name);
    return btkFormat("#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}
