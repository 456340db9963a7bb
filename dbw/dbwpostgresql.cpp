#include "dbw/dbwpostgresql.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "dbw/dbwengines.h"

namespace {

// One key='value' pair of a libpq connection text; nothing for an empty value.
void appendConnValue(btkstring& text, const char* key, const char* value) {
    if (!value || !*value) return;
    if (!text.empty()) text += ' ';
    text += key;
    text += "='";
    for (const char* p = value; *p; ++p) {
        if (*p == '\\' || *p == '\'') text += '\\';
        text += *p;
    }
    text += '\'';
}

// The statement without trailing blanks and semicolons.
btkstring withoutTerminator(const char* sql) {
    btkstring s(sql);
    int n = s.length();
    while (n > 0 && (static_cast<unsigned char>(s[n - 1]) <= 32 || s[n - 1] == ';')) --n;
    return s.substr(0, n);
}

}  // namespace

// ---- result -----------------------------------------------------------------

dbwPostgreSQLResult::dbwPostgreSQLResult(PGresult* r) : result(r), rows(PQntuples(r)) {}

dbwPostgreSQLResult::~dbwPostgreSQLResult() { PQclear(result); }

void dbwPostgreSQLResult::release() { delete this; }

int dbwPostgreSQLResult::fieldCount() { return PQnfields(result); }

const char* dbwPostgreSQLResult::fieldName(int i) {
    const char* name = PQfname(result, i);
    return name ? name : "";
}

bool dbwPostgreSQLResult::next() {
    if (row < rows) ++row;
    return row < rows;
}

bool dbwPostgreSQLResult::inRange(int col) const {
    return row >= 0 && row < rows && col >= 0 && col < PQnfields(result);
}

const char* dbwPostgreSQLResult::value(int col) {
    if (!inRange(col) || PQgetisnull(result, row, col)) return "";
    const char* v = PQgetvalue(result, row, col);
    return v ? v : "";
}

bool dbwPostgreSQLResult::isNull(int col) { return !inRange(col) || PQgetisnull(result, row, col); }

// ---- connection -------------------------------------------------------------

int dbwPostgreSQLConnection::replyTimeoutMs = 25000;
int dbwPostgreSQLConnection::connectTimeoutS = 10;
int dbwPostgreSQLConnection::idleTransactionTimeoutMs = 60000;
const char* const dbwPostgreSQLConnection::NoAnswerText =
    "Server internetové databáze přestal odpovídat, spojení bylo ukončeno";

dbwPostgreSQLConnection::dbwPostgreSQLConnection() { errorBuffer[0] = 0; }

dbwPostgreSQLConnection::~dbwPostgreSQLConnection() {
    if (conn) PQfinish(conn);
}

void* dbwPostgreSQLConnection::nativeHandle() { return conn; }

btkstring dbwPostgreSQLConnection::connectionText(const char* dbname, const char* host, const char* user,
                                                  const char* password, int port) {
    btkstring text;
    appendConnValue(text, "dbname", dbname);
    appendConnValue(text, "host", host);
    appendConnValue(text, "user", user);
    appendConnValue(text, "password", password);
    if (port != 0) appendConnValue(text, "port", btkIntToStr(port));
    return text;
}

bool dbwPostgreSQLConnection::connect(const char* dbname, const char* host, const char* user, const char* password,
                                      int port) {
    if (conn) return false;
    // A server that does not answer, or a network that goes dead, must end
    // the wait: bounded connect, keepalives and a TCP user timeout (the
    // last two apply to TCP connections only). The server side is bounded
    // as well, for every session of the connection (a reconnect included):
    // a transaction left idle ends, and the server's keepalives find a
    // client that is gone.
    btkstring text =
        connectionText(dbname, host, user, password, port) +
        btkFormat(
            " connect_timeout='%d' keepalives='1' keepalives_idle='10' keepalives_interval='5' "
            "keepalives_count='3' tcp_user_timeout='%d' options='-c idle_in_transaction_session_timeout=%d "
            "-c tcp_keepalives_idle=30 -c tcp_keepalives_interval=10 -c tcp_keepalives_count=3'",
            connectTimeoutS, replyTimeoutMs, idleTransactionTimeoutMs);
    conn = PQconnectdb(text);
    if (!conn) return false;
    // Non-blocking: a send that the server does not take in ends at the
    // reply timeout or the user's Storno like a wait for an answer.
    if (PQstatus(conn) == CONNECTION_BAD || PQsetnonblocking(conn, 1) != 0) {
        recordError();
        return false;
    }
    return true;
}

dbwDbResult* dbwPostgreSQLConnection::query(const char* sql) { return queryParams(sql, btkStrings()); }

