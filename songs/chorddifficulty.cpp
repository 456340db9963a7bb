#include "songs/chorddifficulty.h"

#include <cstring>

#include "songs/chords.h"

const char* const ChordTypeElements[11] = {"",      "dur",  "moll", "dur7", "dur6", "moll7",
                                           "moll6", "dur9", "dim",  "maj",  "plus"};
const char* const ChordNoteAttributes[12] = {"c", "cis", "d", "dis", "e", "f", "fis", "g", "gis", "a", "b", "h"};

namespace {

// Suffix prefixes in the order they are tried; the first match decides.
struct SuffixRule {
    const char* prefix;
    int type;
};
const SuffixRule suffixRules[] = {
    {"]", CHORD_DUR},    {"/", CHORD_DUR},     {"-", CHORD_MOLL},    {"6", CHORD_DUR6},
    {"7maj", CHORD_MAJ}, {"7", CHORD_DUR7},    {"9", CHORD_DUR9},    {"+", CHORD_PLUS},
    {"5+", CHORD_PLUS},  {"mi6", CHORD_MOLL6}, {"mi7", CHORD_MOLL7}, {"m6", CHORD_MOLL6},
    {"m7", CHORD_MOLL7}, {"dim", CHORD_DIM},   {"maj", CHORD_MAJ},   {"m", CHORD_MOLL},
};

const int startBest = 1 << 20;

}  // namespace

ChordDifTable LoadChordDifficulties(const btkXMLNode& node) {
    ChordDifTable table;
    for (int type = 1; type <= 10; ++type) {
        btkXMLNode row = node.childByName(ChordTypeElements[type]);
        for (int note = 0; note < 12; ++note) table.value[note][type] = row.intAttr(ChordNoteAttributes[note]);
    }
    return table;
}

int ChordType(const char* suffix) {
    if (!suffix) return CHORD_NONE;
    for (const SuffixRule& rule : suffixRules)
        if (std::strncmp(suffix, rule.prefix, std::strlen(rule.prefix)) == 0) return rule.type;
    return CHORD_NONE;
}

int ChordDifficulty(const ChordRec& chord, int shift, const ChordDifTable& table) {
    if (chord.type <= 0 || chord.type > 10) return 0;
    int row = ((chord.note + shift) % 12 + 12) % 12;
    return table.value[row][chord.type];
}

void CollectChords(const char* text, btkCntVec<ChordRec>& chords) {
    if (!text) return;
    for (const char* p = text; *p; ++p) {
        if (*p != '[') continue;
        const char* after = nullptr;
        int note = ParseNoteName(p + 1, &after);
        if (note < 0) continue;
        int type = ChordType(after);
        if (type != CHORD_NONE) chords.add(ChordRec{note, type});
        p = after - 1;
    }
}

void BestTransposition(const ChordDifTable& table, const btkCntVec<ChordRec>& chords, int& leastTotal,
                       int& leastMaximum) {
    int bestTotal = startBest, bestMaximum = startBest;
    leastTotal = leastMaximum = 0;
    for (int shift = 0; shift < 12; ++shift) {
        int total = 0, maximum = 0;
        for (const ChordRec& chord : chords) {
            int d = ChordDifficulty(chord, shift, table);
            total += d;
            if (d > maximum) maximum = d;
        }
        if (total < bestTotal) {
            leastTotal = shift;
            bestTotal = total;
        }
        if (maximum < bestMaximum) {
            leastMaximum = shift;
            bestMaximum = maximum;
        }
    }
}

void SongChordDifficulty(const char* text, const ChordDifTable& table, int& leastTotal, int& leastMaximum) {
    btkCntVec<ChordRec> chords;
    CollectChords(text, chords);
    BestTransposition(table, chords, leastTotal, leastMaximum);
}
