// The daily log: data/<yyyymmdd>.log under the program folder, one file per
// day, appended to in text mode (lines end in CR LF on disk). Records:
//   (empty line) ##BEGIN##[kind]{d.m.yyyy h:mm:ss}(argument)
//   ##TAG##[value]
//   ##END##[kind]
// A file that cannot be opened makes every write do nothing; the next write
// tries again. A file replaced under its name while open (the log viewer
// saves through a new file renamed over the old one) or removed is opened
// again by that name before the next line, so no line goes to a file that
// no longer has a name.
#pragma once

#include "foundation/btkstring.h"

// The full path of today's file.
btkstring LogFileName();
// Appends the text and a line feed, opening the file first when needed;
// flushes unless flushing is held.
void LogWriteLine(const char* text);
void LogHoldFlush();
// Releases the hold and flushes.
void LogFlush();
// Closes the file (at the end of the program).
void LogClose();
void LogBegin(const char* kind, const char* argument);
void LogEnd(const char* kind);
void LogTag(const char* tag, const char* value);
