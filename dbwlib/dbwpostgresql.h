// The PostgreSQL connection over libpq.
#pragma once

#include <libpq-fe.h>

#include <string>

#include "dbwlib.h"
#include "dbwtext.h"

// dbwlib's own classes: dbw/ has classes of the same names, and a program
// may link both.
namespace dbwlib_detail {

class dbwPostgreSQLConnection : public dbwDbConnection {
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
    ~dbwPostgreSQLConnection() override;

private:
    // The text as the body of a string literal for this connection.
    std::string literal(const char* text);
    // The result of a statement when it yields rows, else null (cleared).
    PGresult* rows(const std::string& sql);
    // The value of the key column's sequence after an insert, 0 without one.
    int insertedKey(const char* table, const char* key);
    std::string columnQuery(const char* table);

    PGconn* m_conn = nullptr;
    dbwQuoteBuffer m_quote;
};

class dbwPostgreSQLRow : public dbwDbRow {
public:
    const char* value(int c) override;

private:
    friend class dbwPostgreSQLResult;
    int m_row = -1;  // -1 before the first row
    PGresult* m_result = nullptr;
};

class dbwPostgreSQLResult : public dbwDbResult {
public:
    explicit dbwPostgreSQLResult(PGresult* result);

    void release() override;
    dbwDbRow* nextRow() override;
    int rowCount() override;
    int columnCount() override;
    const char* columnName(int i) override;

protected:
    ~dbwPostgreSQLResult() override;

private:
    PGresult* m_result;
    dbwPostgreSQLRow m_row;
    int m_rows;
    int m_next = 0;
};

}  // namespace dbwlib_detail
