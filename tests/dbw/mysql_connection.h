// A test-only engine connection over libmariadb, so the adapter's MySQL
// dialect can be run against a real MariaDB server. Texts travel as UTF-8.
#pragma once

#include <mysql.h>

#include <string>

#include "dbw/dbwconnection.h"

class MySQLTestConnection : public dbwDbConnection {
public:
    MySQLTestConnection();
    ~MySQLTestConnection() override;
    void* nativeHandle() override { return connected ? &mysql : nullptr; }
    // Over a Unix socket: host is the socket path; dbname may be empty.
    bool connect(const char* dbname, const char* socket, const char* user, const char* password, int port) override;
    dbwDbResult* query(const char* sql) override;
    bool exec(const char* sql) override;
    int insertGetId(const char* sql, const char* table, const char* keyColumn) override;
    void release() override { delete this; }
    btkstring lastError() override { return error.c_str(); }
    const char* engineName() override { return "mysql"; }
    bool isConnected() override { return connected; }
    void features(dbwConnFeatures& f) override { f.serverBased = true; }
    int escapeInto(char* dest, const char* src, int n) override;

private:
    void recordError();

    MYSQL mysql;
    bool connected = false;
    std::string error;
};
