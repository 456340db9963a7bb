// Text import: the plain text conversion (chord lines, labels, repeat
// signs), the chord line test, the filters' handling of short and
// unreadable files, and the encodings of the files users bring.
#include <gtest/gtest.h>

#include "export/importfilter.h"
#include "exportenv.h"
#include "foundation/btkfile.h"
#include "songs/dailylog.h"
#include "songs/kxsong.h"
#include "songs/kxview.h"

namespace {

TEST(PlainSongText, Conversion) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        // Chords at columns 0 and 8 merged into the lyrics below them.
        {"C       G\nHello world, hi\n", "[C]Hello wo[G]rld, hi\n"},
        // Two chord lines: the first stands alone in brackets.
        {"C G\nAm\nla la\n", "[C][G]\n[Am]la la\n"},
        // A chord beyond the end of the lyrics is appended.
        {"C      G\nab\n", "[C]ab[G]\n"},
        // A chord line after the last lyrics stays as it is.
        {"la\n  C  G  \n", "la\nC  G\n"},
        {"Ref.: la la\n2.\n", ".Ref.:\n la la\n.2.\n"},
        {"R.: x\nR2. y\n*: z\n", ".R.:\n x\n.R2.\n y\n.*:\n z\n"},
        {"[: la :]\n", "/: la :/\n"},
        {"\n\n   indented\n\t\nnext", "indented\nnext\n"},
        // Czech letters belong to the words of a chord line.
        {"Ami\nŠárka\n", "[Ami]Šárka\n"},
    };
    for (const auto& r : rows) EXPECT_EQ(std::string(ConvertPlainSongText(r.in).c_str()), r.out) << r.in;
    // Lines of any length are kept whole.
    const std::string lyrics(3000, 'x');
    EXPECT_EQ(ConvertPlainSongText(("C" + std::string(2998, ' ') + "G\n" + lyrics).c_str()).c_str(),
              "[C]" + lyrics.substr(0, 2999) + "[G]x\n");
}

TEST(PlainSongText, ChordLines) {
    const struct {
        const char* line;
        bool chords;
    } rows[] = {
        {"C G7 Ami Hmi7 F#m (Es) Bb D/F#", true},
        {"Cmaj7 Dadd9 Edim C+", true},
        {"Asus4 E", false},
        {"C hello G", true},
        {"C hello world", false},
        {"", false},
        {"Am.", false},
        {"(C) G", true},
        {"[C]la [G]", false},
        {"Cesta domů", false},
        {"am em", true},
    };
    for (const auto& r : rows) EXPECT_EQ(IsPlainChordLine(r.line), r.chords) << r.line;
}

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override { registerImportFilters(); }
    void TearDown() override {
        view->release();
        system.processQueue();
    }
    KxSystem system;
    ExportFolder folder;
    KxCustomView* view = new KxCustomView;
};

TEST_F(ImportTest, ShortAndUnreadableFiles) {
    ASSERT_EQ(importFilters.count(), 3);
    folder.write("one.txt", "Title\n");
    folder.write("group.txt", "Title\n\nAuthor\n");
    for (ImportFilter* filter : importFilters) EXPECT_TRUE(filter->import(folder.path("one.txt").c_str(), *view));
    EXPECT_EQ(view->songs.count(), 0);
    EXPECT_TRUE(importFilters[1]->import(folder.path("group.txt").c_str(), *view));
    ASSERT_EQ(view->songs.count(), 1);
    EXPECT_EQ(view->songs[0]->author, "Author");
    EXPECT_EQ(view->songs[0]->lang, "cz");
    EXPECT_TRUE(folder.boxes().empty());
    // Unreadable: a missing file and a folder are named with the reason;
    // nothing is added.
    const struct {
        const char* name;
        const char* reason;
    } unreadable[] = {{"missing.txt", "No such file or directory"}, {"data", "Is a directory"}};
    for (const auto& u : unreadable) {
        EXPECT_FALSE(importFilters[2]->import(folder.path(u.name).c_str(), *view));
        EXPECT_NE(folder.boxes().back().find(u.name), std::string::npos);
        EXPECT_NE(folder.boxes().back().find(u.reason), std::string::npos) << folder.boxes().back();
    }
    EXPECT_EQ(view->songs.count(), 1);
    registerImportFilters();
    EXPECT_EQ(importFilters.count(), 3);
}

// The same song as Windows-1250, UTF-8, UTF-8 with a byte-order mark, with
// CR LF and with CR line ends gives the same song; a NUL byte reads as a
// blank.
TEST_F(ImportTest, EncodingsGiveTheSameSong) {
    const std::string utf8 =
        reinterpret_cast<const char*>(u8"Žluťoučký kůň - Úpěl Ďábel\nC        G\nPříliš žluťoučký\n\nR: Ódy\n");
    std::string crlf, cr;
    for (char c : utf8) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (char c : utf8) cr += c == '\n' ? '\r' : c;
    const struct {
        const char* name;
        std::string bytes;
    } rows[] = {
        {"cp1250.txt", "Žluťoučký kůň - Úpěl Ďábel\nC        G\nPříliš žluťoučký\n\nR: Ódy\n"},
        {"utf8.txt", utf8},
        {"bom.txt", "\xEF\xBB\xBF" + utf8},
        {"crlf.txt", "\xEF\xBB\xBF" + crlf},
        {"cr.txt", cr},
        {"nul.txt", std::string("Žluťoučký kůň - Úpěl Ďábel\nC        G\nPříliš") + '\0' + "žluťoučký\n\nR: Ódy\n"},
    };
    for (const auto& r : rows) {
        folder.write(r.name, r.bytes);
        const int before = view->songs.count();
        ASSERT_TRUE(importFilters[2]->import(folder.path(r.name).c_str(), *view)) << r.name;
        ASSERT_EQ(view->songs.count(), before + 1) << r.name;
        const KxSong* song = view->songs[view->songs.count() - 1];
        const KxSong* first = view->songs[0];
        EXPECT_EQ(song->title, "Žluťoučký kůň") << r.name;
        EXPECT_EQ(song->author, "Úpěl Ďábel") << r.name;
        EXPECT_EQ(song->text, first->text) << r.name;
    }
    EXPECT_EQ(view->songs[0]->text, "[C]Příliš žl[G]uťoučký\n.R:\n Ódy\n");
    EXPECT_TRUE(folder.boxes().empty());
}

// Characters without a Windows-1250 form become '?', the '?' of the file
// stay, and the daily log says how many were replaced.
TEST_F(ImportTest, UnmappableCharactersAreCountedInTheLog) {
    LogClose();
    folder.write("chinese.txt", reinterpret_cast<const char*>(u8"Píseň 汉字?\nautor\ntext ☃\n"));
    ASSERT_TRUE(importFilters[0]->import(folder.path("chinese.txt").c_str(), *view));
    EXPECT_EQ(view->songs[view->songs.count() - 1]->title, "Píseň ???");
    EXPECT_EQ(view->songs[view->songs.count() - 1]->text, "text ?\n");
    LogClose();
    const std::string log = folder.read("data/" + std::string(btkFile(LogFileName()).fileName().c_str()));
    EXPECT_NE(log.find("nahrazených otazníkem: 3"), std::string::npos) << log;
}

}  // namespace
