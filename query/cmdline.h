// The console's command interpreter: one confirmed line at a time, a
// command word (upper-cased) and its argument. The commands work on the
// open views and reach the main window through gMainWin; their output goes
// to the console window through the KxConsole interface.
//
//   QUIT, SELECT/UPDATE/DELETE (statements), FILTER condition, ECHO text,
//   DBINFO, HELP [command], ENCRYPT text, DECRYPT text, DBLTEST KEY=value...,
//   CLS
#pragma once

#include "foundation/btkstring.h"

// The console window (Tcmdlinefrm) as the interpreter sees it.
class KxConsole {
public:
    // Appends one line to the console.
    virtual void print(const char* line) = 0;
    // Empties the console.
    virtual void clearScreen() = 0;

protected:
    ~KxConsole() = default;
};

// The console in use; null (the default) drops the output.
extern KxConsole* gConsole;

// Runs one console line as typed. Errors are shown in error boxes; an
// unknown word prints "Neznámý příkaz:" and the word.
void CmdlineExecute(const char* line);
// The database information of the active view: the song count and, for a
// database, its changed mark, file, internet mark and version, one line
// each. Without an active view the main window shows its error box and
// the text is "".
btkstring CmdlineDbInfo();
// Prints the text one line per line feed, each line without its trailing
// bytes 1 to 32; a final line feed adds no empty line. Lines of any length
// are printed whole.
void CmdlinePrintLines(const char* text);
