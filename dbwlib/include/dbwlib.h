// dbwlib: database connections to SQLite, MySQL and PostgreSQL behind one
// abstract interface.
//
// The library exports a single function, _dbw_create_connection; everything
// else is reached through the virtual operations of the objects it returns.
// The caller owns every connection and every result it gets, and frees them
// only through their release operation, so that memory is freed by the
// library that allocated it.
//
// Typical use:
//   dbwDbConnection* db = _dbw_create_connection(DBW_ENGINE_SQLITE);
//   if (db->open("songs.db", nullptr, nullptr, nullptr, 0)) {
//     if (dbwDbResult* r = db->query("SELECT id, name FROM song")) {
//       while (dbwDbRow* row = r->nextRow()) use(row->value(0), row->value(1));
//       r->release();
//     }
//   }
//   db->release();
//
// A connection and its results are used from one thread at a time.
//
// The virtual operations are declared in their fixed slot order (destructor
// first): programs compiled against this header call them by position.
#pragma once

// Sizes of the records filled by tableNames and columns: each text holds up
// to one byte less than its size and is zero-terminated; longer texts are cut.
#define DBW_NAME_SIZE 256
#define DBW_TYPE_SIZE 512

// Engine numbers for _dbw_create_connection.
#define DBW_ENGINE_MYSQL 0
#define DBW_ENGINE_POSTGRESQL 1
#define DBW_ENGINE_SQLITE 2

// One column of a table as read by dbwDbConnection::columns.
struct dbwColumnRecord {
    char name[DBW_NAME_SIZE];
    char type[DBW_TYPE_SIZE];
};

// One table name as filled by dbwDbConnection::tableNames.
typedef char dbwTableName[DBW_NAME_SIZE];

// One row of a result. It belongs to its result and stays valid until the
// next call of nextRow or the release of the result.
class dbwDbRow {
protected:
    // Slot 0: only release deletes the object.
    virtual ~dbwDbRow() = default;

public:
    // The value of column c as text; null when c is out of range or no row has
    // been fetched yet. A SQL NULL reads as null on SQLite and MySQL and as ""
    // on PostgreSQL (the engines' own conventions).
    virtual const char* value(int c) = 0;
};

// The rows of one query.
class dbwDbResult {
protected:
    // Slot 0: only release deletes the object.
    virtual ~dbwDbResult() = default;

public:
    // Deletes the result (and its row).
    virtual void release() = 0;
    // The next row, or null after the last one (and on every later call).
    virtual dbwDbRow* nextRow() = 0;
    virtual int rowCount() = 0;
    virtual int columnCount() = 0;
    // The name of column i, or null when i is out of range.
    virtual const char* columnName(int i) = 0;
};

// A connection to one database. Every operation reports failure by its
// result (false, null or 0); error() gives the reason.
class dbwDbConnection {
protected:
    // Slot 0: only release deletes the object.
    virtual ~dbwDbConnection() = default;

public:
    // Connects. Texts may be null where the engine allows it; port 0 is the
    // engine's default. SQLite uses only the database name (a file name).
    virtual bool open(const char* database, const char* host, const char* user, const char* password, int port) = 0;
    // Runs a statement that yields rows; null on failure.
    virtual dbwDbResult* query(const char* sql) = 0;
    // Runs a statement; true on success.
    virtual bool exec(const char* sql) = 0;
    // Runs an INSERT and gives the new row's key, or 0 on failure or when the
    // table has no generated key. PostgreSQL reads the key from the sequence
    // of the key column of the table; the other engines ignore both names.
    virtual int insert(const char* sql, const char* table, const char* key) = 0;
    // Deletes the connection (closing it).
    virtual void release() = 0;
    // The engine's last error text (never null).
    virtual const char* error() = 0;
    // The text made safe for use inside a single-quoted SQL literal of this
    // connection. The returned text lives in a buffer of the connection and
    // stays valid only until the next quote call.
    virtual const char* quote(const char* text) = 0;
    // "sqlite", "mysql" or "postgresql".
    virtual const char* engine() = 0;
    virtual bool connected() = 0;
    // Transactions. The MySQL connection sends none of them: it works in the
    // server's own transaction mode (autocommit unless the server says else).
    virtual void begin() {}
    virtual void commit() {}
    virtual void rollback() {}
    // The number of user tables, 0 on failure.
    virtual int tableCount() = 0;
    // The number of columns of a table, 0 on failure.
    virtual int columnCount(const char* table) = 0;
    // Fills up to capacity table names. SQLite cuts the list at the capacity
    // and succeeds; MySQL and PostgreSQL fail and write nothing when there are
    // more tables than that.
    virtual bool tableNames(dbwTableName* names, int capacity) = 0;
    // Fills one record per column of a table; false, with nothing written,
    // when the table does not exist, cannot be read or has more columns than
    // capacity.
    virtual bool columns(const char* table, dbwColumnRecord* records, int capacity) = 0;
};

// A new, not yet open connection: DBW_ENGINE_MYSQL (0), DBW_ENGINE_POSTGRESQL
// (1) or DBW_ENGINE_SQLITE (2); null for any other number.
extern "C" __attribute__((visibility("default"))) dbwDbConnection* _dbw_create_connection(int engine);
