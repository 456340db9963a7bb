// The synchronisation run: the transaction around the work, preparation of
// the tables, sorting of the queued objects, the version row, the log and
// the counters.
#include "dbw/dbwsynchronize.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwsynccondition.h"
#include "dbw/dbwtransaction.h"
#include "foundation/btkref.h"

const char* const dbwSynchronize::BusyText =
    "Internetová databáze je právě zaneprázdněná synchronizací jiného uživatele, zkuste to prosím později";

int dbwSynchronize::lockWaitMs = 20000;
int dbwSynchronize::lostCommitAttempts = 5;
int dbwSynchronize::lostCommitPauseMs = 1000;

dbwSynchronize::dbwSynchronize(dbwAdaRef a, dbwLocalDb* db, int user)
    : localDb(db), adapter(a), userId(user), toServer(db->encoding(), "UTF-8"), toLocal(a->encoding(), db->encoding()) {
    // The cause of a failure is the run's: an older error left on the
    // adapter must not be reported as part of it.
    adapter->errorText(true);
    dbDef.reset(adapter->readStructure());
}

dbwSynchronize::~dbwSynchronize() = default;

void dbwSynchronize::setCondition(int classId, const char* condition) {
    conditions.set(btkIntToStr(classId), condition);
}

btkstring dbwSynchronize::errorText(bool clear) {
    btkstring text = error;
    if (clear) error = btkstring();
    btkstring adapterError = adapter->errorText(true);
    // After a failed run the adapter's error is part of the run's already;
    // what the connection says since then is the same cause again.
    if (finished) return text;
    if (!text.empty() && !adapterError.empty()) text += "\n";
    return text + adapterError;
}

namespace {

// The run's progress told while the connection waits for the server, for
// as long as the object lives: the hook goes also when the run throws.
class ProgressWait final : public dbwWaitHook {
public:
    ProgressWait(dbwSynchronize& run, dbwDbConnection* connection) : run(run), connection(connection) {
        connection->setWaitHook(this);
    }
    ProgressWait(const ProgressWait&) = delete;
    ProgressWait& operator=(const ProgressWait&) = delete;
    ~ProgressWait() { connection->setWaitHook(nullptr); }
    bool waiting() override {
        if (!run.progress || run.progress->waiting()) return true;
        stopped = true;
        return false;
    }
    bool stopped = false;  // the user gave up a wait

private:
    dbwSynchronize& run;
    dbwDbConnection* connection;
};

}  // namespace

bool dbwSynchronize::synchronize() {
    logHandle = localDb->openLog();
    bool ok;
    bool stopped;
    {
        ProgressWait wait(*this, adapter->connection());
        ok = doSynchronize();
        stopped = wait.stopped;
    }
    if (ok) {
        localDb->writeLog(logHandle, "OK");
    } else {
        // Taking the adapter's error empties it there: the run keeps the
        // joined text, so the caller still gets the whole cause.
        serverCause = error.empty() && !stopped;
        error = errorText(false);
        finished = true;
        localDb->writeLog(logHandle, btkstring("Chyba:") + error);
    }
    localDb->closeLog(logHandle);
    logHandle = nullptr;
    committed = ok;
    return ok;
}

