// btkStrings, the string list, and the helpers that split texts into it and
// join it back.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

using btkStrings = btkObjVec<btkstring>;

// Clears result and appends the pieces of text between delimiters. Empty
// pieces only with keepEmpty; a trailing delimiter gives no final piece.
void btkSplit(btkStrings& result, const char* text, char delimiter, bool keepEmpty);
// Items first..last-1, each followed by the separator.
btkstring btkJoinRange(const btkStrings& list, int first, int last, char separator);
btkstring btkJoin(const btkStrings& list, char separator);
