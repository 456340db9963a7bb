// A stored connection: the settings of one database connection as the
// connection file cfg/connect.xml holds them, with the password unscrambled.
#pragma once

#include <cstdint>

#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

class dbwActiveConnection;
class dbwDbConnection;

class dbwStoredConnection {
public:
    // Reads the attributes of the connection element; a missing one gives
    // "" or 0. Throws btkError when port or engine is no number in its
    // range (0 to 65535; 0 to 4, the engines the library knows).
    explicit dbwStoredConnection(const btkXMLNode& element);
    virtual ~dbwStoredConnection() = default;
    virtual bool isValid() { return true; }

    // A new active connection the caller owns; with connectNow it is opened
    // at once and null (with the reason in lastError) when that fails.
    dbwActiveConnection* createActiveConnection(bool connectNow);
    // A new engine connection of the stored engine number, or null.
    dbwDbConnection* createDriverConnection();

    btkXMLNode settings;
    btkstring name;
    btkstring server;
    btkstring user;
    btkstring password;
    btkstring dbname;
    btkstring encoding;
    btkstring filename;
    std::uint8_t engine = 0;
    int port = 0;
    btkstring lastError;
};

// The password as the connection file stores it: two characters of
// "hkr2tzbw9qsemaxd" per byte (high four bits first), each byte XOR-ed with
// the connection file's own 7-byte key. Characters outside the alphabet
// count as 0; a single character left at the end is ignored.
btkstring dbwUnscramblePassword(const char* text);
