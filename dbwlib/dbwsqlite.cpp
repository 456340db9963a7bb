#include "dbwsqlite.h"

#include <cstdlib>
#include <cstring>

#include "dbwsqliteschema.h"

namespace dbwlib_detail {

namespace {

const char* const kNotOpen = "database is not open";

}  // namespace

// --- result ---------------------------------------------------------------

dbwSQLiteResult::dbwSQLiteResult(char** table, int rows, int columns)
    : m_table(table), m_rows(rows), m_columns(columns) {}

dbwSQLiteResult::~dbwSQLiteResult() { sqlite3_free_table(m_table); }

void dbwSQLiteResult::release() { delete this; }

dbwDbRow* dbwSQLiteResult::nextRow() {
    if (m_current < m_rows) ++m_current;
    return m_current < m_rows ? this : nullptr;
}

int dbwSQLiteResult::rowCount() { return m_rows; }

int dbwSQLiteResult::columnCount() { return m_columns; }

const char* dbwSQLiteResult::columnName(int i) {
    if (!m_table || i < 0 || i >= m_columns) return nullptr;
    return m_table[i];
}

const char* dbwSQLiteResult::value(int c) {
    if (!m_table || m_current < 0 || m_current >= m_rows || c < 0 || c >= m_columns) return nullptr;
    return m_table[(m_current + 1) * m_columns + c];
}

// --- connection -------------------------------------------------------------

dbwSQLiteConnection::~dbwSQLiteConnection() {
    if (m_db) sqlite3_close(m_db);
}

void dbwSQLiteConnection::setError(const char* message) { m_error = message ? message : ""; }

bool dbwSQLiteConnection::requireOpen() {
    if (m_db) return true;
    setError(kNotOpen);
    return false;
}

bool dbwSQLiteConnection::open(const char* database, const char*, const char*, const char*, int) {
    if (m_db) {
        setError("database is already open");
        return false;
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open(database ? database : "", &db);
    if (rc != SQLITE_OK) {
        // A handle may come back even on failure; it holds the reason.
        setError(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return false;
    }
    m_db = db;
    m_error.clear();
    return true;
}

dbwDbResult* dbwSQLiteConnection::query(const char* sql) {
    if (!requireOpen()) return nullptr;
    char** table = nullptr;
    int rows = 0;
    int columns = 0;
    char* message = nullptr;
    if (sqlite3_get_table(m_db, sql ? sql : "", &table, &rows, &columns, &message) != SQLITE_OK) {
        setError(message ? message : sqlite3_errmsg(m_db));
        sqlite3_free(message);
        sqlite3_free_table(table);
        return nullptr;
    }
    return new dbwSQLiteResult(table, rows, columns);
}

bool dbwSQLiteConnection::exec(const char* sql) {
    if (!requireOpen()) return false;
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql ? sql : "", nullptr, nullptr, &message) != SQLITE_OK) {
        setError(message ? message : sqlite3_errmsg(m_db));
        sqlite3_free(message);
        return false;
    }
    return true;
}

int dbwSQLiteConnection::insert(const char* sql, const char*, const char*) {
    if (!exec(sql)) return 0;
    return static_cast<int>(sqlite3_last_insert_rowid(m_db));
}

void dbwSQLiteConnection::release() { delete this; }

const char* dbwSQLiteConnection::error() { return m_error.c_str(); }

const char* dbwSQLiteConnection::quote(const char* text) {
    if (!text) text = "";
    size_t length = strlen(text);
    char* buffer = m_quote.reserve(length);
    dbwQuoteLiteral(buffer, text, length);
    return buffer;
}

const char* dbwSQLiteConnection::engine() { return "sqlite"; }

bool dbwSQLiteConnection::connected() { return m_db != nullptr; }

void dbwSQLiteConnection::begin() { exec("BEGIN TRANSACTION;"); }

void dbwSQLiteConnection::commit() { exec("COMMIT TRANSACTION;"); }

void dbwSQLiteConnection::rollback() { exec("ROLLBACK TRANSACTION;"); }

bool dbwSQLiteConnection::singleValue(const std::string& sql, std::string& value) {
    value.clear();
    if (!requireOpen()) return false;
    auto keepFirstColumn = [](void* target, int columns, char** values, char**) -> int {
        auto* out = static_cast<std::string*>(target);
        *out = columns > 0 && values[0] ? values[0] : "";
        return 0;
    };
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), keepFirstColumn, &value, &message) != SQLITE_OK) {
        setError(message ? message : sqlite3_errmsg(m_db));
        sqlite3_free(message);
        value.clear();
        return false;
    }
    return true;
}

int dbwSQLiteConnection::tableCount() {
    std::string count;
    if (!singleValue("SELECT COUNT(name) FROM sqlite_master WHERE sql NOT NULL AND type=='table'", count)) return 0;
    return static_cast<int>(strtol(count.c_str(), nullptr, 10));
}

bool dbwSQLiteConnection::tableNames(dbwTableName* names, int capacity) {
    dbwDbResult* result = query("SELECT name FROM sqlite_master WHERE sql NOT NULL AND type=='table'");
    if (!result) return false;
    int filled = 0;
    while (filled < capacity) {
        dbwDbRow* row = result->nextRow();
        if (!row) break;
        dbwCopyText(names[filled++], DBW_NAME_SIZE, row->value(0));
    }
    result->release();
    return true;
}

std::string dbwSQLiteConnection::createTableText(const char* table) {
    std::string text;
    singleValue("SELECT sql FROM sqlite_master WHERE type='table' AND name='" + dbwQuotedLiteral(table) + "'", text);
    return text;
}

int dbwSQLiteConnection::columnCount(const char* table) {
    return static_cast<int>(dbwParseCreateTable(createTableText(table)).size());
}

bool dbwSQLiteConnection::columns(const char* table, dbwColumnRecord* records, int capacity) {
    std::vector<dbwSQLiteColumn> found = dbwParseCreateTable(createTableText(table));
    if (found.empty() || found.size() > static_cast<size_t>(capacity < 0 ? 0 : capacity)) return false;
    for (size_t i = 0; i < found.size(); ++i) {
        dbwCopyText(records[i].name, DBW_NAME_SIZE, found[i].name.c_str());
        dbwCopyText(records[i].type, DBW_TYPE_SIZE, found[i].type.c_str());
    }
    return true;
}

}  // namespace dbwlib_detail
