#include "dbwpostgresql.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "dbwpgtext.h"

namespace dbwlib_detail {

namespace {

using ResultHandle = std::unique_ptr<PGresult, decltype(&PQclear)>;

ResultHandle run(PGconn* conn, const std::string& sql) {
    return ResultHandle(conn ? PQexec(conn, sql.c_str()) : nullptr, PQclear);
}

ExecStatusType statusOf(const ResultHandle& result) {
    return result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
}

// User tables: the catalogue's own tables start with "pg_" and those of the
// information schema with "sql_" (the '_' matched literally).
const char* const kTableQuery =
    "SELECT tablename FROM pg_tables WHERE tablename NOT LIKE 'pg!_%' ESCAPE '!' "
    "AND tablename NOT LIKE 'sql!_%' ESCAPE '!'";

}  // namespace

// --- result -----------------------------------------------------------------

const char* dbwPostgreSQLRow::value(int c) {
    if (!m_result || m_row < 0 || c < 0 || c >= PQnfields(m_result)) return nullptr;
    return PQgetvalue(m_result, m_row, c);
}

dbwPostgreSQLResult::dbwPostgreSQLResult(PGresult* result) : m_result(result), m_rows(PQntuples(result)) {
    m_row.m_result = result;
}

dbwPostgreSQLResult::~dbwPostgreSQLResult() { PQclear(m_result); }

void dbwPostgreSQLResult::release() { delete this; }

dbwDbRow* dbwPostgreSQLResult::nextRow() {
    if (m_next >= m_rows) return nullptr;
    m_row.m_row = m_next++;
    return &m_row;
}

int dbwPostgreSQLResult::rowCount() { return m_rows; }

int dbwPostgreSQLResult::columnCount() { return PQnfields(m_result); }

const char* dbwPostgreSQLResult::columnName(int i) {
    if (i < 0 || i >= PQnfields(m_result)) return nullptr;
    return PQfname(m_result, i);
}

// --- connection -------------------------------------------------------------

dbwPostgreSQLConnection::~dbwPostgreSQLConnection() {
    if (m_conn) PQfinish(m_conn);
}

bool dbwPostgreSQLConnection::open(const char* database, const char* host, const char* user, const char* password,
                                   int port) {
    // A connection, even a failed one (it holds the reason), is never replaced.
    if (m_conn) return false;
    m_conn = PQconnectdb(dbwPgConnectionString(database, host, user, password, port).c_str());
    return m_conn && PQstatus(m_conn) != CONNECTION_BAD;
}

dbwDbResult* dbwPostgreSQLConnection::query(const char* sql) {
    PGresult* result = rows(sql ? sql : "");
    return result ? new dbwPostgreSQLResult(result) : nullptr;
}

PGresult* dbwPostgreSQLConnection::rows(const std::string& sql) {
    ResultHandle result = run(m_conn, sql);
    if (statusOf(result) != PGRES_TUPLES_OK) return nullptr;
    return result.release();
}

bool dbwPostgreSQLConnection::exec(const char* sql) {
    ResultHandle result = run(m_conn, sql ? sql : "");
    ExecStatusType status = statusOf(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

int dbwPostgreSQLConnection::insert(const char* sql, const char* table, const char* key) {
    if (statusOf(run(m_conn, sql ? sql : "")) != PGRES_COMMAND_OK) return 0;
    return insertedKey(table, key);
}

int dbwPostgreSQLConnection::insertedKey(const char* table, const char* key) {
    if (!table || !*table || !key || !*key) return 0;
    std::string sql = "SELECT currval(pg_get_serial_sequence('" + literal(table) + "', '" + literal(key) + "'))";
    // Inside a transaction a failing look-up (no such column, a sequence not
    // used in this session) must not abort the caller's transaction.
    bool inTransaction = PQtransactionStatus(m_conn) == PQTRANS_INTRANS;
    if (inTransaction) run(m_conn, "SAVEPOINT dbw_inserted_key");
    ResultHandle result = run(m_conn, sql);
    bool found =
        statusOf(result) == PGRES_TUPLES_OK && PQntuples(result.get()) == 1 && !PQgetisnull(result.get(), 0, 0);
    int value = found ? static_cast<int>(strtol(PQgetvalue(result.get(), 0, 0), nullptr, 10)) : 0;
    if (inTransaction) {
        if (!found) run(m_conn, "ROLLBACK TO SAVEPOINT dbw_inserted_key");
        run(m_conn, "RELEASE SAVEPOINT dbw_inserted_key");
    }
    return value;
}

void dbwPostgreSQLConnection::release() { delete this; }

const char* dbwPostgreSQLConnection::error() { return m_conn ? PQerrorMessage(m_conn) : ""; }

std::string dbwPostgreSQLConnection::literal(const char* text) {
    if (!text) text = "";
    if (!m_conn) return dbwQuotedLiteral(text);
    size_t length = strlen(text);
    std::string out(2 * length + 1, '\0');
    out.resize(PQescapeStringConn(m_conn, out.data(), text, length, nullptr));
    return out;
}

const char* dbwPostgreSQLConnection::quote(const char* text) {
    if (!text) text = "";
    size_t length = strlen(text);
    char* buffer = m_quote.reserve(length);
    // Without a connection the server's default (standard-conforming strings)
    // is assumed: only quotes are doubled.
    if (m_conn)
        PQescapeStringConn(m_conn, buffer, text, length, nullptr);
    else
        dbwQuoteLiteral(buffer, text, length);
    return buffer;
}

const char* dbwPostgreSQLConnection::engine() { return "postgresql"; }

bool dbwPostgreSQLConnection::connected() { return m_conn && PQstatus(m_conn) == CONNECTION_OK; }

void dbwPostgreSQLConnection::begin() { exec("BEGIN WORK;"); }

void dbwPostgreSQLConnection::commit() { exec("COMMIT WORK;"); }

void dbwPostgreSQLConnection::rollback() { exec("ROLLBACK WORK;"); }

int dbwPostgreSQLConnection::tableCount() {
    ResultHandle result(rows(kTableQuery), PQclear);
    return result ? PQntuples(result.get()) : 0;
}

std::string dbwPostgreSQLConnection::columnQuery(const char* table) {
    return "SELECT a.attname,t.typname,a.atttypmod,pg_get_expr(def.adbin, def.adrelid) "
           "FROM pg_attribute a JOIN pg_type t ON (a.atttypid=t.oid) "
           "LEFT JOIN pg_attrdef def ON (a.attrelid=def.adrelid AND a.attnum = def.adnum) "
           "WHERE a.attrelid=(SELECT oid FROM pg_class WHERE relname='" +
           literal(table) + "') AND a.attnum>0 AND NOT a.attisdropped ORDER BY a.attnum";
}

int dbwPostgreSQLConnection::columnCount(const char* table) {
    ResultHandle result(rows(columnQuery(table)), PQclear);
    return result ? PQntuples(result.get()) : 0;
}

bool dbwPostgreSQLConnection::tableNames(dbwTableName* names, int capacity) {
    ResultHandle result(rows(kTableQuery), PQclear);
    if (!result || PQntuples(result.get()) > capacity) return false;
    for (int i = 0; i < PQntuples(result.get()); ++i)
        dbwCopyText(names[i], DBW_NAME_SIZE, PQgetvalue(result.get(), i, 0));
    return true;
}

bool dbwPostgreSQLConnection::columns(const char* table, dbwColumnRecord* records, int capacity) {
    ResultHandle result(rows(columnQuery(table)), PQclear);
    // No rows means no such table: that is a failure, as on the other engines.
    if (!result || PQntuples(result.get()) == 0 || PQntuples(result.get()) > capacity) return false;
    for (int i = 0; i < PQntuples(result.get()); ++i) {
        PGresult* r = result.get();
        dbwCopyText(records[i].name, DBW_NAME_SIZE, PQgetvalue(r, i, 0));
        std::string type = dbwPgColumnType(PQgetvalue(r, i, 1), PQgetvalue(r, i, 2),
                                           PQgetisnull(r, i, 3) ? nullptr : PQgetvalue(r, i, 3));
        dbwCopyText(records[i].type, DBW_TYPE_SIZE, type.c_str());
    }
    return true;
}

}  // namespace dbwlib_detail
