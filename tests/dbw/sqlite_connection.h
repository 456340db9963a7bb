// A test-only engine connection over libsqlite3, so the adapter's SQLite
// dialect can be run against a real engine.
#pragma once

#include <sqlite3.h>

#include <string>

#include "dbw/dbwconnection.h"
#include "fake_connection.h"

class SQLiteTestConnection : public dbwDbConnection {
public:
    ~SQLiteTestConnection() override;
    void* nativeHandle() override { return db; }
    bool connectFile(const char* fileName) override;
    dbwDbResult* query(const char* sql) override;
    bool exec(const char* sql) override;
    int insertGetId(const char* sql, const char* table, const char* keyColumn) override;
    void release() override { delete this; }
    btkstring lastError() override { return error.c_str(); }
    const char* engineName() override { return "sqlite"; }
    bool isConnected() override { return db != nullptr; }
    void features(dbwConnFeatures& f) override { f.fileBased = true; }
    int escapeInto(char* dest, const char* src, int n) override { return doubleQuotesInto(dest, src, n); }

private:
    sqlite3* db = nullptr;
    std::string error;
};
