// Hands the internet windows to the main window once they exist: the login
// wizard to the login service, the synchronisation options and download
// dialogs to the synchronise and download commands, and the commands
// a_autologin and a_internalsyn.
#pragma once

#include "foundation/btkstring.h"
#include "songs/inetsync.h"

class Tmainfrm;

void ConnectInternetWindows(Tmainfrm& window);
// The download command's dialog ("Stáhnutí internetové databáze"): the
// database name and the language filter; true on OK.
bool runDownloadDialog(const char* title, btkstring& name, InetSynProps& props);
