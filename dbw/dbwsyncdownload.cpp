// The download steps of a table: the server's changed rows since the local
// version, its deletions, rows missing locally, and local objects missing on
// the server.
#include <unordered_set>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwsynchronize.h"

namespace {

const int pageSize = 100;

}  // namespace

btkstring dbwTableSynchronize::changedRowsCondition() {
    btkstring where = btkFormat("dbw_version>%d", run->localVersion);
    // The condition comes in parentheses of its own: an OR in it cannot
    // escape the version bound.
    if (!condition.empty()) where += btkstring(" AND ") + condition;
    return where;
}

bool dbwTableSynchronize::readRemoteIds() {
    dbwResultRef rows = run->adapter->query(btkFormat("SELECT %s FROM %s", keyName().c_str(), tableName().c_str()));
    if (!rows.isValid()) return false;
    rows->setConvert(false);
    for (; rows.hasRow(); rows.next()) remoteIds.add(rows.value(0).toInt());
    return true;
}

bool dbwTableSynchronize::downloadChanges() {
    dbwAdapter* adapter = run->adapter.get();
    // What this run uploaded comes back with the run's version: it is the
    // local object's own state, not a change to report.
    sentNow.clear();
    if (run->upload) {
        sentNow.insert(newObjects.begin(), newObjects.end());
        sentNow.insert(changedObjects.begin(), changedObjects.end());
    }
    btkstring where = changedRowsCondition();
    int count = 0;
    if (!run->selectInt(btkstring("SELECT COUNT(") + keyName() + ") FROM " + tableName() + " WHERE " + where, count,
                        conditionValues))
        return false;
    for (int offset = 0; offset < count; offset += pageSize) {
        if (!run->reportProgress(offset * 100 / count,
                                 btkFormat("Stahuji řádek %d/%d tabulky %s", offset, count, tableDef->name.c_str())))
            return false;
        // Ordered by the key, so that the pages neither skip nor repeat rows.
        dbwResultRef rows = adapter->queryParams(
            rowsSQL() + "WHERE " + where + " ORDER BY " + keyName() + adapter->limitClause(offset, pageSize),
            conditionValues);
        if (!rows.isValid() || !applyRows(rows)) return false;
    }
    return true;
}

bool dbwTableSynchronize::applyRows(const dbwResultRef& rows) {
    dbwSynClass* cls = table->synClass();
    rows->setConvert(false);
    for (; rows.hasRow(); rows.next()) {
        int rowVersion = rows.value(0).toInt();
        dbwSynObject* object = findByNetId(rows.value(1).toInt());
        // A row this copy wrote itself holds nothing the local change has
        // not seen: the local change stays for the next upload.
        if (object && object->netmodified && object->netversion > 0 && rowVersion <= object->netversion) continue;
        if (object && object->netmodified) {
            object->nonet = true;
            object->netmodified = false;
            run->logConflict(object);
        } else if (object) {
            if (!sentNow.count(object)) run->logUpdatedLocal(object);
        } else {
            object = table->newObject();
            if (!object) return run->fail(btkFormat("No new local object for the table %s", tableDef->name.c_str()));
            localObjects.add(object);
            object->locid = table->nextLocalId();
            run->logDownloadedNew(object);
        }
        if (!object->nonet)
            for (int f = 0; f < fields.count(); ++f)
                cls->setField(object, fields[f]->id, run->toLocal.convert(rows.value(f + 1)));
        // Seen, also where its values were not taken: an object out of
        // synchronisation that is queued later overwrites it knowingly.
        object->netversion = rowVersion;
        object->changed(false);
    }
    return true;
}

bool dbwTableSynchronize::removeRemoteDeletions() {
    if (!run->reportProgress(0, btkFormat("Mařu řádky tabulky %s", tableDef->name.c_str()))) return false;
    dbwResultRef rows = run->adapter->query(
        btkFormat("SELECT c.dbw_recordid FROM dbw_deletes d LEFT JOIN dbw_creations c ON (d.dbw_creation=c.dbw_id) "
                  "WHERE d.dbw_version>%d AND c.dbw_tableid=%d",
                  run->localVersion, tableDef->id));
    if (!rows.isValid()) return false;
    rows->setConvert(false);
    for (; rows.hasRow(); rows.next()) {
        dbwSynObject* object = findByNetId(rows.value(0).toInt());
        // A local change the deletion has not seen keeps its song, out of
        // synchronisation, as does a song already out of it.
        if (object && object->netmodified) {
            keepAsConflict(object);
        } else if (object && !object->nonet) {
            run->logDeletedLocal(object);
            removeLocal(object);
        }
    }
    return true;
}

bool dbwTableSynchronize::downloadMissing() {
    // The server keys are unique, so the objects a batch brings in never
    // carry a key met later in the walk: the keys present at the start
    // decide.
    std::unordered_set<int> present;
    for (dbwSynObject* object : localObjects) present.insert(object->netid);
    int n = remoteIds.count();
    btkCntVec<int> batch;
    for (int i = 0; i < n; ++i) {
        if (present.count(remoteIds[i])) continue;
        batch.add(remoteIds[i]);
        if (batch.count() == pageSize) {
            if (!run->reportProgress(i * 100 / n,
                                     btkFormat("Stahuji řádek %d/%d tabulky %s", i, n, tableDef->name.c_str())))
                return false;
            if (!downloadByIds(batch)) return false;
            batch.clear();
        }
    }
    return downloadByIds(batch);
}

bool dbwTableSynchronize::downloadByIds(const btkCntVec<int>& ids) {
    if (ids.empty()) return true;
    dbwAdapter* adapter = run->adapter.get();
    btkstring sql = rowsSQL() + " WHERE ";
    btkstring key = keyName();
    for (int i = 0; i < ids.count(); ++i) {
        if (i) sql += " OR ";
        sql += key + btkFormat("='%d'", ids[i]);
    }
    dbwResultRef rows = adapter->query(sql);
    return rows.isValid() && applyRows(rows);
}

bool dbwTableSynchronize::deleteLocalMissing() {
    std::unordered_set<int> remote(remoteIds.begin(), remoteIds.end());
    btkCntVec<dbwSynObject*> objects = localObjects;
    for (dbwSynObject* object : objects) {
        // A song kept out of synchronisation stays, as a remote deletion
        // leaves it.
        if (remote.count(object->netid) || object->nonet) continue;
        if (object->netmodified) {
            keepAsConflict(object);
            continue;
        }
        run->logDeletedLocal(object);
        removeLocal(object);
    }
    return true;
}
