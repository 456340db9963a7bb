#include <gtest/gtest.h>

#include <string>

#include "foundation/btkxml.h"
#include "foundation/btkxmltree.h"

namespace {

btkXMLNode tree(const char* xml) {
    btkXMLNode n;
    n.parse(xml);
    return n;
}

// The difference of t against b, merged back onto a copy of b.
btkXMLNode roundTrip(const btkXMLNode& t, const btkXMLNode& b, btkXMLNode* diffOut = nullptr) {
    btkXMLNode diff;
    XMLDiffTree(t, b, diff);
    btkXMLNode merged;
    merged.assign(b);
    XMLMergeTree(merged, diff);
    if (diffOut) *diffOut = diff;
    return merged;
}

}  // namespace

TEST(XMLMerge, OntoAnEmptyTarget) {
    btkXMLNode target;
    XMLMergeTree(target, tree("<t a=\"1\"><x b=\"2\" /></t>"));
    EXPECT_EQ(std::string(target.toString()), "< a=\"1\" >\n<x b=\"2\" />\n</>\n");
}

TEST(XMLMerge, KeepsWhatOnlyTheTargetHasAndMergesRepeatedNamesOntoTheFirst) {
    btkXMLNode target = tree("<t keep=\"k\" a=\"old\"><x p=\"1\" /><y /></t>");
    XMLMergeTree(target, tree("<s a=\"new\"><x q=\"2\" /><x p=\"3\" /><z /></s>"));
    EXPECT_EQ(std::string(target.toString()), "<t keep=\"k\" a=\"new\" >\n<x p=\"3\" q=\"2\" />\n<y />\n<z />\n</t>\n");
}

TEST(XMLDiff, OfEqualTreesIsAnEmptyElementAndMergingItChangesNothing) {
    btkXMLNode base = tree("<type name=\"A4\"><page w=\"210\" h=\"297\" /><font size=\"10\" /></type>");
    btkXMLNode t;
    t.assign(base);
    btkXMLNode diff;
    btkXMLNode merged = roundTrip(t, base, &diff);
    EXPECT_EQ(std::string(diff.toString()), "<type />\n");
    EXPECT_TRUE(merged.equals(base));
}

TEST(XMLDiff, KeepsOnlyChangesAndAdditions) {
    btkXMLNode base = tree(
        "<type name=\"A4\" cols=\"1\"><page w=\"210\" h=\"297\" /><font size=\"10\" bold=\"0\" />"
        "<header><left text=\"\" /></header></type>");
    btkXMLNode t = tree(
        "<type name=\"A4\" cols=\"2\" extra=\"e\"><page w=\"210\" h=\"297\" /><font size=\"12\" bold=\"0\" />"
        "<header><left text=\"%p\" /></header><footer on=\"1\" /></type>");
    btkXMLNode diff;
    btkXMLNode merged = roundTrip(t, base, &diff);
    EXPECT_EQ(std::string(diff.toString()),
              "<type cols=\"2\" extra=\"e\" >\n"
              "<font size=\"12\" />\n"
              "<header >\n<left text=\"%p\" />\n</header>\n"
              "<footer on=\"1\" />\n"
              "</type>\n");
    EXPECT_TRUE(merged.equals(t));
}

TEST(XMLDiff, RoundTripsForTreesThatAddOrChange) {
    struct Case {
        const char* base;
        const char* tree;
    } cases[] = {
        {"<r />", "<r a=\"1\"><x b=\"2\"><y c=\"3\" /></x></r>"},
        {"<r a=\"1\" b=\"2\" />", "<r a=\"1\" b=\"3\" />"},
        {"<r><x /></r>", "<r><x /><new /></r>"},
        {"<r><x><deep v=\"1\" /></x></r>", "<r><x><deep v=\"2\" /></x></r>"},
        {"<r><x><deep v=\"1\" /></x></r>", "<r><x><deep v=\"1\" w=\"0\" /></x></r>"},
    };
    for (const Case& c : cases) {
        btkXMLNode t = tree(c.tree);
        EXPECT_TRUE(roundTrip(t, tree(c.base)).equals(t)) << c.tree;
    }
}

TEST(XMLDiff, BaseOnlyPartsLeaveNoTrace) {
    btkXMLNode base = tree("<r only=\"b\"><gone /></r>");
    btkXMLNode t = tree("<r />");
    btkXMLNode diff;
    XMLDiffTree(t, base, diff);
    EXPECT_EQ(std::string(diff.toString()), "<r />\n");
}