dbwDbResult* dbwPostgreSQLConnection::queryParams(const char* sql, const btkStrings& params) {
    PGresult* r = run(sql, &params);
    if (PQresultStatus(r) == PGRES_TUPLES_OK) return new dbwPostgreSQLResult(r);
    recordError();
    PQclear(r);
    return nullptr;
}

bool dbwPostgreSQLConnection::exec(const char* sql) {
    deferredFailed = false;
    failedNumber = -1;
    if (!flushDeferred()) return false;
    PGresult* r = execWaiting(sql, false);
    ExecStatusType status = PQresultStatus(r);
    bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    const char* code = ok ? nullptr : PQresultErrorField(r, PG_DIAG_SQLSTATE);
    state = code ? code : "";
    if (!ok) recordError();
    PQclear(r);
    return ok;
}

int dbwPostgreSQLConnection::insertGetId(const char* sql, const char* table, const char* keyColumn) {
    bool wantKey = table && *table && keyColumn && *keyColumn;
    if (!wantKey) return exec(sql) ? 0 : -1;
    btkstring statement = withoutTerminator(sql) + " RETURNING " + dbwDoubleQuoted(keyColumn);
    PGresult* r = run(statement);
    int id = -1;
    if (PQresultStatus(r) == PGRES_TUPLES_OK)
        id = PQntuples(r) == 1 && PQnfields(r) >= 1 ? btkAtoi(PQgetvalue(r, 0, 0)) : 0;
    else
        recordError();
    PQclear(r);
    return id;
}

void dbwPostgreSQLConnection::release() { delete this; }

void dbwPostgreSQLConnection::recordError() {
    // A deferred statement's failure that run returned is already recorded.
    if (deferredFailed) {
        deferredFailed = false;
        return;
    }
    if (!abandonReason.empty())
        recordError(abandonReason);
    else if (conn)
        recordError(PQerrorMessage(conn));
}

void dbwPostgreSQLConnection::recordError(const char* message) {
    // Once the connection was given up, whatever fails after it (the rest
    // of a pipeline, the rollback) fails for that reason, not for libpq's
    // "server closed the connection" of the shut socket.
    if (!abandonReason.empty()) message = abandonReason;
    std::strncpy(errorBuffer, message ? message : "", sizeof errorBuffer - 1);
    errorBuffer[sizeof errorBuffer - 1] = 0;
    errorHandedOut = false;
}

btkstring dbwPostgreSQLConnection::lastError() {
    if (errorHandedOut) errorBuffer[0] = 0;
    if (errorBuffer[0]) {
        errorHandedOut = true;
        return errorBuffer;
    }
    return conn ? PQerrorMessage(conn) : "";
}

const char* dbwPostgreSQLConnection::engineName() { return "postgresql"; }

bool dbwPostgreSQLConnection::isConnected() {
    if (!conn || PQstatus(conn) != CONNECTION_OK) return false;
    // An empty statement costs one round trip and is accepted even inside a
    // failed transaction; a dropped connection turns CONNECTION_BAD here.
    if (!flushDeferred()) return PQstatus(conn) == CONNECTION_OK;
    PQclear(execWaiting("", false));
    return PQstatus(conn) == CONNECTION_OK;
}

bool dbwPostgreSQLConnection::reconnect() {
    if (!conn) return false;
    pending = 0;
    deferredFailed = false;
    abandonReason = btkstring();
    // Driven here rather than by PQreset, which would wait out its whole
    // timeout: a silent server ends it after connectTimeoutS without a
    // byte, and the wait hook can stop it.
    if (PQresetStart(conn) != 1) {
        recordError();
        return false;
    }
    int silentMs = 0;
    for (PostgresPollingStatusType step = PGRES_POLLING_WRITING; step != PGRES_POLLING_OK;) {
        if (step == PGRES_POLLING_FAILED) {
            recordError();
            return false;
        }
        short ready = 0;
        if (!waitSlice(step == PGRES_POLLING_READING ? POLLIN : POLLOUT, connectTimeoutS * 1000, silentMs, ready))
            return false;
        if (ready) step = PQresetPoll(conn);
    }
    if (PQsetnonblocking(conn, 1) == 0) return true;
    recordError();
    return false;
}

void dbwPostgreSQLConnection::features(dbwConnFeatures& f) {
    f.serverBased = true;
    f.reserved = true;
}

int dbwPostgreSQLConnection::escapeInto(char* dest, const char* src, int n) {
    size_t length = src ? strnlen(src, n > 0 ? static_cast<size_t>(n) : 0) : 0;
    if (conn) {
        int error = 0;
        return static_cast<int>(PQescapeStringConn(conn, dest, src ? src : "", length, &error));
    }
    // Without a server to ask: the standard SQL form, quotes doubled.
    char* out = dest;
    for (size_t i = 0; i < length; ++i) {
        if (src[i] == '\'') *out++ = '\'';
        *out++ = src[i];
    }
    *out = 0;
    return static_cast<int>(out - dest);
}