bool dbwSynchronize::doSynchronize() {
    localVersion = localDb->version;
    btkCntVec<dbwSynTable*> tables;
    localDb->getTables(tables);

    // Everything that can refuse the run without the server, the download
    // conditions above all, is settled before anything is sent.
    if (!dbDef.isSet()) return fail("The server database has no readable definition");
    btkObjArray<dbwTableSynchronize> work;
    for (dbwSynTable* table : tables) {
        if (!table) continue;
        auto* sync = new dbwTableSynchronize(this, table);
        work.add(sync);
        if (!sync->prepare() || !readCondition(*sync)) return false;
    }

    dbwTransaction transaction(adapter.get());
    if (!transaction.started()) return false;
    bool queued = !newObjects.empty() || !changedObjects.empty() || !deletedObjects.empty();
    if (!lockVersions(queued)) return false;

    // Every queued object goes to the table whose definition id is its
    // class's id; an object of no table stays where it is.
    bool anyQueued = false;
    auto sort = [&](const btkCntVec<dbwSynObject*>& queue, btkCntVec<dbwSynObject*> dbwTableSynchronize::*target) {
        for (dbwTableSynchronize* sync : work)
            for (dbwSynObject* object : queue)
                if (object && object->synClass()->classId() == sync->tableDef->id) {
                    (sync->*target).add(object);
                    anyQueued = true;
                }
    };
    sort(newObjects, &dbwTableSynchronize::newObjects);
    sort(changedObjects, &dbwTableSynchronize::changedObjects);
    sort(deletedObjects, &dbwTableSynchronize::deletedObjects);

    if (anyQueued) {
        version = adapter->newVersion(userId);
        if (version <= 0) {
            version = 0;
            return false;
        }
    }

    for (dbwTableSynchronize* sync : work)
        if (!sync->synchronize()) return false;

    if (!reportProgress(100, "Provádím dokončovací práce")) return false;
    int newLocalVersion = 0;
    bool raise = download;
    if (download && !selectInt("SELECT MAX(dbw_id) FROM dbw_versions", newLocalVersion)) return false;
    if (!download && version > 0) {
        // A run that only uploads may take its own version as the local one
        // when no other copy's run came after the local version: then
        // nothing is skipped, and the next upload of the same songs is not
        // taken for a change made elsewhere.
        int others = 0;
        if (!selectInt(
                btkFormat("SELECT COUNT(*) FROM dbw_versions WHERE dbw_id>%d AND dbw_id<>%d", localVersion, version),
                others))
            return false;
        raise = others == 0;
        newLocalVersion = version;
    }
    if (version > 0) {
        record.version = version;
        record.userId = userId;
        btkstring why;
        if (!localDb->keepRunRecord(record, why)) return fail(why);
    }
    if (!transaction.commit() && !(adapter->connection()->commitOutcomeUnknown() && lostCommitKept())) return false;
    // Raised only once the server has the run's work for good.
    if (raise) localDb->version = newLocalVersion;
    return true;
}

bool dbwSynchronize::readCondition(dbwTableSynchronize& sync) {
    btkstring text = conditions.get(btkIntToStr(sync.tableDef->id));
    btkStrings columns, quoted;
    btkCntVec<int> types;
    for (dbwFldDef* field : sync.tableDef->fields) {
        columns.add(field->name);
        quoted.add(adapter->quoteIdentifier(field->name));
        dbwFieldDesc type;
        field->type.describe(type);
        types.add(type.sqltype);
    }
    dbwSyncCondition condition;
    btkstring reason;
    switch (dbwParseSyncCondition(text, columns, quoted, types, condition, reason)) {
    case dbwSyncConditionRead::Read: break;
    case dbwSyncConditionRead::Refused:
        return fail(btkFormat("The condition of table %s is not one SQL expression (%s): %s",
                              sync.tableDef->name.c_str(), reason.c_str(), text.c_str()));
    case dbwSyncConditionRead::TooLarge:
        // Not repeated: the text would fill the message.
        return fail(
            btkFormat("Podmínka stahování tabulky %s je příliš rozsáhlá: smí mít nejvýše %d porovnání a "
                      "hodnot a %d znaků",
                      sync.tableDef->name.c_str(), dbwSyncConditionMaxTerms, dbwSyncConditionMaxLength));
    }
    sync.condition = condition.sql;
    // Texts like every other: from the local encoding to the server's.
    for (const btkstring& value : condition.values)
        sync.conditionValues.add(adapter->toDatabaseEncoding(toServer.convert(value)));
    return true;
}

