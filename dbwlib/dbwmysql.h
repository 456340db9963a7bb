// The MySQL (MariaDB) connection over the MySQL client library. It sends no
// transaction statements: the connection works in the server's own
// transaction mode.
#pragma once

#include <mysql.h>

#include <string>

#include "dbwlib.h"
#include "dbwtext.h"

// dbwlib's own classes: dbw/ has classes of the same names, and a program
// may link both.
namespace dbwlib_detail {

class dbwMySQLConnection : public dbwDbConnection {
public:
    dbwMySQLConnection();

    bool open(const char* database, const char* host, const char* user, const char* password, int port) override;
    dbwDbResult* query(const char* sql) override;
    bool exec(const char* sql) override;
    int insert(const char* sql, const char* table, const char* key) override;
    void release() override;
    const char* error() override;
    const char* quote(const char* text) override;
    const char* engine() override;
    bool connected() override;
    int tableCount() override;
    int columnCount(const char* table) override;
    bool tableNames(dbwTableName* names, int capacity) override;
    bool columns(const char* table, dbwColumnRecord* records, int capacity) override;

protected:
    ~dbwMySQLConnection() override;

private:
    // The stored result of "SHOW COLUMNS FROM" the table, or null.
    MYSQL_RES* showColumns(const char* table);

    MYSQL m_mysql;
    dbwQuoteBuffer m_quote;
    std::string m_refused;  // why the last catalogue call refused its name
};

class dbwMySQLRow : public dbwDbRow {
public:
    const char* value(int c) override;

private:
    friend class dbwMySQLResult;
    MYSQL_ROW m_values = nullptr;  // null before the first row
    int m_columns = 0;
};

class dbwMySQLResult : public dbwDbResult {
public:
    explicit dbwMySQLResult(MYSQL_RES* result);

    void release() override;
    dbwDbRow* nextRow() override;
    int rowCount() override;
    int columnCount() override;
    const char* columnName(int i) override;

protected:
    ~dbwMySQLResult() override;

private:
    MYSQL_RES* m_result;
    int m_fieldCount;
    dbwMySQLRow m_row;
    MYSQL_FIELD* m_fields;
    bool m_ended = false;
};

// A table name as a back-quoted MySQL identifier.
std::string dbwMySQLIdentifier(const char* name);

}  // namespace dbwlib_detail
