// Texts the PostgreSQL connection builds: its connection string and the
// type names of its column records.
#pragma once

#include <string>

// dbwlib's own classes: dbw/ has classes of the same names, and a program
// may link both.
namespace dbwlib_detail {

// "dbname=... host=... user=... password=... port=..." with every value in
// single quotes ('\' and '\'' escaped by a backslash); null or empty values
// and port 0 are left out.
std::string dbwPgConnectionString(const char* database, const char* host, const char* user, const char* password,
                                  int port);

// The type of a column record from the catalogue's type name, type modifier
// and default expression: varchar(n), numeric(p,s), or "serial" when the
// default draws from a sequence. A modifier of -1 (no length given) adds
// nothing.
std::string dbwPgColumnType(const char* typeName, const char* typeModifier, const char* defaultExpression);

}  // namespace dbwlib_detail