bool dbwPostgreSQLConnection::doBegin() { return exec("BEGIN WORK;"); }

bool dbwPostgreSQLConnection::doCommit() {
    deferredFailed = false;
    failedNumber = -1;
    if (!flushDeferred()) return false;
    // After a failed statement the server answers COMMIT with the tag
    // ROLLBACK and no error: that is a failed commit.
    PGresult* r = execWaiting("COMMIT WORK;", false);
    bool ok = PQresultStatus(r) == PGRES_COMMAND_OK && std::strcmp(PQcmdStatus(r), "COMMIT") == 0;
    // No answer and a broken connection: the COMMIT may have reached the
    // server and been carried out.
    if (!ok && PQresultStatus(r) != PGRES_COMMAND_OK && PQstatus(conn) == CONNECTION_BAD) commitLost = true;
    if (!ok) {
        if (PQresultStatus(r) == PGRES_COMMAND_OK)
            recordError("COMMIT was answered with ROLLBACK: the transaction had failed and was rolled back");
        else
            recordError();
    }
    PQclear(r);
    return ok;
}

bool dbwPostgreSQLConnection::doRollback() {
    flushDeferred();  // their failure no longer matters
    return exec("ROLLBACK WORK;");
}

// ---- pipeline -----------------------------------------------------------------
//
// Deferred statements are sent in libpq's pipeline mode (extended protocol,
// one statement each) and their answers left unread. The next statement
// that is waited for either travels behind them (run) or waits for them
// first (flushDeferred); then a sync point ends the pipeline, every answer
// is read in order and the connection leaves pipeline mode. Inside the
// run's transaction a failed statement makes the server skip every later
// one up to the sync point, as it skips the rest of a text of several
// statements.

