// A fresh internet song database on a PostgreSQL server, laid out as the
// program finds it: the library's dbw_info holding the definition of
// inetdb_definition.xml (the versioned song table 1 and dbw_users), the
// tables of that definition, the version-log tables, the program's info
// table (dbversion 5, connections allowed) and one user with every right.
//
// Used by the database library's tests, the song synchronisation tests and
// the synchronisation benchmark; it needs no test framework.
#pragma once

#include <string>

#include "dbw/dbwactiveconnection.h"
#include "foundation/btkxml.h"

class kx6InetDb {
public:
    // The server: libpq host (a socket folder or an address), port and
    // user; the user must be allowed to create databases.
    kx6InetDb(std::string host, int port, std::string user);
    kx6InetDb(const kx6InetDb&) = delete;
    kx6InetDb& operator=(const kx6InetDb&) = delete;
    // Drops the database it created.
    ~kx6InetDb();

    // Creates the database called name, replacing one of that name; false
    // with the reason in error().
    bool create(const std::string& name);
    void drop();

    // A new adapter over a connection of its own, which the adapter owns;
    // empty (reason in error()) when the server cannot be reached.
    dbwAdaRef connect(const char* encoding = "UTF-8");
    // The same through another host and port (a proxy in front of the server).
    dbwAdaRef connectVia(const std::string& viaHost, int viaPort);
    // A connection element for dbwStoredConnection (engine 1, no password);
    // through another host and port when viaHost is not empty.
    btkXMLNode connectionElement(const char* encoding = "UTF-8", const std::string& viaHost = "",
                                 int viaPort = 0) const;
    // The path of the server's Unix socket.
    std::string socketPath() const { return host + "/.s.PGSQL." + std::to_string(port); }
    // Runs one statement, or reads the first value of a query ("" for no
    // row), each through a connection of its own.
    bool exec(const std::string& sql);
    std::string value(const std::string& sql);
    int count(const std::string& table) { return std::stoi("0" + value("SELECT COUNT(*) FROM " + table)); }
    // The row count once it is n, or after ten seconds whatever it is: a
    // session whose client went away may still be finishing its commit.
    int awaitCount(const std::string& table, int n);

    const std::string& name() const { return dbname; }
    const std::string& error() const { return lastError; }
    // The id of the user created with the database.
    int userId() const { return user; }

    static constexpr const char* login = "tester";
    static constexpr const char* password = "heslo";
    static constexpr const char* rights = "dbadd;dbchg;dbdel;ddadd";
    static constexpr int songTable = 1;

private:
    bool adminExec(const std::string& sql);
    bool build();

    std::string host;
    int port;
    std::string serverUser;
    std::string dbname;
    std::string lastError;
    int user = 0;
};
