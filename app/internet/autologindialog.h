// The automatic login dialog ("Automatické přihlášení"): edits, saves or
// deletes cfg/autologin.txt of the program folder, which start-up reads to
// log the user in (line 1 the login, line 2 the scrambled password).
#pragma once

#include "foundation/btkstring.h"

// "OK" logs in with what was entered (a failure shows its own message and
// the file is written all the same), writes the file and refreshes the
// login state; "Smazat" deletes the file and leaves the login alone; both
// give true. "Storno" gives false and touches nothing. A file that cannot
// be written is named in an error box and the old one stays.
bool runAutologinDialog();

// The file's text: the login and the password, each followed by a line
// feed, the password scrambled.
btkstring AutologinText(const char* login, const char* password);
// Writes the text to the file through a temporary file renamed over it,
// readable by its owner only (it holds the password). Throws btkError
// naming the file when it cannot be written; the old file then stays.
void SaveAutologinFile(const char* path, const char* text);