namespace {

// Results this many statements apart are read at the latest, so that the
// server's answers never fill the socket while the client still writes.
constexpr int maxPending = 256;

bool succeeded(PGresult* r) {
    ExecStatusType status = PQresultStatus(r);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

// The answer to the next statement of the pipeline, its end marker read;
// a made-up failure when the connection broke.
PGresult* nextAnswer(PGconn* conn) {
    PGresult* r = PQgetResult(conn);
    if (!r) return PQmakeEmptyPGresult(conn, PGRES_FATAL_ERROR);
    while (PGresult* extra = PQgetResult(conn)) PQclear(extra);
    return r;
}

// The extended protocol, which refuses a text of several statements: a
// query's text can never carry a second statement along. Parameter values
// go as text of unspecified type, which the server infers from their use.
bool sendInPipeline(PGconn* conn, const char* sql, const btkStrings* params = nullptr) {
    std::vector<const char*> values;
    if (params)
        for (const btkstring& value : *params) values.push_back(value.c_str());
    return PQsendQueryParams(conn, sql, static_cast<int>(values.size()), nullptr, values.data(), nullptr, nullptr, 0) ==
           1;
}

}  // namespace

bool dbwPostgreSQLConnection::execDeferred(const char* sql) {
    if (!pipelining || !conn) return exec(sql);
    if (pending >= maxPending && !flushDeferred()) return false;
    if (PQpipelineStatus(conn) == PQ_PIPELINE_OFF && PQenterPipelineMode(conn) != 1) {
        bool ok = exec(sql);
        if (!ok) failedNumber = sentDeferred;
        ++sentDeferred;
        return ok;
    }
    if (!sendInPipeline(conn, sql)) {
        deferredFailed = false;
        recordError();
        PGresult* earlier = readPending();
        if (!earlier) failedNumber = sentDeferred;
        ++sentDeferred;
        PQclear(earlier);
        return false;
    }
    ++pending;
    ++sentDeferred;
    return true;
}

bool dbwPostgreSQLConnection::flushDeferred() {
    if (!conn || PQpipelineStatus(conn) == PQ_PIPELINE_OFF) return true;
    PGresult* failure = readPending();
    PQclear(failure);
    return failure == nullptr;
}

PGresult* dbwPostgreSQLConnection::readPending(PGresult** own) {
    PGresult* failure = nullptr;
    failedNumber = -1;
    if (PQpipelineSync(conn) != 1) {
        recordError(PQerrorMessage(conn));
        failure = PQmakeEmptyPGresult(conn, PGRES_FATAL_ERROR);
        failedNumber = sentDeferred - pending;  // none of them is known to have run
    }
    for (; pending > 0; --pending) {
        PGresult* r = nextPipelineAnswer();
        if (failure || succeeded(r)) {
            PQclear(r);
        } else {
            const char* message = PQresultErrorMessage(r);
            recordError(*message ? message : PQerrorMessage(conn));
            failure = r;
            failedNumber = sentDeferred - pending;
        }
    }
    if (own) *own = nextPipelineAnswer();
    endPipeline();
    return failure;
}

void dbwPostgreSQLConnection::endPipeline() {
    // The sync point's own answer, then nothing is left to read.
    if (!awaitAnswer()) return;
    if (PGresult* sync = PQgetResult(conn)) PQclear(sync);
    PQexitPipelineMode(conn);
}

PGresult* dbwPostgreSQLConnection::run(const char* sql, const btkStrings* params) {
    deferredFailed = false;
    failedNumber = -1;
    if (!conn || PQpipelineStatus(conn) == PQ_PIPELINE_OFF) return execWaiting(sql, true, params);
    PGresult* own = nullptr;
    PGresult* failure = nullptr;
    if (sendInPipeline(conn, sql, params)) {
        failure = readPending(&own);
    } else {
        failure = readPending();
        if (!failure) return execWaiting(sql, true, params);
    }
    if (!failure) return own;
    PQclear(own);
    deferredFailed = true;
    return failure;
}

// ---- waiting for the server ----------------------------------------------------
//
// Statements are sent and their answers awaited on the socket in slices of
// a tenth of a second, so that a silent server ends the wait and a wait
// hook (the progress window) keeps running while the server works. The
// connection does not block on sending: what libpq could not yet hand to
// the socket is flushed in the same wait, under the same bound, so a
// server that stops reading is given up like one that stops answering.

PGresult* dbwPostgreSQLConnection::nextPipelineAnswer() {
    if (!awaitAnswer()) return PQmakeEmptyPGresult(conn, PGRES_FATAL_ERROR);
    return nextAnswer(conn);
}

PGresult* dbwPostgreSQLConnection::execWaiting(const char* sql, bool single, const btkStrings* params) {
    if (!conn) return nullptr;
    bool sent = single ? sendInPipeline(conn, sql, params) : PQsendQuery(conn, sql) == 1;
    if (!sent) return PQmakeEmptyPGresult(conn, PGRES_FATAL_ERROR);
    // As PQexec: the first failure, else the last answer.
    PGresult* answer = nullptr;
    for (;;) {
        if (!awaitAnswer()) {
            PQclear(answer);
            return PQmakeEmptyPGresult(conn, PGRES_FATAL_ERROR);
        }
        PGresult* r = PQgetResult(conn);
        if (!r) break;
        if (answer && PQresultStatus(answer) == PGRES_FATAL_ERROR) {
            PQclear(r);
        } else {
            PQclear(answer);
            answer = r;
        }
    }
    return answer ? answer : PQmakeEmptyPGresult(conn, PGRES_FATAL_ERROR);
}

bool dbwPostgreSQLConnection::awaitAnswer() {
    int silentMs = 0;
    for (;;) {
        if (PQstatus(conn) == CONNECTION_BAD) return false;
        // The server answers only what it has read: the rest of the
        // statements goes out first.
        int unsent = PQflush(conn);
        if (unsent < 0) return false;
        if (!PQisBusy(conn)) return true;
        short ready = 0;
        if (!waitSlice(unsent ? POLLIN | POLLOUT : POLLIN, replyTimeoutMs, silentMs, ready)) return false;
        if ((ready & (POLLIN | POLLHUP | POLLERR)) && PQconsumeInput(conn) != 1) return false;
    }
}

bool dbwPostgreSQLConnection::waitSlice(short events, int boundMs, int& silentMs, short& ready) {
    pollfd socketWait{PQsocket(conn), events, 0};
    if (socketWait.fd < 0) return false;
    int n = poll(&socketWait, 1, 100);
    ready = n > 0 ? socketWait.revents : 0;
    if (n > 0) {
        silentMs = 0;
    } else if (n == 0) {
        silentMs += 100;
        if (silentMs >= boundMs) return abandon(NoAnswerText);
    } else if (errno != EINTR) {
        return false;
    }
    if (waitHook && !waitHook->waiting()) return abandon("Přerušeno uživatelem");
    return true;
}

bool dbwPostgreSQLConnection::abandon(const char* reason) {
    // Shut, not closed: libpq still owns the socket and now reads its end,
    // and the server's session ends with its transaction rolled back.
    abandonReason = reason;
    recordError(reason);
    shutdown(PQsocket(conn), SHUT_RDWR);
    PQconsumeInput(conn);
    return false;
}
