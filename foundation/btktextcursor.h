// The small text cursor and character classes that the hand-written parsers
// share, all on bytes and ASCII only.
#pragma once

#include <cstdint>

#include "foundation/btkstring.h"

inline bool isBlankChar(char c) { return c != 0 && static_cast<unsigned char>(c) <= 32; }
inline bool isDigitChar(char c) { return c >= '0' && c <= '9'; }
inline bool isLetterChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isIdentStartChar(char c) { return isLetterChar(c) || c == '_'; }
inline bool isIdentChar(char c) { return isDigitChar(c) || isIdentStartChar(c); }

class TextCursor {
public:
    explicit TextCursor(const char* text) : p(text ? text : "") {}
    char current() const { return *p; }
    const char* position() const { return p; }
    TextCursor& next() {
        if (*p) ++p;
        return *this;
    }
    TextCursor& skipBlanks() {
        while (isBlankChar(*p)) ++p;
        return *this;
    }
    bool atIdentChar() const { return isIdentChar(*p); }
    // Advances while the current character is c.
    TextCursor& skipChar(char c) {
        while (c && *p == c) ++p;
        return *this;
    }

private:
    const char* p;
};

// An identifier at the cursor (letter or '_' first), or "" without moving.
btkstring btkScanIdent(TextCursor& cursor);
// A run of decimal digits (wrapping past 32 bits), or 0 without moving.
std::uint32_t btkScanNumber(TextCursor& cursor);
// The text up to the delimiter or the end, trailing blanks cut; the cursor
// ends past the delimiter when there was one.
btkstring btkScanField(TextCursor& cursor, char delimiter);
