#include "export/importfilter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "foundation/btkconverter.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstream.h"
#include "foundation/btkstrings.h"
#include "songs/dailylog.h"
#include "songs/kxsong.h"
#include "songs/kxview.h"

btkObjArray<ImportFilter> importFilters;

namespace {

// ---- reading a file into lines

// Every line end as LF: CR LF (Windows), LF, and a lone CR (old Macintosh
// files, which would otherwise be one long line).
std::string lineFeedsOnly(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            out += bytes[i];
        } else if (i + 1 >= bytes.size() || bytes[i + 1] != '\n') {
            out += '\n';
        }
    }
    return out;
}

// The whole file with every line end read as LF (lineFeedsOnly), as
// Windows-1250 text (see btkUserTextToWindows1250); a NUL byte reads as a
// blank, so nothing after it is lost. Characters without a Windows-1250 form become '?' and a
// daily-log record names the file and their count. False, after an error
// box naming the file and the system's reason, when it cannot be opened or
// read.
bool readFile(const char* fileName, btkstring& text) {
    btkFileReadStream in(fileName, "rb");
    const int openError = errno;
    std::string bytes;
    char buffer[4096];
    for (int n; in.isOpen() && (n = in.read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<size_t>(n));
    if (!in.isOpen() || in.failed()) {
        const btkstring reason = in.isOpen() ? in.errorText() : btkstring(std::strerror(openError));
        ErrorBox(btkFormat("Soubor %s nelze přečíst: %s", fileName, reason.c_str()));
        return false;
    }
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    int replaced = 0;
    text = btkUserTextToWindows1250(lineFeedsOnly(bytes), &replaced);
    if (replaced > 0) {
        LogBegin("import", fileName);
        LogWriteLine(btkFormat("Znaků bez podoby ve Windows-1250 nahrazených otazníkem: %d", replaced));
        LogEnd("import");
    }
    return true;
}

// The lines after the first skip ones, each followed by a line feed.
btkstring joinFrom(const btkStrings& lines, int first) { return btkJoinRange(lines, first, lines.count(), '\n'); }

void addSong(KxCustomView& target, const btkstring& title, const btkstring& author, const btkstring* group,
             const btkstring& text) {
    KxSong* song = target.addNewSong();
    song->text = text;
    song->author = author;
    song->title = title;
    if (group) song->group = *group;
    song->lang = "cz";
    song->changed();
    target.changed();
}

// ---- chord words and chord lines

bool isEndChar(unsigned char c) { return c <= 32 || c >= 128 || std::strchr("])(,/", c) != nullptr; }

bool isChordSuffix(const char* s) {
    const auto digit = [](char c) { return c != 0 && std::strchr("145679", c) != nullptr; };
    if (s[0] == '+' && isEndChar(s[1])) return true;
    if (s[0] == 'm' && (isEndChar(s[1]) || digit(s[1]))) return true;
    if (digit(s[0])) return true;
    for (const char* start : {"mi", "dim", "maj", "add"})
        if (std::strncmp(s, start, std::strlen(start)) == 0) return true;
    return false;
}

// The word starting at w is a chord ("C", "Ami", "F#7", "(Es)", "Bb").
bool isChordWord(const char* w) {
    if (*w == '(') ++w;
    if (std::strncmp(w, "Bb", 2) == 0) return true;
    const char first = *w;
    if (!((first >= 'A' && first <= 'H') || (first >= 'a' && first <= 'h'))) return false;
    if (first >= 'A' && first <= 'H' && isEndChar(w[1])) return true;
    for (const char* flat : {"Es", "As", "Eb", "Ab", "Db", "Gb"}) {
        if (std::strncmp(w, flat, 2) == 0) return isEndChar(w[2]) || isChordSuffix(w + 2);
    }
    if (w[1] == '#' || (w[1] == 'e' && w[2] == 's')) return true;
    return isChordSuffix(w + 1);
}

// Bytes above 32 and below 128: the letters of a chord.
bool inCountedWord(unsigned char c) { return c > 32 && c < 128; }

// Bytes above 32, Czech letters included: what a chord line's words are made of.
bool inWord(unsigned char c) { return c > 32; }

// ---- pass 2: chord lines over lyric lines

// "[C][G7]" of the line's words (split at blanks), and a line feed.
void writeChordOnly(btkstring& out, const btkstring& line) {
    btkStrings words;
    btkSplit(words, line, ' ', false);
    for (const btkstring& word : words) out += btkstring("[", word) + "]";
    out += '\n';
}

// The chords of L put into the lyric line N at their columns.
void writeMerged(btkstring& out, const btkstring& chords, const btkstring& lyrics) {
    const char* c = chords.c_str();
    const char* n = lyrics.c_str();
    int previous = 0;
    for (int column = 0; c[column];) {
        if (!inWord(c[column])) {
            ++column;
            continue;
        }
        for (int k = 0; k < column - previous && *n; ++k) out += *n++;
        out += '[';
        const int start = column;
        while (inWord(c[column])) out += c[column++];
        out += ']';
        previous = start;
    }
    out += n;
    out += '\n';
}

btkstring chordLines(const char* text) {
    btkStrings lines;
    btkSplit(lines, text, '\n', true);
    for (btkstring& line : lines) line.trimRight();
    btkstring out;
    for (int i = 0; i < lines.count();) {
        btkstring line = lines[i++];
        if (!IsPlainChordLine(line) || i >= lines.count()) {
            out += line;
            out += '\n';
            continue;
        }
        btkstring next = lines[i++];
        while (IsPlainChordLine(next)) {
            writeChordOnly(out, line);
            line = next;
            next = i < lines.count() ? lines[i++] : btkstring();
        }
        writeMerged(out, line, next);
    }
    return out;
}

// ---- pass 3: labels and layout

// The length of the verse or chorus label at p, 0 when none starts there.
int labelLength(const char* p) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (digit(p[0]) && p[1] == '.') return 2;
    if (digit(p[0]) && digit(p[1]) && p[2] == '.') return 3;
    for (const char* label : {"Ref.:", "Rec.:", "Rec:", "Ref:", "R.:", "R.", "R:", "*:"})
        if (std::strncmp(p, label, std::strlen(label)) == 0) return static_cast<int>(std::strlen(label));
    if (p[0] == 'R' && digit(p[1]) && (p[2] == ':' || p[2] == '.')) return 3;
    return 0;
}

