#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <random>
#include <string>

#include "foundation/btkcolor.h"
#include "foundation/btkconverter.h"
#include "foundation/btkdatetime.h"
#include "foundation/btkfold.h"
#include "foundation/btkscramble.h"
#include "foundation/btktextcursor.h"

// ---- charset converter ----

TEST(Converter, PassThroughAndUnknownEncodingKeepTheText) {
    btkConverter same("CP1250", "CP1250");
    btkConverter none("", "UTF-8");
    EXPECT_FALSE(same.converts());
    EXPECT_EQ(same.convert("žluť"), "žluť");
    EXPECT_EQ(none.convert("žluť"), "žluť");
    EXPECT_EQ(same.convert(nullptr), "");
    testing::internal::CaptureStderr();
    btkConverter bad("CP1250", "NO-SUCH-ENCODING");
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    EXPECT_EQ(bad.convert("Příliš"), "Příliš");
}

TEST(Converter, RoundTripLongTextsAndUnconvertibleBytes) {
    btkConverter toUtf("CP1250", "UTF-8");
    btkConverter back("UTF-8", "CP1250");
    btkstring czech("Příliš žluťoučký kůň úpěl ďábelské ódy");
    btkstring utf = toUtf.convert(czech);
    EXPECT_GT(utf.length(), czech.length());
    EXPECT_EQ(back.convert(utf), czech);
    EXPECT_EQ(toUtf.convert(""), "");

    // Longer than one 255-byte output slice: the same as piece by piece.
    btkstring longText;
    for (int i = 0; i < 40; ++i) longText += "čaj ";  // 160 bytes, 200 in UTF-8
    btkstring twice = longText + longText;
    EXPECT_EQ(toUtf.convert(twice), toUtf.convert(longText) + toUtf.convert(longText));
    EXPECT_EQ(back.convert(toUtf.convert(twice)), twice);

    // A byte that is no UTF-8 and a character without a Windows-1250 form
    // each become one '?'; the rest of the text is kept.
    btkConverter toLatin1("CP1250", "ISO-8859-1");
    const struct {
        btkConverter& converter;
        const char* in;
        const char* out;
    } rows[] = {
        {back,
         "abc\xff"
         "def",
         "abc?def"},
        {back, "1\xe2\x86\x92=\xc5\xbe", "1?=\x9e"},
        {back, "cut\xc5", "cut?"},
        {toLatin1, "\x9a\xe1", "?\xe1"},
        {back, "ok", "ok"},
    };
    for (const auto& r : rows) {
        bool exact = true;
        EXPECT_EQ(r.converter.convert(r.in, &exact), r.out) << r.in;
        EXPECT_EQ(exact, std::strcmp(r.in, r.out) == 0) << r.in;
    }
}

// ---- folding and phrase search ----

TEST(Fold, CzechLettersFoldToPlainCapitals) {
    const char* from = "ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽáčďěéíňóřšťúůýžaz";
    const char* to = "ACDEEINORSTUUYZACDEEINORSTUUYZAZ";
    for (int i = 0; from[i]; ++i) EXPECT_EQ(btkFoldChar(from[i]), to[i]) << i;
    // Other Central European letters, digits and punctuation stay.
    for (char c : std::string("ľĺŕôäÄ09,.[")) EXPECT_EQ(btkFoldChar(c), c);
    EXPECT_TRUE(btkFoldedEqual('š', 'S'));
    EXPECT_FALSE(btkFoldedEqual('ľ', 'L'));
}

TEST(Fold, PhraseSearchSkipsChordsBlanksAndPunctuation) {
    btkstring text("Sví[C]tí, mě[Ami]síček\nnad [G7]vodou.");
    const struct {
        const char* phrase;
        const char* text;
        bool found;
    } rows[] = {
        {"sviti", text, true},
        {"SVÍTÍ MĚSÍČEK", text, true},
        {"mesicek nad vodou", text, true},
        {"sviti,mesicek", text, true},
        {"ek\nna", text, true},
        {"", text, true},
        {"ami", text, false},  // chords are not lyrics
        {"vodou a dal", text, false},
        {"", nullptr, false},
        {"a", nullptr, false},
        {"l", "ľ", false},
        {"ľ", "aľa", true},
        {"text", "te[unclosed chord xt", false},
    };
    for (const auto& r : rows) EXPECT_EQ(btkFoldedFind(r.phrase, btkstring(r.text)), r.found) << r.phrase;
}

