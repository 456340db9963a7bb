// Chord difficulty: chord types by suffix, the stored table, and the two
// proposed transpositions.
#include "songs/chorddifficulty.h"

#include <gtest/gtest.h>

namespace {

ChordRec only(const char* text) {
    btkCntVec<ChordRec> chords;
    CollectChords(text, chords);
    EXPECT_EQ(chords.count(), 1) << text;
    return chords.count() ? chords[0] : ChordRec{-1, -1};
}

TEST(ChordDifficulty, SuffixTypes) {
    struct Case {
        const char* suffix;
        int type;
    } cases[] = {
        {"]", 1},   {"/G]", 1},  {"-]", 2},    {"m]", 2},   {"mi]", 2},  {"7]", 3},   {"6]", 4},    {"mi7]", 5},
        {"m7]", 5}, {"mi6]", 6}, {"m6]", 6},   {"9]", 7},   {"dim]", 8}, {"maj]", 9}, {"maj7]", 9}, {"7maj]", 9},
        {"+]", 10}, {"5+]", 10}, {"m7b5]", 5}, {"6/9]", 4}, {"79]", 3},  {"us4]", 0}, {"sus4]", 0}, {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ChordType(c.suffix), c.type) << c.suffix;
}

TEST(ChordDifficulty, CollectingChords) {
    const struct {
        const char* text;
        int note, type;
    } cases[] = {
        {"[Am/G]", 9, 2}, {"[A/C#]", 9, 1},  {"x[Fmaj7]y", 5, 9}, {"[C7maj]", 0, 9},
        {"[C79]", 0, 3},  {"[Hdim]", 11, 8}, {"[E5+]", 4, 10},
    };
    for (const auto& c : cases) {
        ChordRec chord = only(c.text);
        EXPECT_EQ(chord.note, c.note) << c.text;
        EXPECT_EQ(chord.type, c.type) << c.text;
    }
    btkCntVec<ChordRec> chords;
    CollectChords("[Esus4] [(Am)] [x] text [C] [C] [C]", chords);
    EXPECT_EQ(chords.count(), 3);  // E with "sus4", a bracketed "(" and no note are not counted
}

TEST(ChordDifficulty, TableFromOptions) {
    btkXMLNode options;
    options.parse("<options><chorddifs><dur c=\"1\" h=\" -3x\"/><plus gis=\"7\"/></chorddifs></options>");
    ChordDifTable table = LoadChordDifficulties(options.childByName("chorddifs"));
    EXPECT_EQ(table.value[0][CHORD_DUR], 1);
    EXPECT_EQ(table.value[11][CHORD_DUR], -3);
    EXPECT_EQ(table.value[8][CHORD_PLUS], 7);
    EXPECT_EQ(table.value[1][CHORD_DUR], 0);
    EXPECT_EQ(table.value[0][CHORD_NONE], 0);
    // Without the element every difficulty is 0 and both proposals are 0.
    ChordDifTable empty = LoadChordDifficulties(btkXMLNode().childByName("chorddifs"));
    int total = -1, maximum = -1;
    SongChordDifficulty("[D][E][F#]", empty, total, maximum);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(maximum, 0);
}

TEST(ChordDifficulty, LeastTotalAndLeastHardest) {
    ChordDifTable table;
    for (int note = 0; note < 12; ++note) table.value[note][CHORD_DUR] = 20;
    table.value[0][CHORD_DUR] = 1;   // C
    table.value[2][CHORD_DUR] = 10;  // D
    table.value[5][CHORD_DUR] = 4;   // F
    table.value[7][CHORD_DUR] = 4;   // G
    btkCntVec<ChordRec> chords;
    CollectChords("[C]a [C]b [C]c [D]d", chords);
    ASSERT_EQ(chords.count(), 4);
    int total0 = 0, total5 = 0;
    for (const ChordRec& c : chords) {
        total0 += ChordDifficulty(c, 0, table);
        total5 += ChordDifficulty(c, 5, table);
    }
    EXPECT_EQ(total0, 13);
    EXPECT_EQ(total5, 16);
    EXPECT_EQ(ChordDifficulty(chords[3], -2, table), 1);  // D down two is C
    int leastTotal = -1, leastMaximum = -1;
    BestTransposition(table, chords, leastTotal, leastMaximum);
    EXPECT_EQ(leastTotal, 0);
    EXPECT_EQ(leastMaximum, 5);

    // Equal difficulties: ties go to the smallest shift.
    ChordDifTable flat;
    for (auto& row : flat.value)
        for (int type = 1; type <= 10; ++type) row[type] = 3;
    SongChordDifficulty("[E][Hm][F#7]", flat, leastTotal, leastMaximum);
    EXPECT_EQ(leastTotal, 0);
    EXPECT_EQ(leastMaximum, 0);
}

}  // namespace
