// Helpers for the dbwlib tests, which use the library only through its
// public header, as an outside program does.
#pragma once

#include <gtest/gtest.h>

#include <dbwlib.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct DbwConnectionRelease {
    void operator()(dbwDbConnection* c) const { c->release(); }
};
struct DbwResultRelease {
    void operator()(dbwDbResult* r) const { r->release(); }
};
using DbwConnection = std::unique_ptr<dbwDbConnection, DbwConnectionRelease>;
using DbwResult = std::unique_ptr<dbwDbResult, DbwResultRelease>;

inline DbwConnection dbwCreate(int engine) { return DbwConnection(_dbw_create_connection(engine)); }

// UTF-8 text however the narrow literals of the build are encoded.
inline std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Apostrophe, backslash and Czech letters.
inline std::string trickyText() { return utf8(u8"it's C:\\dir Příliš žluťoučký"); }
constexpr int kTrickyTextCharacters = 28;

// Every row of a query; a SQL NULL reads as "<null>".
inline std::vector<std::vector<std::string>> readRows(dbwDbConnection* db, const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    DbwResult result(db->query(sql.c_str()));
    EXPECT_TRUE(result) << sql << ": " << db->error();
    if (!result) return rows;
    while (dbwDbRow* row = result->nextRow()) {
        std::vector<std::string> values;
        for (int c = 0; c < result->columnCount(); ++c) {
            const char* v = row->value(c);
            values.push_back(v ? v : "<null>");
        }
        rows.push_back(values);
    }
    return rows;
}

inline std::string readSingle(dbwDbConnection* db, const std::string& sql) {
    auto rows = readRows(db, sql);
    return rows.empty() || rows[0].empty() ? "<none>" : rows[0][0];
}

inline std::set<std::string> tableNameSet(dbwDbConnection* db) {
    std::vector<dbwTableName> names(64);
    EXPECT_TRUE(db->tableNames(names.data(), static_cast<int>(names.size()))) << db->error();
    std::set<std::string> out;
    for (int i = 0; i < db->tableCount() && i < 64; ++i) out.insert(names[i]);
    return out;
}

// The column records of a table as "name: type" texts.
inline std::vector<std::string> columnList(dbwDbConnection* db, const char* table) {
    std::vector<dbwColumnRecord> records(32);
    std::vector<std::string> out;
    EXPECT_TRUE(db->columns(table, records.data(), static_cast<int>(records.size()))) << table << ": " << db->error();
    for (int i = 0; i < db->columnCount(table) && i < 32; ++i)
        out.push_back(std::string(records[i].name) + ": " + records[i].type);
    return out;
}

// columns() refuses a missing table or too small a capacity without writing
// into the records.
inline void expectColumnsRefused(dbwDbConnection* db, const char* table, int capacity) {
    std::vector<dbwColumnRecord> records(static_cast<size_t>(capacity));
    for (auto& r : records) {
        std::strcpy(r.name, "untouched");
        std::strcpy(r.type, "untouched");
    }
    EXPECT_FALSE(db->columns(table, records.data(), capacity)) << table;
    for (const auto& r : records) {
        EXPECT_STREQ(r.name, "untouched") << table;
        EXPECT_STREQ(r.type, "untouched") << table;
    }
}

// A quoted tricky text inserted into t (id, v) reads back whole; lengthSql
// is the engine's character count of v.
inline void expectQuotedTextReadsBack(dbwDbConnection* db, const char* createTable, const char* lengthSql) {
    ASSERT_TRUE(db->exec(createTable)) << db->error();
    std::string text = trickyText();
    std::string sql = std::string("INSERT INTO t (v) VALUES ('") + db->quote(text.c_str()) + "')";
    ASSERT_EQ(db->insert(sql.c_str(), "t", "id"), 1) << db->error();
    EXPECT_EQ(readSingle(db, "SELECT v FROM t"), text);
    EXPECT_EQ(readSingle(db, lengthSql), std::to_string(kTrickyTextCharacters));
}

// The typical use an outside program makes of a connection: create a table
// (createTable names id, title and year), insert two rows and read them back.
// A SQL NULL reads as nullRead: null, or "" where the engine's client library
// gives an empty text.
inline void walkTypicalUse(dbwDbConnection* db, const char* createTable, const char* nullRead) {
    ASSERT_TRUE(db->exec(createTable)) << db->error();
    EXPECT_EQ(db->insert("INSERT INTO song (title, year) VALUES ('One', 1990)", "song", "id"), 1);
    EXPECT_EQ(db->insert("INSERT INTO song (title) VALUES ('Two')", "song", "id"), 2);
    EXPECT_EQ(db->insert("INSERT INTO nosuch VALUES (1)", "nosuch", "id"), 0);
    EXPECT_NE(std::string(db->error()).find("nosuch"), std::string::npos) << db->error();

    DbwResult result(db->query("SELECT id, title, year FROM song ORDER BY id"));
    ASSERT_TRUE(result) << db->error();
    EXPECT_EQ(result->rowCount(), 2);
    EXPECT_EQ(result->columnCount(), 3);
    EXPECT_STREQ(result->columnName(1), "title");
    EXPECT_EQ(result->columnName(3), nullptr);
    dbwDbRow* row = result->nextRow();
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->value(0), "1");
    EXPECT_STREQ(row->value(1), "One");
    EXPECT_STREQ(row->value(2), "1990");
    EXPECT_EQ(row->value(3), nullptr);
    EXPECT_EQ(row->value(-1), nullptr);
    row = result->nextRow();
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->value(1), "Two");
    if (nullRead)
        EXPECT_STREQ(row->value(2), nullRead);
    else
        EXPECT_EQ(row->value(2), nullptr);
    EXPECT_EQ(result->nextRow(), nullptr);
    EXPECT_EQ(result->nextRow(), nullptr);
}
