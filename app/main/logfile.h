// The daily log files as the log viewer reads and rewrites them. An entry:
//   ##BEGIN##[name]{date and time}(title)
//   ##DBFILE##[database file]       (optional, any number)
//   text lines
//   ##END##[name]
// Text outside entries is stray text; empty lines carry nothing. The file is
// read as its bytes (CR LF or LF line ends) and an edit replaces only the
// bytes of one entry's body, so the rest of the file stays as it was. The
// program appends to the day's file while the viewer shows it: a save adds
// what the file gained since the read.
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
    // The body's bytes in the file: from after the head line up to the
    // closing end line (or the end of the file).
    int bodyBegin = 0;
    int bodyEnd = 0;
    bool closed = false;  // the last end line closes the entry
};

class LogFileContent {
public:
    // Splits the bytes of a log file into entries and stray text; a CR
    // before a line feed belongs to the line end.
    void parse(const char* bytes);
    void clear();
    // The file's bytes with the body of one entry (an index of entries)
    // replaced by its ##DBFILE## lines, the non-empty lines of text and its
    // inner end lines, each ended as the entry's head line is. Everything
    // outside that body, blank lines and stray text included, is kept byte
    // for byte. An index out of range gives the bytes unchanged.
    [[nodiscard]] btkstring withEntryText(int index, const char* text) const;
    // The bytes the file gained at its end since it was read, given its
    // bytes now: what follows the bytes read when the file still begins with
    // them. False, with tail "", when the file is shorter or its beginning
    // differs.
    [[nodiscard]] bool gainedSince(const btkstring& now, btkstring& tail) const;

    btkObjArray<LogEntry> entries;
    btkstring stray;
    btkstring bytes;  // the file as read
};

// The bytes of a log file, line ends untouched; a NUL byte (a crash may leave
// runs of them) reads as '?', so it neither ends the text nor makes a save
// drop what follows it. "" when the file cannot be opened.
btkstring LogReadFile(const char* path);
// The text after the first opening character up to the next closing one (or
// the end of the line); "" without the opening character.
btkstring LogBracketText(const char* line, char open, char close);
// The viewer's line for an entry: its title, a blank and the time of day.
btkstring LogEntryCaption(const LogEntry& entry);
// The decimal number around a column of a line: from the column back over
// the digits before it, then the digits from there; 0 when there are none.
int LogNumberAt(const char* line, int column);
