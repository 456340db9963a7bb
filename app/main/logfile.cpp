#include "app/main/logfile.h"

#include <algorithm>
#include <cstring>

#include "foundation/btkdatetime.h"
#include "foundation/btkstream.h"

btkstring LogReadFile(const char* path) {
    btkFileReadStream in(path, "rb");
    btkStringWriteStream bytes;
    char chunk[4096];
    int n;
    while ((n = in.read(chunk, sizeof chunk)) > 0) {
        std::replace(chunk, chunk + n, '\0', '?');
        bytes.write(chunk, n);
    }
    return btkstring(bytes.c_str());
}

btkstring LogBracketText(const char* line, char open, char close) {
    const char* start = std::strchr(line, open);
    if (!start) return btkstring();
    ++start;
    const char* end = std::strchr(start, close);
    const int n = end ? static_cast<int>(end - start) : static_cast<int>(std::strlen(start));
    return btkstring(start).substr(0, n);
}

void LogFileContent::clear() {
    entries.clear();
    stray = "";
    bytes = "";
}

namespace {

// One line of the file: its text without the line end, and where the line
// and its line end lie.
struct RawLine {
    btkstring text;
    int begin = 0;
    int end = 0;  // after the line feed, or the end of the file
};

// The next line from pos; false at the end of the bytes.
bool nextLine(const btkstring& bytes, int& pos, RawLine& line) {
    const int size = static_cast<int>(bytes.length());
    if (pos >= size) return false;
    const char* all = bytes.c_str();
    const char* feed = static_cast<const char*>(std::memchr(all + pos, '\n', size - pos));
    int textEnd = feed ? static_cast<int>(feed - all) : size;
    line.begin = pos;
    line.end = feed ? textEnd + 1 : size;
    if (feed && textEnd > pos && all[textEnd - 1] == '\r') --textEnd;
    line.text = bytes.substr(pos, textEnd - pos);
    pos = line.end;
    return true;
}

}  // namespace

void LogFileContent::parse(const char* text) {
    clear();
    bytes = text ? text : "";
    LogEntry* open = nullptr;
    RawLine line;
    for (int pos = 0; nextLine(bytes, pos, line);) {
        if (line.text.empty()) continue;
        if (!open) {
            if (line.text.startsWith("##BEGIN##")) {
                open = new LogEntry;
                entries.add(open);
                open->headLines.add(line.text);
                open->name = LogBracketText(line.text, '[', ']');
                open->dateTime = LogBracketText(line.text, '{', '}');
                open->title = LogBracketText(line.text, '(', ')');
                open->bodyBegin = open->bodyEnd = line.end;
            } else {
                stray += line.text;
                stray += "\n";
            }
            continue;
        }
        open->bodyEnd = line.end;
        if (line.text.startsWith("##END##")) {
            open->endLines.add(line.text);
            if (LogBracketText(line.text, '[', ']') == open->name) {
                open->bodyEnd = line.begin;
                open->closed = true;
                open = nullptr;
            }
        } else if (line.text.startsWith("##DBFILE##")) {
            open->headLines.add(line.text);
            open->dbFile = LogBracketText(line.text, '[', ']');
        } else {
            open->text += line.text;
            open->text += "\n";
        }
    }
}

btkstring LogFileContent::withEntryText(int index, const char* text) const {
    if (index < 0 || index >= entries.count()) return bytes;
    const LogEntry& entry = *entries[index];
    // The head line's own line end, CR LF as the log service writes it.
    const char* all = bytes.c_str();
    const bool crlf = entry.bodyBegin >= 2 && all[entry.bodyBegin - 2] == '\r';
    const char* eol = crlf ? "\r\n" : "\n";
    btkstring body;
    // A head line that ends the file without a line feed gets one first.
    if (entry.bodyBegin > 0 && all[entry.bodyBegin - 1] != '\n') body += eol;
    auto addLine = [&](const btkstring& line) {
        body += line;
        body += eol;
    };
    for (int i = 1; i < entry.headLines.count(); ++i) addLine(entry.headLines[i]);
    btkStrings lines;
    btkSplit(lines, text, '\n', false);
    for (const btkstring& line : lines) addLine(line);
    // The closing end line stays outside the body.
    const int innerEnds = entry.endLines.count() - (entry.closed ? 1 : 0);
    for (int i = 0; i < innerEnds; ++i) addLine(entry.endLines[i]);
    return bytes.substr(0, entry.bodyBegin) + body + bytes.substr(entry.bodyEnd, bytes.length() - entry.bodyEnd);
}

bool LogFileContent::gainedSince(const btkstring& now, btkstring& tail) const {
    tail = "";
    const int read = bytes.length();
    if (now.length() < read || std::memcmp(now.c_str(), bytes.c_str(), read) != 0) return false;
    tail = now.substr(read, now.length() - read);
    return true;
}

btkstring LogEntryCaption(const LogEntry& entry) {
    const btkDateTime t = btkDateTime::parse(entry.dateTime);
    return btkFormat("%s %02d:%02d:%02d", entry.title.c_str(), t.tm_hour, t.tm_min, t.tm_sec);
}

int LogNumberAt(const char* line, int column) {
    const int length = static_cast<int>(std::strlen(line));
    if (column < 0 || column > length) return 0;
    auto digit = [&](int i) { return line[i] >= '0' && line[i] <= '9'; };
    int start = column;
    while (start > 0 && digit(start - 1)) --start;
    int value = 0;
    for (int i = start; i < length && digit(i); ++i) {
        if (value > 214748363) return value;  // an id never has more digits
        value = value * 10 + (line[i] - '0');
    }
    return value;
}