bool dbwSynchronize::lostCommitKept() {
    // A run without a version changed nothing on the server: it failed.
    if (version == 0) return false;
    btkstring cause = adapter->errorText(true);
    RunFound found = RunFound::Unknown;
    // A server that restarts refuses connections for a moment.
    for (int attempt = 0; attempt < lostCommitAttempts && found == RunFound::Unknown; ++attempt) {
        if (attempt > 0 && !pause(lostCommitPauseMs)) break;
        if (adapter->connection()->reconnect()) found = findRun(adapter.get(), version, userId);
    }
    if (found == RunFound::Kept) return true;
    if (found == RunFound::Absent) return fail(cause);  // rolled back: an ordinary failure
    unknown = true;
    adapter->errorText(true);
    return fail(btkstring("Spojení se serverem se přerušilo při dokončování synchronizace a nepodařilo se zjistit, "
                          "zda ji server uložil:\n") +
                cause.trimmed());
}

namespace {

// Version numbers are handed out in order but a later run could commit
// first, and a client downloading in between would move past the earlier
// one for good. On PostgreSQL a writing run holds dbw_versions against every
// other run until it commits; a reading run only against writers, so it
// sees no version appear while it works. The wait is bounded: a run that
// never ends must not stop the others.
bool lockVersionTable(dbwAdapter* adapter, bool writing) {
    if (std::strcmp(adapter->connection()->engineName(), "postgresql") != 0) return true;
    if (!adapter->exec(btkFormat("SET LOCAL lock_timeout = %d", dbwSynchronize::lockWaitMs))) return false;
    return adapter->exec(writing ? "LOCK TABLE dbw_versions IN EXCLUSIVE MODE"
                                 : "LOCK TABLE dbw_versions IN SHARE MODE");
}

}  // namespace

dbwSynchronize::RunFound dbwSynchronize::findRun(dbwAdapter* adapter, int version, int userId) {
    dbwTransaction check(adapter);
    if (!check.started() || !lockVersionTable(adapter, false)) return RunFound::Unknown;
    dbwResultRef result = adapter->query(
        btkFormat("SELECT COUNT(*) FROM dbw_versions WHERE dbw_id=%d AND dbw_userid=%d", version, userId));
    if (!result.isValid()) return RunFound::Unknown;
    result->setConvert(false);
    return result.hasRow() && result.value(0).toInt() > 0 ? RunFound::Kept : RunFound::Absent;
}

