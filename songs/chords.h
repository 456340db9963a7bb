// Chords in song text and their transposition.
//
// A chord stands in square brackets: "[", an optional "(", a root note, a
// suffix up to "/" or "]", an optional "/" with a bass note, "]". Notes are
// read in their Czech and German names with sharps and flats (B is B flat,
// H is B natural) and always printed as C C# D Es E F F# G As A B H.
#pragma once

#include "foundation/btkstring.h"

class btkWriteStream;

// The pitch class (0 = C .. 11 = H) of the note name that starts at text,
// or -1. When after is given it receives the position behind the name, or
// null when there is none.
int ParseNoteName(const char* text, const char** after = nullptr);
// The printed name of pitch class n modulo 12 (any n, negative included).
const char* NoteName(int n);
// Writes the text with the root and bass note of every chord moved by shift
// semitones; everything else passes unchanged.
void TransposeChords(const char* text, btkWriteStream& out, int shift);
btkstring TransposeText(const char* text, int shift);
// The line starting at text (up to a line feed or the end) holds at least
// one "[", as many "]" as "[", and no bracket is nested or closed before it
// was opened.
bool LineHasChords(const char* text);
// A display transposition (0..11) moved by a step of semitones (1, -1, 7,
// -7), modulo 12.
int StepTransposition(int transposition, int step);
