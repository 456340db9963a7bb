// The abstract engine connection and query result on which the adapters and
// the active connection stand, and the factory of the built-in connection.
// Both are released through their own release operation, never deleted by
// the caller.
#pragma once

#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"

// What kind of engine a connection talks to; filled by features().
struct dbwConnFeatures {
    bool fileBased = false;    // opened with connectFile
    bool serverBased = false;  // opened with connect
    bool reserved = true;
};

// Receives one value of a result (valueInto).
class dbwValueReceiver {
public:
    virtual void receive(const char* data, int length) = 0;

protected:
    ~dbwValueReceiver() = default;
};

// Told while a statement waits for the server's answer, about every tenth
// of a second; returning false gives up the wait (the statement fails and
// the connection is dropped, so the server rolls back).
class dbwWaitHook {
public:
    virtual bool waiting() = 0;

protected:
    ~dbwWaitHook() = default;
};

class dbwDbResult {
public:
    dbwDbResult() = default;
    dbwDbResult(const dbwDbResult&) = delete;
    dbwDbResult& operator=(const dbwDbResult&) = delete;
    virtual ~dbwDbResult() = default;
    virtual void release() = 0;
    virtual int fieldCount() = 0;
    virtual const char* fieldName(int i) = 0;
    // Moves to the next row (the first call to row 0); false past the end.
    virtual bool next() = 0;
    virtual const char* value(int col) = 0;
    virtual bool isNull(int col) = 0;
    // Hands value(col) with its byte length to the receiver; false when the
    // result has no text for it.
    virtual bool valueInto(int col, dbwValueReceiver& receiver);
};

class dbwDbConnection {
public:
    dbwDbConnection() = default;
    dbwDbConnection(const dbwDbConnection&) = delete;
    dbwDbConnection& operator=(const dbwDbConnection&) = delete;

    virtual void* nativeHandle() = 0;
    virtual ~dbwDbConnection();
    virtual bool connect(const char* dbname, const char* host, const char* user, const char* password, int port);
    virtual bool connectFile(const char* fileName);
    // A new result the caller releases, or null on failure.
    virtual dbwDbResult* query(const char* sql) = 0;
    // A query whose text names params[i] as $(i+1): the values travel apart
    // from the text and are never read as SQL. The base, for engines without
    // parameters, puts each value into the text as a literal escaped by
    // escape(); a mark without its value stays as written.
    virtual dbwDbResult* queryParams(const char* sql, const btkStrings& params);
    virtual bool exec(const char* sql) = 0;
    // Runs one statement whose answer the caller does not wait for. An
    // engine that can pipeline sends it and checks its answer with the next
    // statement that is waited for: when it failed, that statement fails
    // with its error and is not run. Others run it at once. False when it
    // failed at once.
    virtual bool execDeferred(const char* sql) { return exec(sql); }
    // Whether execDeferred leaves answers unread.
    virtual bool canDefer() { return false; }
    // Waits for the answers of the deferred statements; false (the first
    // failure's error in lastError) when one failed.
    virtual bool flushDeferred() { return true; }
    // Deferred statements are numbered from 0 in the order given, over the
    // connection's life: the number the next one gets, and the number of the
    // one whose failure the last wait reported (-1 when it reported none).
    // Only a connection that can defer numbers them.
    virtual long deferredCount() { return 0; }
    virtual long failedDeferred() { return -1; }
    // Runs an INSERT and returns the new row's key: -1 when the insert
    // failed, 0 when no key was asked for or none came back.
    virtual int insertGetId(const char* sql, const char* table, const char* keyColumn) = 0;
    virtual void release() = 0;
    virtual btkstring lastError() = 0;
    // The engine's code of the last failed exec (SQLSTATE), "" when the
    // engine gives none.
    virtual btkstring errorState() { return btkstring(); }
    // The text escaped for a quoted SQL literal, in a buffer of this
    // connection that stays valid until the next escape.
    virtual const char* escape(const char* text);
    virtual const char* engineName() = 0;
    virtual bool isConnected() = 0;
    // Nested transactions: only the outermost begin and commit reach the
    // engine. Each returns whether it worked; a commit is true only when the
    // engine really committed.
    virtual bool begin();
    virtual bool commit();
    virtual bool rollback();
    virtual void features(dbwConnFeatures& features);
    // Writes the escaped form of at most n characters of src into dest (room
    // for 2n+1 bytes) and returns the number of bytes before the final NUL.
    virtual int escapeInto(char* dest, const char* src, int n) = 0;

    int transactionDepth() const { return depth; }
    // The hook told while waiting for the server (not owned); null for none.
    void setWaitHook(dbwWaitHook* hook) { waitHook = hook; }
    dbwWaitHook* currentWaitHook() const { return waitHook; }
    // True after a commit whose answer never came (the connection broke
    // while it was on its way): the server may or may not have committed.
    // Cleared by the next begin.
    bool commitOutcomeUnknown() const { return commitLost; }
    // Opens the connection anew with the parameters of its connect; false
    // when that fails or the engine cannot. Nothing of the old session
    // (transaction, deferred statements) remains.
    virtual bool reconnect() { return false; }

protected:
    virtual bool doBegin();
    virtual bool doCommit();
    virtual bool doRollback();

    bool commitLost = false;  // set by an engine's doCommit
    dbwWaitHook* waitHook = nullptr;

private:
    int depth = 0;
    int escapeCapacity = 0;
    char* escapeBuffer = nullptr;
};

// Engine 1 gives a new, unconnected PostgreSQL connection; every other
// number gives null.
dbwDbConnection* createBuiltinConnection(int engine);
