// The SQLite connection: results are whole tables of text fetched at once.
#pragma once

#include <sqlite3.h>

#include <string>

#include "dbwlib.h"
#include "dbwtext.h"

// dbwlib's own classes: dbw/ has classes of the same names, and a program
// may link both.
namespace dbwlib_detail {

class dbwSQLiteConnection : public dbwDbConnection {
public:
    bool open(const char* database, const char* host, const char* user, const char* password, int port) override;
    dbwDbResult* query(const char* sql) override;
    bool exec(const char* sql) override;
    int insert(const char* sql, const char* table, const char* key) override;
    void release() override;
    const char* error() override;
    const char* quote(const char* text) override;
    const char* engine() override;
    bool connected() override;
    void begin() override;
    void commit() override;
    void rollback() override;
    int tableCount() override;
    int columnCount(const char* table) override;
    bool tableNames(dbwTableName* names, int capacity) override;
    bool columns(const char* table, dbwColumnRecord* records, int capacity) override;

protected:
    ~dbwSQLiteConnection() override;

private:
    // Runs a statement and gives the first column of its last row ("" for no
    // row or a NULL); false when the statement fails.
    bool singleValue(const std::string& sql, std::string& value);
    // The CREATE TABLE text of a table, "" when there is none.
    std::string createTableText(const char* table);
    bool requireOpen();
    void setError(const char* message);

    sqlite3* m_db = nullptr;
    dbwQuoteBuffer m_quote;
    std::string m_error;
};

// A whole result table; it is its own row.
class dbwSQLiteResult : public dbwDbResult, public dbwDbRow {
public:
    dbwSQLiteResult(char** table, int rows, int columns);

    void release() override;
    dbwDbRow* nextRow() override;
    int rowCount() override;
    int columnCount() override;
    const char* columnName(int i) override;
    const char* value(int c) override;

protected:
    ~dbwSQLiteResult() override;

private:
    char** m_table;  // column names first, then the values row by row
    int m_rows;
    int m_columns;
    int m_current = -1;
};

}  // namespace dbwlib_detail
