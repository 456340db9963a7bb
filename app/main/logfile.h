// The daily log files as the log viewer reads and rewrites them. An entry:
//   ##BEGIN##[name]{date and time}(title)
//   ##DBFILE##[database file]       (optional, any number)
//   text lines
//   ##END##[name]
// Text outside entries is stray text; empty lines carry nothing.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstrings.h"

struct LogEntry {
    btkstring name;
    btkstring title;
    btkstring text;  // the text lines, each followed by a line feed
    btkstring dateTime;
    btkstring dbFile;  // from the last ##DBFILE## line
    btkStrings headLines;
    btkStrings endLines;
};

class LogFileContent {
public:
    // Splits the text of a log file into entries and stray text.
    void parse(const char* text);
    void clear();
    // Every entry's head lines, text lines and end lines, each followed by a
    // line feed; stray text and empty lines are left out.
    btkstring rewrite() const;

    btkObjArray<LogEntry> entries;
    btkstring stray;
};

// The text after the first opening character up to the next closing one (or
// the end of the line); "" without the opening character.
btkstring LogBracketText(const char* line, char open, char close);
// The viewer's line for an entry: its title, a blank and the time of day.
btkstring LogEntryCaption(const LogEntry& entry);
// The decimal number around a column of a line: from the column back over
// the digits before it, then the digits from there; 0 when there are none.
int LogNumberAt(const char* line, int column);
