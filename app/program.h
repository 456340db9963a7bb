// The program's entry and end: own initialisation in its fixed order, the
// windows, the message loop, the close questions and the saving of the
// options.
#pragma once

#include "foundation/btkstring.h"

class btkApplication;
class QApplication;

extern const char* const OptionsLoadErrorText;
extern const char* const UnexpectedErrorText;

// Set when start-up asked the program to end (options.xml could not be
// read); the message loop then returns at once, and nothing writes
// options.xml over the file that could not be read.
extern bool gTerminateRequested;

// The login and the password of cfg/autologin.txt: the first non-empty line,
// trimmed, is the login; the next one, trimmed and unscrambled, the
// password. False when the text holds no non-empty line.
bool ParseAutoLogin(const char* text, btkstring& login, btkstring& password);

// Starts the model on the program folder (programDir()): the queue, the
// internet connection settings, options.xml, the automatic login, the
// databases of the db folder and the import filters, in that order (the
// login needs the connection settings). A missing or malformed options.xml
// is shown and sets gTerminateRequested. The splash window is shown first
// when showSplash is set.
void InitProgram(bool showSplash);
// Destroys the windows and the model, the queue last.
void EndProgram();

// The close of the main window: the questions about open song books and
// changed databases; true when the program may close.
bool ProgramCloseQuery();
// The main window closes: stores the combo index and the file name of the
// selected database ("" for a virtual view), saves the options and ends the
// message loop, with status 1 when the options could not be saved (the
// error box names the file).
void ProgramClose(int dbIndex, const char* dbFile);
// Broadcasts the save event, writes options.xml in Windows-1250 and closes
// the daily log.
void SaveOptions();

// The idle work of the application: one queue pass.
void InstallIdleQueuePass(btkApplication& app);

// Loads Qt's Czech translation for its own dialogs, when installed.
void InstallQtTranslations(QApplication& app);

// The whole program; returns the process's exit code: 1 when options.xml
// could not be read or written.
int ProgramMain(int argc, char** argv);
