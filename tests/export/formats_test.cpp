// The stream formats beside their golden files (which show the escaping of
// HTML and RTF, the plain forms and the template placeholders): the chord
// markup of the transposing HTML, escaped HTML keeping chord columns,
// separators and the busy notice of long exports.
#include <gtest/gtest.h>

#include <string>

#include "export/exportfilter.h"
#include "export/htmlexporter.h"
#include "export/rtfexporter.h"
#include "export/txtexporter.h"
#include "exportenv.h"
#include "foundation/btkcolor.h"
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

// The short style lists only real chords: an unclosed bracket is text, as in
// the normal style; a font without a colour takes the automatic one.
TEST(RTFExport, ShortStyleAndFontsWithoutColour) {
    const struct {
        const char* text;
        const char* body;  // after the title's paragraph
    } rows[] = {
        {"[C]la [G]la", "la la\\par \\plain\\f2\\fs20\\cf3 C G \\par "},
        {"a [b", "a [b\\par \\par "},
        {"x]y[z\n[D]du", "x]y[z\\par \\plain\\f2\\fs20\\cf3 D \\par "},
    };
    RTFExporterProps rtf;
    rtf.exportstyle = RTF_STYLE_SHORT;
    RTFSongExporterProps rtftext;
    rtftext.fnacs.color = 0xFF;  // red
    for (const auto& r : rows) {
        SongSet set({{"t", "a", r.text}});
        RTFSongExporter exporter(rtf, rtftext, TextExporterProps());
        btkStringWriteStream out;
        exporter.exportSong(*set.data[0], out);
        const std::string text(out.c_str(), out.length());
        const std::string head = "\\plain\\f1\\fs20\\cf2 ";
        const size_t at = text.find(head);
        ASSERT_NE(at, std::string::npos) << text;
        EXPECT_EQ(text.substr(at + head.size()), r.body) << r.text;
    }
    // No colour: the automatic colour, and no white entry in the table.
    rtftext.fnacs.color = static_cast<int>(btkNoColor);
    RTFStreamSongExporter stream(rtf, rtftext, TextExporterProps());
    SongSet set({{"t", "a", "[C]la"}});
    const std::string document = runToString(stream, set.data);
    EXPECT_NE(document.find("\\f2\\fs20\\cf0 C"), std::string::npos) << document;
    EXPECT_EQ(document.find("\\red255\\green255\\blue255"), std::string::npos) << document;
}

// Templates of white space alone are data: they survive the filter file.
TEST(TemplateExport, WhiteSpaceTemplatesSurviveTheFilterFile) {
    ExportFolder folder;
    CustomFileExportFilter filter("ws", btkXMLNode());
    filter.custom.songsep = "\n\n";
    filter.custom.endtextline = "\n";
    filter.custom.begintextline = " \t ";
    ASSERT_TRUE(saveExportFilter(filter));
    auto back = loadExportFilter("ws");
    ASSERT_TRUE(back);
    auto& loaded = dynamic_cast<CustomFileExportFilter&>(*back);
    EXPECT_EQ(loaded.custom.songsep, "\n\n");
    EXPECT_EQ(loaded.custom.endtextline, "\n");
    EXPECT_EQ(loaded.custom.begintextline, " \t ");
    EXPECT_EQ(loaded.custom.enddoc, "");
    SongSet set({{"a", "x", "one\ntwo"}, {"b", "y", "three"}});
    std::unique_ptr<StreamSongExporter> exporter = loaded.createStreamExporter();
    EXPECT_EQ(runToString(*exporter, set.data), " \t one\n \t two\n\n\n \t three\n");
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
