// Services that start-up and the main window need from subsystems that are
// not built yet (import filters, open song books), each with one call site
// here, and the current login as the status bar shows it.
#pragma once

#include "foundation/btkstring.h"

// True while a user is logged in; then login is the user's login and name
// the value of the users table's field 159.
bool CurrentLogin(btkstring& login, btkstring& name);
// Registers the import filters (export/importfilter.h).
void RegisterImportFilters();
// The number of open song books and the name of each.
int OpenSongBookCount();
// The number of open song books with changes their files do not hold.
int ChangedSongBookCount();
btkstring OpenSongBookName(int i);
// Shows and activates the window of the i-th open song book.
void ActivateSongBook(int i);
