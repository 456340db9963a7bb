// What a schema reader reports of a live database: its tables and, per
// table, its columns with the type text as the engine writes it.
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
    virtual void tables(btkObjArray<dbwTableMetadata>& list) = 0;
    virtual void columns(const btkstring& table, btkObjArray<dbwFieldMetadata>& list) = 0;

protected:
    ~dbwMetadata() = default;
    dbwAdapter* adapter;
};
