// Song text blocks: label lines and the blocks they start.
#include "songs/textblocks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The blocks of a text, each as "label|body", joined by ";".
std::string blocks(const char* text) {
    btkObjArray<Sloka> list;
    SplitTextBlocks(text, list);
    std::string all;
    for (int i = 0; i < list.count(); ++i)
        all += (i ? ";" : "") + std::string(list[i]->label.c_str()) + "|" + list[i]->body.c_str();
    return all;
}

TEST(TextBlocks, LabelLineStart) {
    const char* text = "a.b\n \t.1\nx .y";
    EXPECT_FALSE(IsLabelLineStart(text + 1, text));   // inside a line
    EXPECT_TRUE(IsLabelLineStart(text + 6, text));    // after blanks
    EXPECT_FALSE(IsLabelLineStart(text + 11, text));  // after a letter
    EXPECT_TRUE(IsLabelLineStart(".R", ".R"));
    const char* czech = "\x8a.1";  // a Czech letter (0x8A) is no blank
    EXPECT_FALSE(IsLabelLineStart(czech + 1, czech));
}

TEST(TextBlocks, Splitting) {
    EXPECT_EQ(blocks("one\ntwo\n"), "|one\ntwo\n");
    EXPECT_EQ(blocks(""), "");
    // The blanks before "." end the body.
    EXPECT_EQ(blocks("intro\n  .1\nfirst\n.R\nchorus"), "|intro\n  ;1|first\n;R|chorus");
    // A label with no lyrics gives no block: its name joins the next one.
    EXPECT_EQ(blocks(".R\n.1\nwords\n.end"), "R1|words\n");
    EXPECT_EQ(blocks("a. b\nc .d"), "|a. b\nc .d");
}

}  // namespace
