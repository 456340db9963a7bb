// The program side of the internet song database: the connection read from
// cfg/connect.xml at start-up, the check of the database's info table before
// every piece of work, and the login of the current user with its rights.
//
// The program-wide objects (stored connection, active connection, session
// manager, current login) exist from InitInternetConnection until
// DoneInternetConnection; without a connection file they stay null, the
// next internet operation looks for the file again and, still without one,
// reports that no settings were read.
#pragma once

#include "dbw/dbwactiveconnection.h"
#include "foundation/btkstring.h"

class dbwSession;
class dbwSessionManager;
class dbwStoredConnection;

// The address of the program's web site and the maker's contact address,
// named in the version and rights messages.
extern const char* const KxWebAddress;
extern const char* const KxContactMail;

// Start-up: reads cfg/connect.xml of the program folder into the stored
// connection, makes the active connection (not connected yet) and the
// session manager. A missing file is not reported; a file that cannot be
// read as XML is named in an error box and the program goes on without a
// connection. Calling it again starts afresh.
void InitInternetConnection();
// Program exit: deletes the current login, the active connection, the
// stored connection and the session manager, in this order.
void DoneInternetConnection();

// True when connection settings were read; a connection file written after
// start-up is read now. Otherwise an error box says that no settings were
// read. Every internet operation reads a later file the same way.
bool InternetConnectionConfigured();

// The stored connection's name when it begins with "!", else "".
btkstring ConnectionCaption();

// An adapter of the internet database after checking its info table
// (dbversion "5", allowconnect "1"); empty after an error box. While the
// reference lives the active connection stays locked.
dbwAdaRef OpenInternetDatabase();
// The connection test: "OK" when the database opens.
void PingInternetDatabase();

// Logs the user in; the previous login is replaced either way, so after a
// failure nobody is logged in. The session manager's reason is shown in an
// error box.
bool LoginUser(const char* login, const char* password);
// Creates the account and logs in with it, as LoginUser.
bool CreateAccountAndLogin(const char* login, const char* password);
// True when somebody is logged in, else after the login wizard.
bool EnsureLoggedIn();
void Logout();
// False when nobody is logged in, else whether the user holds the right.
bool hasRight(const char* name);

// The program-wide objects; null when not configured.
dbwStoredConnection* StoredConnection();
dbwActiveConnection* ActiveConnection();
dbwSessionManager* SessionManager();

// The current login: the session of the logged-in user, null when nobody is
// logged in.
namespace LoginRef {
bool isSet();
dbwSession* get();
// Replaces the current session (deleting the previous one); null logs out.
void reset(dbwSession* session = nullptr);
}  // namespace LoginRef
