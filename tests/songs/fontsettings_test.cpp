#include "songs/fontsettings.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/btkcolor.h"
#include "foundation/btkxml.h"
#include "songs/lineends.h"

TEST(FontSettings, SavedAttributesInOrderAndReadBack) {
    KxFont f;
    f.name = "Times New Roman";
    f.bold = true;
    f.strikeout = true;
    f.size = 14;
    f.color = static_cast<int>(colorMake(255, 0, 0));
    btkXMLNode e;
    e.setName("titlefont");
    KxFont::saveXML(f, e);
    EXPECT_EQ(std::string(e.toString()),
              "<titlefont size=\"14\" name=\"Times New Roman\" underline=\"0\" bold=\"1\" italic=\"0\" "
              "strikeout=\"1\" color=\"Red\" />\n");
    // Read back, the font saves the same element again.
    KxFont back;
    KxFont::loadXML(back, e);
    btkXMLNode again;
    again.setName("titlefont");
    KxFont::saveXML(back, again);
    EXPECT_EQ(std::string(again.toString()), std::string(e.toString()));

    f.color = static_cast<int>(colorMake(1, 2, 3));
    KxFont::saveXML(f, e);
    EXPECT_EQ(e.attr("color"), "#010203");
    KxFont::loadXML(back, e);
    EXPECT_EQ(back.color, f.color);
}

TEST(FontSettings, MissingAttributesReadAsZeroAndEmpty) {
    KxFont f;
    f.name = "x";
    f.italic = true;
    btkXMLNode e;
    e.parse("<font underline=\"7\" />");
    KxFont::loadXML(f, e);
    EXPECT_EQ(f.size, 0);  // not the default 10
    EXPECT_EQ(f.name, "");
    EXPECT_TRUE(f.underline);
    EXPECT_FALSE(f.italic);
    EXPECT_EQ(f.color, static_cast<int>(colorFromName("")));
    EXPECT_EQ(KxFont().size, 10);
}

TEST(LineEnds, StripAndAddCarriageReturns) {
    EXPECT_EQ(StripCR("a\r\nb\rc\n"), "a\nbc\n");
    EXPECT_EQ(AddCR("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(AddCR("a\r\nb"), "a\r\r\nb");  // an existing pair gets a second CR
    EXPECT_EQ(StripCR(AddCR("x\n\ny")), "x\n\ny");
    EXPECT_EQ(AddCR(""), "");
    EXPECT_EQ(StripCR(nullptr), "");
}
