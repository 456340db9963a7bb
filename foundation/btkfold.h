// Czech folding (upper case, Czech letters without diacritics) and the phrase
// search that ignores case, diacritics, blanks, commas, points and chords.
#pragma once

#include "foundation/btkstring.h"

char btkFoldChar(char c);
bool btkFoldedEqual(char a, char b);
// True when phrase occurs in text, comparing folded letters and skipping
// blanks, commas, points and chords in square brackets on both sides.
bool btkFoldedFind(const char* phrase, const btkstring& text);
