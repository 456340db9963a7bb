#include "songs/inetconnection.h"

#include "dbw/dbwadapter.h"
#include "dbw/dbwsession.h"
#include "dbw/dbwstoredconnection.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkref.h"
#include "foundation/btkxml.h"
#include "songs/appservices.h"
#include "songs/kxspace.h"
#include "songs/songclass.h"
#include "songs/syncrecord.h"

const char* const KxWebAddress = "https://kx6.example.org/";
const char* const KxContactMail = "kx6@example.org";

namespace {

const char* const NotConfiguredText = "Nebyl načten soubor cfg/connect.xml s údaji o připojení";
const char* const NoConnectionText = "Připojení nebylo úspěšné";
const char* const LockedText =
    "Není možné se přihlásit k databázi, databáze je uzamčená, pravděpodobně probíhá rozsáhlejší oprava";

// The program-wide objects, each owned here.
btkAutoPtr<dbwStoredConnection> gStored;
btkAutoPtr<dbwActiveConnection> gActive;
btkAutoPtr<dbwSessionManager> gManager;
btkAutoPtr<dbwSession> gLogin;

btkstring WrongVersionText() {
    return btkstring("Špatná verze databáze\nStáhněte si prosím novou verzi Kantorixu na adrese ") + KxWebAddress +
           "\nPokud to nepomůže, obraťte se prosím na mně (mail:" + KxContactMail + ")";
}

// One value of the info table into value ("" when the row or the table is
// missing); false when the connection failed under the query, which says
// nothing about the database.
bool ReadInfo(dbwAdapter* adapter, const char* name, btkstring& value) {
    btkstring sql = btkstring("SELECT value FROM info WHERE name='") + dbwEscapeText(adapter, name) + "'";
    dbwResultRef result = adapter->query(sql);
    value = result.isValid() && result.hasRow() ? result.value(0) : btkstring();
    return result.isValid() || adapter->connection()->isConnected();
}

// Reads cfg/connect.xml into the program-wide objects when it exists; a
// file that cannot be read is named in an error box.
void LoadConnectionFile() {
    const btkFile path = programDir().join("cfg").join("connect.xml");
    if (btkFileExists(path)) {
        btkXMLNode document;
        try {
            document.load(path);
            gStored.reset(new dbwStoredConnection(document));
        } catch (const btkError& e) {
            // A damaged connection file must not end start-up: the program
            // goes on as if there were none.
            ErrorBox(btkFormat("Soubor %s s údaji o připojení se nepodařilo načíst:\n%s", path.c_str(),
                               btkLoadFailureReason(e).c_str()));
        }
        if (gStored.isSet()) gActive.reset(gStored->createActiveConnection(false));
        if (gActive.isSet()) gManager.reset(new dbwSessionManager(gActive.get(), "CP1250"));
    }
}

// The connection file is read at start-up; one written later is taken
// when an internet command finds no connection.
bool HaveConnection() {
    if (!gActive.isSet()) LoadConnectionFile();
    return gActive.isSet() && gManager.isSet();
}

// Whether a login can be tried: a configured connection whose database opens
// (without a connection file nothing is told).
bool CanLogin() { return HaveConnection() && OpenInternetDatabase().isSet(); }

// The attempt's session becomes the current login; a failed attempt (null)
// shows the session manager's reason.
bool TakeLogin(dbwSession* session) {
    gLogin.reset(session);
    if (!gLogin.isSet()) ErrorBox(gManager->takeLastError());
    return gLogin.isSet();
}

// Runs that the program ended before saving are settled as soon as someone
// is logged in, before anything proposes their songs again; a record that
// cannot be settled now waits for the next run, which says why.
void SettleSyncRecords() {
    if (!gKxSpace) return;
    btkCntVec<KxDatabase*> databases;
    gKxSpace->getDatabases(databases);
    for (KxDatabase* database : databases) {
        btkstring record = SyncRecordFile(database);
        if (record.empty() || !btkFileExists(record)) continue;
        dbwAdaRef adapter = OpenInternetDatabase();
        SyncSettled settled;
        if (!adapter.isSet() || !SettleSyncRecord(database, adapter.get(), settled)) return;
    }
}

}  // namespace

void InitInternetConnection() {
    DoneInternetConnection();
    LoadConnectionFile();
    SongClass::instance();
}

void DoneInternetConnection() {
    gLogin.reset();
    gActive.reset();
    gStored.reset();
    gManager.reset();
}

bool InternetConnectionConfigured() {
    if (HaveConnection()) return true;
    ErrorBox(NotConfiguredText);
    return false;
}

btkstring ConnectionCaption() {
    if (gStored.isSet() && btkStartsWith("!", gStored->name)) return gStored->name;
    return btkstring();
}

dbwAdaRef OpenInternetDatabase() {
    if (!HaveConnection()) {
        ErrorBox(NotConfiguredText);
        return dbwAdaRef();
    }
    dbwAdaRef adapter = gActive->acquire();
    if (!adapter.isSet()) {
        ErrorBox(NoConnectionText);
        return dbwAdaRef();
    }
    btkstring version, allowed;
    if (!ReadInfo(adapter.get(), "dbversion", version) || !ReadInfo(adapter.get(), "allowconnect", allowed)) {
        // The connection is given back before the box waits for the user.
        btkstring cause = adapter->errorText(true).trimmed();
        adapter = nullptr;
        ErrorBox(btkstring(NoConnectionText) + "\n" + cause);
        return dbwAdaRef();
    }
    if (version != "5") {
        adapter = nullptr;
        ErrorBox(WrongVersionText());
        return dbwAdaRef();
    }
    if (allowed != "1") {
        adapter = nullptr;
        ErrorBox(LockedText);
        return dbwAdaRef();
    }
    return adapter;
}

void PingInternetDatabase() {
    if (OpenInternetDatabase().isSet()) InfoBox("OK");
}

bool LoginUser(const char* login, const char* password) {
    if (!CanLogin() || !TakeLogin(gManager->login(login, password))) return false;
    SettleSyncRecords();
    return true;
}

bool CreateAccountAndLogin(const char* login, const char* password) {
    if (!CanLogin()) return false;
    return TakeLogin(gManager->createUser(login, password));
}

bool EnsureLoggedIn() {
    if (gLogin.isSet()) return true;
    ExecuteLoginWizard();
    UpdateLoginStatus();
    return gLogin.isSet();
}

void Logout() {
    gLogin.reset();
    UpdateLoginStatus();
}

bool hasRight(const char* name) { return gLogin.isSet() && gLogin->hasRight(name); }

dbwStoredConnection* StoredConnection() { return gStored.get(); }
dbwActiveConnection* ActiveConnection() { return gActive.get(); }
dbwSessionManager* SessionManager() { return gManager.get(); }

namespace LoginRef {

bool isSet() { return gLogin.isSet(); }

dbwSession* get() { return gLogin.get(); }

void reset(dbwSession* session) { gLogin.reset(session); }

}  // namespace LoginRef
