// The services of the song model that start-up and the main window call and
// that are made elsewhere: the internet connection and session, the folder
// of databases, the import filters and the open song books. Each has one
// call site here, so that the model's own functions replace these bodies
// as they arrive.
#pragma once

#include "foundation/btkstring.h"

class KxSpace;

// Reads cfg/connect.xml of the program folder into the stored and active
// connection and the session manager. A missing file is not reported.
void StartInternetConnection();
// Drops the login, the connections and the session manager (program exit).
void StopInternetConnection();
// The automatic login with a login and a password read from
// cfg/autologin.txt; a failure shows the session manager's error.
void AutoLoginUser(const char* login, const char* password);
// True while a user is logged in; then login is the user's login and name
// the value of the users table's field 159.
bool CurrentLogin(btkstring& login, btkstring& name);
// The stored connection's name when it begins with "!", else "".
btkstring StoredConnectionCaption();
// Adds one unloaded database per *.xml and then per *.xgz file of the
// folder, each marked as belonging to the db folder.
void LoadDbFolder(KxSpace* space, const char* folder);
// Registers the import filters.
void RegisterImportFilters();
// The number of open song books and the name of each.
int OpenSongBookCount();
btkstring OpenSongBookName(int i);
// Shows and activates the window of the i-th open song book.
void ActivateSongBook(int i);
