#include "app/main/logfile.h"

#include <cstring>

#include "foundation/btkdatetime.h"

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
}

void LogFileContent::parse(const char* text) {
    clear();
    btkStrings lines;
    btkSplit(lines, text, '\n', false);
    LogEntry* open = nullptr;
    for (const btkstring& line : lines) {
        if (!open) {
            if (line.startsWith("##BEGIN##")) {
                open = new LogEntry;
                entries.add(open);
                open->headLines.add(line);
                open->name = LogBracketText(line, '[', ']');
                open->dateTime = LogBracketText(line, '{', '}');
                open->title = LogBracketText(line, '(', ')');
            } else {
                stray += line;
                stray += "\n";
            }
        } else if (line.startsWith("##END##")) {
            open->endLines.add(line);
            if (LogBracketText(line, '[', ']') == open->name) open = nullptr;
        } else if (line.startsWith("##DBFILE##")) {
            open->headLines.add(line);
            open->dbFile = LogBracketText(line, '[', ']');
        } else {
            open->text += line;
            open->text += "\n";
        }
    }
}

btkstring LogFileContent::rewrite() const {
    btkStrings out;
    for (const LogEntry* entry : entries) {
        for (const btkstring& line : entry->headLines) out.add(line);
        btkStrings textLines;
        btkSplit(textLines, entry->text, '\n', false);
        for (const btkstring& line : textLines) out.add(line);
        for (const btkstring& line : entry->endLines) out.add(line);
    }
    return btkJoin(out, '\n');
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
