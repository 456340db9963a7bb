// Text conversion between Windows-1250 and QString.
#include <gtest/gtest.h>

#include "foundation/qt/btkqstring.h"

namespace {

TEST(QtTextConversion, CzechLettersMapToTheirUnicodeCharacters) {
    // Narrow literals are Windows-1250 bytes: 0x8A Š, 0x9A š, 0x9E ž, 0xE8 č.
    const char* czech = "Příliš žluťoučký kůň úpěl ďábelské ódy ŠŽČŘĎŤŇ";
    EXPECT_EQ(btkToQString(czech), QString::fromUtf8(u8"Příliš žluťoučký kůň úpěl ďábelské ódy ŠŽČŘĎŤŇ"));
    EXPECT_EQ(btkToQString("\x8A\x9A\x9E\xE8"), QString::fromUtf8(u8"Ššžč"));
    EXPECT_EQ(btkToQString("\x80"), QString::fromUtf8(u8"€"));
    EXPECT_EQ(btkFromQString(QString::fromUtf8(u8"Příliš žluťoučký kůň")), btkstring("Příliš žluťoučký kůň"));
}

TEST(QtTextConversion, EveryDefinedByteSurvivesTheRoundTrip) {
    int undefined = 0;
    for (int b = 1; b < 256; ++b) {
        const char in[2] = {static_cast<char>(b), 0};
        QString q = btkToQString(in);
        ASSERT_EQ(q.size(), 1) << "byte " << b;
        if (q == QStringLiteral("?") && b != '?') {
            ++undefined;
            continue;
        }
        EXPECT_EQ(btkFromQString(q), btkstring(in)) << "byte " << b;
    }
    // Windows-1250 leaves 0x81, 0x83, 0x88, 0x90 and 0x98 undefined.
    EXPECT_EQ(undefined, 5);
    EXPECT_EQ(btkToQString("a\x81z"), QStringLiteral("a?z"));
}

TEST(QtTextConversion, UnmappableCharactersBecomeOneQuestionMarkEach) {
    const QString chinese = QString::fromUtf8(u8"a\u4E2Db");
    EXPECT_EQ(btkFromQString(chinese), btkstring("a?b"));
    // A character outside the basic plane is two UTF-16 units but one '?'.
    const QString emoji = QString::fromUtf8(u8"x\U0001F600y");
    EXPECT_EQ(emoji.size(), 4);
    EXPECT_EQ(btkFromQString(emoji), btkstring("x?y"));
    const QString notInTheTable = QString::fromUtf8(u8"\u00FF\u00F1");  // y and n with diaeresis and tilde
    EXPECT_EQ(btkFromQString(notInTheTable), btkstring("??"));
}

TEST(QtTextConversion, EmptyNullAndNulTexts) {
    EXPECT_TRUE(btkToQString(nullptr).isEmpty());
    EXPECT_TRUE(btkToQString("").isEmpty());
    EXPECT_EQ(btkFromQString(QString()), btkstring(""));
    EXPECT_EQ(btkFromQString(QString::fromUtf16(u"ab\0cd", 5)), btkstring("ab"));
}

}  // namespace
