// Song panes: the text of one song (lines with chords in square brackets,
// label lines starting with ".") laid out line by line onto a canvas, every
// printed line closed by a pane break, so that a song becomes a list of
// unbreakable line blocks of known height with optional spaces before its
// labelled sections. The song view draws it on screen, the song book and
// the single-song print into pane groups (kxformat.h fills the parameters).
#pragma once

#include "foundation/btkcanvas.h"

// The parameters of one layout, in device pixels of the output.
struct FKXTYPE {
    int width = 100;               // right limit of a line; later words wrap
    int chordRow = 10;             // y of the lyrics below chords; a chords-only line
    int textLine = 10;             // a line without chords
    int chordTextLine = 20;        // a line with chords above its lyrics
    int labelLine = 10;            // a label printed on a line of its own
    int chordGap = 1;              // least space after a chord before the next
    int wordGap = 1;               // space between words
    bool chordsOut = false;        // chords are not printed
    int sectionSpace = 0;          // the optional pane before a labelled line
    bool chordsIn = false;         // chords drawn inside the lyric line
    btkFont* textFont = nullptr;   // not owned
    btkFont* chordFont = nullptr;  // not owned
    btkFont* labelFont = nullptr;  // not owned
};

// Lays the song text out on the canvas, which must measure on the output
// device (a pane group's canvas with its measure target set, or a device
// canvas); returns the total height of the panes closed.
//
// A label stands beside the line that follows it (the line's words and
// their wrapped continuations start behind the label's width, which holds
// until the next label), preceded by an optional pane of sectionSpace; a
// label followed by another label, or ending the text, gets a line of its
// own. A line with chords (at least one "[...]" and no stray or nested
// bracket) gets its chords above the lyrics, pushed right so that chords of
// one word keep chordGap between them, or inside the line with chordsIn;
// with chordsOut its chords are dropped. Any other line, unbalanced
// brackets included, is plain text. Words that pass the width wrap; the
// first word of a visual line is placed even when it is wider. Texts of
// any length are handled.
int buildSongPanes(const FKXTYPE& params, btkCanvas canvas, const char* text);
