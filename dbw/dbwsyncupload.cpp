// The upload steps of a table: new objects become server rows with their
// creation record and field log, changed objects update their row field by
// field, deleted objects remove their row and leave a deletion record.
#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwsynchronize.h"
#include "foundation/btkstrings.h"

bool dbwTableSynchronize::uploadNew() {
    dbwAdapter* adapter = run->adapter.get();
    int version = run->versionId();
    int n = newObjects.count();
    btkStrings sequences;
    if (n > 0 && !keySequences(sequences)) return false;
    if (!sequences.empty()) return uploadNewInBlocks(sequences);
    for (int i = 0; i < n; ++i) {
        dbwSynObject* object = newObjects[i];
        if (!run->reportProgress(i * 100 / n,
                                 btkFormat("Uploaduji řádek %d/%d tabulky %s", i, n, tableDef->name.c_str())))
            return false;
        btkStrings values;
        object->getValues(run->toServer, dataFields, values);
        int key = adapter->insertRecord(tableDef, keyField, dataFields, values, version);
        if (key <= 0) return false;
        run->logUploadedNew(object);
        object->netid = key;
        object->netmodified = false;
        object->netversion = version;
        object->changed(false);
        run->recordRow('n', object);

        int creation = adapter->newCreation(version, tableDef->id, key);
        if (creation <= 0) return false;
        btkStrings statements;
        for (int f = 0; f < dataFields.count(); ++f)
            statements.add(adapter->updateLogSQL(version, tableDef->id, key, dataFields[f]->id, values[f]));
        statements.add(btkstring("UPDATE ") + tableName() + btkFormat(" SET dbw_creation='%d' WHERE ", creation) +
                       keyName() + btkFormat("='%d'", key));
        // Nothing waits for these answers: they travel with the next row's
        // insert, and a failure fails that insert before anything else of
        // the next row is logged or changed.
        if (!adapter->execListDeferred(statements)) return false;
    }
    return adapter->flushDeferred();
}

bool dbwTableSynchronize::uploadChanges() {
    dbwAdapter* adapter = run->adapter.get();
    if (adapter->connection()->canDefer()) return uploadChangesInBlocks();
    dbwSynClass* cls = table->synClass();
    int n = changedObjects.count();
    for (int i = 0; i < n; ++i) {
        dbwSynObject* object = changedObjects[i];
        if (!run->reportProgress(i * 100 / n,
                                 btkFormat("Opravuji řádek %d/%d tabulky %s", i, n, tableDef->name.c_str())))
            return false;
        // The server row's values, UTF-8 like the local texts compared to
        // them, unless another copy changed or deleted it since this copy
        // last had it: that change would be overwritten without being seen.
        dbwResultRef row = adapter->query(adapter->selectSQL(fields, tableDef) + "WHERE " + keyName() +
                                          btkFormat("='%d' AND dbw_version<=%d", object->netid, knownVersion(object)));
        if (!row.isValid()) return false;
        if (!row.hasRow()) {
            keepAsConflict(object);
            continue;
        }
        run->logUpdatedNet(object);
        btkCntVec<dbwFldDef*> kept;
        btkStrings keptValues;
        for (int f = 1; f < fields.count(); ++f) {
            dbwFldDef* field = fields[f];
            btkstring local = run->toServer.convert(cls->fieldText(object, field->id));
            if (local == row.value(f)) continue;
            run->logChangedField(object, field->name);
            kept.add(field);
            keptValues.add(local);
        }
        btkStrings statements;
        adapter->updateRecordSQL(tableDef, keyField, run->versionId(), object->netid, kept, keptValues, statements);
        if (!adapter->execList(statements)) return false;
        object->netmodified = false;
        object->netversion = run->versionId();
        object->changed(false);
        run->recordRow('c', object);
    }
    return true;
}

bool dbwTableSynchronize::uploadDeletions() {
    dbwAdapter* adapter = run->adapter.get();
    if (adapter->connection()->canDefer()) return uploadDeletionsInBlocks();
    btkCntVec<dbwSynObject*> objects = deletedObjects;
    int n = objects.count();
    btkStrings statements;
    for (int i = 0; i < n; ++i) {
        dbwSynObject* object = objects[i];
        if (!run->reportProgress(i * 100 / n, btkFormat("Ma6u řádek %d/%d tabulky %s", i, n, tableDef->name.c_str())))
            return false;
        dbwResultRef row = adapter->query(btkFormat("SELECT dbw_creation, dbw_version FROM %s WHERE %s='%d'",
                                                    tableName().c_str(), keyName().c_str(), object->netid));
        if (!row.isValid()) return false;
        row->setConvert(false);
        planDeletion(object, row.hasRow(), row.value(0).toInt(), row.value(1).toInt(), statements);
    }
    return adapter->execList(statements);
}

void dbwTableSynchronize::planDeletion(dbwSynObject* object, bool found, int creation, int rowVersion,
                                       btkStrings& statements) {
    if (!found) {
        // Deleted on the server already: nothing is lost.
        run->logDeletedLocal(object);
        run->recordRow('d', object);
        removeLocal(object);
        return;
    }
    // Another copy's change since this copy last had the row is not
    // deleted unseen.
    if (rowVersion > knownVersion(object)) {
        keepAsConflict(object);
        return;
    }
    statements.add(
        btkFormat("INSERT INTO dbw_deletes (dbw_version,dbw_creation) VALUES ('%d','%d')", run->versionId(), creation));
    statements.add(btkstring("DELETE FROM ") + tableName() + " WHERE " + keyName() + btkFormat("='%d'", object->netid));
    run->logDeletedNet(object);
    run->recordRow('d', object);
    removeLocal(object);
}
