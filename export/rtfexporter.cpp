#include "export/rtfexporter.h"

#include <cstring>

#include "foundation/btkstrings.h"
#include "songs/chords.h"
#include "songs/kxsong.h"
#include "songs/textblocks.h"

namespace {

const KxFont& colourFont(const RTFExporterProps& rtf, const RTFSongExporterProps& rtftext, RTFFontUse use) {
    switch (use) {
    case RTF_CHORD: return rtftext.fnacs;
    case RTF_LABEL: return rtftext.fnlab;
    case RTF_TITLE: return rtf.fntitle;
    case RTF_AUTHOR: return rtf.fnauthor;
    default: return rtftext.fntext;
    }
}

// A colour outside the 24-bit range is "no colour": the automatic colour.
bool hasColour(const KxFont& font) { return font.color >= 0 && font.color <= 0xFFFFFF; }

void colourEntry(btkWriteStream& out, int colour) {
    if (colour < 0 || colour > 0xFFFFFF) colour = 0;
    out << "\\red";
    out.writeInt(colour & 0xFF);
    out << "\\green";
    out.writeInt((colour >> 8) & 0xFF);
    out << "\\blue";
    out.writeInt((colour >> 16) & 0xFF);
    out << ';';
}

// The line up to its line feed with every bracketed chord left out; a line
// whose brackets are no chords stays as it is, as in the normal style.
btkstring firstLineWithoutChords(const char* p) {
    btkstring line;
    if (!LineHasChords(p)) {
        while (*p && *p != '\n') line += *p++;
        return line;
    }
    while (*p && *p != '\n') {
        if (*p != '[') {
            line += *p++;
            continue;
        }
        while (*p && *p != '\n' && *p != ']') ++p;
        if (*p == ']') ++p;
    }
    return line;
}

}  // namespace

int RTFFontSize(int points) {
    if (points <= 0) return KxFont().size;
    return points > maxRTFFontSize ? maxRTFFontSize : points;
}

void RTFEscape(btkWriteStream& out, const char* text) {
    for (const char* p = text; *p; ++p) {
        if (*p == '\\' || *p == '{' || *p == '}') out << '\\';
        out << *p;
    }
}

void RTFFontSwitch(btkWriteStream& out, const RTFExporterProps& rtf, const RTFSongExporterProps& rtftext,
                   RTFFontUse use) {
    const KxFont& sized = use == RTF_TITLE ? rtf.fntitle : use == RTF_AUTHOR ? rtf.fnauthor : rtftext.fntext;
    const KxFont& styled = colourFont(rtf, rtftext, use);
    out << "\\plain\\f";
    out.writeInt(use);
    out << "\\fs";
    out.writeInt(2 * RTFFontSize(sized.size));
    out << "\\cf";
    out.writeInt(hasColour(styled) ? use + 1 : 0);
    if (styled.italic) out << "\\i";
    if (styled.underline) out << "\\ul";
    if (styled.bold) out << "\\b";
    out << ' ';
}

// ---- song text hooks

void RTFSongTextExporter::chord(const btkstring& chord, btkWriteStream& out, int& /*width*/) { RTFEscape(out, chord); }

void RTFSongTextExporter::textPiece(const btkstring& text, btkWriteStream& out) { RTFEscape(out, text); }

void RTFSongTextExporter::text(const btkstring& text, btkWriteStream& out) { RTFEscape(out, text); }

void RTFSongTextExporter::label(const btkstring& text, btkWriteStream& out) {
    font(out, RTF_LABEL);
    RTFEscape(out, text);
    out << "\\par ";
}

void RTFSongTextExporter::beginLine(const btkstring& prefix, btkWriteStream& out, int type) {
    if (props.textlab) {
        // Blanks take the text font, so that they are as wide as the text.
        font(out, HasNonBlank(prefix) ? RTF_LABEL : RTF_TEXT);
        RTFEscape(out, prefix);
    }
    if (type == LINE_TEXT) font(out, RTF_TEXT);
    if (type == LINE_CHORDS) font(out, RTF_CHORD);
}

void RTFSongTextExporter::endLine(btkWriteStream& out, int /*type*/) { out << "\\par "; }

// ---- songs and document

void RTFSongExporter::exportSong(const AbstractSongData& song, btkWriteStream& out) {
    RTFFontSwitch(out, rtf, rtftext, RTF_TITLE);
    RTFEscape(out, song.getTitle());
    out << "\\par ";
    const btkstring songText = song.getText();
    if (rtf.exportstyle == RTF_STYLE_SHORT) {
        shortBody(songText, out);
        return;
    }
    RTFFontSwitch(out, rtf, rtftext, RTF_AUTHOR);
    RTFEscape(out, song.getAuthor());
    out << "\\par ";
    RTFSongTextExporter walker(text, rtf, rtftext);
    walker.exportText(songText, out);
}

void RTFSongExporter::shortBody(const char* songText, btkWriteStream& out) {
    btkObjArray<Sloka> blocks;
    SplitTextBlocks(songText, blocks);
    auto labelOf = [&](const Sloka& block) {
        if (block.label.empty()) return;
        RTFFontSwitch(out, rtf, rtftext, RTF_LABEL);
        RTFEscape(out, block.label);
        RTFFontSwitch(out, rtf, rtftext, RTF_TEXT);
    };
    RTFFontSwitch(out, rtf, rtftext, RTF_TEXT);
    for (const Sloka* block : blocks) {
        labelOf(*block);
        RTFEscape(out, firstLineWithoutChords(block->body));
        out << "\\par ";
    }
    for (const Sloka* block : blocks) {
        // Only lines that pass the chord-line test hold chords.
        btkStrings chords;
        for (const char* line = block->body.c_str(); *line;) {
            const bool withChords = LineHasChords(line);
            const char* p = line;
            for (; *p && *p != '\n'; ++p) {
                if (!withChords || *p != '[') continue;
                btkstring name;
                for (++p; *p != ']'; ++p) name += *p;
                chords.add(name);
            }
            line = *p ? p + 1 : p;
        }
        if (chords.count() > 0) {
            labelOf(*block);
            RTFFontSwitch(out, rtf, rtftext, RTF_CHORD);
            for (const btkstring& name : chords) {
                RTFEscape(out, name);
                out << ' ';
            }
        }
        out << "\\par ";
    }
}

void RTFStreamSongExporter::header(btkWriteStream& out) {
    // The code page is named: a reader outside a Czech Windows would
    // otherwise take the Windows-1250 letters for Windows-1252 ones.
    out << "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}";
    const KxFont* faces[] = {&rtftext.fntext, &rtftext.fntext, &rtftext.fntext, &rtf.fntitle, &rtf.fnauthor};
    for (int i = 0; i < 5; ++i) {
        out << "{\\f";
        out.writeInt(i + 1);
        out << "\\fnil ";
        RTFEscape(out, faces[i]->name);
        out << ";}";
    }
    out << "}{\\colortbl;\\red0\\green0\\blue0;";
    for (const KxFont* font : {&rtftext.fntext, &rtftext.fnacs, &rtftext.fnlab, &rtf.fntitle, &rtf.fnauthor})
        colourEntry(out, font->color);
    out << '}';
}

void RTFStreamSongExporter::footer(btkWriteStream& out) { out << "\\par }"; }
