// Song-book types: the default type's element, reading with its minimums,
// difference storage against base types, rebasing, base-type cycles and
// names that must not become paths, and the checked save.
#include "songbook/kxtype.h"

#include <gtest/gtest.h>

#include <string>

#include "bookenv.h"

namespace {

std::string element(const BaseKxType& type) {
    btkXMLNode e;
    KxTypeWithBase::writeKxtype(type, e);
    return e.toString().c_str();
}

std::string stored(const KxTypeWithBase& type) {
    btkXMLNode e;
    type.toXML(e, false);
    return e.toString().c_str();
}

btkXMLNode parsed(const char* xml) {
    btkXMLNode n;
    n.parse(xml);
    return n;
}

}  // namespace

using KxTypeTest = BookFolderTest;

TEST(KxType, DefaultElementInWriteOrder) {
    const std::string font = "underline=\"0\" bold=\"0\" italic=\"0\" strikeout=\"0\" color=\"Black\" />\n";
    EXPECT_EQ(element(DefaultKxType()),
              "<kxtype >\n"
              "<page hcnt=\"1\" vcnt=\"1\" leftsp=\"0\" rightsp=\"0\" topsp=\"0\" bottomsp=\"0\" margintype=\"0\" "
              "mleft=\"\" mright=\"\" mtop=\"\" mbottom=\"\" landscape=\"0\" a4distrib=\"0\" autodistrib=\"0\" />\n"
              "<outline colcnt=\"1\" />\n<fonts >\n"
              "<fntext size=\"8\" name=\"Arial\" " +
                  font +
                  "<fnlab size=\"8\" name=\"Arial\" underline=\"1\" bold=\"0\" italic=\"0\" strikeout=\"0\" "
                  "color=\"Black\" />\n"
                  "<fntitle size=\"14\" name=\"Arial\" underline=\"0\" bold=\"1\" italic=\"0\" strikeout=\"0\" "
                  "color=\"Black\" />\n"
                  "<fnauthor size=\"8\" name=\"Arial\" underline=\"0\" bold=\"0\" italic=\"1\" strikeout=\"0\" "
                  "color=\"Black\" />\n"
                  "<fnacs size=\"8\" name=\"Arial\" underline=\"0\" bold=\"1\" italic=\"0\" strikeout=\"0\" "
                  "color=\"Black\" />\n"
                  "<fnoutlinetitle size=\"8\" name=\"Arial\" " +
                  font + "<fnoutlinenumber size=\"8\" name=\"Arial\" " + font + "<fnheader size=\"8\" name=\"Arial\" " +
                  font + "<fnfooter size=\"8\" name=\"Arial\" " + font +
                  "</fonts>\n<order />\n"
                  "<headfoot header=\"\" footer=\"\" pagenumstart=\"1\" />\n"
                  "<format slspacehi=\"50\" songspacehi=\"200\" songlines=\"1\" inacs=\"0\" outacs=\"0\" />\n"
                  "</kxtype>\n");
}

TEST(KxType, ReadingKeepsOnlyTheMinimums) {
    MelodarKxType t;
    t.fromXML(parsed("<kxtype />"));
    EXPECT_FALSE(t.savediff);
    EXPECT_EQ(t.basetype, "");
    EXPECT_EQ((std::vector<int>{t.hcnt, t.vcnt, t.colcnt, t.pagenumstart, t.slspacehi, t.songspacehi}),
              (std::vector<int>{1, 1, 1, 0, 0, 0}));
    EXPECT_FALSE(t.songlines);
    EXPECT_EQ(t.fonts.name(), "fonts");
    EXPECT_EQ(t.fonts.childCount(), 0);
    EXPECT_EQ(t.order.name(), "order");

    t.fromXML(
        parsed("<kxtype><page hcnt=\"0\" vcnt=\"-3\" margintype=\"7\" mleft=\"5,,7\" mtop=\" 2,x\" />"
               "<outline colcnt=\"-1\" /></kxtype>"));
    EXPECT_EQ((std::vector<int>{t.hcnt, t.vcnt, t.colcnt, t.margintype}), (std::vector<int>{1, 1, 1, 0}));
    EXPECT_EQ((std::vector<int>(t.mleft.begin(), t.mleft.end())), (std::vector<int>{5, 7}));
    EXPECT_EQ((std::vector<int>(t.mtop.begin(), t.mtop.end())), (std::vector<int>{2, 0}));
    EXPECT_TRUE(t.mright.empty());
    EXPECT_EQ(intListToString(t.mleft), "5,7");
}

