// Song print formatting: the settings a song is drawn with (text width,
// spacing, chord options and the nine fonts made for a printer), the
// measured layout parameters for the screen and for a printer, the song
// head (title and author), the space between songs, and the print of one
// song on its own.
//
// Heights are measured on the output device (the view's canvas on screen,
// the printer's measuring canvas when printing), so recorded panes have
// their final sizes.
#pragma once

#include <memory>

#include "foundation/btkcanvas.h"
#include "foundation/btkprintdevice.h"
#include "foundation/btkxml.h"
#include "songbook/kxpanes.h"
#include "songs/fontsettings.h"

class KxSong;

// The screen font record of a font description.
btkFontSpec FontSpecOf(const KxFont& font);

class KxFormatProps {
public:
    KxFormatProps() = default;
    KxFormatProps(const KxFormatProps&) = delete;
    KxFormatProps& operator=(const KxFormatProps&) = delete;
    ~KxFormatProps() = default;

    // Makes the nine fonts for the printer from the children of the fonts
    // element named after them (a missing child reads as a font without
    // attributes: size 0, no face, no styles). Without a printer the fonts
    // stay empty.
    void loadFonts(const btkXMLNode& fonts);
    // Deletes the fonts and sets the width to 0.
    void deleteFonts();

    int width = 0;  // width of the song text, device pixels
    bool songlines = false;
    int slspacehi = 50;
    int songspacehi = 200;
    bool inacs = false;
    bool outacs = false;
    // Lyrics, labels, chords, song title, author, table-of-contents title
    // and page number, header, footer; owned, null until loadFonts.
    std::unique_ptr<btkFont> fntext, fnlab, fnacs, fntitle, fnauthor, fnoutlinetitle, fnoutlinenumber, fnheader,
        fnfooter;
    btkPrintDevice* printer = nullptr;  // not owned: the fonts are made for it
};

// The layout parameters measured on a canvas of the output device: heights
// and widths of "I" in the three fonts, the width, the section space
// (slspacehi percent of the text line) and the chord options.
FKXTYPE MeasureSongParams(btkCanvas measure, btkFont* textFont, btkFont* labelFont, btkFont* chordFont, int width,
                          int slspacehi, bool inacs, bool outacs);

// The song view's layout: measured on measure, drawn on target with the
// screen fonts (not owned); returns the height laid out.
int buildScreenSongPanes(btkCanvas measure, btkCanvas target, const char* text, btkFont* textFont, btkFont* labelFont,
                         btkFont* chordFont, int width, int slspacehi, bool inacs, bool outacs);
// The printed layout with the properties' fonts fntext, fnlab and fnacs,
// width, slspacehi, inacs and outacs; measured on measure (the printer's
// measuring canvas).
int buildPrintSongPanes(btkCanvas measure, btkCanvas target, const char* text, const KxFormatProps& props);

// Draws the title in fntitle at (0, 0) and the author in fnauthor below it,
// and closes them as one pane of both heights, kept with the song's first
// text block. The canvas measures on the output device.
void drawSongHead(btkCanvas canvas, const char* title, const char* author, const KxFormatProps& props);
// Closes an optional pane of songspacehi percent of the height of "I" in
// fntext, with a line across the width at half its height when songlines
// is set.
void drawSongSpace(btkCanvas canvas, const KxFormatProps& props);

// Prints the song on its own across the whole printable area of the
// printer, its head and then its displayed text, in the fonts and spacing
// of the options' `print` element (slspacehi 0 and no chord options when
// it is missing), as one job named after the title. Panes go down each
// page up to the printable height. The caller has run the printer dialog.
// False, having printed nothing, when the printer is not valid or the job
// cannot start; printer failures during the job are thrown by the printer.
[[nodiscard]] bool printSong(const KxSong& song, btkPrintDevice& printer, const btkXMLNode& options);
