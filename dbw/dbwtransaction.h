// dbwTransaction: one transaction on an adapter's connection for the length
// of a scope. It begins on construction, commits only when told, and rolls
// back when the scope is left without a commit. Nesting is counted by the
// connection: only the outermost commit writes, any rollback undoes all.
#pragma once

class dbwAdapter;
class dbwDbConnection;

class dbwTransaction {
public:
    explicit dbwTransaction(dbwAdapter* adapter);
    dbwTransaction(const dbwTransaction&) = delete;
    dbwTransaction& operator=(const dbwTransaction&) = delete;
    ~dbwTransaction();

    // True when the engine accepted the begin.
    bool started() const { return connection != nullptr; }
    // Commits; false when the begin or the commit failed (the reason is the
    // connection's last error). Afterwards nothing is held.
    bool commit();

private:
    dbwDbConnection* connection;
};
