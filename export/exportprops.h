// The settings records of the export filters. A filter keeps them as plain
// members and copies them into every exporter it makes, so an export run
// never sees a filter being edited meanwhile.
#pragma once

#include "foundation/btkstring.h"
#include "songs/fontsettings.h"

// How a song text is laid out, shared by every stream format.
struct TextExporterProps {
    bool inacs = false;   // chords stay inside the text line (mixed lines)
    bool outacs = false;  // chords are left out
    bool textlab = true;  // a label stands in front of the next text line
};

enum RTFExportStyle : unsigned char {
    RTF_STYLE_NORMAL = 0,  // title, author and the whole text with chords
    RTF_STYLE_SHORT = 1,   // title, the first line of each block, the chords of each block
};

// The song heading of the RTF document.
struct RTFExporterProps {
    KxFont fntitle;
    KxFont fnauthor;
    unsigned char exportstyle = RTF_STYLE_NORMAL;
};

// The song text of the RTF document: chords and labels take the face and
// size of fntext and only their colour and style from their own font.
struct RTFSongExporterProps {
    RTFSongExporterProps() { fntext.name = "Courier"; }
    KxFont fntext;
    KxFont fnlab;
    KxFont fnacs;
};

// The fifteen templates of a template ("custom") filter, in file order.
struct CustomExporterProps {
    btkstring begindoc, enddoc, beginsong, endsong;
    btkstring begintextline, endtextline, beginacline, endacline, beginmixedline, endmixedline;
    btkstring beginchord, endchord, beginlabel, endlabel, songsep;
};

// The web directory: the stored song page kind and three page backgrounds
// (colour texts as the user typed them; empty: none).
struct OnlineExporterProps {
    btkstring songType = "html";
    btkstring groupsbg;  // the group list
    btkstring groupbg;   // the song list of one group
    btkstring songsbg;   // the two tables of all songs
};
