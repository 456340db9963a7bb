#include "mysql_connection.h"

#include <cstring>
#include <vector>

namespace {

// The rows of one statement, fetched in full when the query runs.
class MySQLTestResult : public dbwDbResult {
public:
    explicit MySQLTestResult(MYSQL_RES* result) : result(result) {
        fields = mysql_fetch_fields(result);
        columns = static_cast<int>(mysql_num_fields(result));
    }
    ~MySQLTestResult() override { mysql_free_result(result); }
    void release() override { delete this; }
    int fieldCount() override { return columns; }
    const char* fieldName(int i) override { return i >= 0 && i < columns ? fields[i].name : ""; }
    bool next() override {
        row = mysql_fetch_row(result);
        return row != nullptr;
    }
    const char* value(int col) override { return isNull(col) ? "" : row[col]; }
    bool isNull(int col) override { return !row || col < 0 || col >= columns || !row[col]; }

private:
    MYSQL_RES* result;
    MYSQL_FIELD* fields;
    int columns;
    MYSQL_ROW row = nullptr;
};

}  // namespace

MySQLTestConnection::MySQLTestConnection() { mysql_init(&mysql); }

MySQLTestConnection::~MySQLTestConnection() { mysql_close(&mysql); }

bool MySQLTestConnection::connect(const char* dbname, const char* socket, const char* user, const char* password, int) {
    if (connected) return false;
    mysql_options(&mysql, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(&mysql, "localhost", user, password, dbname && *dbname ? dbname : nullptr, 0, socket, 0)) {
        recordError();
        return false;
    }
    connected = true;
    return true;
}

void MySQLTestConnection::recordError() { error = mysql_error(&mysql); }

dbwDbResult* MySQLTestConnection::query(const char* sql) {
    if (!connected || mysql_query(&mysql, sql) != 0) {
        recordError();
        return nullptr;
    }
    MYSQL_RES* result = mysql_store_result(&mysql);
    if (!result) {
        if (mysql_field_count(&mysql) != 0) recordError();
        return nullptr;
    }
    return new MySQLTestResult(result);
}

bool MySQLTestConnection::exec(const char* sql) {
    if (!connected || mysql_query(&mysql, sql) != 0) {
        recordError();
        return false;
    }
    // A statement that returns rows leaves them to be read: drop them.
    if (MYSQL_RES* result = mysql_store_result(&mysql)) mysql_free_result(result);
    return true;
}

int MySQLTestConnection::insertGetId(const char* sql, const char* table, const char* keyColumn) {
    if (!exec(sql)) return -1;
    if (!table || !*table || !keyColumn || !*keyColumn) return 0;
    return static_cast<int>(mysql_insert_id(&mysql));
}

int MySQLTestConnection::escapeInto(char* dest, const char* src, int n) {
    int length = 0;
    while (length < n && src[length]) ++length;
    return static_cast<int>(mysql_real_escape_string(&mysql, dest, src, static_cast<unsigned long>(length)));
}
