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
class dbwDbDef;
class dbwFldDef;
class dbwIndexDef;
class dbwTableDef;
class dbwTypeDef;
struct dbwFieldDesc;
struct dbwFieldMetadata;
struct dbwTableMetadata;

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
    dbwAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* owner, dbwMetadata* reader);
    ~dbwAdapter() override;

    // SQL type text of a column type code for this engine ("" for none).
    virtual const char* typeName(int type);

    // ---- managed databases (the dbw_info table)
    // Puts the database under the library: creates dbw_info with the magic
    // row and the definition (an empty one when def is null).
    virtual bool attach(dbwDbDef* def);
    // Drops dbw_info.
    virtual bool detach();
    // The stored definition, owned by the caller; null when the database is
    // not managed, the row is empty or its XML cannot be read.
    virtual dbwDbDef* readStructure();
    virtual bool writeStructure(dbwDbDef* def);
    // Appends the statements that turn the tables of oldDef into those of
    // newDef (nothing when the definitions do not differ).
    virtual void upgradeSQL(dbwDbDef* oldDef, dbwDbDef* newDef, btkStrings& statements);

    // Runs a list of statements; false at the first failure.
    virtual bool execList(const btkStrings& statements);
    // The same without waiting for the answers where the connection can
    // defer them (see dbwDbConnection::execDeferred): a failure then fails
    // the next statement that is waited for, or flushDeferred.
    virtual bool execListDeferred(const btkStrings& statements) { return execList(statements); }
    // Waits for deferred statements; false when one failed.
    bool flushDeferred() { return conn->flushDeferred(); }
    // The sequence from which the column's default takes new keys, when an
    // insert may also give the column a key taken from it: true with the
    // sequence's name, or with "" where the engine or the column has none;
    // false when the question failed.
    virtual bool keySequence(const btkstring& table, const btkstring& column, btkstring& sequence);
    // Takes count new keys from each sequence and appends them, each
    // sequence's in ascending order, one sequence after the other; false
    // when the query failed or the engine cannot.
    virtual bool nextKeys(const btkStrings& sequences, int count, btkCntVec<int>& keys);
    virtual btkstring limitClause(int offset, int count);
    // UPDATE of one row by key, run at once; values are converted to the
    // connection's encoding when convert is set.
    virtual bool updateRecord(dbwTableDef* table, dbwFldDef* keyField, const btkArray<dbwFldDef*>& fields,
                              const btkStrings& values, int key, bool convert);
    virtual btkstring quoteIdentifier(btkstring name);
    // A new definition of the live database, owned by the caller.
    virtual dbwDbDef* readSchema();
    virtual void readTable(dbwDbDef* def, const dbwTableMetadata& table);
    virtual void readField(dbwTableDef* table, const dbwFieldMetadata& column);
    // A column's type text as the engine reports it, into code, size,
    // precision and scale.
    virtual void parseColumnType(const dbwFieldMetadata& column, dbwFieldDesc& desc);
    // Upper-case SQL type name to a column type code.
    virtual int typeFromName(btkstring name);
    // Empties a table and resets its key counter.
    virtual bool emptyTable(dbwTableDef* table);
    virtual btkstring emptyTableSQL(btkstring table);
    // The expression cast to the column type where the engine needs it.
    virtual btkstring castExpression(btkstring expression, const dbwFieldDesc& type);
    // The SQL literal that fills a new column of the type in existing rows.
    virtual btkstring defaultValue(const dbwFieldDesc& type);
    // Sets the table's key counter to the largest key in use; true when
    // there is nothing to reset.
    virtual bool resetCounter(dbwTableDef* table);
    virtual btkstring isNullSQL(btkstring expression);
    virtual btkstring isNotNullSQL(btkstring expression);
    virtual btkstring dropIndexSQL(dbwIndexDef* index);
    virtual btkstring createIndexSQL(dbwIndexDef* index);
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
    // The statements that change one table definition into another.
    virtual void alterTableSQL(dbwTableDef* oldTable, dbwTableDef* newTable, btkStrings& statements);
    // The type text of a field type with its size, precision and scale.
    virtual btkstring columnTypeSQL(const dbwTypeDef& type);
    virtual void afterCreateTableSQL(dbwTableDef* table, btkStrings& statements);
    // The CREATE TABLE of dbw_temp that holds the rows of table while it is
    // rebuilt.
    virtual btkstring rebuildTableSQL(dbwTableDef* table);
    // Run after a table was rebuilt through dbw_temp: engines whose key
    // counter lives apart from the rows bring it past the copied keys.
    virtual void afterRebuildSQL(dbwTableDef* table, btkStrings& statements);

    // True when the database holds dbw_info with the magic row.
    bool isManaged();
    // CREATE TABLE of the table and what follows it (key index, generator).
    void createTableSQL(dbwTableDef* table, btkStrings& statements);
    // A plain CREATE TABLE of the table's fields under another name.
    btkstring createTableTextAs(dbwTableDef* table, const char* name);
    btkstring defaultValueOf(const dbwTypeDef& type);

    // ---- single rows
    btkstring insertSQL(dbwTableDef* table, const btkArray<dbwFldDef*>& fields, const btkStrings& values, int version);
    // The new key, as the connection's insertGetId gives it.
    int insertRecord(dbwTableDef* table, dbwFldDef* keyField, const btkArray<dbwFldDef*>& fields,
                     const btkStrings& values, int version);
    // "SELECT fields FROM table " (a blank for the caller's WHERE).
    btkstring selectSQL(const btkArray<dbwFldDef*>& fields, dbwTableDef* table);
    // Appends the row's values (UTF-8) to out; false without a row.
    bool selectRecord(const btkArray<dbwFldDef*>& fields, dbwTableDef* table, dbwFldDef* keyField, int key,
                      btkStrings& out);

    // ---- the version log
    int newVersion(int userId);
    int newCreation(int version, int tableId, int recordId);
    btkstring creationSQL(int version, int tableId, int recordId);
    // The creation record with its key given.
    btkstring creationSQL(int creationId, int version, int tableId, int recordId);
    btkstring updateLogSQL(int version, int tableId, int recordId, int fieldId, const char* value);
    // Appends one dbw_updates INSERT per field, then the UPDATE of the row
    // that also sets its dbw_version.
    void updateRecordSQL(dbwTableDef* table, dbwFldDef* keyField, int version, int recordId,
                         const btkArray<dbwFldDef*>& fields, const btkStrings& values, btkStrings& statements);

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
    // The same with the values (in the connection's encoding) as the
    // parameters $1, $2, ... of the text.
    dbwResultRef queryParams(const char* sql, const btkStrings& params);

protected:
    // The text escaped by the connection, converted to the connection's
    // encoding first when convert is set (no quotes added).
    btkstring escapedValue(const char* text, bool convert);
    // The m the counter of table must be set to: the largest key in use
    // (largest of maxKeySQL's value and, for a versioned table of a versioned
    // definition, the largest logged record id).
    int largestKey(dbwTableDef* table, const char* maxKeySQL);

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
