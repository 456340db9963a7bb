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
    // A query or a key-returning insert that follows deferred statements
    // travels with them: one round trip for all. Either is sent as exactly
    // one statement: a text holding a second one fails and runs nothing.
    dbwDbResult* query(const char* sql) override;
    // The values as parameters of the extended protocol, in the
    // connection's encoding.
    dbwDbResult* queryParams(const char* sql, const btkStrings& params) override;
    // Waits for the deferred statements first: its text may hold several.
    bool exec(const char* sql) override;
    // Reads the new key with INSERT ... RETURNING.
    int insertGetId(const char* sql, const char* table, const char* keyColumn) override;
    // In libpq's pipeline mode, unless pipelining is off: then at once.
    bool execDeferred(const char* sql) override;
    bool flushDeferred() override;
    bool canDefer() override { return pipelining && conn; }
    long deferredCount() override { return sentDeferred; }
    long failedDeferred() override { return failedNumber; }
    // Pipelining is on from the start; off, every statement waits for its
    // answer (the reference the pipelined runs are checked against).
    void setPipelining(bool on) { pipelining = on; }
    void release() override;
    // A recorded error is handed out once; afterwards the live libpq message.
    btkstring lastError() override;
    btkstring errorState() override { return state; }
    const char* engineName() override;
    // Probes the server: a connection the server has dropped still reports
    // itself as fine to libpq until it is used.
    bool isConnected() override;
    // The same parameters, a new session; bounded by connectTimeoutS
    // without a byte from the server and stopped by the wait hook.
    bool reconnect() override;
    void features(dbwConnFeatures& features) override;
    // PQescapeStringConn: quotes doubled, backslashes kept as they are
    // under standard_conforming_strings.
    int escapeInto(char* dest, const char* src, int n) override;

    // How long a statement waits without a byte from the server before the
    // connection is given up (milliseconds), and how long connect and
    // reconnect wait for the server (seconds, at least 2). Program-wide;
    // tests shorten them.
    static int replyTimeoutMs;
    static int connectTimeoutS;
    // How long the server keeps a session of ours that sits inside a
    // transaction without a statement (milliseconds), so that a client that
    // froze or vanished releases its locks (the version table's above all).
    static int idleTransactionTimeoutMs;
    // The error of a statement that waited longer than replyTimeoutMs.
    static const char* const NoAnswerText;

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
    // PQexec, or with deferred statements pending: this statement sent
    // behind them and every answer read. A deferred statement's failure is
    // returned in place of this statement's answer, its error recorded.
    PGresult* run(const char* sql, const btkStrings* params = nullptr);
    // Ends the pipeline with a sync point and reads the answers of the
    // pending deferred statements, then into own the answer of the one
    // statement sent behind them; the first failure (recorded), or null.
    PGresult* readPending(PGresult** own = nullptr);
    // Leaves pipeline mode after its last answer was read.
    void endPipeline();
    // Sends one statement (one exactly when single is set) and waits for
    // its answer as PQexec does, without blocking past the reply timeout
    // or a wait hook's refusal.
    PGresult* execWaiting(const char* sql, bool single, const btkStrings* params = nullptr);
    // Sends what libpq still holds and waits until a whole answer can be
    // read; false when the server took or sent nothing for too long, the
    // hook gave up or the connection broke: the connection is then shut,
    // the reason recorded.
    bool awaitAnswer();
    // One slice (a tenth of a second) of waiting for the socket to allow
    // events: ready gets what it allows (0 for nothing yet). False when
    // boundMs passed in silentMs without anything, the hook refused (both
    // give the connection up) or the socket cannot be waited for.
    bool waitSlice(short events, int boundMs, int& silentMs, short& ready);
    bool abandon(const char* reason);
    // The next answer of the pipeline, or a made-up failure.
    PGresult* nextPipelineAnswer();

    PGconn* conn = nullptr;
    bool pipelining = true;
    int pending = 0;              // deferred statements whose answers are unread
    long sentDeferred = 0;        // deferred statements sent so far
    long failedNumber = -1;       // the deferred statement whose failure the last wait read
    bool deferredFailed = false;  // the last answer run returned is a deferred statement's
    char errorBuffer[4096];
    bool errorHandedOut = false;
    btkstring state;
    btkstring abandonReason;  // why the connection was given up, until reconnected
};
