// kxtool book-render on the PDF printer: the sheet sides printed, each song
// on the page the layout gave it, chords above the lyrics.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/foundation/qt/pdf_tools.h"
#include "tests/songs/programfolder.h"

using kx6test::commandOutput;
using kx6test::pdfPageCount;
using kx6test::pdfWords;

namespace {

// Standard output of kxtool book-render; with errors also its error output.
std::string render(const ProgramFolder& dir, const std::string& book, const std::string& pdf,
                   const std::string& sides = "", bool errors = false) {
    return commandOutput(std::string(KXTOOL) + " book-render '" + dir.path("") + "' '" + book + "' '" + pdf + "' " +
                         sides + (errors ? " 2>&1" : " 2>/dev/null"));
}

// The pages (from 0) on which the word stands.
std::vector<int> pagesOf(const std::vector<kx6test::PdfWord>& words, const std::string& text) {
    std::vector<int> pages;
    for (const auto& w : words)
        if (w.text == text) pages.push_back(w.page);
    return pages;
}

// The chord stands above the lyric word, where the word begins.
bool chordAbove(const std::vector<kx6test::PdfWord>& words, const std::string& chord, const std::string& lyric) {
    for (const auto& c : words)
        for (const auto& l : words)
            if (c.text == chord && l.text == lyric && c.page == l.page && std::fabs(c.xMin - l.xMin) < 1.0 &&
                c.yMax <= l.yMin + 1.0)
                return true;
    return false;
}

// A book of nine songs, each starting a new page, on the default type: one
// logical page per sheet side.
std::string nineSongBook() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<melodar>"
        "<kxtype savediff=\"1\" basetype=\"default\"/><items>";
    for (int i = 1; i <= 9; ++i)
        xml += "<song newpage=\"1\" skippage=\"0\" fixtobegin=\"0\" fixtoend=\"0\" title=\"Titul" + std::to_string(i) +
               "\" author=\"lidov\xE1\" group=\"g\" locid=\"" + std::to_string(i) +
               "\" netid=\"0\" chorddiff=\"0\" db=\"x\" remark=\"\"><text>.1.\n[G]Holka modro[D]ok\xE1\n"
               "nesed\xE1vej u potoka</text><vars/></song>";
    return xml + "</items></melodar>\n";
}

}  // namespace

TEST(BookRender, NineSongsOnTheirPages) {
    ProgramFolder dir;
    dir.write("book.kx", nineSongBook());
    const std::string pdf = dir.path("all.pdf");
    EXPECT_EQ(render(dir, dir.path("book.kx"), pdf), "logical pages 9, sheets 5\n");
    EXPECT_EQ(pdfPageCount(pdf), 10);
    const auto words = pdfWords(pdf);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(pagesOf(words, "Titul" + std::to_string(i)), std::vector<int>{i - 1}) << i;

    // Sides 3 to 4 as the print range dialog counts them.
    const std::string part = dir.path("part.pdf");
    EXPECT_EQ(render(dir, dir.path("book.kx"), part, "3-4"), "logical pages 9, sheets 5\n");
    EXPECT_EQ(pdfPageCount(part), 2);
    const auto partWords = pdfWords(part);
    EXPECT_EQ(pagesOf(partWords, "Titul3"), std::vector<int>{0});
    EXPECT_EQ(pagesOf(partWords, "Titul4"), std::vector<int>{1});

    EXPECT_TRUE(chordAbove(words, "G", "Holka"));
}

// A book made by kxtool book-new from the sample database.
TEST(BookRender, SampleDatabaseBook) {
    ProgramFolder dir;
    std::filesystem::copy_file(KX6_SOURCE_DIR "/dist/db/lidovky.xml", dir.path("db/lidovky.xml"));
    commandOutput(std::string(KXTOOL) + " book-new '" + dir.path("") + "' lidovky '" + dir.path("book.kx") + "'");
    const std::string pdf = dir.path("book.pdf");
    int pages = 0, sheets = 0;
    ASSERT_EQ(
        std::sscanf(render(dir, dir.path("book.kx"), pdf).c_str(), "logical pages %d, sheets %d", &pages, &sheets), 2);
    EXPECT_GT(pages, 1);
    EXPECT_EQ(pdfPageCount(pdf), 2 * sheets);
    const auto words = pdfWords(pdf);
    EXPECT_TRUE(chordAbove(words, "G", "Holka"));
    EXPECT_TRUE(chordAbove(words, "C", "Ko\xc4\x8dka"));
}

TEST(BookRender, ErrorsAreReported) {
    ProgramFolder dir;
    dir.write("book.kx", nineSongBook());
    EXPECT_NE(render(dir, dir.path("missing.kx"), dir.path("x.pdf"), "", true).find("missing.kx"), std::string::npos);
    EXPECT_NE(render(dir, dir.path("book.kx"), dir.path("x.pdf"), "7-2", true).find("7-2"), std::string::npos);
    EXPECT_NE(render(dir, dir.path("book.kx"), dir.path("x.pdf"), "3-11", true).find("3-11"), std::string::npos);
}