bool isBlank(char c) { return c >= 1 && c <= 32; }

btkstring labelsAndLayout(const char* p) {
    btkstring out;
    for (;;) {
        while (isBlank(*p)) ++p;
        if (!*p) return out;
        if (const int n = labelLength(p)) {
            out += '.';
            for (int k = 0; k < n; ++k) out += *p++;
            out += '\n';
        }
        const char* end = p;
        while (*end && *end != '\n') ++end;
        btkstring rest;
        for (; p < end; ++p) rest += *p;
        rest.trimRight();
        if (!rest.trimmed().empty()) {
            out += rest;
            out += '\n';
        }
    }
}

}  // namespace

// ---- plain text conversion

bool IsPlainChordLine(const char* line) {
    const char* end = line;
    while (*end && *end != '\n') ++end;
    bool open = false, close = false;
    for (const char* p = line; p < end; ++p) {
        if (*p == '.') return false;
        open = open || *p == '[';
        close = close || *p == ']';
    }
    if (open && close) return false;
    int chords = 0, others = 0;
    for (const char* p = line; p < end;) {
        if (!inCountedWord(*p)) {
            ++p;
            continue;
        }
        ++(isChordWord(p) ? chords : others);
        while (p < end && inCountedWord(*p)) ++p;
    }
    return chords > others;
}

btkstring ConvertPlainSongText(const char* text) {
    // Repeat signs are no chord brackets.
    btkstring repeats;
    for (const char* p = text ? text : ""; *p; ++p) {
        const bool sign = (p[0] == '[' && p[1] == ':') || (p[0] == ']' && p > text && p[-1] == ':');
        repeats += sign ? '/' : *p;
    }
    return labelsAndLayout(chordLines(repeats));
}

// ---- the filters

bool PreparedImportFilter::import(const char* fileName, KxCustomView& target) {
    btkstring text;
    if (!readFile(fileName, text)) return false;
    btkStrings lines;
    btkSplit(lines, text, '\n', false);
    if (lines.count() < 2) return true;
    addSong(target, lines[0].trimmed(), lines[1].trimmed(), nullptr, joinFrom(lines, 2));
    return true;
}

btkstring PreparedImportFilter::name() const { return "Předpřipravené soubory"; }

bool PreparedWithGroupImportFilter::import(const char* fileName, KxCustomView& target) {
    btkstring text;
    if (!readFile(fileName, text)) return false;
    btkStrings lines;
    btkSplit(lines, text, '\n', true);
    if (lines.count() < 3) return true;
    const btkstring group = lines[1].trimmed();
    addSong(target, lines[0].trimmed(), lines[2].trimmed(), &group, joinFrom(lines, 3).trimmed());
    return true;
}

btkstring PreparedWithGroupImportFilter::name() const { return "Předpřipravené soubory se skupinou"; }

bool TextImportFilter::import(const char* fileName, KxCustomView& target) {
    btkstring text;
    if (!readFile(fileName, text)) return false;
    btkStrings lines;
    btkSplit(lines, text, '\n', false);
    if (lines.count() < 2) return true;
    const btkstring heading = lines[0];
    btkstring title, author;
    int first = 1;
    const char* dash = std::strstr(heading, " - ");
    const char* blanks = std::strstr(heading, "    ");
    if (dash || blanks) {
        const char* separator = dash ? dash : blanks;
        const int at = static_cast<int>(separator - heading.c_str());
        title = heading.substr(0, at).trimmed();
        author = heading.substr(at + (dash ? 3 : 4), 256).trimmed();
    } else {
        title = heading.trimmed();
        if (!IsPlainChordLine(lines[1])) author = lines[first++];
    }
    addSong(target, title, author, nullptr, ConvertPlainSongText(joinFrom(lines, first)));
    return true;
}

btkstring TextImportFilter::name() const { return "Textové soubory"; }

void registerImportFilters() {
    importFilters.clear();
    importFilters.add(new PreparedImportFilter);
    importFilters.add(new PreparedWithGroupImportFilter);
    importFilters.add(new TextImportFilter);
}
