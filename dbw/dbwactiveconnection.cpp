#include "dbw/dbwactiveconnection.h"

#include "dbw/dbwadapter.h"
#include "dbw/dbwconnection.h"
#include "dbw/dbwstoredconnection.h"

dbwActiveConnection::dbwActiveConnection(dbwStoredConnection* s, const btkstring& pw) : stored(s), password(pw) {}

dbwActiveConnection::~dbwActiveConnection() {
    if (kept) kept->release();
}

dbwAdaRef dbwActiveConnection::acquire() {
    mutex.lock();
    dbwDbConnection* connection = getConnection();
    if (!connection) {
        mutex.unlock();
        return dbwAdaRef();
    }
    // The mutex stays entered until the adapter's destructor gives it back.
    return dbwAdaRef(dbwCreateAdapter(connection, stored->encoding, this));
}

bool dbwActiveConnection::open() {
    btkLock lock(mutex);
    return getConnection() != nullptr;
}

btkstring dbwActiveConnection::lastError() {
    btkLock lock(mutex);
    return error;
}

void dbwActiveConnection::releaseLock() { mutex.unlock(); }

dbwDbConnection* dbwActiveConnection::getConnection() {
    if (kept) {
        if (kept->isConnected()) return kept;
        kept->release();
        kept = nullptr;
    }
    dbwDbConnection* connection = stored->createDriverConnection();
    if (!connection) return nullptr;
    if (connectDriver(connection)) {
        kept = connection;
        return kept;
    }
    error = connection->lastError();
    connection->release();
    return nullptr;
}

bool dbwActiveConnection::connectDriver(dbwDbConnection* connection) {
    dbwConnFeatures f;
    connection->features(f);
    if (f.serverBased) return connection->connect(stored->dbname, stored->server, stored->user, password, stored->port);
    if (f.fileBased) return connection->connectFile(stored->filename);
    return false;
}
