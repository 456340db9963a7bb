// Song text blocks: label lines and the blocks they start.
#include <gtest/gtest.h>

#include "songs/textblocks.h"

namespace {

struct Blocks {
    explicit Blocks(const char* text) { SplitTextBlocks(text, list); }
    int count() const { return list.count(); }
    const btkstring& label(int i) const { return list[i]->label; }
    const btkstring& body(int i) const { return list[i]->body; }
    btkObjArray<Sloka> list;
};

TEST(TextBlocks, LabelLineStart) {
    const char* text = "a.b\n \t.1\nx .y";
    EXPECT_FALSE(IsLabelLineStart(text + 1, text));  // inside a line
    EXPECT_TRUE(IsLabelLineStart(text + 6, text));   // after blanks
    EXPECT_FALSE(IsLabelLineStart(text + 11, text)); // after a letter
    EXPECT_TRUE(IsLabelLineStart(".R", ".R"));
    const char* czech = "\x8a.1";  // a Czech letter (0x8A) is no blank
    EXPECT_FALSE(IsLabelLineStart(czech + 1, czech));
}

TEST(TextBlocks, Splitting) {
    Blocks plain("one\ntwo\n");
    ASSERT_EQ(plain.count(), 1);
    EXPECT_EQ(plain.label(0), "");
    EXPECT_EQ(plain.body(0), "one\ntwo\n");
    EXPECT_EQ(Blocks("").count(), 0);

    Blocks verses("intro\n  .1\nfirst\n.R\nchorus");
    ASSERT_EQ(verses.count(), 3);
    EXPECT_EQ(verses.body(0), "intro\n  ");  // the blanks before "." end the body
    EXPECT_EQ(verses.label(1), "1");
    EXPECT_EQ(verses.body(1), "first\n");
    EXPECT_EQ(verses.label(2), "R");
    EXPECT_EQ(verses.body(2), "chorus");

    Blocks joined(".R\n.1\nwords\n.end");
    ASSERT_EQ(joined.count(), 1);  // a label with no lyrics gives no block
    EXPECT_EQ(joined.label(0), "R1");
    EXPECT_EQ(joined.body(0), "words\n");

    Blocks notLabels("a. b\nc .d");
    ASSERT_EQ(notLabels.count(), 1);
    EXPECT_EQ(notLabels.body(0), "a. b\nc .d");
}

}  // namespace