// Numbers read from a file are clamped to what the type editor offers and
// written back as read: negative margins and spacings stay.
TEST(KxType, ValuesClampedOnReadingRoundTrip) {
    const struct {
        const char* child;
        const char* attr;
        const char* stored;
        const char* written;
    } rows[] = {
        {"page", "hcnt", "1000000000", "20"},
        {"page", "vcnt", "2147483647", "20"},
        {"page", "leftsp", "-5", "-5"},
        {"page", "rightsp", "99999999", "1000"},
        {"page", "topsp", "4294967295", "-1"},  // wraps
        {"page", "bottomsp", "-1001", "-1000"},
        {"page", "mleft", "-3,7", "-3,7"},
        {"page", "mbottom", "-7000,1001,,0", "-1000,1000,0"},
        {"outline", "colcnt", "100000", "10"},
        {"headfoot", "pagenumstart", "-2000000000", "-99999"},
        {"format", "slspacehi", "-20", "-20"},
        {"format", "songspacehi", "2000000000", "1000"},
        {"format", "songspacehi", "-2000000000", "-1000"},
    };
    for (const auto& r : rows) {
        const std::string xml = std::string("<kxtype><") + r.child + " " + r.attr + "=\"" + r.stored + "\"/></kxtype>";
        MelodarKxType t;
        t.fromXML(parsed(xml.c_str()));
        btkXMLNode out;
        t.toXML(out, false);
        EXPECT_EQ(std::string(out.childByName(r.child).attr(r.attr).c_str()), r.written) << xml;
    }

    MelodarKxType t;
    std::string many = "1";
    for (int i = 0; i < 100; ++i) many += ",2000000000";
    t.fromXML(parsed(("<kxtype><page mleft=\"" + many +
                      "\"/><fonts><fntext size=\"100000\"/>"
                      "<fntitle size=\"-4\"/><fnlab/></fonts></kxtype>")
                         .c_str()));
    ASSERT_EQ(t.mleft.count(), KxTypeLimits::MaxGrid);
    EXPECT_EQ(t.mleft[0], 1);
    EXPECT_EQ(t.mleft[1], KxTypeLimits::MaxMillimetres);
    EXPECT_EQ(t.fonts.childByName("fntext").intAttr("size"), KxTypeLimits::MaxFontSize);
    EXPECT_EQ(t.fonts.childByName("fntitle").intAttr("size"), 0);
    EXPECT_FALSE(t.fonts.childByName("fnlab").hasAttr("size"));
}

TEST_F(KxTypeTest, DifferencesAgainstTheBase) {
    MelodarKxType t;
    t.savediff = true;
    t.basetype = "default";
    EXPECT_EQ(stored(t), "<kxtype savediff=\"1\" basetype=\"default\" />\n");

    t.fonts.childByName("fntitle").setIntAttr("size", 20);
    t.header = "$c";
    EXPECT_EQ(stored(t),
              "<kxtype savediff=\"1\" basetype=\"default\" >\n<fonts >\n<fntitle size=\"20\" />\n</fonts>\n"
              "<headfoot header=\"$c\" />\n</kxtype>\n");

    // Read back on top of another base.
    writeType("a", "<kxtype><page hcnt=\"3\" /><headfoot footer=\"base\" /></kxtype>");
    btkXMLNode diff = parsed(stored(t).c_str());
    diff.setAttr("basetype", "a");
    MelodarKxType back;
    back.fromXML(diff);
    EXPECT_EQ(back.hcnt, 3);
    EXPECT_EQ(back.footer, "base");
    EXPECT_EQ(back.header, "$c");
    EXPECT_EQ(back.fonts.childByName("fntitle").attr("size"), "20");
}

