// Chords: note names in their prefix order, printed spelling, the one-pass
// rewrite of a text and the chord-line test.
#include "songs/chords.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

std::string tr(const char* text, int shift) { return TransposeText(text, shift).c_str(); }

TEST(Chords, ParseNoteNameTakesTheFirstPrefixInTableOrder) {
    // Longer spellings win only where the table lists them first; a name
    // wins over a longer word that begins with it.
    struct Case {
        const char* text;
        int pitch;
        int length;
    } cases[] = {
        {"C#", 1, 2},  {"Ces", 11, 3}, {"Cmi", 0, 1}, {"Fes", 4, 3}, {"E#", 5, 2},   {"Asus4", 9, 1}, {"Essus4", 3, 2},
        {"As7", 8, 2}, {"Ami", 9, 1},  {"Bb", 10, 2}, {"B", 10, 1},  {"Hes", 10, 3}, {"H#", 0, 2},    {"H7", 11, 1},
    };
    for (const Case& c : cases) {
        const char* after = nullptr;
        EXPECT_EQ(ParseNoteName(c.text, &after), c.pitch) << c.text;
        EXPECT_EQ(after, c.text + c.length) << c.text;
    }
    const char* after = "x";
    EXPECT_EQ(ParseNoteName("am", &after), -1);
    EXPECT_EQ(after, nullptr);
    EXPECT_EQ(ParseNoteName("", nullptr), -1);
}

TEST(Chords, NoteNameIsATrueModulo) {
    // Below -48 the name must not vanish.
    const struct {
        int pitch;
        const char* name;
    } rows[] = {
        {3, "Es"}, {23, "H"}, {-1, "H"}, {-48, "C"}, {-49, "H"}, {-1000000, "As"},
    };
    for (const auto& r : rows) EXPECT_STREQ(NoteName(r.pitch), r.name) << r.pitch;
}

// Texts and their transpositions; broken markup passes unchanged.
struct TransposeCase {
    const char* text;
    int shift;
    const char* expected;
};

TEST(Chords, TransposeRewritesRootAndBass) {
    const TransposeCase cases[] = {
        {"[Am]", 2, "[Hm]"},
        {"[C/E]", 1, "[C#/F]"},
        {"[(G7)]", 5, "[(C7)]"},
        {"[C]", -1, "[H]"},
        {"[D]", -7, "[G]"},
        {"[Des]", 0, "[C#]"},
        {"[Hes]", 0, "[B]"},
        {"[E#]", 0, "[F]"},
        {"[Cb][Bb]", 0, "[H][B]"},
        {"[C]Ahoj [Ami/G]svete", 2, "[D]Ahoj [Hmi/A]svete"},
        {"[Coda]", 2, "[Doda]"},
        {"[Esus4]", 2, "[F#sus4]"},
        {"[Asus2]", 2, "[Hsus2]"},
        {"[As7/Es]", 0, "[As7/Es]"},
        {"[C]", 2147483647, "[G]"},
        {"[C]", -2147483647 - 1, "[E]"},  // the shift is taken modulo 12
        {"[C/x]", 2, "[D/x]"},
        {"[C/[D]", 2, "[D/[D]"},      // a "/" without a bass note copies the next character, even a "["
        {"text [G7", 2, "text [A7"},  // an unclosed chord copies the rest and writes no "]"
        {"[x", 2, "[x"},
        {"[", 2, "["},
        {"[C/", 2, "[D/"},
        {"", 5, ""},
        {"[C]Žluťoučký kůň", 12, "[C]Žluťoučký kůň"},  // Czech letters pass through
    };
    for (const TransposeCase& c : cases) EXPECT_EQ(tr(c.text, c.shift), c.expected) << c.text << " " << c.shift;
    for (const char* text : {"[am]", "[x]", "[Refrén]", "[]", "plain text", "a]b", "[(x)]"})
        EXPECT_EQ(tr(text, 3), text);
    EXPECT_EQ(StepTransposition(2147483647, 1), 8);
}

TEST(Chords, LineHasChordsAndTranspositionSteps) {
    for (const char* text : {"", "text only", "[C", "]C[", "[[C]]", "text\n[C]text"})
        EXPECT_FALSE(LineHasChords(text)) << text;
    EXPECT_TRUE(LineHasChords("[C]text[G]"));
    EXPECT_TRUE(LineHasChords("[C]text\nplain"));

    // Each step from the last result stays within an octave.
    int t = 0;
    for (auto [step, expected] : {std::pair{-1, 11}, {7, 6}, {-7, 11}, {1, 0}}) {
        t = StepTransposition(t, step);
        EXPECT_EQ(t, expected) << step;
    }
}

}  // namespace
