// An engine connection without an engine: it records the statements it is
// given and fails the ones it is told to, so adapter behaviour can be
// checked without a server.
#pragma once

#include <string>
#include <vector>

#include "dbw/dbwconnection.h"

// Standard SQL literal escaping: quotes doubled, nothing else touched.
inline int doubleQuotesInto(char* dest, const char* src, int n) {
    char* out = dest;
    for (int i = 0; i < n && src[i]; ++i) {
        if (src[i] == '\'') *out++ = '\'';
        *out++ = src[i];
    }
    *out = 0;
    return static_cast<int>(out - dest);
}

class FakeConnection : public dbwDbConnection {
public:
    explicit FakeConnection(const char* engine = "fake") : engine(engine) {}
    void* nativeHandle() override { return nullptr; }
    dbwDbResult* query(const char* sql) override {
        statements.push_back(sql);
        return nullptr;
    }
    bool exec(const char* sql) override {
        statements.push_back(sql);
        for (const std::string& f : failing)
            if (f == sql) {
                error = "failed: " + f;
                return false;
            }
        return true;
    }
    int insertGetId(const char* sql, const char*, const char*) override { return exec(sql) ? 42 : -1; }
    void release() override { delete this; }
    btkstring lastError() override { return error.c_str(); }
    const char* engineName() override { return engine.c_str(); }
    bool isConnected() override { return true; }
    int escapeInto(char* dest, const char* src, int n) override { return doubleQuotesInto(dest, src, n); }

    std::string engine;
    std::vector<std::string> statements;
    std::vector<std::string> failing;
    std::string error;

protected:
    bool doBegin() override { return exec("BEGIN"); }
    bool doCommit() override { return exec("COMMIT"); }
    bool doRollback() override { return exec("ROLLBACK"); }
};
