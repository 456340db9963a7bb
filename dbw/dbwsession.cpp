#include "dbw/dbwsession.h"

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"

namespace {

// What the user sees when the database cannot be reached at all.
const char* const noConnection = "Připojení nebylo úspěšné";

}  // namespace

// ---- session manager ----------------------------------------------------------------

dbwSessionManager::dbwSessionManager(dbwActiveConnectionBase* c, const char* programEncoding)
    : fromUtf8("UTF-8", programEncoding), toUtf8(programEncoding, "UTF-8"), connection(c) {}

dbwSessionManager::~dbwSessionManager() = default;

btkstring dbwSessionManager::literal(dbwAdapter* adapter, const char* text) {
    return dbwEscapeText(adapter, adapter->toDatabaseEncoding(toUtf8.convert(text)));
}

void dbwSessionManager::connectionFailed(dbwAdapter* adapter) {
    error = btkstring(noConnection) + "\n" + adapter->errorText(true).trimmed();
}

namespace {

// The first column of the first row of the query into value (converted
// from the server's encoding; "" without a row); false when it failed.
bool selectFirst(dbwAdapter* adapter, const char* sql, btkstring& value) {
    dbwResultRef result = adapter->query(sql);
    if (!result.isValid()) return false;
    value = result.hasRow() ? result.value(0) : btkstring();
    return true;
}

}  // namespace

dbwSession* dbwSessionManager::login(const char* login, const char* password) {
    dbwAdaRef adapter = acquire();
    if (!adapter.isSet()) {
        error = noConnection;
        return nullptr;
    }
    btkstring sql = btkFormat("SELECT dbw_id FROM dbw_users WHERE dbw_login='%s' AND dbw_password='%s'",
                              literal(adapter.get(), login).c_str(), literal(adapter.get(), password).c_str());
    btkstring found;
    if (!selectFirst(adapter.get(), sql, found)) {
        connectionFailed(adapter.get());
        return nullptr;
    }
    if (found.toInt() == 0) {
        error = "Špatný login nebo heslo";
        return nullptr;
    }
    return new dbwSession(this, found.toInt());
}

dbwSession* dbwSessionManager::createUser(const char* login, const char* password) {
    if (btkstring(login).length() < 4) {
        error = "Minimální délka přihlašovacího jména jsou 4 znaky";
        return nullptr;
    }
    dbwAdaRef adapter = acquire();
    if (!adapter.isSet()) {
        error = noConnection;
        return nullptr;
    }
    btkstring name = literal(adapter.get(), login);
    btkstring sql = btkFormat("SELECT dbw_id FROM dbw_users WHERE dbw_login='%s'", name.c_str());
    btkstring found;
    if (!selectFirst(adapter.get(), sql, found)) {
        connectionFailed(adapter.get());
        return nullptr;
    }
    if (found.toInt() != 0) {
        error = "Uživatelské jméno už existuje";
        return nullptr;
    }
    sql = btkFormat("INSERT INTO dbw_users (dbw_login,dbw_password) VALUES ('%s','%s')", name.c_str(),
                    literal(adapter.get(), password).c_str());
    int id = adapter->insertGetId(sql, "dbw_users", "dbw_id");
    if (id <= 0) {
        error = "Uživatele se nepovedlo vytvořit";
        return nullptr;
    }
    return new dbwSession(this, id);
}

btkstring dbwSessionManager::takeLastError() {
    btkstring text = error;
    error = btkstring();
    return text;
}

dbwDbDef* dbwSessionManager::dbDef() {
    if (!def.isSet()) {
        dbwAdaRef adapter = acquire();
        if (adapter.isSet()) def.reset(adapter->readStructure());
    }
    return def.get();
}

// ---- session ----------------------------------------------------------------------------

dbwSession::dbwSession(dbwSessionManager* m, int id) : manager(m), user(id) {}

bool dbwSession::userValue(const btkstring& quotedColumn, btkstring& value) {
    value = btkstring();
    dbwAdaRef adapter = manager->acquire();
    if (!adapter.isSet()) return true;
    btkstring sql = btkFormat("SELECT %s FROM dbw_users WHERE dbw_id='%d'", quotedColumn.c_str(), user);
    btkstring found;
    if (!selectFirst(adapter.get(), sql, found)) {
        manager->connectionFailed(adapter.get());
        return false;
    }
    value = manager->fromServer(found);
    return true;
}

btkstring dbwSession::loginName() {
    if (login.empty()) (void)userValue("dbw_login", login);
    return login;
}

btkstring dbwSession::userField(int fieldId) {
    dbwDbDef* def = manager->dbDef();
    dbwFldDef* field = def ? def->fieldDefById(fieldId) : nullptr;
    if (!field) return btkstring();
    dbwAdaRef adapter = manager->acquire();
    if (!adapter.isSet()) return btkstring();
    btkstring value;
    (void)userValue(adapter->quoteIdentifier(field->name), value);
    return value;
}

bool dbwSession::loadRights() {
    if (rightsLoaded) return true;
    btkstring text;
    if (!userValue("dbw_rights", text)) return false;
    btkSplit(rights, text, ';', false);
    rightsLoaded = true;
    return true;
}

bool dbwSession::hasRight(const char* name) {
    if (!loadRights()) return false;
    for (const btkstring& right : rights)
        if (right == name) return true;
    return false;
}
