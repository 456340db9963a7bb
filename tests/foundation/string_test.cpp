#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "foundation/btkerror.h"
#include "foundation/btkstream.h"
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

TEST(String, GrowthBeyondTheLimitIsRefusedAndKeepsTheText) {
    btkstring s("kept");
    for (int n : {btkstring::maxLength + 1, INT_MAX}) EXPECT_THROW(s.getBuffer(n), btkError) << n;
    btkStringWriteStream out;
    out.write("kept", 4);
    char byte = 'x';
    // The length is refused before a byte is read.
    EXPECT_THROW(out.write(&byte, INT_MAX), btkError);
    EXPECT_EQ(std::string(s), "kept");
    EXPECT_EQ(std::string(out.c_str()), "kept");
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
    const struct {
        int from, count;
        const char* expected;
    } rows[] = {
        {1, 3, "ell"}, {3, 100, "lo"}, {5, 1, ""}, {-1, 3, ""}, {2, 0, ""}, {2, -4, ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(btkstring("hello").substr(r.from, r.count), r.expected) << r.from << "," << r.count;
    EXPECT_EQ(btkstring().substr(0, 1), "");
}

TEST(String, TrimUpperAndPrefix) {
    EXPECT_EQ(btkstring(" \t\r\n ").trimmed(), "");
    EXPECT_EQ(btkstring("\t x y \n").trimmed(), "x y");
    // Czech letters are above 127: never trimmed as control characters.
    EXPECT_EQ(btkstring("žluť").trimmed(), "žluť");
    btkstring r("  ab  \n");
    r.trimRight();
    EXPECT_EQ(r, "  ab");
    EXPECT_EQ(btkstring("ahoj Šárko").upper(), "AHOJ ŠáRKO");  // only a-z change
    EXPECT_TRUE(btkstring("kantor").startsWith("kan") && btkstring("kantor").startsWith("") && btkStartsWith("", ""));
    EXPECT_FALSE(btkstring("ka").startsWith("kan"));
}

TEST(String, Numbers) {
    const struct {
        const char* text;
        int value;
    } ints[] = {{"  -12abc", -12}, {"+7", 7}, {"", 0}, {"x1", 0}};
    for (const auto& r : ints) EXPECT_EQ(btkstring(r.text).toInt(), r.value) << r.text;
    EXPECT_EQ(btkAtoi("4294967297"), 1);  // wraps, no trap
    EXPECT_DOUBLE_EQ(btkstring(" 2.5e1x").toDouble(), 25.0);
    EXPECT_DOUBLE_EQ(btkstring("abc").toDouble(), 0.0);
    const struct {
        double value;
        const char* text;
    } floats[] = {
        {1.5, "1.5"}, {2.0, "2"}, {0.0, "0"}, {10.0, "10"}, {-0.25, "-0.25"},
    };
    for (const auto& r : floats) EXPECT_EQ(btkFloatToStr(r.value), r.text);
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
    // The pieces joined with '|', so empty pieces show.
    auto split = [](const char* text, char sep, bool keepEmpty) {
        btkStrings parts;
        btkSplit(parts, text, sep, keepEmpty);
        std::string joined;
        for (int i = 0; i < parts.count(); ++i) joined += (i ? "|" : "") + std::string(parts[i].c_str());
        return std::to_string(parts.count()) + ":" + joined;
    };
    EXPECT_EQ(split("a,,b", ',', false), "2:a|b");
    EXPECT_EQ(split("a,,b", ',', true), "3:a||b");
    EXPECT_EQ(split(",a", ',', true), "2:|a");
    EXPECT_EQ(split(",a", ',', false), "1:a");
    EXPECT_EQ(split("a,b,", ',', true), "2:a|b");  // no final empty piece
    EXPECT_EQ(split("", ',', true), "0:");

    btkStrings parts;
    btkSplit(parts, "A;B;", ';', false);
    EXPECT_EQ(btkJoin(parts, ';'), "A;B;");
    EXPECT_EQ(btkJoinRange(parts, 1, 2, ','), "B,");
    EXPECT_EQ(btkJoinRange(parts, 1, 1, ','), "");
    EXPECT_EQ(btkJoin(btkStrings(), ','), "");
}
