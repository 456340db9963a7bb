// Changes and deletions over a connection that sends statements without
// waiting for their answers (PostgreSQL's pipeline). The row-by-row steps
// read each row on its own and wait for each update: a round trip or two a
// song. Here one query reads the rows of a block of songs; a block of
// changes is sent behind it unanswered, and its answers come with the next
// block's query, so a block costs one round trip.
//
// The server receives the statements of the row-by-row steps in the same
// order and transaction, and the local objects end as they end there: the
// outcomes planned for a block of changes are applied in order once its
// answers are in, up to the object whose statement failed (that one
// included, as it was logged before its update was sent) or up to the one
// at which the user stopped. Deletions read every row before any is
// deleted, as the row-by-row step does.
#include <algorithm>
#include <map>
#include <set>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwsynchronize.h"
#include "foundation/btkstrings.h"

namespace {

// Statements per block of changes: the connection reads the answers of at
// most 256 unread statements at once, so a block stays one wait.
constexpr int blockStatements = 240;
// Keys in one query of the deletions, which sends nothing in between.
constexpr int deletionKeys = 500;

}  // namespace

struct dbwTableSynchronize::PlannedChange {
    dbwSynObject* object = nullptr;
    bool conflict = false;
    btkCntVec<dbwFldDef*> fields;  // the fields whose values the update changes
    long end = 0;                  // one past the number of its last deferred statement
};

// The rows of a block by key: the values of the columns read, the
// version last.
struct dbwTableSynchronize::BlockRows {
    std::map<int, btkStrings> byKey;
};

bool dbwTableSynchronize::readRows(const btkstring& columns, const btkCntVec<dbwSynObject*>& objects, int first,
                                   int count, BlockRows& rows) {
    btkstring keys;
    for (int i = first; i < first + count; ++i) keys += btkFormat(i == first ? "'%d'" : ",'%d'", objects[i]->netid);
    dbwResultRef r = run->adapter->query(btkstring("SELECT ") + columns + ",dbw_version FROM " + tableName() +
                                         " WHERE " + keyName() + " IN (" + keys + ")");
    if (!r.isValid()) return false;
    int n = r->fieldCount();
    for (bool row = r.hasRow(); row; row = r.next()) {
        btkStrings& values = rows.byKey[r.value(0).toInt()];
        for (int c = 0; c < n; ++c) values.add(r.value(c));
    }
    return true;
}

// ---- changes ---------------------------------------------------------------------

bool dbwTableSynchronize::uploadChangesInBlocks() {
    dbwAdapter* adapter = run->adapter.get();
    btkstring columns;
    for (int f = 0; f < fields.count(); ++f) columns += (f ? "," : "") + adapter->quoteIdentifier(fields[f]->name);
    // An update logs each changed data field and then sets the row.
    int perBlock = std::max(1, blockStatements / (dataFields.count() + 1));
    int n = changedObjects.count();
    std::vector<PlannedChange> sent;  // the block whose answers are unread
    for (int first = 0; first < n; first += perBlock) {
        int count = std::min(perBlock, n - first);
        BlockRows rows;
        // The query's answer comes behind those of the block sent before.
        bool read = readRows(columns, changedObjects, first, count, rows);
        applyChanges(sent, read ? -1 : adapter->connection()->failedDeferred());
        sent.clear();
        if (!read) return false;
        bool ok = sendChanges(first, count, rows, sent);
        if (!ok || first + count == n) {
            ok = adapter->flushDeferred() && ok;  // after a stop: which of the sent updates are in
            applyChanges(sent, adapter->connection()->failedDeferred());
            return ok;
        }
    }
    return true;
}

bool dbwTableSynchronize::sendChanges(int first, int count, const BlockRows& rows, std::vector<PlannedChange>& plans) {
    dbwAdapter* adapter = run->adapter.get();
    dbwSynClass* cls = table->synClass();
    int n = changedObjects.count();
    std::set<int> updated;  // a second update of a row in a block finds it at this run's version
    for (int i = first; i < first + count; ++i) {
        dbwSynObject* object = changedObjects[i];
        if (!run->reportProgress(i * 100 / n,
                                 btkFormat("Opravuji řádek %d/%d tabulky %s", i, n, tableDef->name.c_str())))
            return false;
        PlannedChange plan;
        plan.object = object;
        // As the row-by-row step: a row another copy changed or deleted
        // since this copy last had it is not overwritten unseen. A row
        // without a version is not at or below it either.
        auto row = rows.byKey.find(object->netid);
        plan.conflict = row == rows.byKey.end() || row->second[fields.count()].empty() ||
                        row->second[fields.count()].toInt() > knownVersion(object) ||
                        !updated.insert(object->netid).second;
        if (plan.conflict) {
            plans.push_back(plan);
            continue;
        }
        btkStrings values;
        for (int f = 1; f < fields.count(); ++f) {
            btkstring local = run->toServer.convert(cls->fieldText(object, fields[f]->id));
            if (local == row->second[f]) continue;
            plan.fields.add(fields[f]);
            values.add(local);
        }
        btkStrings statements;
        adapter->updateRecordSQL(tableDef, keyField, run->versionId(), object->netid, plan.fields, values, statements);
        bool sentOk = adapter->execListDeferred(statements);
        plan.end = adapter->connection()->deferredCount();
        plans.push_back(plan);
        if (!sentOk) return false;
    }
    return true;
}

void dbwTableSynchronize::applyChanges(const std::vector<PlannedChange>& plans, long failed) {
    for (const PlannedChange& plan : plans) {
        dbwSynObject* object = plan.object;
        if (plan.conflict) {
            keepAsConflict(object);
            continue;
        }
        run->logUpdatedNet(object);
        for (dbwFldDef* field : plan.fields) run->logChangedField(object, field->name);
        if (failed >= 0 && failed < plan.end) return;  // the row-by-row step ends at this object
        object->netmodified = false;
        object->netversion = run->versionId();
        object->changed(false);
        run->recordRow('c', object);
    }
}

// ---- deletions -------------------------------------------------------------------

bool dbwTableSynchronize::uploadDeletionsInBlocks() {
    btkCntVec<dbwSynObject*> objects = deletedObjects;
    int n = objects.count();
    btkStrings statements;
    for (int first = 0; first < n; first += deletionKeys) {
        int count = std::min(deletionKeys, n - first);
        BlockRows rows;
        if (!readRows(keyName() + ",dbw_creation", objects, first, count, rows)) return false;
        for (int i = first; i < first + count; ++i) {
            dbwSynObject* object = objects[i];
            if (!run->reportProgress(i * 100 / n,
                                     btkFormat("Ma6u řádek %d/%d tabulky %s", i, n, tableDef->name.c_str())))
                return false;
            auto row = rows.byKey.find(object->netid);
            bool found = row != rows.byKey.end();
            planDeletion(object, found, found ? row->second[1].toInt() : 0, found ? row->second[2].toInt() : 0,
                         statements);
        }
    }
    return run->adapter->execList(statements);
}
