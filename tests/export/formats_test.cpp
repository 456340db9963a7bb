// The stream formats beside their golden files (which show the escaping of
// HTML and RTF, the plain forms and the template placeholders): the chord
// markup of the transposing HTML, escaped HTML keeping chord columns,
// separators and the busy notice of long exports.
#include <gtest/gtest.h>

#include <string>

#include "export/htmlexporter.h"
#include "export/txtexporter.h"
#include "exportenv.h"
#include "songs/uibridge.h"

namespace {

// The <PRE> block of one song in the transposing HTML form.
std::string transposingPre(const char* text) {
    SongSet set({{"t", "a", text}});
    HTMLStreamSongExporter exporter(TextExporterProps(), true);
    std::string page = runToString(exporter, set.data);
    size_t begin = page.find("<PRE>"), end = page.find("</PRE>");
    return page.substr(begin + 5, end - begin - 5);
}

std::string scriptLine(const std::string& page, const char* start) {
    size_t at = page.find(start);
    return at == std::string::npos ? "" : page.substr(at, page.find('\n', at) - at);
}

TEST(HTMLExport, ChordMarkupKeepsColumns) {
    const struct {
        const char* text;
        const char* pre;
    } rows[] = {
        // note0 C#, "m7/", note1 E, space1 " ", space0 "": seven columns, so
        // the next chord, at column 9, gets two blanks.
        {"[C#m7/E]abcdefghi[C]y",
         "<B id=\"note0\">C#</B><B>m7/</B><B id=\"note1\">E</B><B id=\"space1\"> </B><B id=\"space0\"></B>"
         "  <B id=\"note2\">C</B><B id=\"space2\"> </B>\nabcdefghiy\n"},
        // An unparsed chord counts its characters (escaped ones as one).
        {"[N<C]ab[G]c", "N&lt;C <B id=\"note0\">G</B><B id=\"space0\"> </B>\nabc\n"},
        {"[(D)]a[Es]b",
         "<B>(</B><B id=\"note0\">D</B><B>)</B><B id=\"space0\"> </B> "
         "<B id=\"note1\">Es</B><B id=\"space1\"></B>\nab\n"},
        {"[C/x]", "<B id=\"note0\">C</B><B>/</B><B>x</B><B id=\"space0\"> </B>\n\n"},
    };
    for (const auto& r : rows) EXPECT_EQ(transposingPre(r.text), r.pre) << r.text;
}

TEST(HTMLExport, ScriptTakesTheEasiestTranspositions) {
    // Major chords only: C 1, G 7, D 4, A 4, every other root 9. The chords
    // C C C G are least hard in total as they stand (10, hardest 7) and
    // have the least hardest chord two semitones up (D D D A: 16, hardest 4).
    // The chord table lives in the program's options: the test sets its own
    // and gives the others back at the end.
    btkXMLNode saved;
    saved.assign(OptionsRoot());
    struct Restore {
        btkXMLNode& saved;
        ~Restore() { OptionsRoot().assign(saved); }
    } restore{saved};
    btkXMLNode& options = OptionsRoot();
    options.clear();
    options.setName("options");
    btkXMLNode dur = options.addChild("chorddifs").addChild("dur");
    for (const char* note : {"c", "cis", "d", "dis", "e", "f", "fis", "g", "gis", "a", "b", "h"})
        dur.setAttr(note, "9");
    dur.setAttr("c", "1");
    dur.setAttr("g", "7");
    dur.setAttr("d", "4");
    dur.setAttr("a", "4");
    SongSet set({{"t", "a", "[C]a[C]b[C]c[G]"}, {"plain", "", "no chords"}});
    HTMLStreamSongExporter exporter(TextExporterProps(), true);
    btkCntVec<AbstractSongData*> one, other;
    one.add(set.data[0]);
    other.add(set.data[1]);
    const std::string page = runToString(exporter, one);
    EXPECT_EQ(scriptLine(page, "var SUMD"), "var SUMD=2,MAXD=0,ACTUALD=0;");
    EXPECT_EQ(scriptLine(page, "var HIS"), "var HIS=new Array(0,0,0,7);");
    const std::string empty = runToString(exporter, other);
    EXPECT_EQ(scriptLine(empty, "var HIS"), "var HIS=new Array();");
    EXPECT_NE(empty.find("function changechords(d,doc) {\n  \n}\n"), std::string::npos);
    EXPECT_EQ(empty.substr(empty.size() - 30), "//--></SCRIPT></HTML>\n</BODY>\n");
}

TEST(HTMLExport, SongDataIsEscaped) {
    SongSet set({{"<script>alert(1)</script>", "A & \"B\"", ".<1>\n[C]a&b [G]c"}, {"x", "", ""}});
    HTMLStreamSongExporter exporter{TextExporterProps()};
    const std::string page = runToString(exporter, set.data);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    for (const char* part : {"<H2>&lt;script&gt;alert(1)&lt;/script&gt;</H2>", "<H3>A &amp; &quot;B&quot;</H3>",
                             "   <B>C   G</B>\n<U>&lt;1&gt;</U>a&amp;b c\n"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    // One rule between the two songs, none around them.
    EXPECT_EQ(page.find("<HR>"), page.rfind("<HR>"));
    EXPECT_EQ(runToString(exporter, btkCntVec<AbstractSongData*>()),
              "<HTML>\n<HEAD>\n<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1250\">\n"
              "<meta name=\"generator\" content=\"Kantorix\">\n</HEAD>\n<BODY>\n</HTML>\n</BODY>\n");
}

// Counts how often the busy window was shown.
struct CountingBusy : KxBusyWindow {
    void showBusy(const char*) override { ++shown; }
    void hideBusy() override {}
    int shown = 0;
};

TEST(StreamExport, BusyNoticeAboveThirtyTwoSongs) {
    CountingBusy busy;
    gBusyWindow = &busy;
    std::vector<std::unique_ptr<KxSong>> songs;
    btkCntVec<AbstractSongData*> data;
    TXTStreamSongExporter exporter((TextExporterProps()));
    for (int n : {32, 33}) {
        while (data.count() < n) {
            songs.push_back(std::make_unique<KxSong>());
            data.add(songs.back().get());
        }
        runToString(exporter, data);
    }
    gBusyWindow = nullptr;
    EXPECT_EQ(busy.shown, 1);
}

}  // namespace
