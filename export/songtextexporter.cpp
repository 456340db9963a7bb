#include "export/songtextexporter.h"

#include "songs/chords.h"

namespace {

bool atLineEnd(const char* p) { return *p == 0 || *p == '\n'; }

void skipLineEnd(const char*& p) {
    if (*p == '\n') ++p;
}

}  // namespace

bool HasNonBlank(const char* text) {
    for (; *text; ++text)
        if (*text != ' ') return true;
    return false;
}

// ---- base hooks: the plain text form

void SongTextExporter::chord(const btkstring& chord, btkWriteStream& out, int& /*width*/) { out << chord.c_str(); }

void SongTextExporter::textPiece(const btkstring& text, btkWriteStream& out) { out << text.c_str(); }

void SongTextExporter::text(const btkstring& text, btkWriteStream& out) { out << text.c_str(); }

void SongTextExporter::label(const btkstring& text, btkWriteStream& out) { out << text.c_str() << '\n'; }

void SongTextExporter::beginLine(const btkstring& prefix, btkWriteStream& out, int /*type*/) {
    if (props.textlab) out << prefix.c_str();
}

void SongTextExporter::endLine(btkWriteStream& out, int /*type*/) { out << '\n'; }

// ---- the walk

void SongTextExporter::exportText(const char* text, btkWriteStream& out) {
    labelText = btkstring();
    labelBlank = btkstring();
    labelPending = false;
    beginSong(text, out);
    const char* p = text ? text : "";
    while (*p) exportLine(p, out);
    endSong(out);
}

btkstring SongTextExporter::currentLabel() {
    if (!labelPending) return labelBlank;
    labelPending = false;
    return labelText;
}

void SongTextExporter::exportLine(const char*& p, btkWriteStream& out) {
    if (*p == '.') {
        labelLine(p, out);
    } else if (!LineHasChords(p)) {
        btkstring line;
        while (!atLineEnd(p)) line += *p++;
        beginLine(currentLabel(), out, LINE_TEXT);
        text(line, out);
        endLine(out, LINE_TEXT);
        skipLineEnd(p);
    } else if (props.outacs) {
        textOnlyLine(p, out);
    } else if (props.inacs) {
        mixedLine(p, out);
    } else {
        chordsAboveLine(p, out);
    }
}

void SongTextExporter::labelLine(const char*& p, btkWriteStream& out) {
    // A label still waiting for its line has none: it stands on its own.
    if (labelPending) label(labelText, out);
    labelText = btkstring();
    labelBlank = btkstring();
    for (++p; !atLineEnd(p); ++p) {
        labelText += *p;
        labelBlank += ' ';
    }
    skipLineEnd(p);
    labelPending = true;
    if (!props.textlab) {
        label(labelText, out);
        labelPending = false;
    }
}

void SongTextExporter::textOnlyLine(const char*& p, btkWriteStream& out) {
    beginLine(currentLabel(), out, LINE_TEXT);
    btkstring line;
    while (!atLineEnd(p)) {
        if (*p != '[') {
            line += *p++;
            continue;
        }
        while (!atLineEnd(p) && *p != ']') ++p;
        if (*p == ']') ++p;
    }
    text(line, out);
    endLine(out, LINE_TEXT);
    skipLineEnd(p);
}

void SongTextExporter::mixedLine(const char*& p, btkWriteStream& out) {
    beginLine(currentLabel(), out, LINE_MIXED);
    btkstring piece;
    while (!atLineEnd(p)) {
        if (*p != '[') {
            piece += *p++;
            continue;
        }
        if (!piece.empty()) {
            text(piece, out);
            piece = btkstring();
        }
        btkstring name;
        for (++p; !atLineEnd(p) && *p != ']'; ++p) name += *p;
        if (*p == ']') ++p;
        int width = name.length();
        chord(name, out, width);
    }
    if (!piece.empty()) text(piece, out);
    endLine(out, LINE_MIXED);
    skipLineEnd(p);
}

void SongTextExporter::chordsAboveLine(const char*& p, btkWriteStream& out) {
    beginLine(labelBlank, out, LINE_CHORDS);
    int chordColumn = 0;
    int textColumn = 0;
    btkstring line, blanks;
    while (!atLineEnd(p)) {
        if (*p != '[') {
            line += *p++;
            ++textColumn;
            continue;
        }
        ++p;
        for (; chordColumn < textColumn; ++chordColumn) blanks += ' ';
        textPiece(blanks, out);
        blanks = btkstring();
        btkstring name;
        for (; !atLineEnd(p) && *p != ']'; ++p) name += *p;
        int width = name.length();
        chord(name, out, width);
        chordColumn += width;
        if (*p == ']') ++p;
        // At least one blank between two chords; it is written only when
        // another chord follows.
        blanks += ' ';
        ++chordColumn;
    }
    endLine(out, LINE_CHORDS);
    beginLine(currentLabel(), out, LINE_TEXT);
    text(line, out);
    endLine(out, LINE_TEXT);
    skipLineEnd(p);
}
