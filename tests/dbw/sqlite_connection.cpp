#include "sqlite_connection.h"

#include <vector>

namespace {

// The rows of one statement, read in full when the query runs.
class SQLiteTestResult : public dbwDbResult {
public:
    void release() override { delete this; }
    int fieldCount() override { return static_cast<int>(names.size()); }
    const char* fieldName(int i) override {
        return i >= 0 && i < fieldCount() ? names[static_cast<size_t>(i)].c_str() : "";
    }
    bool next() override {
        if (row < static_cast<int>(rows.size())) ++row;
        return row < static_cast<int>(rows.size());
    }
    const char* value(int col) override { return isNull(col) ? "" : cell(col).c_str(); }
    bool isNull(int col) override {
        if (row < 0 || row >= static_cast<int>(rows.size()) || col < 0 || col >= fieldCount()) return true;
        return nulls[static_cast<size_t>(row)][static_cast<size_t>(col)];
    }

    std::vector<std::string> names;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::vector<bool>> nulls;

private:
    const std::string& cell(int col) { return rows[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
    int row = -1;
};

}  // namespace

SQLiteTestConnection::~SQLiteTestConnection() {
    if (db) sqlite3_close(db);
}

bool SQLiteTestConnection::connectFile(const char* fileName) {
    if (db) return false;
    if (sqlite3_open(fileName, &db) == SQLITE_OK) return true;
    error = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    db = nullptr;
    return false;
}

dbwDbResult* SQLiteTestConnection::query(const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (!db || sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "not connected";
        return nullptr;
    }
    auto* result = new SQLiteTestResult();
    int columns = sqlite3_column_count(stmt);
    for (int i = 0; i < columns; ++i) result->names.push_back(sqlite3_column_name(stmt, i));
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<std::string> row;
        std::vector<bool> nulls;
        for (int i = 0; i < columns; ++i) {
            const unsigned char* text = sqlite3_column_text(stmt, i);
            row.push_back(text ? reinterpret_cast<const char*>(text) : "");
            nulls.push_back(text == nullptr);
        }
        result->rows.push_back(row);
        result->nulls.push_back(nulls);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        error = sqlite3_errmsg(db);
        delete result;
        return nullptr;
    }
    return result;
}

bool SQLiteTestConnection::exec(const char* sql) {
    char* message = nullptr;
    if (db && sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    error = message ? message : "not connected";
    sqlite3_free(message);
    return false;
}

int SQLiteTestConnection::insertGetId(const char* sql, const char* table, const char* keyColumn) {
    if (!exec(sql)) return -1;
    if (!table || !*table || !keyColumn || !*keyColumn) return 0;
    return static_cast<int>(sqlite3_last_insert_rowid(db));
}
