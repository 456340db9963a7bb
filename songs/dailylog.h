// The daily log: data/<yyyymmdd>.log under the program folder, one file per
// day, appended to in text mode (lines end in CR LF on disk). Records:
//   (empty line) ##BEGIN##[kind]{d.m.yyyy h:mm:ss}(argument)
//   ##TAG##[value]
//   ##END##[kind]
// A file that cannot be opened makes every write do nothing; the next write
// tries again.
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