TEST_F(KxTypeTest, FileTypesAndTheirSave) {
    writeType("two", "<kxtype savediff=\"1\" basetype=\"default\"><page hcnt=\"2\" /></kxtype>");
    FileKxType two("two");
    EXPECT_EQ(two.name(), "two");
    EXPECT_EQ(two.hcnt, 2);
    EXPECT_EQ(two.songspacehi, 200);
    EXPECT_EQ(two.fonts.childCount(), 9);

    two.landscape = true;
    ASSERT_TRUE(two.save());
    EXPECT_EQ(read("melodary/two.kxt"),
              "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\r\n<kxtype savediff=\"1\" basetype=\"default\" "
              ">\r\n<page hcnt=\"2\" landscape=\"1\" />\r\n</kxtype>\r\n");
    const std::string saved = read("melodary/two.kxt");
    ASSERT_TRUE(FileKxType("two").save());
    EXPECT_EQ(read("melodary/two.kxt"), saved);

    FileKxType missing("none");
    EXPECT_EQ(element(missing), element(DefaultKxType()));

    // A failed save keeps the old file and names the file in an error box.
    std::filesystem::remove_all(path("melodary"));
    std::filesystem::create_directories(path("melodary/two.kxt"));
    EXPECT_FALSE(two.save());
    EXPECT_TRUE(std::filesystem::is_directory(path("melodary/two.kxt")));
    EXPECT_NE(boxes().find("two.kxt"), std::string::npos) << boxes();
}

TEST_F(KxTypeTest, ChangingTheBaseKeepsOnlyTheChanges) {
    writeType("a", "<kxtype savediff=\"1\" basetype=\"\"><headfoot header=\"ha\" footer=\"fa\" /></kxtype>");
    writeType("b",
              "<kxtype savediff=\"1\" basetype=\"\"><headfoot header=\"hb\" footer=\"fb\" />"
              "<page hcnt=\"4\" /></kxtype>");
    MelodarKxType t;
    t.savediff = true;
    t.fromXML(parsed("<kxtype savediff=\"1\" basetype=\"a\"><headfoot header=\"mine\" /></kxtype>"));
    EXPECT_EQ(t.footer, "fa");
    t.changeBaseType("b");
    EXPECT_EQ(t.basetype, "b");
    EXPECT_TRUE(t.savediff);
    EXPECT_EQ(t.header, "mine");
    EXPECT_EQ(t.footer, "fb");
    EXPECT_EQ(t.hcnt, 4);
}

TEST_F(KxTypeTest, CyclesAndPathNamesResolveToTheDefault) {
    writeType("self", "<kxtype savediff=\"1\" basetype=\"self\"><page vcnt=\"2\" /></kxtype>");
    writeType("x", "<kxtype savediff=\"1\" basetype=\"y\"><page hcnt=\"5\" /></kxtype>");
    writeType("y", "<kxtype savediff=\"1\" basetype=\"x\"><page vcnt=\"6\" /></kxtype>");
    write("evil.kxt", "<kxtype><page hcnt=\"9\" /></kxtype>");

    FileKxType self("self");
    EXPECT_EQ(self.vcnt, 2);
    EXPECT_EQ(self.songspacehi, 200);
    FileKxType x("x");
    EXPECT_EQ(x.hcnt, 5);
    EXPECT_EQ(x.vcnt, 6);
    for (const char* name : {"../evil", "..\\evil", "/tmp/evil", ".hidden", ""}) {
        EXPECT_EQ(KxTypeWithBase::loadBase(name)->name(), "default") << name;
        EXPECT_EQ(FileKxType(name).hcnt, 1) << name;
    }
    EXPECT_FALSE(FileKxType("../evil").save());
    EXPECT_EQ(read("evil.kxt"), "<kxtype><page hcnt=\"9\" /></kxtype>");

    writeType("broken", "<kxtype><page");
    EXPECT_THROW(KxTypeWithBase::loadBase("broken"), btkXMLLoadError);
}
