// HTML export ("html") and the song pages of the web directory: a head with
// the character set and generator tags, per song an <H2> title, an <H3>
// author and the text in a <PRE> block, "<HR>" between songs.
//
// With transposition on (web directory song pages) every note of every chord
// becomes a numbered element (note<i>, with a space<i> element that keeps
// each note two columns wide) and a script after the text rewrites them to
// show any of the twelve transpositions, including the two easiest ones
// computed from the chord difficulties in the options ("chorddifs").
//
// Everything taken from songs is escaped ("&", "<", ">", '"'): an entity
// takes one column, so chords stay above their syllables.
#pragma once

#include "export/songtextexporter.h"

// Writes text with &, <, > and " as entities; every other byte unchanged.
void HTMLEscape(btkWriteStream& out, const char* text);
// "<HTML>\n<HEAD>\n", the character set and generator tags, "</HEAD>\n":
// the head of every exported page.
void HTMLPageHead(btkWriteStream& out);

class HTMLSongTextExporter final : public SongTextExporter {
public:
    HTMLSongTextExporter(const TextExporterProps& text, bool transposition)
        : SongTextExporter(text), transposition(transposition) {}

protected:
    void chord(const btkstring& chord, btkWriteStream& out, int& width) override;
    void textPiece(const btkstring& text, btkWriteStream& out) override;
    void text(const btkstring& text, btkWriteStream& out) override;
    void label(const btkstring& text, btkWriteStream& out) override;
    void beginLine(const btkstring& prefix, btkWriteStream& out, int type) override;
    void endLine(btkWriteStream& out, int type) override;
    void beginSong(const char* text, btkWriteStream& out) override;
    void endSong(btkWriteStream& out) override;

private:
    // The note element of a new note number; its index.
    int noteElement(btkWriteStream& out, int note);
    void spaceElement(btkWriteStream& out, int index);
    void script(btkWriteStream& out);

    bool transposition;
    int leastTotal = 0;    // transposition with the least total difficulty
    int leastMaximum = 0;  // transposition with the least hardest chord
    btkCntVec<int> notes;  // note number of every note element, by index
};

class HTMLSongExporter final : public SongExporter {
public:
    HTMLSongExporter(const TextExporterProps& text, bool transposition) : text(text), transposition(transposition) {}
    void exportSong(const AbstractSongData& song, btkWriteStream& out) override;

private:
    TextExporterProps text;
    bool transposition;
};

class HTMLStreamSongExporter final : public StreamSongExporter {
public:
    explicit HTMLStreamSongExporter(const TextExporterProps& text, bool transposition = false)
        : song(text, transposition) {
        songExporter = &song;
    }
    void header(btkWriteStream& out) override;
    void footer(btkWriteStream& out) override;
    void separator(btkWriteStream& out) override;

private:
    HTMLSongExporter song;
};
