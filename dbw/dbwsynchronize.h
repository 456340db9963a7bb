// One synchronisation run between a local database and a versioned database
// on a server: queued local objects are uploaded as new, changed and deleted
// rows, the server's changes since the local version are downloaded, and
// rows missing on either side are optionally fetched or removed. Every step
// runs inside one server transaction; a failure rolls the server back and
// leaves the local changes for the caller to discard.
//
// A run is used once: construct, set conditions, flags, queues and progress,
// call synchronize, read the counters and the error text.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "dbw/dbwactiveconnection.h"
#include "dbw/dbwadapter.h"
#include "dbw/dbwsync.h"
#include "foundation/btkarray.h"
#include "foundation/btkconverter.h"
#include "foundation/btkref.h"
#include "foundation/btkstrings.h"
#include "foundation/btkvarlist.h"

class dbwDbDef;
class dbwFldDef;
class dbwResultRef;
class dbwTableDef;
class dbwSynchronize;

// What a run did, for the caller's report.
struct dbwSyncCounters {
    std::int32_t uploadedNew = 0;
    std::int32_t deletedLocal = 0;
    std::int32_t conflicts = 0;
    std::int32_t updatedLocal = 0;
    std::int32_t downloadedNew = 0;
    std::int32_t changedFields = 0;
    std::int32_t updatedNet = 0;
    std::int32_t deletedNet = 0;
};

// The work of one table within a run.
class dbwTableSynchronize {
public:
    dbwTableSynchronize(dbwSynchronize* run, dbwSynTable* table);

    // Finds the table's definition, key field and fields, and reads the
    // local objects.
    bool prepare();
    // The upload, download and missing-row steps in their fixed order.
    bool synchronize();

    dbwTableDef* tableDef = nullptr;
    dbwSynTable* table;
    dbwFldDef* keyField = nullptr;
    dbwSynchronize* run;
    btkCntVec<dbwFldDef*> fields;  // key field first
    btkCntVec<dbwFldDef*> dataFields;
    btkCntVec<dbwSynObject*> localObjects;
    btkCntVec<dbwSynObject*> newObjects;
    btkCntVec<dbwSynObject*> deletedObjects;
    btkCntVec<dbwSynObject*> changedObjects;
    // The download condition as SQL whose literals are the parameters
    // conditionValues (in the server's encoding); empty when none.
    btkstring condition;
    btkStrings conditionValues;
    btkCntVec<int> remoteIds;

private:
    bool uploadNew();
    // New rows whose keys are taken ahead from the sequences behind the
    // key defaults (the row's, then the creation record's), sent in blocks
    // that wait for the server once each; sequences stays empty where the
    // connection cannot send without waiting or a table has no sequence.
    bool keySequences(btkStrings& sequences);
    bool uploadNewInBlocks(const btkStrings& sequences);
    // Sends the statements of newObjects[first, first+count) with the keys
    // given (rows' keys, then creation ids); numbers gets each row insert's
    // deferred statement number. False when cancelled or a send failed.
    bool sendBlock(int first, int count, const btkCntVec<int>& keys, btkCntVec<long>& numbers);
    void uploadedNew(dbwSynObject* object, int key);
    bool uploadChanges();
    bool uploadDeletions();
    // Changes and deletions where the connection can send without waiting
    // (dbwsyncchangeblocks.cpp): the rows of a block of objects are read by
    // one query, a block of changes is sent behind it.
    struct PlannedChange;
    struct BlockRows;
    // Reads the rows of objects[first, first+count) by key: columns (the
    // key first), then dbw_version.
    bool readRows(const btkstring& columns, const btkCntVec<dbwSynObject*>& objects, int first, int count,
                  BlockRows& rows);
    bool uploadChangesInBlocks();
    // Sends the updates of changedObjects[first, first+count) whose rows
    // allow them, and plans each object's outcome; false when the user
    // stopped or a send failed.
    bool sendChanges(int first, int count, const BlockRows& rows, std::vector<PlannedChange>& plans);
    // Once the answers to plans are in, leaves the local objects as the
    // row-by-row step does; failed is the number of the deferred statement
    // that failed, -1 when none did.
    void applyChanges(const std::vector<PlannedChange>& plans, long failed);
    bool uploadDeletionsInBlocks();
    // Deletion of one object whose row was found (with its creation record
    // and version) or not: the statements to send, or a conflict, or the
    // local object removed.
    void planDeletion(dbwSynObject* object, bool found, int creation, int rowVersion, btkStrings& statements);
    bool readRemoteIds();
    bool downloadChanges();
    bool applyRows(const dbwResultRef& rows);
    bool removeRemoteDeletions();
    bool downloadMissing();
    bool downloadByIds(const btkCntVec<int>& ids);
    bool deleteLocalMissing();

    // The first local object with the server key, or null.
    dbwSynObject* findByNetId(int netid);
    // The highest row version at which the object's row still holds what
    // this copy last had: a later one is another copy's change.
    int knownVersion(const dbwSynObject* object) const;
    // The field-list SELECT with the row's version as column 0, the fields
    // from column 1.
    btkstring rowsSQL();
    void removeLocal(dbwSynObject* object);
    // A change of both sides that neither may overwrite: the local object
    // leaves synchronisation (nonet) with its text, the server keeps its
    // own, and the conflict is logged and counted.
    void keepAsConflict(dbwSynObject* object);
    // The quoted names of the table and its key field.
    btkstring tableName();
    btkstring keyName();
    // "dbw_version>v", and the download condition when there is one.
    btkstring changedRowsCondition();

