#include "songbook/kxpanes.h"

#include <string>
#include <vector>

#include "foundation/btkredirectcanvas.h"
#include "songs/chords.h"

namespace {

bool isBlank(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

// The layout state: the canvas drawn on and the height closed so far.
struct PANEGRP {
    btkCanvas canvas;
    int y = 0;

    void paneBreak(int height, const char* kind) {
        canvas.paneBreak(height, kind);
        y += height;
    }
};

// One piece of a word: lyrics, or a chord (without its brackets).
struct WordPiece {
    std::string text;
    bool chord;
};

class SongLayout {
public:
    SongLayout(const FKXTYPE& params, btkCanvas canvas, const char* text)
        : p(params), pos(text ? text : ""), measuring(measureHandle(canvas)), rec(measuring) {
        g.canvas = canvas;
    }

    int run();

private:
    bool atEnd() const { return *pos == 0; }
    std::string nextLine();
    int measure(btkFont* font, const std::string& s);
    void takeLabel(const std::string& line);
    void drawLabel(int y);
    void chordLine(const std::string& line, int lineHeight, bool inLine);
    void plainLine(const std::string& line, bool skipChords);
    int drawWord(const std::vector<WordPiece>& pieces, bool inLine);

    // The canvas that answers the target's measuring: measuring through it
    // leaves no font changes in the recorded panes.
    static btkCanvas measureHandle(const btkCanvas& canvas) {
        btkRealCanvas* m = canvas.get() ? canvas.get()->measureCanvas() : nullptr;
        return m ? btkCanvas(0, 0, m->sp()) : canvas;
    }

    const FKXTYPE& p;
    const char* pos;
    PANEGRP g;
    btkCanvas measuring;
    btkStdMetaCanvas rec;  // one word at a time, measured on the output device
    std::string label;
    bool labelPending = false;
    int labelWidth = 0;  // indent of the lines of the current section
};

std::string SongLayout::nextLine() {
    const char* start = pos;
    while (*pos && *pos != '\n') ++pos;
    const char* stop = pos;
    if (*pos == '\n') ++pos;
    while (stop > start && isBlank(stop[-1])) --stop;
    return std::string(start, stop);
}

int SongLayout::measure(btkFont* font, const std::string& s) {
    measuring.setFont(font);
    return measuring.textWidth(s.c_str());
}

void SongLayout::takeLabel(const std::string& line) {
    label = line.substr(1);
    labelPending = true;
    labelWidth = measure(p.labelFont, label);
}

void SongLayout::drawLabel(int y) {
    if (labelPending && !label.empty()) g.canvas.setFont(p.labelFont).text(0, y, label.c_str());
    labelPending = false;
}

int SongLayout::run() {
    while (!atEnd()) {
        while (!atEnd() && *pos == '.') {
            takeLabel(nextLine());
            if (*pos == '.') {  // a label of its own line
                drawLabel(0);
                g.paneBreak(p.labelLine, "");
            }
        }
        if (atEnd()) break;
        if (labelPending) g.paneBreak(p.sectionSpace, "optional");
        const std::string line = nextLine();
        const bool chords = LineHasChords(line.c_str());
        if (chords && !p.chordsOut) {
            if (p.chordsIn) {
                drawLabel(0);
                chordLine(line, btkMax(p.chordRow, p.textLine), true);
            } else {
                bool lyrics = false;
                for (size_t i = 0, depth = 0; i < line.size() && !lyrics; ++i) {
                    if (line[i] == '[')
                        ++depth;
                    else if (line[i] == ']')
                        --depth;
                    else
                        lyrics = depth == 0 && !isBlank(line[i]);
                }
                drawLabel(lyrics ? p.chordRow : 0);
                chordLine(line, lyrics ? p.chordTextLine : p.chordRow, false);
            }
        } else {
            drawLabel(0);
            plainLine(line, chords);
        }
    }
    if (labelPending) {
        drawLabel(0);
        g.paneBreak(p.labelLine, "");
    }
    return g.y;
}

// ---- lines with chords

// The words of a line with valid brackets: runs up to a blank outside
// brackets, each cut into lyrics and chords.
std::vector<std::vector<WordPiece>> chordWords(const std::string& line) {
    std::vector<std::vector<WordPiece>> words;
    size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        std::vector<WordPiece> word;
        while (i < line.size() && !isBlank(line[i])) {
            if (line[i] == '[') {
                const size_t close = line.find(']', i);
                word.push_back({line.substr(i + 1, close - i - 1), true});
                i = close + 1;
            } else {
                size_t stop = i;
                while (stop < line.size() && !isBlank(line[stop]) && line[stop] != '[') ++stop;
                word.push_back({line.substr(i, stop - i), false});
                i = stop;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

int SongLayout::drawWord(const std::vector<WordPiece>& pieces, bool inLine) {
    rec.clear();
    btkCanvas r(0, 0, rec.sp());
    int x = 0;
    bool chordSeen = false;
    int chordEnd = 0;
    for (const WordPiece& piece : pieces) {
        if (piece.text.empty()) continue;
        if (inLine) {
            r.setFont(piece.chord ? p.chordFont : p.textFont).text(x, 0, piece.text.c_str());
            x += r.textWidth(piece.text.c_str());
        } else if (piece.chord) {
            if (chordSeen && chordEnd > x - p.chordGap) x = chordEnd + p.chordGap;
            r.setFont(p.chordFont).text(x, 0, piece.text.c_str());
            chordEnd = x + r.textWidth(piece.text.c_str());
            chordSeen = true;
        } else {
            r.setFont(p.textFont).text(x, p.chordRow, piece.text.c_str());
            x += r.textWidth(piece.text.c_str());
        }
    }
    return chordSeen && !inLine ? btkMax(x, chordEnd) : x;
}

void SongLayout::chordLine(const std::string& line, int lineHeight, bool inLine) {
    const int gap = btkMax(p.chordGap, p.wordGap);
    int x = labelWidth;
    bool first = true;
    for (const std::vector<WordPiece>& word : chordWords(line)) {
        const int w = drawWord(word, inLine);
        if (!first && x + gap + w <= p.width) {
            x += gap;
        } else if (!first) {
            g.paneBreak(lineHeight, "");
            x = labelWidth;
        }
        rec.play(btkCanvas(g.canvas, x, 0));
        x += w;
        first = false;
    }
    g.paneBreak(lineHeight, "");
}

// ---- plain text

void SongLayout::plainLine(const std::string& line, bool skipChords) {
    int x = labelWidth;
    bool first = true;
    g.canvas.setFont(p.textFont);
    size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            while (i < line.size() && isBlank(line[i])) ++i;
            x += p.wordGap;
            continue;
        }
        std::string word;
        while (i < line.size() && !isBlank(line[i])) {
            if (skipChords && line[i] == '[') {
                i = line.find(']', i) + 1;  // the brackets of such a line are balanced
                continue;
            }
            word += line[i++];
        }
        if (word.empty()) continue;  // a chord alone, left out
        const int w = measure(p.textFont, word);
        if (!first) {
            x += p.wordGap;
            if (x + w > p.width) {
                g.paneBreak(p.textLine, "");
                g.canvas.setFont(p.textFont);  // the new pane draws in it too
                x = labelWidth;
            }
        }
        g.canvas.text(x, 0, word.c_str());
        x += w;
        first = false;
    }
    g.paneBreak(p.textLine, "");
}

}  // namespace

int buildSongPanes(const FKXTYPE& params, btkCanvas canvas, const char* text) {
    return SongLayout(params, canvas, text).run();
}
