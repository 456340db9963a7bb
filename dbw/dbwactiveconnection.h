// The active connection: opens the engine connection of a stored connection
// when first needed, keeps it, checks it is alive before lending it again,
// and lends one fresh adapter per piece of work under its re-entrant mutex.
#pragma once

#include "foundation/btkmutex.h"
#include "foundation/btkref.h"
#include "foundation/btkstring.h"

class dbwAdapter;
class dbwDbConnection;
class dbwStoredConnection;

// A counted reference to a lent adapter; while it lives the lending
// connection stays locked. An empty reference means nothing could be lent.
using dbwAdaRef = btkRef<dbwAdapter>;

class dbwActiveConnectionBase {
public:
    dbwActiveConnectionBase() = default;
    dbwActiveConnectionBase(const dbwActiveConnectionBase&) = delete;
    dbwActiveConnectionBase& operator=(const dbwActiveConnectionBase&) = delete;
    virtual ~dbwActiveConnectionBase() = default;
    virtual dbwAdaRef acquire() = 0;
};

class dbwActiveConnection : public dbwActiveConnectionBase {
public:
    // Nothing is opened here; stored must outlive this object.
    dbwActiveConnection(dbwStoredConnection* stored, const btkstring& password);
    ~dbwActiveConnection() override;

    dbwAdaRef acquire() override;
    bool open();
    btkstring lastError();
    // Leaves the mutex; called by the destructor of a lent adapter only.
    void releaseLock();

private:
    dbwDbConnection* getConnection();
    bool connectDriver(dbwDbConnection* connection);

    dbwStoredConnection* stored;
    dbwDbConnection* kept = nullptr;
    btkMutex mutex;
    btkstring password;
    btkstring error;
};
