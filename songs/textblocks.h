// Song text blocks: a line whose first character other than blanks is "."
// is a label line naming the block of lyrics after it (a verse number, a
// chorus mark). The RTF exporter prints labels apart from the lyrics.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

// One block: the label (label line text after the ".", "" before the first
// label line) and the lyrics up to the next label line, line feeds kept.
struct Sloka {
    btkstring label;
    btkstring body;
};

// The character at pos is "." and everything before it on its line is a
// blank or control character.
bool IsLabelLineStart(const char* pos, const char* textStart);
// Appends the text's blocks in text order. A label line with no lyrics
// after it makes no block: its label is carried over to the next one.
void SplitTextBlocks(const char* text, btkObjArray<Sloka>& blocks);
