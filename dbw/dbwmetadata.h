// What a schema reader reports of a live database: its tables and, per
// table, its columns with the type text as the engine writes it. Each engine
// has its own reader, held by its adapter and reading through it. Readers
// report nothing: a failed query gives fewer entries or none.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

class dbwAdapter;

struct dbwTableMetadata {
    btkstring name;
};

struct dbwFieldMetadata {
    btkstring name;
    btkstring type;
    btkstring defaultText;  // filled by the MySQL reader only
};

// A schema reader, held by its engine adapter and reading through it.
class dbwMetadata {
public:
    explicit dbwMetadata(dbwAdapter* adapter) : adapter(adapter) {}
    dbwMetadata(const dbwMetadata&) = delete;
    dbwMetadata& operator=(const dbwMetadata&) = delete;
    // Appends one entry per table, in the engine's order.
    virtual void tables(btkObjArray<dbwTableMetadata>& list) = 0;
    // Appends one entry per column of the table, in column order.
    virtual void columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) = 0;
    // True when tables lists exactly this name (case-sensitive).
    bool tableExists(const char* name);

protected:
    ~dbwMetadata() = default;
    dbwAdapter* adapter;
};

// SHOW TABLES and SHOW COLUMNS; the type text carries the column's extra
// attributes (auto_increment) after a blank.
class dbwMySQLMetadata : public dbwMetadata {
public:
    using dbwMetadata::dbwMetadata;
    void tables(btkObjArray<dbwTableMetadata>& list) override;
    void columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) override;
};

// The catalogue of the current schema; a varchar carries its declared
// length, a column whose default calls nextval reads as serial.
class dbwPostgreSQLMetadata : public dbwMetadata {
public:
    using dbwMetadata::dbwMetadata;
    void tables(btkObjArray<dbwTableMetadata>& list) override;
    void columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) override;
};

// Columns parsed from the table's CREATE statement.
class dbwSQLiteMetadata : public dbwMetadata {
public:
    using dbwMetadata::dbwMetadata;
    void tables(btkObjArray<dbwTableMetadata>& list) override;
    void columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) override;
};

// The RDB$ system tables; names come back padded and are trimmed.
class dbwFirebirdMetadata : public dbwMetadata {
public:
    using dbwMetadata::dbwMetadata;
    void tables(btkObjArray<dbwTableMetadata>& list) override;
    void columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) override;
};

// The column list of an SQLite CREATE TABLE statement: items between the
// first "(" and the ")" that closes it; an item starting with PRIMARY is a
// table constraint and skipped, any other is a name and its type text (the
// rest of the item, parenthesised parts kept whole).
void dbwParseSQLiteCreate(const char* sql, btkObjArray<dbwFieldMetadata>& list);
