// RTF export ("rtf"): the chosen songs as one RTF document. Text, chords,
// labels, titles and authors each have a font slot and a colour; chords and
// labels take the face and size of the text font so that chords stay above
// their syllables. Song data is escaped ("\", "{", "}"); Czech letters go
// out as their Windows-1250 bytes under \ansi\ansicpg1250.
//
// Font slots: \f0 default, \f1 text, \f2 chords, \f3 labels, \f4 title,
// \f5 author; colours 2 to 6 in the same order (1 is black, 0 automatic).
#pragma once

#include "export/songtextexporter.h"

enum RTFFontUse { RTF_TEXT = 1, RTF_CHORD = 2, RTF_LABEL = 3, RTF_TITLE = 4, RTF_AUTHOR = 5 };

// The largest font size a document gets (\\fs takes half points and a
// reader keeps them in 16 bits).
constexpr int maxRTFFontSize = 1638;
// The size a document gets for a font of that many points: the default for
// none or a negative size, at most maxRTFFontSize.
int RTFFontSize(int points);

// Writes text with "\", "{" and "}" escaped; every other byte unchanged.
void RTFEscape(btkWriteStream& out, const char* text);
// "\plain\f<n>\fs<2 x size>\cf<n>" with \i, \ul, \b as the font has them,
// then one blank. Chords and labels take the size of fntext.
void RTFFontSwitch(btkWriteStream& out, const RTFExporterProps& rtf, const RTFSongExporterProps& rtftext,
                   RTFFontUse use);

class RTFSongTextExporter final : public SongTextExporter {
public:
    RTFSongTextExporter(const TextExporterProps& text, const RTFExporterProps& rtf, const RTFSongExporterProps& rtftext)
        : SongTextExporter(text), rtf(rtf), rtftext(rtftext) {}

protected:
    void chord(const btkstring& chord, btkWriteStream& out, int& width) override;
    void textPiece(const btkstring& text, btkWriteStream& out) override;
    void text(const btkstring& text, btkWriteStream& out) override;
    void label(const btkstring& text, btkWriteStream& out) override;
    void beginLine(const btkstring& prefix, btkWriteStream& out, int type) override;
    void endLine(btkWriteStream& out, int type) override;

private:
    void font(btkWriteStream& out, RTFFontUse use) { RTFFontSwitch(out, rtf, rtftext, use); }

    RTFExporterProps rtf;
    RTFSongExporterProps rtftext;
};

class RTFSongExporter final : public SongExporter {
public:
    RTFSongExporter(const RTFExporterProps& rtf, const RTFSongExporterProps& rtftext, const TextExporterProps& text)
        : rtf(rtf), rtftext(rtftext), text(text) {}
    void exportSong(const AbstractSongData& song, btkWriteStream& out) override;

private:
    // Short style: the first line of each block, then the chords of each.
    void shortBody(const char* songText, btkWriteStream& out);

    RTFExporterProps rtf;
    RTFSongExporterProps rtftext;
    TextExporterProps text;
};

class RTFStreamSongExporter final : public StreamSongExporter {
public:
    RTFStreamSongExporter(const RTFExporterProps& rtf, const RTFSongExporterProps& rtftext,
                          const TextExporterProps& text)
        : rtf(rtf), rtftext(rtftext), song(rtf, rtftext, text) {
        songExporter = &song;
    }
    // The document head: font table and colour table.
    void header(btkWriteStream& out) override;
    void footer(btkWriteStream& out) override;

private:
    RTFExporterProps rtf;
    RTFSongExporterProps rtftext;
    RTFSongExporter song;
};
