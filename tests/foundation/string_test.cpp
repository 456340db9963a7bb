#include <gtest/gtest.h>

#include <cstring>

#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"

TEST(String, EmptyFormsAreAllEqualToEmptyText) {
    btkstring null;
    btkstring fromEmpty("");
    btkstring cut("abc");
    cut.getBuffer(3)[0] = 0;
    cut.updateLength();
    for (const btkstring* s : {&null, &fromEmpty, &cut}) {
        EXPECT_EQ(s->length(), 0);
        EXPECT_TRUE(*s == "");
        EXPECT_STREQ(s->c_str(), "");
    }
    EXPECT_EQ(fromEmpty.capacity(), 16);  // a buffer made for "" still has 16 places
    EXPECT_EQ(null.capacity(), 0);
}

TEST(String, CapacityRuleAndGrowth) {
    btkstring s("0123456789012345678901234567890123456789");  // 40 characters
    EXPECT_EQ(s.capacity(), 60);
    btkstring t("abc");
    EXPECT_EQ(t.capacity(), 19);
    for (int i = 0; i < 17; ++i) t += 'x';  // needs 20: max(30, 36)
    EXPECT_EQ(t.length(), 20);
    EXPECT_EQ(t.capacity(), 36);
}

TEST(String, CopiesShareUntilOneWrites) {
    btkstring a("song");
    btkstring b = a;
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.shareCount(), 2);
    b += " book";
    EXPECT_EQ(a, "song");
    EXPECT_EQ(b, "song book");
    EXPECT_EQ(a.shareCount(), 1);
    EXPECT_EQ(b.shareCount(), 1);

    btkstring c = a;
    c.toUpper();
    EXPECT_EQ(a, "song");
    EXPECT_EQ(c, "SONG");

    btkstring d = a;
    d.getBuffer(10)[0] = 'l';
    d.updateLength();
    EXPECT_EQ(a, "song");
    EXPECT_EQ(d, "long");
}

TEST(String, AppendForms) {
    btkstring null;
    btkstring other("shared");
    null.append(other);  // a null string simply shares the other's text
    EXPECT_EQ(null.c_str(), other.c_str());

    btkstring s("a");
    s += 'b';
    s += "cd";
    s += btkstring("ef");
    s += 42;
    s += -7;
    EXPECT_EQ(s, "abcdef42-7");
    s.append('\0');  // a NUL would break the length invariant: ignored
    EXPECT_EQ(s.length(), 10);

    btkstring self("xy");
    self.append(self);
    self.append(self.c_str() + 1);
    EXPECT_EQ(self, "xyxyyxy");

    EXPECT_EQ(btkstring("ab") + btkstring("cd"), "abcd");
}

TEST(String, SubstrClipsAndRejects) {
    btkstring s("hello");
    EXPECT_EQ(s.substr(1, 3), "ell");
    EXPECT_EQ(s.substr(3, 100), "lo");
    EXPECT_EQ(s.substr(5, 1), "");
    EXPECT_EQ(s.substr(-1, 3), "");
    EXPECT_EQ(s.substr(2, 0), "");
    EXPECT_EQ(s.substr(2, -4), "");
    EXPECT_EQ(btkstring().substr(0, 1), "");
}

TEST(String, TrimUpperAndPrefix) {
    EXPECT_EQ(btkstring(" \t\r\n ").trimmed(), "");
    EXPECT_EQ(btkstring("\t x y \n").trimmed(), "x y");
    // Czech letters are above 127: never trimmed as control characters.
    btkstring czech("žluť");
    EXPECT_EQ(czech.trimmed(), czech);
    btkstring r("  ab  \n");
    r.trimRight();
    EXPECT_EQ(r, "  ab");
    EXPECT_EQ(btkstring("ahoj Šárko").upper(), "AHOJ ŠáRKO");  // only a-z change
    EXPECT_TRUE(btkstring("kantor").startsWith("kan"));
    EXPECT_TRUE(btkstring("kantor").startsWith(""));
    EXPECT_FALSE(btkstring("ka").startsWith("kan"));
    EXPECT_TRUE(btkStartsWith("", ""));
}

TEST(String, Numbers) {
    EXPECT_EQ(btkstring("  -12abc").toInt(), -12);
    EXPECT_EQ(btkstring("+7").toInt(), 7);
    EXPECT_EQ(btkstring("").toInt(), 0);
    EXPECT_EQ(btkstring("x1").toInt(), 0);
    EXPECT_EQ(btkAtoi("4294967297"), 1);  // wraps, no trap
    EXPECT_DOUBLE_EQ(btkstring(" 2.5e1x").toDouble(), 25.0);
    EXPECT_DOUBLE_EQ(btkstring("abc").toDouble(), 0.0);
    EXPECT_EQ(btkFloatToStr(1.5), "1.5");
    EXPECT_EQ(btkFloatToStr(2.0), "2");
    EXPECT_EQ(btkFloatToStr(0.0), "0");
    EXPECT_EQ(btkFloatToStr(10.0), "10");
    EXPECT_EQ(btkFloatToStr(-0.25), "-0.25");
    EXPECT_EQ(btkIntToStr(-123), "-123");
}

TEST(String, FormatHasNoSizeLimit) {
    EXPECT_EQ(btkFormat("%s-%d", "a", 5), "a-5");
    std::string big(100000, 'q');
    btkstring s = btkFormat("<%s>", big.c_str());
    EXPECT_EQ(s.length(), 100002);
    EXPECT_EQ(s.c_str()[100001], '>');
}

TEST(String, CHelpers) {
    char buf[32];
    const char* text = "chord[Ami]";
    EXPECT_EQ(btkCopyRange(buf, text + 6, text + 9), 3);
    EXPECT_STREQ(buf, "Ami");
    EXPECT_EQ(btkCopyRange(buf, text, nullptr), 10);
    EXPECT_STREQ(buf, text);
    char t[] = "ab \r\n";
    btkTrimRight(t);
    EXPECT_STREQ(t, "ab");
    char e[] = "";
    btkTrimRight(e);
    EXPECT_STREQ(e, "");
    EXPECT_STREQ(btkSkipBlanks(" \t x"), "x");
    EXPECT_STREQ(btkSkipBlanks("  "), "");
    EXPECT_EQ(btkMax(3, 9), 9);
}

TEST(Strings, SplitAndJoin) {
    btkStrings parts;
    btkSplit(parts, "a,,b", ',', false);
    ASSERT_EQ(parts.count(), 2);
    EXPECT_EQ(parts[0], "a");
    EXPECT_EQ(parts[1], "b");

    btkSplit(parts, "a,,b", ',', true);
    ASSERT_EQ(parts.count(), 3);
    EXPECT_EQ(parts[1], "");

    btkSplit(parts, ",a", ',', true);
    ASSERT_EQ(parts.count(), 2);
    EXPECT_EQ(parts[0], "");
    btkSplit(parts, ",a", ',', false);
    EXPECT_EQ(parts.count(), 1);

    btkSplit(parts, "a,b,", ',', true);
    EXPECT_EQ(parts.count(), 2);  // no final empty piece
    btkSplit(parts, "", ',', true);
    EXPECT_EQ(parts.count(), 0);

    btkSplit(parts, "A;B;", ';', false);
    EXPECT_EQ(btkJoin(parts, ';'), "A;B;");
    EXPECT_EQ(btkJoinRange(parts, 1, 2, ','), "B,");
    EXPECT_EQ(btkJoinRange(parts, 1, 1, ','), "");
    EXPECT_EQ(btkJoin(btkStrings(), ','), "");
}
