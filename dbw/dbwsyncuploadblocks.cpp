// Upload of new rows over a connection that sends statements without waiting
// for their answers (PostgreSQL's pipeline). A row waiting for its generated
// key and then for its creation record's id costs two round trips; here the
// keys of a block of rows are taken ahead from the same sequences the key
// defaults use, every statement of the block carries its keys, and the
// block waits for the server once, together with the query that takes the
// next block's keys.
//
// The server receives the statements the row-by-row upload sends, in the
// same order and transaction, only with the keys written out. The local
// objects of a block are marked uploaded once its answers are in: exactly
// those whose row insert succeeded, as the row-by-row upload leaves them
// when a statement fails or the user stops.
#include <algorithm>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwsynchronize.h"
#include "foundation/btkstrings.h"

namespace {

// Statements per block: the connection reads the answers of at most 256
// unread statements at once, so a block stays one wait.
constexpr int blockStatements = 240;

}  // namespace

bool dbwTableSynchronize::keySequences(btkStrings& sequences) {
    dbwAdapter* adapter = run->adapter.get();
    if (!adapter->connection()->canDefer()) return true;
    btkstring rows, creations;
    if (!adapter->keySequence(tableDef->name, keyField->name, rows) ||
        !adapter->keySequence("dbw_creations", "dbw_id", creations))
        return false;
    if (rows.empty() || creations.empty()) return true;
    sequences.add(rows);
    sequences.add(creations);
    return true;
}

bool dbwTableSynchronize::uploadNewInBlocks(const btkStrings& sequences) {
    dbwAdapter* adapter = run->adapter.get();
    int n = newObjects.count();
    // A row sends its insert, its creation record, a field log per data
    // field and the creation update.
    int perBlock = std::max(1, blockStatements / (dataFields.count() + 3));
    btkCntVec<int> keys;
    if (!adapter->nextKeys(sequences, std::min(perBlock, n), keys)) return false;
    for (int first = 0; first < n; first += perBlock) {
        int count = std::min(perBlock, n - first);
        int rest = n - first - count;
        btkCntVec<long> numbers;
        btkCntVec<int> nextKeys;
        bool ok = sendBlock(first, count, keys, numbers);
        if (ok && rest > 0)
            ok = adapter->nextKeys(sequences, std::min(perBlock, rest), nextKeys);
        else
            ok = adapter->flushDeferred() && ok;  // after a stop: which of the sent rows are in
        long failed = adapter->connection()->failedDeferred();
        for (int j = 0; j < numbers.count(); ++j)
            if (failed < 0 || numbers[j] < failed) uploadedNew(newObjects[first + j], keys[j]);
        if (!ok) return false;
        keys = nextKeys;
    }
    return true;
}

bool dbwTableSynchronize::sendBlock(int first, int count, const btkCntVec<int>& keys, btkCntVec<long>& numbers) {
    dbwAdapter* adapter = run->adapter.get();
    int version = run->versionId();
    int n = newObjects.count();
    for (int j = 0; j < count; ++j) {
        int i = first + j;
        dbwSynObject* object = newObjects[i];
        if (!run->reportProgress(i * 100 / n,
                                 btkFormat("Uploaduji řádek %d/%d tabulky %s", i, n, tableDef->name.c_str())))
            return false;
        int key = keys[j];
        int creation = keys[count + j];
        btkStrings values;
        values.add(btkIntToStr(key));
        object->getValues(run->toServer, dataFields, values);
        btkStrings statements;
        statements.add(adapter->insertSQL(tableDef, fields, values, version));
        statements.add(adapter->creationSQL(creation, version, tableDef->id, key));
        for (int f = 0; f < dataFields.count(); ++f)
            statements.add(adapter->updateLogSQL(version, tableDef->id, key, dataFields[f]->id, values[f + 1]));
        statements.add(btkstring("UPDATE ") + tableName() + btkFormat(" SET dbw_creation='%d' WHERE ", creation) +
                       keyName() + btkFormat("='%d'", key));
        numbers.add(adapter->connection()->deferredCount());
        if (!adapter->execListDeferred(statements)) return false;
    }
    return true;
}

void dbwTableSynchronize::uploadedNew(dbwSynObject* object, int key) {
    run->logUploadedNew(object);
    object->netid = key;
    object->netmodified = false;
    object->netversion = run->versionId();
    object->changed(false);
    run->recordRow('n', object);
}
