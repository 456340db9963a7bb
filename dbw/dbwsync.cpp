#include "dbw/dbwsync.h"

#include "dbw/dbwdbdef.h"

btkstring dbwLocalDb::encoding() { return "UTF-8"; }

void* dbwLocalDb::openLog() { return nullptr; }

void dbwLocalDb::writeLog(void*, btkstring) {}

void dbwLocalDb::closeLog(void*) {}

bool dbwLocalDb::keepRunRecord(const dbwRunRecord&, btkstring&) { return true; }

void dbwSynObject::changed(bool markForUpload) {
    if (markForUpload && netid != 0) netmodified = true;
}

btkstring dbwSynObject::uploadText() { return "Uploaduji řádek %d/%d"; }

void dbwSynObject::getValues(btkConverter& toServer, const btkCntVec<dbwFldDef*>& fields,
                             btkObjVec<btkstring>& values) {
    dbwSynClass* cls = synClass();
    for (dbwFldDef* field : fields) values.add(toServer.convert(cls->fieldText(this, field->id)));
}

btkstring dbwSynObject::description() { return btkFormat("netid=%5d  locid=%5d", netid, locid); }

bool dbwProgress::step(int, const btkstring&) { return true; }

bool dbwProgress::waiting() { return true; }
