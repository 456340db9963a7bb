#include "dbw/dbwconnection.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>

#include "dbw/dbwpostgresql.h"

bool dbwDbResult::valueInto(int col, dbwValueReceiver& receiver) {
    const char* v = value(col);
    if (!v) return false;
    receiver.receive(v, static_cast<int>(std::strlen(v)));
    return true;
}

dbwDbConnection::~dbwDbConnection() { std::free(escapeBuffer); }

bool dbwDbConnection::connect(const char*, const char*, const char*, const char*, int) { return false; }

bool dbwDbConnection::connectFile(const char*) { return false; }

const char* dbwDbConnection::escape(const char* text) {
    if (!text) text = "";
    int n = static_cast<int>(std::strlen(text));
    if (2 * n + 1 > escapeCapacity) {
        char* grown = static_cast<char*>(std::realloc(escapeBuffer, static_cast<size_t>(2 * n + 1)));
        if (!grown) throw std::bad_alloc();
        escapeBuffer = grown;
        escapeCapacity = 2 * n + 1;
    }
    escapeInto(escapeBuffer, text, n);
    return escapeBuffer;
}

dbwDbResult* dbwDbConnection::queryParams(const char* sql, const btkStrings& params) {
    if (params.empty()) return query(sql);
    btkstring text;
    char quote = 0;  // inside a quoted literal or identifier: marks are text
    for (const char* p = sql; *p; ++p) {
        if (quote || *p == '\'' || *p == '"') {
            quote = !quote ? *p : *p == quote ? 0 : quote;
        } else if (*p == '$' && std::isdigit(static_cast<unsigned char>(p[1]))) {
            const char* mark = p;
            int n = 0;
            while (std::isdigit(static_cast<unsigned char>(p[1])) && n < 100000) n = n * 10 + (*++p - '0');
            if (n >= 1 && n <= params.count()) {
                text += '\'';
                text += escape(params[n - 1]);
                text += '\'';
            } else {
                text += btkstring(mark).substr(0, static_cast<int>(p - mark + 1));
            }
            continue;
        }
        text += *p;
    }
    return query(text);
}

bool dbwDbConnection::begin() {
    if (depth == 0) commitLost = false;
    if (depth == 0 && !doBegin()) return false;
    ++depth;
    return true;
}

bool dbwDbConnection::commit() {
    if (depth == 0) return false;
    if (depth > 1) {
        --depth;
        return true;
    }
    depth = 0;
    return doCommit();
}

bool dbwDbConnection::rollback() {
    if (depth == 0) return true;
    depth = 0;
    return doRollback();
}

void dbwDbConnection::features(dbwConnFeatures&) {}

bool dbwDbConnection::doBegin() { return true; }
bool dbwDbConnection::doCommit() { return true; }
bool dbwDbConnection::doRollback() { return true; }

dbwDbConnection* createBuiltinConnection(int engine) {
    if (engine == 1) return new dbwPostgreSQLConnection();
    return nullptr;
}