bool dbwSynchronize::pause(int ms) {
    for (int waited = 0; waited < ms; waited += 100) {
        if (progress && !progress->waiting()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

bool dbwSynchronize::lockVersions(bool writing) {
    if (lockVersionTable(adapter.get(), writing)) return true;
    if (adapter->connection()->errorState() == "55P03") {
        adapter->errorText(true);
        return fail(BusyText);
    }
    return false;
}

bool dbwSynchronize::reportProgress(int percent, const btkstring& text) {
    if (!progress) return true;
    if (progress->step(percent, text)) return true;
    error = "Přerušeno uživatelem";
    return false;
}

bool dbwSynchronize::fail(const char* reason) {
    error = reason;
    return false;
}

bool dbwSynchronize::selectInt(const char* sql, int& value, const btkStrings& params) {
    dbwResultRef result = adapter->queryParams(sql, params);
    if (!result.isValid()) return false;
    result->setConvert(false);
    value = result.hasRow() ? result.value(0).toInt() : 0;
    return true;
}

// ---- the log ---------------------------------------------------------------------------

void dbwSynchronize::logObject(dbwSynObject* object, const char* action) {
    localDb->writeLog(logHandle, object->description() + ";" + action);
}

void dbwSynchronize::logUploadedNew(dbwSynObject* o) {
    logObject(o, "upload lokálního objektu, vytvoření v internetové db");
    ++count.uploadedNew;
}

void dbwSynchronize::logDeletedLocal(dbwSynObject* o) {
    logObject(o, "smazání lokálního objektu");
    ++count.deletedLocal;
}

void dbwSynchronize::logConflict(dbwSynObject* o) {
    logObject(o, "konflikt při stahování");
    ++count.conflicts;
}

void dbwSynchronize::logUpdatedLocal(dbwSynObject* o) {
    logObject(o, "update lokálního objektu");
    ++count.updatedLocal;
}

void dbwSynchronize::logDownloadedNew(dbwSynObject* o) {
    logObject(o, "stáhnutí nového objektu");
    ++count.downloadedNew;
}

void dbwSynchronize::logChangedField(dbwSynObject* o, const char* fieldName) {
    logObject(o, btkFormat("změna pole %s v internetové db", fieldName));
    ++count.changedFields;
}

void dbwSynchronize::logUpdatedNet(dbwSynObject* o) {
    logObject(o, "update internetového objektu");
    ++count.updatedNet;
}

void dbwSynchronize::logDeletedNet(dbwSynObject* o) {
    logObject(o, "výmaz internetového objektu");
    ++count.deletedNet;
}

void dbwSynchronize::recordRow(char kind, dbwSynObject* object) {
    dbwRunRow row;
    row.kind = kind;
    row.locid = object->locid;
    row.netid = object->netid;
    record.rows.add(row);
}

// ---- one table ---------------------------------------------------------------------------

dbwTableSynchronize::dbwTableSynchronize(dbwSynchronize* r, dbwSynTable* t) : table(t), run(r) {}

bool dbwTableSynchronize::prepare() {
    int id = table->tableId();
    tableDef = run->dbDef->tableById(id);
    if (!tableDef) return run->fail(btkFormat("No table with the id %d in the server database", id));
    keyField = tableDef->counterField();
    if (!keyField) return run->fail(btkFormat("The table %s has no single serial key field", tableDef->name.c_str()));
    dbwSynClass* cls = table->synClass();
    int n = cls->fieldCount();
    for (int i = 0; i < n; ++i) {
        dbwFldDef* field = tableDef->fieldById(cls->fieldId(i));
        if (!field)
            return run->fail(
                btkFormat("The table %s has no field with the id %d", tableDef->name.c_str(), cls->fieldId(i)));
        fields.add(field);
    }
    int key = fields.find(keyField);
    if (key < 0) return run->fail(btkFormat("The fields of the table %s lack its key field", tableDef->name.c_str()));
    fields.removeItems(key, 1);
    btkCntVec<dbwFldDef*> ordered;
    ordered.add(keyField);
    ordered.append(fields);
    fields = ordered;
    dataFields.append(fields, 1, fields.count());

    btkCntVec<dbwSynObject*> objects;
    table->getObjects(objects);
    for (dbwSynObject* object : objects)
        if (object) localObjects.add(object);
    return true;
}

bool dbwTableSynchronize::synchronize() {
    if (run->upload && !(uploadNew() && uploadChanges() && uploadDeletions())) return false;
    if ((run->downloadMissing || run->deleteLocalMissing) && !readRemoteIds()) return false;
    if (run->download && !(downloadChanges() && removeRemoteDeletions())) return false;
    if (run->downloadMissing && !downloadMissing()) return false;
    if (run->deleteLocalMissing && !deleteLocalMissing()) return false;
    return true;
}

dbwSynObject* dbwTableSynchronize::findByNetId(int netid) {
    for (dbwSynObject* object : localObjects)
        if (object->netid == netid) return object;
    return nullptr;
}

int dbwTableSynchronize::knownVersion(const dbwSynObject* object) const {
    return object->netversion > 0 ? object->netversion : run->localVersion;
}

btkstring dbwTableSynchronize::rowsSQL() {
    btkstring select = run->adapter->selectSQL(fields, tableDef);
    return btkstring("SELECT dbw_version,") + (select.c_str() + std::strlen("SELECT "));
}

void dbwTableSynchronize::keepAsConflict(dbwSynObject* object) {
    object->nonet = true;
    object->netmodified = false;
    run->logConflict(object);
    object->changed(false);
}

void dbwTableSynchronize::removeLocal(dbwSynObject* object) {
    int i = localObjects.find(object);
    if (i >= 0) localObjects.removeItems(i, 1);
    table->deleteObject(object);
}

btkstring dbwTableSynchronize::tableName() { return run->adapter->quoteIdentifier(tableDef->name); }

btkstring dbwTableSynchronize::keyName() { return run->adapter->quoteIdentifier(keyField->name); }
