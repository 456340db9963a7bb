#include "foundation/btkscramble.h"

namespace {

const unsigned char key[5] = {0x9d, 0x2e, 0x71, 0xc4, 0x0b};
const char alphabet[] = "hkr2tzbw9qsemaxd";

}  // namespace

int btkScrambleDigit(char c) {
    for (int i = 0; i < 16; ++i)
        if (alphabet[i] == c) return i;
    return 0;
}

btkstring btkScramblePassword(const char* text) {
    btkstring out;
    int k = 0;
    for (const char* p = text ? text : ""; *p; ++p) {
        unsigned x = static_cast<unsigned char>(*p) ^ key[k];
        k = (k + 1) % 5;
        out.append(alphabet[x >> 4]);
        out.append(alphabet[x & 15]);
    }
    return out;
}

btkstring btkUnscramblePassword(const char* text) {
    btkstring out;
    int k = 0;
    for (const char* p = text ? text : ""; p[0] && p[1]; p += 2) {
        unsigned b = static_cast<unsigned>(btkScrambleDigit(p[0]) * 16 + btkScrambleDigit(p[1])) ^ key[k];
        k = (k + 1) % 5;
        out.append(static_cast<char>(b));
    }
    return out;
}
