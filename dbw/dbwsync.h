// The interfaces through which the table synchronisation engine reaches the
// local data and reports progress. The engine never deletes an object it
// receives through them; local objects come and go only through the table's
// newObject and deleteObject.
#pragma once

#include <cstdint>

#include "foundation/btkarray.h"
#include "foundation/btkconverter.h"
#include "foundation/btkstring.h"

class dbwFldDef;
class dbwSynClass;
class dbwSynObject;
class dbwSynTable;

// One row a run wrote on the server.
struct dbwRunRow {
    char kind = 0;  // 'n' a new row, 'c' a changed row, 'd' a deleted row
    std::int32_t locid = 0;
    std::int32_t netid = 0;  // the row's key
};

// What a run wrote on the server: its version row and the rows of local
// objects it created, changed or deleted.
struct dbwRunRecord {
    std::int32_t version = 0;
    std::int32_t userId = 0;
    btkCntVec<dbwRunRow> rows;
};

// A local database taking part in synchronisation.
class dbwLocalDb {
public:
    // Appends every synchronised table; the tables stay owned here.
    virtual void getTables(btkCntVec<dbwSynTable*>& tables) = 0;
    // Charset of the local texts.
    virtual btkstring encoding();
    // An opaque log handle for one run.
    virtual void* openLog();
    virtual void writeLog(void* log, btkstring line);
    virtual void closeLog(void* log);
    // Told just before the commit of a run that wrote on the server: the
    // local database keeps the record durably until it has saved the run's
    // outcome, so that a commit whose answer was lost, or a program that
    // ended before saving, is settled later instead of uploaded again.
    // False, with the reason, fails the run before the commit. By default
    // true.
    [[nodiscard]] virtual bool keepRunRecord(const dbwRunRecord& record, btkstring& error);

    // Highest server version this database has been brought up to.
    std::int32_t version = 0;

protected:
    dbwLocalDb() = default;
    ~dbwLocalDb() = default;
};

// One synchronised object (row) of the local database.
class dbwSynObject {
public:
    virtual dbwSynClass* synClass() = 0;
    // Told after the engine changed the object (always with false, so the
    // owner saves it); by default true marks an uploaded object changed.
    virtual void changed(bool markForUpload);
    virtual btkstring uploadText();
    // Appends the object's text of each field, in the order given,
    // converted to the server's UTF-8 with toServer.
    virtual void getValues(btkConverter& toServer, const btkCntVec<dbwFldDef*>& fields, btkObjVec<btkstring>& values);
    // The object's identification at the head of its log lines.
    virtual btkstring description();

    std::int32_t locid = 0;
    std::int32_t netid = 0;    // server key, 0 until first uploaded
    bool netmodified = false;  // changed locally since the last transfer
    bool nonet = false;        // never receives downloaded values
    // The server version of the row as this copy last uploaded or
    // downloaded it; 0 when not known (objects stored before it was kept):
    // the local database's version then stands for it. A row written after
    // it was changed by another copy.
    std::int32_t netversion = 0;
    // Kept for the implementing class; the engine never touches them.
    btkstring special;
    std::int32_t version = 0;

protected:
    dbwSynObject() = default;
    ~dbwSynObject() = default;
};

// The synchronised fields of one kind of object.
class dbwSynClass {
public:
    // Equals the table definition id of the class's table.
    virtual int classId() = 0;
    virtual int fieldCount() = 0;
    // Definition id of field i; the list holds the table's key field.
    virtual int fieldId(int i) = 0;
    // Value of a field in the local encoding.
    virtual btkstring fieldText(dbwSynObject* object, int fieldId) = 0;
    // Setting the key field sets netid.
    virtual void setField(dbwSynObject* object, int fieldId, const btkstring& text) = 0;

protected:
    dbwSynClass() = default;
    ~dbwSynClass() = default;
};

// One synchronised table of the local database.
class dbwSynTable {
public:
    virtual dbwSynClass* synClass() = 0;
    virtual void getObjects(btkCntVec<dbwSynObject*>& objects) = 0;
    // Removes the object from the local database (it may be destroyed later).
    virtual void deleteObject(dbwSynObject* object) = 0;
    virtual int tableId() = 0;
    // A new empty object owned by the local database.
    virtual dbwSynObject* newObject() = 0;
    // Reserves the next free local id.
    virtual int nextLocalId() = 0;

protected:
    dbwSynTable() = default;
    ~dbwSynTable() = default;
};

// Progress of a long run; step returns false when the user asked to stop.
class dbwProgress {
public:
    virtual bool step(int percent, const btkstring& text);
    // Told repeatedly while the run waits for the server, so that a window
    // stays alive; false when the user asked to stop. By default true.
    virtual bool waiting();

protected:
    dbwProgress() = default;
    ~dbwProgress() = default;
};
