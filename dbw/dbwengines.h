// The engine adapters: each overrides only the operations whose SQL differs
// from the base adapter.
#pragma once

#include "dbw/dbwadapter.h"
#include "dbw/dbwmetadata.h"

// Identifier between double quotes, embedded double quotes doubled.
btkstring dbwDoubleQuoted(const btkstring& name);

class dbwPostgreAdapter : public dbwAdapter {
public:
    dbwPostgreAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* owner)
        : dbwAdapter(connection, encoding, owner, &reader), reader(this) {}
    const char* typeName(int type) override;
    // All statements in one text, each followed by ";", run at once.
    bool execList(const btkStrings& statements) override;
    // Each statement sent on its own in the connection's pipeline.
    bool execListDeferred(const btkStrings& statements) override;
    // The serial (or by-default identity) column's owned sequence.
    bool keySequence(const btkstring& table, const btkstring& column, btkstring& sequence) override;
    // One query: nextval of every sequence, count rows.
    bool nextKeys(const btkStrings& sequences, int count, btkCntVec<int>& keys) override;
    btkstring quoteIdentifier(btkstring name) override;
    int typeFromName(btkstring name) override;
    btkstring isNullSQL(btkstring expression) override;
    btkstring isNotNullSQL(btkstring expression) override;
    // int, bool and text casts for the column types that need them.
    btkstring castExpression(btkstring expression, const dbwFieldDesc& type) override;
    // Sets the serial field's sequence to the largest key in use.
    bool resetCounter(dbwTableDef* table) override;
    // A rebuilt table has a new sequence: set it past the copied keys.
    void afterRebuildSQL(dbwTableDef* table, btkStrings& statements) override;

private:
    dbwPostgreSQLMetadata reader;
};

class dbwMySQLAdapter : public dbwAdapter {
public:
    dbwMySQLAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* owner)
        : dbwAdapter(connection, encoding, owner, &reader), reader(this) {}
    const char* typeName(int type) override;
    // Each statement unchanged, one call each.
    bool execList(const btkStrings& statements) override;
    btkstring limitClause(int offset, int count) override;
    btkstring quoteIdentifier(btkstring name) override;
    // As the base, then AUTO_INCREMENT anywhere in the text makes it serial.
    void parseColumnType(const dbwFieldMetadata& column, dbwFieldDesc& desc) override;
    btkstring isNullSQL(btkstring expression) override;
    btkstring isNotNullSQL(btkstring expression) override;
    btkstring dropIndexSQL(dbwIndexDef* index) override;
    // An AUTO_INCREMENT column must be a key, in dbw_temp too.
    btkstring rebuildTableSQL(dbwTableDef* table) override;

private:
    dbwMySQLMetadata reader;
};

class dbwSQLiteAdapter : public dbwAdapter {
public:
    dbwSQLiteAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* owner)
        : dbwAdapter(connection, encoding, owner, &reader), reader(this) {}
    const char* typeName(int type) override;
    btkstring quoteIdentifier(btkstring name) override;
    int typeFromName(btkstring name) override;
    // DELETE of every row; the rowid key needs no counter reset.
    bool emptyTable(dbwTableDef* table) override;
    btkstring emptyTableSQL(btkstring table) override;
    btkstring isNullSQL(btkstring expression) override;
    btkstring isNotNullSQL(btkstring expression) override;
    bool primaryKeyInCreate() override;
    bool canAlterColumns() override;
    bool engineOption() override;
    bool indexSerialKey() override;
    // Registers the collation "ansi" on the connection's sqlite3 handle.
    void afterCreate() override;
    void registerAnsiCollation();

private:
    dbwSQLiteMetadata reader;
};

class dbwFirebirdAdapter : public dbwAdapter {
public:
    dbwFirebirdAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* owner)
        : dbwAdapter(connection, encoding, owner, &reader), reader(this) {}
    const char* typeName(int type) override;
    btkstring limitClause(int offset, int count) override;
    // Names beginning with RDB$ (any case) stay as they are.
    btkstring quoteIdentifier(btkstring name) override;
    int typeFromName(btkstring name) override;
    bool engineOption() override;
    // Sets the table's generator to the largest key in use.
    bool resetCounter(dbwTableDef* table) override;
    // A generator for a table with exactly one serial field.
    void afterCreateTableSQL(dbwTableDef* table, btkStrings& statements) override;

private:
    dbwFirebirdMetadata reader;
};

// The SQLite collation "ansi": sign of the Czech, case-insensitive order of
// two UTF-8 texts of the given byte lengths.
int dbwAnsiCollate(void* userData, int length1, const void* text1, int length2, const void* text2);
