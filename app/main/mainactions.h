// The main window's commands: the table of every action (name, caption,
// category), the menus, tool bars and tool-bar pop-up built from it, and the
// handlers of the commands whose work lies in the main window, one file per
// topic (mainactions.cpp: the table and the window commands; dbactions.cpp:
// databases and the user column file; songactions.cpp: songs and
// transpositions; inetactions.cpp: the internet database).
//
// Every action exists from the start; one whose handler is not connected
// stays disabled, so the menus show every command and none that cannot work.
#pragma once

#include <functional>

#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

class Tmainfrm;
class KxDatabase;
class KxView;
struct SyncOptions;

struct MainActionDef {
    const char* name;
    const char* caption;
    const char* category;
};

// Every action of the main window, in the order of the action list.
extern const MainActionDef MainActions[];
extern const int MainActionCount;
// The main window's caption of an action; other windows that offer the same
// command (the transpositions) take it from here. "" for an unknown name.
const char* MainActionCaption(const char* name);

// The menus of the menu bar: a title and action names, "-" a separator.
struct MainMenuDef {
    const char* title;
    std::initializer_list<const char*> actions;
};
extern const MainMenuDef MainMenus[];
extern const int MainMenuCount;

// The actions' connections by topic; each connects what its windows and
// services allow and leaves the rest disabled.
void ConnectWindowActions(Tmainfrm& window);
void ConnectDatabaseActions(Tmainfrm& window);
void ConnectSongActions(Tmainfrm& window);
void ConnectInternetActions(Tmainfrm& window);
// Options and database properties (app/settings/settingsactions.cpp).
void ConnectSettingsActions(Tmainfrm& window);
// Export filters, custom export, text import (app/exchange/exchangeactions.cpp).
void ConnectExchangeActions(Tmainfrm& window);
// app/book/bookactions.cpp: new and loaded song books, song-book types.
void ConnectBookActions(Tmainfrm& window);

// The synchronisation options dialog over the internet database: fills the
// options and answers true on OK. Until a dialog is installed the defaults
// are taken as confirmed.
extern std::function<bool(KxDatabase*, SyncOptions&)> RunSyncOptionsDialog;
// The dialog of the internet database download: the database name and the
// language condition of the options; true on OK.
extern std::function<bool(const char* title, btkstring& name, SyncOptions&)> RunDownloadDialog;

// The file a downloaded internet database gets: the typed name with the
// extension "xml" in the db folder. "" after an error box when the name
// could reach outside that folder or the file exists; "" without a box for
// an empty name.
btkstring DownloadDatabaseFile(const char* name);

// The user column file of a view: every song with an internet id, with its
// user-defined values.
btkXMLNode UserColumnDocument(KxView* view);
// Applies a user column file to the songs of the view with the same internet
// ids; elements without an internet id are skipped (they would reach every
// song never uploaded). Answers the number of songs changed.
int ApplyUserColumnDocument(const btkXMLNode& root, KxView* view);
