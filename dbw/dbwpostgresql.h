// The built-in engine connection: PostgreSQL over libpq.
#pragma once

#include <libpq-fe.h>

#include "dbw/dbwconnection.h"

class dbwPostgreSQLResult : public dbwDbResult {
public:
    explicit dbwPostgreSQLResult(PGresult* result);
    ~dbwPostgreSQLResult() override;
    void release() override;
    int fieldCount() override;
    const char* fieldName(int i) override;
    bool next() override;
    // "" (isNull true) outside the current row's columns or before the
    // first row.
    const char* value(int col) override;
    bool isNull(int col) override;

private:
    bool inRange(int col) const;

    PGresult* result;
    int rows;
    int row = -1;
};

class dbwPostgreSQLConnection : public dbwDbConnection {
public:
    dbwPostgreSQLConnection();
    ~dbwPostgreSQLConnection() override;

    void* nativeHandle() override;
    // Every non-empty value is given single-quoted with \ and ' escaped; an
    // empty value leaves its key out (an empty value would otherwise take
    // the next keyword as its value).
    bool connect(const char* dbname, const char* host, const char* user, const char* password, int port) override;
    dbwDbResult* query(const char* sql) override;
    bool exec(const char* sql) override;
    // Reads the new key with INSERT ... RETURNING.
    int insertGetId(const char* sql, const char* table, const char* keyColumn) override;
    void release() override;
    // A recorded error is handed out once; afterwards the live libpq message.
    btkstring lastError() override;
    const char* engineName() override;
    // Probes the server: a connection the server has dropped still reports
    // itself as fine to libpq until it is used.
    bool isConnected() override;
    void features(dbwConnFeatures& features) override;
    // PQescapeStringConn: quotes doubled, backslashes kept as they are
    // under standard_conforming_strings.
    int escapeInto(char* dest, const char* src, int n) override;

    // The connection text built for connect (exposed for checking).
    static btkstring connectionText(const char* dbname, const char* host, const char* user, const char* password,
                                    int port);

protected:
    bool doBegin() override;
    bool doCommit() override;
    bool doRollback() override;

private:
    void recordError();
    void recordError(const char* message);

    PGconn* conn = nullptr;
    char errorBuffer[4096];
    bool errorHandedOut = false;
};
