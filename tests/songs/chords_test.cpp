// Chords: note names in their prefix order, printed spelling, the one-pass
// rewrite of a text and the chord-line test.
#include <gtest/gtest.h>

#include "songs/chords.h"

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
        {"C#", 1, 2}, {"Ces", 11, 3}, {"Cmi", 0, 1}, {"Fes", 4, 3}, {"E#", 5, 2},  {"Asus4", 8, 2},
        {"Ami", 9, 1}, {"Bb", 10, 2}, {"B", 10, 1},  {"Hes", 10, 3}, {"H#", 0, 2}, {"H7", 11, 1},
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
    EXPECT_STREQ(NoteName(3), "Es");
    EXPECT_STREQ(NoteName(23), "H");
    EXPECT_STREQ(NoteName(-1), "H");
    EXPECT_STREQ(NoteName(-48), "C");
    EXPECT_STREQ(NoteName(-49), "H");  // below -48 the name must not vanish
    EXPECT_STREQ(NoteName(-1000000), "As");
}

TEST(Chords, TransposeRewritesRootAndBass) {
    EXPECT_EQ(tr("[Am]", 2), "[Hm]");
    EXPECT_EQ(tr("[C/E]", 1), "[C#/F]");
    EXPECT_EQ(tr("[(G7)]", 5), "[(C7)]");
    EXPECT_EQ(tr("[C]", -1), "[H]");
    EXPECT_EQ(tr("[D]", -7), "[G]");
    EXPECT_EQ(tr("[Des]", 0), "[C#]");
    EXPECT_EQ(tr("[Hes]", 0), "[B]");
    EXPECT_EQ(tr("[E#]", 0), "[F]");
    EXPECT_EQ(tr("[Cb][Bb]", 0), "[H][B]");
    EXPECT_EQ(tr("[C]Ahoj [Ami/G]svete", 2), "[D]Ahoj [Hmi/A]svete");
    EXPECT_EQ(tr("[Coda]", 2), "[Doda]");
    EXPECT_EQ(tr("[Asus4]", 1), "[Aus4]");  // As + 1 = A, suffix us4
}

TEST(Chords, NonChordsAndBrokenMarkupPassUnchanged) {
    for (const char* text : {"[am]", "[x]", "[Refrén]", "[]", "plain text", "a]b", "[(x)]"}) EXPECT_EQ(tr(text, 3), text);
    EXPECT_EQ(tr("[C/x]", 2), "[D/x]");
    // A "/" without a bass note: the next character is copied, even a "[".
    EXPECT_EQ(tr("[C/[D]", 2), "[D/[D]");
    // An unclosed chord copies the rest and writes no "]".
    EXPECT_EQ(tr("text [G7", 2), "text [A7");
    EXPECT_EQ(tr("[x", 2), "[x");
    EXPECT_EQ(tr("[", 2), "[");
    EXPECT_EQ(tr("[C/", 2), "[D/");
    EXPECT_EQ(tr("", 5), "");
    // Czech letters pass through as they are.
    EXPECT_EQ(tr("[C]Žluťoučký kůň", 12), "[C]Žluťoučký kůň");
}

TEST(Chords, LineHasChords) {
    EXPECT_FALSE(LineHasChords(""));
    EXPECT_FALSE(LineHasChords("text only"));
    EXPECT_FALSE(LineHasChords("[C"));
    EXPECT_FALSE(LineHasChords("]C["));
    EXPECT_FALSE(LineHasChords("[[C]]"));
    EXPECT_TRUE(LineHasChords("[C]text[G]"));
    EXPECT_FALSE(LineHasChords("text\n[C]text"));
    EXPECT_TRUE(LineHasChords("[C]text\nplain"));
}

TEST(Chords, TranspositionStepsStayWithinAnOctave) {
    int t = 0;
    t = StepTransposition(t, -1);
    EXPECT_EQ(t, 11);
    t = StepTransposition(t, 7);
    EXPECT_EQ(t, 6);
    t = StepTransposition(t, -7);
    EXPECT_EQ(t, 11);
    t = StepTransposition(t, 1);
    EXPECT_EQ(t, 0);
}

}  // namespace
