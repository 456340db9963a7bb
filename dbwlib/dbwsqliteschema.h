// Reading the columns of a SQLite table from the CREATE TABLE text that
// sqlite_master stores for it.
#pragma once

#include <string>
#include <vector>

// dbwlib's own classes: dbw/ has classes of the same names, and a program
// may link both.
namespace dbwlib_detail {

struct dbwSQLiteColumn {
    std::string name;
    std::string type;  // everything after the name up to the column's end
};

// The columns of a CREATE TABLE text, in order. Table constraints (PRIMARY
// KEY, UNIQUE, CHECK, FOREIGN KEY, CONSTRAINT ...) give no column. A text
// without "(" gives none.
std::vector<dbwSQLiteColumn> dbwParseCreateTable(const std::string& sql);

}  // namespace dbwlib_detail
