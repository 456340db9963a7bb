#include "dbwmysql.h"

#include <cstring>

namespace dbwlib_detail {

// --- result -----------------------------------------------------------------

const char* dbwMySQLRow::value(int c) {
    if (!m_values || c < 0 || c >= m_columns) return nullptr;
    return m_values[c];
}

dbwMySQLResult::dbwMySQLResult(MYSQL_RES* result)
    : m_result(result), m_fieldCount(static_cast<int>(mysql_num_fields(result))), m_fields(mysql_fetch_fields(result)) {
    m_row.m_columns = m_fieldCount;
}

dbwMySQLResult::~dbwMySQLResult() { mysql_free_result(m_result); }

void dbwMySQLResult::release() { delete this; }

dbwDbRow* dbwMySQLResult::nextRow() {
    if (m_ended) return nullptr;
    m_row.m_values = mysql_fetch_row(m_result);
    if (!m_row.m_values) {
        m_ended = true;
        return nullptr;
    }
    return &m_row;
}

int dbwMySQLResult::rowCount() { return static_cast<int>(mysql_num_rows(m_result)); }

int dbwMySQLResult::columnCount() { return m_fieldCount; }

const char* dbwMySQLResult::columnName(int i) {
    if (!m_fields || i < 0 || i >= m_fieldCount) return nullptr;
    return m_fields[i].name;
}

// --- connection -------------------------------------------------------------

std::string dbwMySQLIdentifier(const char* name) {
    std::string out = "`";
    for (const char* p = name ? name : ""; *p; ++p) {
        if (*p == '`') out += '`';
        out += *p;
    }
    return out + "`";
}

dbwMySQLConnection::dbwMySQLConnection() {
    memset(&m_mysql, 0, sizeof m_mysql);
    mysql_init(&m_mysql);
}

dbwMySQLConnection::~dbwMySQLConnection() { mysql_close(&m_mysql); }

bool dbwMySQLConnection::open(const char* database, const char* host, const char* user, const char* password,
                              int port) {
    // The connection's character set is chosen here, not left to the server:
    // in UTF-8 no byte of a multi-byte character is ASCII, so quoting a name
    // or a literal cannot be undone by a character that swallows the quote.
    mysql_options(&m_mysql, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    return mysql_real_connect(&m_mysql, host, user, password, database, static_cast<unsigned>(port ? port : 3306),
                              nullptr, 0) != nullptr;
}

dbwDbResult* dbwMySQLConnection::query(const char* sql) {
    m_refused.clear();
    if (mysql_query(&m_mysql, sql ? sql : "") != 0) return nullptr;
    MYSQL_RES* result = mysql_store_result(&m_mysql);
    // A statement without a result set gives no result.
    if (!result) return nullptr;
    return new dbwMySQLResult(result);
}

bool dbwMySQLConnection::exec(const char* sql) {
    m_refused.clear();
    if (mysql_query(&m_mysql, sql ? sql : "") != 0) return false;
    if (MYSQL_RES* result = mysql_store_result(&m_mysql)) mysql_free_result(result);
    return true;
}

int dbwMySQLConnection::insert(const char* sql, const char*, const char*) {
    if (!exec(sql)) return 0;
    return static_cast<int>(mysql_insert_id(&m_mysql));
}

void dbwMySQLConnection::release() { delete this; }

const char* dbwMySQLConnection::error() { return m_refused.empty() ? mysql_error(&m_mysql) : m_refused.c_str(); }

const char* dbwMySQLConnection::quote(const char* text) {
    if (!text) text = "";
    size_t length = strlen(text);
    char* buffer = m_quote.reserve(length);
    mysql_real_escape_string(&m_mysql, buffer, text, length);
    return buffer;
}

const char* dbwMySQLConnection::engine() { return "mysql"; }

bool dbwMySQLConnection::connected() { return mysql_ping(&m_mysql) == 0; }

int dbwMySQLConnection::tableCount() {
    MYSQL_RES* tables = mysql_list_tables(&m_mysql, nullptr);
    if (!tables) return 0;
    int count = static_cast<int>(mysql_num_rows(tables));
    mysql_free_result(tables);
    return count;
}

MYSQL_RES* dbwMySQLConnection::showColumns(const char* table) {
    m_refused.clear();
    if (!dbwSafeIdentifier(table)) {
        m_refused = "table name refused: empty, or with bytes a quoted name cannot hold";
        return nullptr;
    }
    std::string sql = "SHOW COLUMNS FROM " + dbwMySQLIdentifier(table);
    if (mysql_query(&m_mysql, sql.c_str()) != 0) return nullptr;
    return mysql_store_result(&m_mysql);
}

int dbwMySQLConnection::columnCount(const char* table) {
    MYSQL_RES* result = showColumns(table);
    if (!result) return 0;
    int count = static_cast<int>(mysql_num_rows(result));
    mysql_free_result(result);
    return count;
}

bool dbwMySQLConnection::tableNames(dbwTableName* names, int capacity) {
    MYSQL_RES* tables = mysql_list_tables(&m_mysql, nullptr);
    if (!tables) return false;
    if (mysql_num_rows(tables) > static_cast<my_ulonglong>(capacity < 0 ? 0 : capacity)) {
        mysql_free_result(tables);
        return false;
    }
    int filled = 0;
    while (MYSQL_ROW row = mysql_fetch_row(tables)) dbwCopyText(names[filled++], DBW_NAME_SIZE, row[0]);
    mysql_free_result(tables);
    return true;
}

bool dbwMySQLConnection::columns(const char* table, dbwColumnRecord* records, int capacity) {
    MYSQL_RES* result = showColumns(table);
    if (!result) return false;
    if (mysql_num_rows(result) > static_cast<my_ulonglong>(capacity < 0 ? 0 : capacity) ||
        mysql_num_fields(result) < 6) {
        mysql_free_result(result);
        return false;
    }
    int filled = 0;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        dbwColumnRecord& record = records[filled++];
        dbwCopyText(record.name, DBW_NAME_SIZE, row[0]);
        std::string type = row[1] ? row[1] : "";
        if (row[5]) type += std::string(" ") + row[5];
        dbwCopyText(record.type, DBW_TYPE_SIZE, type.c_str());
    }
    mysql_free_result(result);
    return true;
}

}  // namespace dbwlib_detail
