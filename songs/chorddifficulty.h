// Chord difficulty: how hard each chord is to play, by root and chord type,
// kept by the user in the options ("chorddifs"), and the transpositions
// that make a song's chords least hard.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkxml.h"

// One chord occurrence of a song.
struct ChordRec {
    int note;  // pitch class of the root, 0..11
    int type;  // chord type 1..10
};

// Chord types; 0 is a chord that is not counted.
enum ChordKind {
    CHORD_NONE = 0,
    CHORD_DUR = 1,
    CHORD_MOLL = 2,
    CHORD_DUR7 = 3,
    CHORD_DUR6 = 4,
    CHORD_MOLL7 = 5,
    CHORD_MOLL6 = 6,
    CHORD_DUR9 = 7,
    CHORD_DIM = 8,
    CHORD_MAJ = 9,
    CHORD_PLUS = 10,
};

// Difficulty by root (rows, pitch class) and type (columns; column 0 stays 0).
struct ChordDifTable {
    int value[12][11] = {};
};

// The element names of types 1..10 and the attribute names of roots 0..11.
extern const char* const ChordTypeElements[11];
extern const char* const ChordNoteAttributes[12];

// Reads the table from a "chorddifs" element; missing values count 0.
ChordDifTable LoadChordDifficulties(const btkXMLNode& node);
// The type of the suffix that starts at the text (just after the root).
int ChordType(const char* suffix);
// 0 for type 0, else the table's entry of the shifted root and the type.
int ChordDifficulty(const ChordRec& chord, int shift, const ChordDifTable& table);
// Appends every counted chord of the text: a root right after "[" and a
// suffix of a known type. Bass notes are not counted.
void CollectChords(const char* text, btkCntVec<ChordRec>& chords);
// The shifts 0..11 with the least total and with the least hardest chord;
// ties go to the smallest shift.
void BestTransposition(const ChordDifTable& table, const btkCntVec<ChordRec>& chords, int& leastTotal,
                       int& leastMaximum);
void SongChordDifficulty(const char* text, const ChordDifTable& table, int& leastTotal, int& leastMaximum);
