#include "foundation/btkfold.h"

#include <array>
#include <cstring>

namespace {

using CharMap = std::array<unsigned char, 256>;

CharMap makeMap(const char* from, const char* to) {
    CharMap map;
    for (int i = 0; i < 256; ++i) map[i] = static_cast<unsigned char>(i);
    for (; *from && *to; ++from, ++to) map[static_cast<unsigned char>(*from)] = static_cast<unsigned char>(*to);
    return map;
}

const CharMap& foldMap() {
    static const CharMap map = [] {
        CharMap plain = makeMap("ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽáčďěéíňóřšťúůýž", "ACDEEINORSTUUYZacdeeinorstuuyz");
        CharMap upper = makeMap("abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        CharMap both;
        for (int i = 0; i < 256; ++i) both[i] = upper[plain[i]];
        return both;
    }();
    return map;
}

// Moves past the current character, then past blanks, commas, points and
// chords in square brackets.
const char* advance(const char* p) {
    ++p;
    for (;;) {
        unsigned char c = static_cast<unsigned char>(*p);
        if ((c >= 1 && c <= 32) || c == ',' || c == '.') {
            ++p;
        } else if (c == '[') {
            const char* close = std::strchr(p, ']');
            p = close ? close + 1 : p + std::strlen(p);
        } else {
            return p;
        }
    }
}

bool matchAt(const char* phrase, const char* text) {
    while (*phrase && *text) {
        if (!btkFoldedEqual(*phrase, *text)) return false;
        phrase = advance(phrase);
        text = advance(text);
    }
    return *phrase == 0;
}

}  // namespace

char btkFoldChar(char c) { return static_cast<char>(foldMap()[static_cast<unsigned char>(c)]); }

bool btkFoldedEqual(char a, char b) { return btkFoldChar(a) == btkFoldChar(b); }

bool btkFoldedFind(const char* phrase, const btkstring& text) {
    if (!phrase) phrase = "";
    for (const char* p = text.c_str(); *p; p = advance(p))
        if (matchAt(phrase, p)) return true;
    return false;
}