namespace {

// The phrase search tried at every place in turn, each character folded
// as it is compared: the reference of btkFoldedFind.
const char* nextPlace(const char* p) {
    for (++p;;) {
        if ((*p >= 1 && *p <= 32) || *p == ',' || *p == '.') {
            ++p;
        } else if (*p == '[') {
            const char* close = std::strchr(p, ']');
            p = close ? close + 1 : p + std::strlen(p);
        } else {
            return p;
        }
    }
}

bool referenceFind(const char* phrase, const char* text) {
    for (const char* start = text; *start; start = nextPlace(start)) {
        const char *q = phrase, *t = start;
        while (*q && *t && btkFoldedEqual(*q, *t)) {
            q = nextPlace(q);
            t = nextPlace(t);
        }
        if (!*q) return true;
    }
    return false;
}

}  // namespace

TEST(Fold, PhraseSearchAgreesWithTryingEveryPlace) {
    // Few distinct codes, so that phrases are often nearly found; chords,
    // brackets and skipped characters anywhere, at the start included.
    const std::string alphabet = "aAáÁbBšSŠ ,.\n[]]xľ";
    std::mt19937 random(28);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto piece = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += alphabet[static_cast<size_t>(pick(static_cast<int>(alphabet.size())))];
        return s;
    };
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text = piece(pick(40));
        // Half the phrases are pieces of the text itself, so they are found
        // unless the folding or the skipping differs.
        std::string phrase = piece(1 + pick(6));
        if (round % 2 && !text.empty()) {
            size_t at = static_cast<size_t>(pick(static_cast<int>(text.size())));
            phrase = text.substr(at, static_cast<size_t>(1 + pick(8)));
        }
        bool expected = referenceFind(phrase.c_str(), text.c_str());
        ASSERT_EQ(btkFoldedFind(phrase.c_str(), btkstring(text.c_str())), expected) << phrase << "|" << text;
        found += expected;
    }
    EXPECT_GT(found, 4000);
    EXPECT_LT(found, 16000);
}

// ---- date and time ----

class DateTime : public testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        oldTz = tz ? std::optional<std::string>(tz) : std::nullopt;
        setenv("TZ", "Europe/Prague", 1);
        tzset();
    }
    void TearDown() override {
        oldTz ? setenv("TZ", oldTz->c_str(), 1) : unsetenv("TZ");
        tzset();
    }
    std::optional<std::string> oldTz;
};

TEST_F(DateTime, FormatsWithoutPaddingAndRoundTripsAlsoInSummer) {
    btkDateTime d = btkDateTime::parse("1.2.2005 9:05:03");
    EXPECT_TRUE(d.valid);
    EXPECT_EQ(d.format(), "1.2.2005 9:05:03");
    EXPECT_EQ(d.formatISO(), "2005-2-1 9:05:03");
    for (const char* text : {"24.12.2004 18:30:00", "15.7.2006 14:07:59", "31.3.2024 3:00:00"}) {
        btkDateTime t = btkDateTime::parse(text);
        EXPECT_EQ(t.format(), text);
        btkDateTime again = btkDateTime::parse(t.format());
        EXPECT_EQ(again.tm_hour, t.tm_hour);
        EXPECT_EQ(again.tm_mday, t.tm_mday);
    }
    btkDateTime summer = btkDateTime::parse("15.7.2006 14:07:59");
    EXPECT_EQ(summer.tm_hour, 14);
    EXPECT_GT(summer.tm_isdst, 0);
    EXPECT_TRUE(btkDateTime::now().valid);
    EXPECT_GE(btkDateTime::now().tm_year, 120);
}

TEST_F(DateTime, MissingPartsAndEmptyText) {
    EXPECT_EQ(btkDateTime::parse("7.3.2005").format(), "7.3.2005 0:00:00");
    EXPECT_EQ(btkDateTime::parse("7 . 3 . 2005  12 : 3").format(), "7.3.2005 12:03:00");
    btkDateTime empty = btkDateTime::parse("");
    EXPECT_FALSE(empty.valid);
    EXPECT_EQ(empty.format(), "");
    EXPECT_EQ(empty.formatISO(), "");
    EXPECT_EQ(empty.tm_year, 0);
    // Out-of-range fields are normalised, not rejected.
    EXPECT_EQ(btkDateTime::parse("32.1.2005 10:00:00").format(), "1.2.2005 10:00:00");
}

// ---- text cursor and scanners ----

TEST(TextCursor, ClassesAreAsciiOnly) {
    EXPECT_TRUE(isBlankChar(' ') && isBlankChar('\x01') && isIdentStartChar('_') && isIdentChar('1'));
    // Š and ž are letters above 127, not control characters.
    EXPECT_FALSE(isBlankChar(0) || isBlankChar('\x8A') || isLetterChar('\x9E') || isIdentStartChar('1'));
}

