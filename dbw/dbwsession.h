// Users of a managed database: the session manager logs users in and
// creates accounts in the library's table dbw_users; a session knows its
// user's id and reads the login, further user fields and the rights lazily.
//
// Texts cross the border in both directions converted: logins and passwords
// go to the server in its encoding, values read back arrive in the
// program's encoding.
#pragma once

#include "dbw/dbwactiveconnection.h"
#include "dbw/dbwadapter.h"
#include "foundation/btkconverter.h"
#include "foundation/btkref.h"
#include "foundation/btkstrings.h"

class dbwDbDef;
class dbwSession;

class dbwSessionManager {
public:
    // connection lends the adapters (it must outlive the manager);
    // programEncoding is the encoding of every text the caller passes and
    // gets back ("CP1250" in the program).
    dbwSessionManager(dbwActiveConnectionBase* connection, const char* programEncoding);
    dbwSessionManager(const dbwSessionManager&) = delete;
    dbwSessionManager& operator=(const dbwSessionManager&) = delete;
    ~dbwSessionManager();

    // A new session the caller owns, or null with the reason in the last
    // error.
    dbwSession* login(const char* login, const char* password);
    dbwSession* createUser(const char* login, const char* password);
    // The last error text; the stored text is emptied.
    btkstring takeLastError();
    // The definition of the connected database, read once and owned here;
    // null when it cannot be read.
    dbwDbDef* dbDef();

    dbwAdaRef acquire() { return connection->acquire(); }
    // A query that failed is a failed connection: the last error becomes
    // "Připojení nebylo úspěšné" and the adapter's cause on a line of its own.
    void connectionFailed(dbwAdapter* adapter);
    // A program text as the body of an SQL literal for the adapter's
    // connection: converted to the server's encoding, then escaped.
    btkstring literal(dbwAdapter* adapter, const char* text);
    // A value read from the server (UTF-8) in the program's encoding.
    btkstring fromServer(const char* text) { return fromUtf8.convert(text); }

private:
    btkConverter fromUtf8;
    btkConverter toUtf8;
    btkstring error;
    dbwActiveConnectionBase* connection;
    btkAutoPtr<dbwDbDef> def;
};

class dbwSession {
public:
    dbwSession(dbwSessionManager* manager, int userId);

    dbwAdaRef adapter() { return manager->acquire(); }
    int userId() const { return user; }
    // The user's login as stored, "" when it cannot be read.
    btkstring loginName();
    // The value of the user's column whose field definition has the id;
    // "" for an id the definition does not know.
    btkstring userField(int fieldId);
    // Whether the user's rights list holds the name exactly; false when the
    // rights cannot be read.
    bool hasRight(const char* name);
    // Reads the rights unless they were read before; false, with the
    // manager's last error, when the query failed. Rights that could not be
    // read are asked for again the next time.
    [[nodiscard]] bool loadRights();

private:
    // The first value of the user's row in the column, in the program's
    // encoding, into value ("" when there is none); false, with the
    // manager's last error, when the query failed.
    [[nodiscard]] bool userValue(const btkstring& quotedColumn, btkstring& value);

    dbwSessionManager* manager;
    btkstring login;
    int user;
    bool rightsLoaded = false;
    btkStrings rights;
};
