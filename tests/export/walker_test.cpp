// The song text walker through the plain text hooks: chord columns, the
// three chord forms, labels with and without textlab.
#include <gtest/gtest.h>

#include <string>

#include "export/txtexporter.h"

namespace {

std::string walk(const char* text, bool inacs, bool outacs, bool textlab) {
    TextExporterProps props;
    props.inacs = inacs;
    props.outacs = outacs;
    props.textlab = textlab;
    TXTSongTextExporter walker(props);
    btkStringWriteStream out;
    walker.exportText(text, out);
    return out.c_str();
}

TEST(SongTextWalker, Lines) {
    const struct {
        const char* text;
        bool inacs, outacs, textlab;
        const char* expected;
    } rows[] = {
        // Chords above: each chord at the column of the text after it, one
        // blank at least after the previous chord.
        {"[C]Hello [G7]world", 0, 0, 1, "C     G7\nHello world\n"},
        {"[Am]a[C]b", 0, 0, 1, "Am C\nab\n"},
        {"[Hmi7][C]x", 0, 0, 1, "Hmi7 C\nx\n"},
        {"[C]", 0, 0, 1, "C\n\n"},
        {"x[C]", 0, 0, 1, " C\nx\n"},
        // Brackets that fail the chord test keep the line as text.
        {"[C x\n]y[", 0, 0, 1, "[C x\n]y[\n"},
        {"a\n\nb\n", 0, 0, 1, "a\n\nb\n"},
        // Mixed and text-only forms: one output line per source line.
        {"[Am]Hello [C]x", 1, 0, 1, "AmHello Cx\n"},
        {"[C]He[G]llo\nab", 0, 1, 1, "Hello\nab\n"},
        {"[C]He[G]llo", 1, 1, 1, "Hello\n"},
        // Labels with textlab: in front of the next line, blanks after it;
        // a label line directly after another stands alone; a last label
        // line is not written.
        {".1.\n[C]a\nb", 0, 0, 1, "  C\n1.a\n  b\n"},
        {".R:\n.2.\nx", 0, 0, 1, "R:\n2.x\n"},
        {"x\n.1.", 0, 0, 1, "x\n"},
        {".Ref.:\n[D]la", 1, 0, 1, "Ref.:Dla\n"},
        // Without textlab a label is its own line and nothing is indented.
        {".1.\n[C]x\ny", 0, 0, 0, "1.\nC\nx\ny\n"},
        {"", 0, 0, 1, ""},
    };
    for (const auto& r : rows) EXPECT_EQ(walk(r.text, r.inacs, r.outacs, r.textlab), r.expected) << r.text;
}

}  // namespace