    // The objects this run sent to the server, while its download runs.
    std::unordered_set<const dbwSynObject*> sentNow;
};

class dbwSynchronize {
public:
    // Reads the server's definition through the adapter.
    dbwSynchronize(dbwAdaRef adapter, dbwLocalDb* localDb, int userId);
    dbwSynchronize(const dbwSynchronize&) = delete;
    dbwSynchronize& operator=(const dbwSynchronize&) = delete;
    ~dbwSynchronize();

    // The download condition of a class's rows: a condition over the
    // columns of the class's server table as dbwParseSyncCondition reads
    // it; an empty text removes it. A condition outside that grammar, or
    // beyond its size limits, fails the run before anything is sent.
    void setCondition(int classId, const char* condition);
    void setUpload(bool on) { upload = on; }
    void setDownload(bool on) { download = on; }
    void setDownloadMissing(bool on) { downloadMissing = on; }
    void setDeleteLocalMissing(bool on) { deleteLocalMissing = on; }
    void addNew(dbwSynObject* object) { newObjects.add(object); }
    void addChanged(dbwSynObject* object) { changedObjects.add(object); }
    void addDeleted(dbwSynObject* object) { deletedObjects.add(object); }
    void setProgress(dbwProgress* p) { progress = p; }

    // The whole run; true when it was committed.
    bool synchronize();
    // The run's error, a line feed when both are non-empty, and the
    // adapter's error text, which is taken from the adapter. After a failed
    // run the run's error already holds the whole cause.
    btkstring errorText(bool clear);
    const dbwSyncCounters& counters() const { return count; }
    // After a failed run: true when the connection broke while the commit
    // was on its way and the server could not be asked afterwards whether
    // it kept the run. A lost commit that could be settled reads as the
    // run's success or an ordinary failure.
    bool outcomeUnknown() const { return unknown; }
    // True after a run that was committed.
    bool succeeded() const { return committed; }
    // After a failed run: true when its error is the connection's text (the
    // server's message or the connection's failure) without a reason of the
    // run's own.
    bool failedOnServer() const { return serverCause; }

    // The run's error when another run holds the version table longer than
    // lockWaitMs (milliseconds; tests shorten it).
    static const char* const BusyText;
    static int lockWaitMs;
    // A commit without an answer is looked for over a new connection up to
    // lostCommitAttempts times, lostCommitPauseMs apart (tests shorten it).
    static int lostCommitAttempts;
    static int lostCommitPauseMs;

    // Whether the server holds a run's version row, asked once no run holds
    // the version table (the session of a client gone away may still be
    // ending): Unknown when that cannot be asked, the cause on the adapter.
    enum class RunFound { Kept, Absent, Unknown };
    static RunFound findRun(dbwAdapter* adapter, int version, int userId);
    int versionId() const { return version; }

    // ---- used by the table synchronisers
    // Shows the step; false (and the run's error "Přerušeno uživatelem")
    // when the user asked to stop.
    bool reportProgress(int percent, const btkstring& text);
    void logObject(dbwSynObject* object, const char* action);
    void logUploadedNew(dbwSynObject* object);
    void logDeletedLocal(dbwSynObject* object);
    void logConflict(dbwSynObject* object);
    void logUpdatedLocal(dbwSynObject* object);
    void logDownloadedNew(dbwSynObject* object);
    void logChangedField(dbwSynObject* object, const char* fieldName);
    void logUpdatedNet(dbwSynObject* object);
    void logDeletedNet(dbwSynObject* object);
    // Notes a row written for the run's record: 'n' new, 'c' changed or 'd'
    // deleted.
    void recordRow(char kind, dbwSynObject* object);
    // The integer value of the first column of the first row: 0 when the
    // query gives no row or an empty value, false when it fails. params are
    // the values of the marks $1, $2, ... of sql.
    [[nodiscard]] bool selectInt(const char* sql, int& value, const btkStrings& params = btkStrings());
    // Marks the run failed for a reason of its own (not the server's).
    bool fail(const char* reason);

    dbwLocalDb* localDb;
    btkAutoPtr<dbwDbDef> dbDef;
    dbwAdaRef adapter;
    btkstring error;
    btkVarList conditions;
    btkCntVec<dbwSynObject*> newObjects;
    btkCntVec<dbwSynObject*> deletedObjects;
    btkCntVec<dbwSynObject*> changedObjects;
    dbwProgress* progress = nullptr;
    int userId;
    btkConverter toServer;  // local encoding to UTF-8
    btkConverter toLocal;   // adapter's encoding to local encoding
    bool upload = false;
    bool download = false;
    bool downloadMissing = false;
    bool deleteLocalMissing = false;
    // The local version when the run began: the lower bound of downloads.
    int localVersion = 0;

private:
    bool doSynchronize();
    // Reads the table's download condition into the table synchroniser;
    // false with the run's error when it is refused.
    bool readCondition(dbwTableSynchronize& sync);
    // Keeps concurrent runs from committing versions out of order.
    bool lockVersions(bool writing);
    // After a commit without an answer: reconnects and looks for the run's
    // version row. True when the server kept the run; false with the run's
    // error otherwise, unknown set when it cannot be found out.
    bool lostCommitKept();
    // Waits ms milliseconds while the progress waits; false on Storno.
    bool pause(int ms);

    dbwSyncCounters count;
    dbwRunRecord record;
    int version = 0;
    bool unknown = false;
    bool finished = false;  // the run failed and its error holds the whole cause
    bool committed = false;
    bool serverCause = false;
    void* logHandle = nullptr;
};
