// The song text walker every stream format writes its song texts through.
// It cuts a stored song text (line feeds, chords inline in brackets, label
// lines beginning with ".") into label lines, text lines and lines with
// chords, lays the chords out by the text options and calls one hook per
// piece. The base hooks give the plain text form; each format overrides
// what it writes differently.
//
// Chord forms of a line with chords:
//   chords above (default): a chord line, each chord in the column of the
//     text character that follows it in the source (at least one blank after
//     the previous chord), then the text line;
//   mixed (inacs): one line, chords inside the text;
//   text only (outacs): one line, chords dropped.
// A label (".1.") with textlab on stands in front of the next line and every
// later line of the song is indented by as many blanks; with textlab off it
// is written at once on its own line.
#pragma once

#include "export/exporter.h"
#include "export/exportprops.h"

enum SongLineType {
    LINE_CHORDS = 0,  // the chord line of the chords-above form
    LINE_TEXT = 1,
    LINE_MIXED = 2,
};

class SongTextExporter : public KxExporter {
public:
    explicit SongTextExporter(const TextExporterProps& props) : props(props) {}

    // Walks one whole song text (stored form, chords untransposed).
    void exportText(const char* text, btkWriteStream& out);

protected:
    // A chord without its brackets. width enters as the chord's length and
    // returns the columns the chord takes on a chord line.
    virtual void chord(const btkstring& chord, btkWriteStream& out, int& width);
    // The blanks that move a chord to its column.
    virtual void textPiece(const btkstring& text, btkWriteStream& out);
    virtual void text(const btkstring& text, btkWriteStream& out);
    // A label on its own line.
    virtual void label(const btkstring& text, btkWriteStream& out);
    // prefix: the label or its blanks ("" before the first label); the base
    // writes it only with textlab on.
    virtual void beginLine(const btkstring& prefix, btkWriteStream& out, int type);
    virtual void endLine(btkWriteStream& out, int type);
    virtual void beginSong(const char* /*text*/, btkWriteStream& /*out*/) {}
    virtual void endSong(btkWriteStream& /*out*/) {}

    TextExporterProps props;

private:
    void exportLine(const char*& p, btkWriteStream& out);
    void labelLine(const char*& p, btkWriteStream& out);
    void textOnlyLine(const char*& p, btkWriteStream& out);
    void mixedLine(const char*& p, btkWriteStream& out);
    void chordsAboveLine(const char*& p, btkWriteStream& out);
    // The pending label (then no longer pending), else the label's blanks.
    btkstring currentLabel();

    btkstring labelText;
    btkstring labelBlank;
    bool labelPending = false;
};

// The prefix holds something other than blanks (a label, not its indent).
bool HasNonBlank(const char* text);
