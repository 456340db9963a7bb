// The SELECT statement model: a statement assembled from parts (result
// columns, conditions, ordering), each of which may name the main table and
// bring joins, turned into the SQL text of one dialect adapter. The main
// table and every join are gathered into one FROM clause.
#pragma once

#include "dbw/dbwadapter.h"
#include "foundation/btkarray.h"
#include "foundation/btkerror.h"
#include "foundation/btkstring.h"

// An identifier: a name and its qualifier (for a table its alias, for a
// column the alias or name of its table).
struct dbwSQLId {
    dbwSQLId() = default;
    dbwSQLId(const char* name, const char* qualifier = "") : name(name), qualifier(qualifier) {}
    // The quoted name, after "qualifier." when there is a qualifier (the
    // qualifier is written as it is).
    btkstring text(dbwAdapter* adapter) const;

    btkstring name;
    btkstring qualifier;
};

struct dbwSQLJoin {
    dbwSQLJoin(const char* kind, const char* table, const char* alias, const char* condition)
        : kind(kind), table(table), alias(alias), condition(condition) {}

    btkstring kind;  // the words that introduce it, e.g. LEFT JOIN
    btkstring table;
    btkstring alias;
    btkstring condition;  // raw SQL
};

// What a part binds to: the main table (an empty name: none) and joins.
struct dbwSQLDataBind {
    dbwSQLId table;
    btkObjArray<dbwSQLJoin> joins;
};

class dbwSQLResultField {
public:
    virtual ~dbwSQLResultField() = default;
    virtual btkstring text(dbwAdapter* adapter) const = 0;
    virtual dbwSQLResultField* copy() const = 0;
};

// A result column naming one column.
class dbwSQLResultDataField : public dbwSQLResultField {
public:
    explicit dbwSQLResultDataField(const dbwSQLId& id) : id(id) {}
    btkstring text(dbwAdapter* adapter) const override { return id.text(adapter); }
    dbwSQLResultField* copy() const override { return new dbwSQLResultDataField(id); }

    dbwSQLId id;
};

struct dbwSQLResultFields {
    dbwSQLDataBind bind;
    btkObjArray<dbwSQLResultField> fields;
};

struct dbwSQLOrderItem {
    dbwSQLId column;
    bool descending = false;
    btkstring trailing;  // raw SQL written after the column
};

struct dbwSQLOrder {
    dbwSQLDataBind bind;
    btkObjArray<dbwSQLOrderItem> items;
};

struct dbwSQLCondItem {
    btkstring text;  // raw SQL
};

struct dbwSQLCond {
    // Appends a condition; an empty text is not added.
    void add(const char* condition);

    dbwSQLDataBind bind;
    btkstring connector = " AND ";
    btkObjArray<dbwSQLCondItem> items;
};

struct dbwSQLLimit {
    bool limited = false;
    int offset = -1;
    int count = -1;
};

// Raised when a statement names its main table more than once or not at
// all; it carries the code 0.
class dbwSQLBuildError : public btkError {
public:
    dbwSQLBuildError() : btkError("SELECT statement must name its main table exactly once") {}
    int code() const { return 0; }
};

class dbwSelect {
public:
    dbwSelect() = default;
    dbwSelect(const dbwSelect&) = delete;
    dbwSelect& operator=(const dbwSelect&) = delete;

    void setTable(const dbwSQLId& table) { bind.table = table; }
    void addColumn(const dbwSQLId& column) { columns.fields.add(new dbwSQLResultDataField(column)); }
    void addCondition(const char* condition) { conditions.add(condition); }
    // The rows of the statement's text for that adapter.
    dbwResultRef run(const dbwAdaRef& adapter) const;

    dbwSQLDataBind bind;
    dbwSQLResultFields columns;
    dbwSQLOrder order;
    dbwSQLCond conditions;
    dbwSQLLimit limit;
};

// The SELECT text of the statement for the adapter; throws dbwSQLBuildError.
btkstring buildSelectSql(const dbwSelect& select, const dbwAdaRef& adapter);
