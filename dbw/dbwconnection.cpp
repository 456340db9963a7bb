#include "dbw/dbwconnection.h"

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
