// The connection file's password form, written the way an administrator's
// tool writes it (the program itself only reads it).
#pragma once

#include "foundation/btkstring.h"

inline btkstring scrambleConnectionPassword(const char* text) {
    static const unsigned char key[7] = {0x5c, 0xe2, 0x18, 0xa7, 0x40, 0x9b, 0x6d};
    static const char alphabet[] = "hkr2tzbw9qsemaxd";
    btkstring out;
    int k = 0;
    for (const char* p = text; *p; ++p) {
        unsigned x = static_cast<unsigned char>(*p) ^ key[k];
        k = (k + 1) % 7;
        out += alphabet[x >> 4];
        out += alphabet[x & 15];
    }
    return out;
}
