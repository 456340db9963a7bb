// dbwAdapter: the SQL dialect adapter, the one object through which the
// library talks to a live database. It wraps one open engine connection,
// converts texts between UTF-8 and the connection's encoding, quotes
// identifiers, writes the SQL texts that differ between engines and runs
// statements. Engine adapters override the operations whose SQL differs.
//
// Failures are reported by results (false, null, 0, -1, ""); the reason is
// the adapter's own error text joined with the connection's last error
// (errorText).
#pragma once

#include "dbw/dbwactiveconnection.h"
#include "dbw/dbwconnection.h"
#include "dbw/dbwformat.h"
#include "foundation/btkconverter.h"
#include "foundation/btkref.h"
#include "foundation/btkstrings.h"

class dbwAdapterResult;
class dbwMetadata;
class dbwIndexDef;
class dbwTableDef;
struct dbwFieldDesc;
struct dbwFieldMetadata;

// A counted handle to the rows of one query, standing on the first row
// when made.
class dbwResultRef : public btkRef<dbwAdapterResult> {
public:
    using btkRef<dbwAdapterResult>::btkRef;
    // True when it holds a result that holds an engine result.
    bool isValid() const;
    bool hasRow() const;
    bool next() const;
    btkstring value(int column) const;
    btkstring valueByName(const char* name) const;
};

class dbwAdapter : public btkRCObject {
public:
    // owner lends the adapter and gets its lock back when the adapter goes;
    // without an owner the adapter owns the connection and releases it.
    dbwAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* owner,
               dbwMetadata* reader);
    ~dbwAdapter() override;

    // SQL type text of a column type code for this engine ("" for none).
    virtual const char* typeName(int type);
    // Runs a list of statements; false at the first failure.
    virtual bool execList(const btkStrings& statements);
    virtual btkstring limitClause(int offset, int count);
    virtual btkstring quoteIdentifier(btkstring name);
    // A column's type text as the engine reports it, into code, size,
    // precision and scale.
    virtual void parseColumnType(const dbwFieldMetadata& column, dbwFieldDesc& desc);
    // Upper-case SQL type name to a column type code.
    virtual int typeFromName(btkstring name);
    virtual btkstring emptyTableSQL(btkstring table);
    virtual btkstring isNullSQL(btkstring expression);
    virtual btkstring isNotNullSQL(btkstring expression);
    virtual btkstring dropIndexSQL(dbwIndexDef* index);
    virtual bool primaryKeyInCreate();
    virtual bool canAlterColumns();
    virtual bool execFormat(const char* format, dbwSQLArgs args);
    virtual dbwResultRef queryFormat(const char* format, dbwSQLArgs args);
    // The first column of the first row, "" without a row.
    virtual btkstring queryValueFormat(const char* format, dbwSQLArgs args);
    virtual int insertGetId(const char* sql, const char* table, const char* keyColumn);
    // Whether the engine keeps a whole database in one file (SQLite,
    // Firebird embedded); no operation depends on it.
    virtual bool engineOption();
    virtual bool indexSerialKey();
    // Run by dbwCreateAdapter on every new adapter.
    virtual void afterCreate();
    virtual void afterCreateTableSQL(dbwTableDef* table, btkStrings& statements);

    // The own error text (emptied when clear is set), a line feed when both
    // are non-empty, then the connection's last error.
    btkstring errorText(bool clear);
    void setErrorText(const btkstring& text) { error = text; }
    dbwMetadata* metadata() const { return reader; }
    dbwDbConnection* connection() const { return conn; }
    const btkstring& encoding() const { return encodingName; }
    btkstring toDatabaseEncoding(const char* text) { return toDatabase.convert(text); }
    btkstring fromDatabaseEncoding(const char* text) { return fromDatabase.convert(text); }
    // An active connection that always lends this adapter.
    dbwActiveConnectionBase* selfSource() const { return self.get(); }

    bool exec(const char* sql);
    // Wraps whatever the connection answers, a failure included (a result
    // without rows), and stands on the first row.
    dbwResultRef query(const char* sql);

private:
    dbwActiveConnection* owner;
    btkstring error;
    btkstring encodingName;
    btkAutoPtr<dbwActiveConnectionBase> self;
    btkConverter toDatabase;
    btkConverter fromDatabase;
    dbwMetadata* reader;
    dbwDbConnection* conn;
};

// The active connection of one adapter: acquire always hands out that
// adapter, without holding a reference of its own.
class dbwAdapterActiveConnection : public dbwActiveConnectionBase {
public:
    explicit dbwAdapterActiveConnection(dbwAdapter* adapter) : adapter(adapter) {}
    dbwAdaRef acquire() override { return dbwAdaRef(adapter); }

private:
    dbwAdapter* adapter;
};

// A query result seen through an adapter: values come back converted from
// the connection's encoding while the convert flag is set.
class dbwAdapterResult : public btkRCObject {
public:
    dbwAdapterResult(dbwDbResult* result, dbwAdapter* adapter);
    ~dbwAdapterResult() override;

    bool isValid() const { return result != nullptr; }
    bool next();
    bool hasRow() const { return current; }
    int rowIndex() const { return row; }
    void setConvert(bool on) { convert = on; }
    int fieldCount();
    btkstring fieldName(int i);
    btkstring value(int i);
    // The first column whose name equals name, both upper-cased.
    btkstring valueByName(const char* name);

private:
    dbwDbResult* result;
    dbwAdaRef adapter;
    bool convert = true;
    bool current = false;
    int row = -1;
};

// The adapter for the connection's engine ("postgresql", "mysql", "sqlite",
// "firebird"; the plain adapter for any other), after its afterCreate ran.
dbwAdapter* dbwCreateAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* owner);
// Position of name among the 13 column type names, 0 when none.
int dbwFieldTypeFromName(const char* name);
// The column type name of a code ("" outside 0..12).
const char* dbwFieldTypeName(int type);
btkstring dbwSelectValue(dbwAdapter* adapter, const char* sql, bool convert);
btkstring dbwEscapeText(dbwAdapter* adapter, const char* text);
// The value column of the row called name in table.
btkstring dbwSelectNamedValue(dbwAdapter* adapter, const char* name, const char* table);
