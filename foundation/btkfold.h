// Czech folding (upper case, Czech letters without diacritics) and the phrase
// search that ignores case, diacritics, blanks, commas, points and chords.
#pragma once

#include <array>

#include "foundation/btkstring.h"

// The folded form of every character code (Windows-1250): the listed Czech
// letters lose their diacritics, then a-z become A-Z; every other code
// stays. Complete before any code runs.
extern const std::array<unsigned char, 256> btkFoldTable;

inline char btkFoldChar(char c) { return static_cast<char>(btkFoldTable[static_cast<unsigned char>(c)]); }
inline bool btkFoldedEqual(char a, char b) { return btkFoldChar(a) == btkFoldChar(b); }
// True when phrase occurs in text, comparing folded letters and skipping
// blanks, commas, points and chords in square brackets on both sides. The
// first character of the phrase and of each place tried in the text is
// compared as it stands. A null or empty phrase is found in every non-empty
// text; nothing is found in an empty text.
bool btkFoldedFind(const char* phrase, const btkstring& text);