TEST(TextCursor, Scanners) {
    TextCursor c("  name_2+12-3");
    c.skipBlanks();
    EXPECT_EQ(btkScanIdent(c), "name_2");
    EXPECT_EQ(c.current(), '+');
    EXPECT_EQ(btkScanIdent(c), "");
    EXPECT_EQ(c.current(), '+');
    c.next();
    EXPECT_EQ(btkScanNumber(c), 12u);
    EXPECT_EQ(btkScanNumber(c), 0u);  // the minus stays unread
    EXPECT_EQ(c.current(), '-');

    TextCursor digits("9abc");
    EXPECT_EQ(btkScanIdent(digits), "");
    EXPECT_EQ(btkScanNumber(digits), 9u);
    EXPECT_EQ(btkScanIdent(digits), "abc");
    EXPECT_EQ(digits.current(), 0);
    digits.next().skipBlanks();  // stays at the end
    EXPECT_EQ(digits.current(), 0);

    TextCursor wrap("4294967297");
    EXPECT_EQ(btkScanNumber(wrap), 1u);

    TextCursor f("title  ;;rest ");
    EXPECT_EQ(btkScanField(f, ';'), "title");
    EXPECT_EQ(btkScanField(f, ';'), "");
    EXPECT_EQ(btkScanField(f, ';'), "rest");
    EXPECT_EQ(f.current(), 0);
    EXPECT_EQ(btkScanField(f, ';'), "");

    TextCursor points("...x");
    points.skipChar('.');
    EXPECT_EQ(points.current(), 'x');
}

// ---- password scrambler ----

TEST(Scrambler, RoundTripAndForm) {
    for (const char* text : {"", "a", "abc", "heslo123", "Žluťoučký kůň", "\x01\xff"}) {
        btkstring s = btkScramblePassword(text);
        EXPECT_EQ(s.length(), 2 * static_cast<int>(std::strlen(text)));
        for (char c : std::string(s.c_str())) EXPECT_NE(std::strchr("hkr2tzbw9qsemaxd", c), nullptr);
        EXPECT_EQ(btkUnscramblePassword(s), text);
    }
    // The key has five bytes: the sixth byte uses the first key byte again.
    btkstring six = btkScramblePassword("aaaaaa");
    EXPECT_EQ(six.substr(10, 2), six.substr(0, 2));
    EXPECT_NE(six.substr(8, 2), six.substr(0, 2));
    // 'a' (0x61) XOR 0x9d = 0xfc: alphabet[15], alphabet[12].
    EXPECT_EQ(six.substr(0, 2), "dm");
}

TEST(Scrambler, DamagedTexts) {
    EXPECT_EQ(btkUnscramblePassword("dmdmdmd").length(), 3);  // odd tail ignored
    EXPECT_EQ(btkScrambleDigit('h'), 0);
    EXPECT_EQ(btkScrambleDigit('d'), 15);
    // Characters outside the alphabet read as 0: a wrong password, no error.
    EXPECT_EQ(btkScrambleDigit('Z'), 0);
    EXPECT_EQ(btkUnscramblePassword("ZZ"), btkUnscramblePassword("hh"));
}

// ---- colour names ----

TEST(Colors, NamesHexAndMalformedTexts) {
    const struct {
        const char* name;
        btkColor color;
    } rows[] = {
        {"black", 0u},
        {"BLACK", 0u},
        {"Black", 0u},
        {"#FF0000", colorFromName("Red")},
        {"#ff8000", colorMake(255, 128, 0)},
        {"#0a0B0c", colorMake(10, 11, 12)},
        {"#00FF00extra", colorMake(0, 255, 0)},
    };
    for (const auto& r : rows) EXPECT_EQ(colorFromName(r.name), r.color) << r.name;
    EXPECT_EQ(colorToName(colorFromName("#FF0000")), "Red");
    EXPECT_EQ(colorToName(colorMake(255, 128, 0)), "#FF8000");
    EXPECT_EQ(colorToName(colorMake(128, 64, 0)), "Brown");
    EXPECT_EQ(colorToName(colorMake(64, 128, 0)), "Pond");
    EXPECT_EQ(colorMake(1, 2, 3), 0x030201u);
    for (const char* bad : {"Chartreuse", "", "#", "#12", "#12345", "#GG0000", "#12 456", "FF0000"})
        EXPECT_EQ(colorFromName(bad), btkNoColor) << bad;
    EXPECT_EQ(colorFromName(nullptr), btkNoColor);
}
