// Song panes and print formatting, measured on the fake printer: pane
// heights and the place of every text for a few hand-computed songs, the
// song head and space, and the print of one song.
#include "songbook/kxpanes.h"

#include <gtest/gtest.h>

#include <string>

#include "songbook/kxformat.h"
#include "songbook/kxtype.h"
#include "songs/kxsong.h"
#include "tests/support/fake_printer.h"

using namespace kx6test;

namespace {

// Every pane of the group as "<height>[?]:" followed by its texts as
// "<font>@x,y,text", the panes joined by " | " ("?" marks an optional pane).
std::string describe(btkPaneGrp& group) {
    std::string out;
    for (btkPane* pane : group.panes()) {
        if (!out.empty()) out += " | ";
        out += std::to_string(pane->height) + (pane->optional ? "?" : "") + ":";
        LoggingCanvas replay;
        pane->play(btkCanvas(0, 0, replay.sp()));
        std::string font;
        for (const std::string& e : replay.log()) {
            if (e.rfind("setFont(", 0) == 0) font = e.substr(8, e.size() - 9);
            if (e.rfind("text(", 0) == 0) out += " " + font + "@" + e.substr(5, e.size() - 6);
        }
    }
    return out;
}

// Fonts whose "I" is, on the fake printer, 6 x 12 (text), 5 x 10 (label)
// and 4 x 8 (chords): text line 12, label line 12, chord row 8, chord gap
// 4, word gap 6, section space 6 at slspacehi 50.
struct SongFonts {
    NamedFont text{"T", 6};
    NamedFont label{"L", 5};
    NamedFont chord{"C", 4};
};

}  // namespace

TEST(SongPanes, HandComputedLayouts) {
    const struct {
        const char* song;
        int width;
        bool inacs, outacs;
        const char* panes;
    } rows[] = {
        {"a\nbb \r\nccc", 100, false, false, "12: T@0,0,a | 12: T@0,0,bb | 12: T@0,0,ccc"},
        {"[C]", 100, false, false, "8: C@0,0,C"},
        // The second chord is pushed behind the first plus the chord gap.
        {"[C]a[G7]b x", 100, false, false, "20: C@0,0,C T@0,8,a C@8,0,G7 T@8,8,b T@22,8,x"},
        {".1.\nla  la", 100, false, false, "6?: | 12: L@0,0,1. T@10,0,la T@34,0,la"},
        {".R\n.2\nx\n.3", 100, false, false, "12: L@0,0,R | 6?: | 12: L@0,0,2 T@5,0,x | 12: L@0,0,3"},
        {".1\n[C]la\n[D] [E]", 100, false, false, "6?: | 20: L@0,8,1 C@5,0,C T@5,8,la | 8: C@5,0,D C@15,0,E"},
        // Wrapped words start again behind the section's label.
        {".R\naaa bbb", 30, false, false, "6?: | 12: L@0,0,R T@5,0,aaa | 12: T@5,0,bbb"},
        {"[C]abcdef [G]gh", 10, false, false, "20: C@0,0,C T@0,8,abcdef | 20: C@0,0,G T@0,8,gh"},
        {"abcdef gh", 10, false, false, "12: T@0,0,abcdef | 12: T@0,0,gh"},
        {"[C la]b ]x[", 100, false, false, "12: T@0,0,[C T@24,0,la]b T@60,0,]x["},
        {"[C]Hello [G]world", 100, false, true, "12: T@0,0,Hello T@42,0,world"},
        {"[C maj]la [D]", 100, true, false, "12: C@0,0,C maj T@20,0,la C@38,0,D"},
    };
    SongFonts f;
    FakePrinter printer;
    for (const auto& r : rows) {
        const FKXTYPE p =
            MeasureSongParams(printer.measureCanvas(), &f.text, &f.label, &f.chord, r.width, 50, r.inacs, r.outacs);
        btkPaneGrp group;
        group.canvas().setMeasureTarget(printer.measureCanvas().sp());
        const int height = buildSongPanes(p, group.handle(), r.song);
        EXPECT_EQ(describe(group), r.panes) << r.song;
        int sum = 0;
        for (btkPane* pane : group.panes()) sum += pane->height;
        EXPECT_EQ(height, sum) << r.song;
    }
}

TEST(SongPanes, LongTextsNeedNoBuffers) {
    const std::string word(3000, 'w');
    const std::string song = "." + std::string(600, 'L') + "\n" + word + " [" + std::string(400, 'C') + "]x";
    SongFonts f;
    FakePrinter printer;
    const FKXTYPE p = MeasureSongParams(printer.measureCanvas(), &f.text, &f.label, &f.chord, 500, 50, false, false);
    btkPaneGrp group;
    group.canvas().setMeasureTarget(printer.measureCanvas().sp());
    EXPECT_EQ(buildSongPanes(p, group.handle(), song.c_str()), 6 + 20 + 20);
}

TEST(SongFormat, HeadSpaceAndOneSongPrinted) {
    FakePrinter printer(300, 100, 4, true);
    btkXMLNode options;
    btkXMLNode print = options.addChild("print");
    print.setIntAttr("slspacehi", 100);
    btkXMLNode fonts = print.addChild("fonts");
    for (const char* name : KxTypeFontNames) {
        btkXMLNode font = fonts.addChild(name);
        font.setAttr("name", name);
        font.setIntAttr("size", std::string(name) == "fntitle" ? 15 : std::string(name) == "fntext" ? 10 : 5);
    }

    KxFormatProps props;
    props.printer = &printer;
    props.width = 200;
    props.songlines = true;
    props.loadFonts(fonts);
    btkPaneGrp group;
    group.canvas().setMeasureTarget(printer.measureCanvas().sp());
    drawSongHead(group.handle(), "Title", "Author", props);
    drawSongSpace(group.handle(), props);
    LoggingCanvas space;
    group.pane(1)->play(btkCanvas(0, 0, space.sp()));
    EXPECT_EQ(describe(group), "40: fntitle@0,0,Title fnauthor@0,30,Author | 40?:");
    EXPECT_EQ(space.log().back(), "line(0,20,200,20)");
    props.deleteFonts();
    EXPECT_EQ(props.width, 0);
    EXPECT_FALSE(props.fntext);

    // Landscape page 100 high: head 40, section space 20, the chord line 30;
    // the line b opens page 2.
    KxSong song;
    song.title = "Píseň";
    song.author = "A";
    song.text = ".R\n[C]a\nb\nc";
    song.transposition = 2;
    ASSERT_TRUE(printSong(song, printer, options));
    EXPECT_EQ(joined(printer.log),
              "startDoc(Píseň); newPage; setFont(fntitle); text(0,0,Píseň); setFont(fnauthor); text(0,30,A); "
              "setFont(fnlab); text(0,70,R); setFont(fnacs); text(5,60,D); setFont(fntext); text(5,70,a); endPage; "
              "newPage; setFont(fntext); text(5,0,b); setFont(fntext); text(5,20,c); endPage; endDoc");

    printer.log.clear();
    printer.failStart = true;
    EXPECT_FALSE(printSong(song, printer, options));
    EXPECT_EQ(joined(printer.log), "startDoc(Píseň)");
}
