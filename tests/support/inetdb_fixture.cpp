#include "inetdb_fixture.h"

#include <chrono>
#include <thread>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwpostgresql.h"
#include "foundation/btkerror.h"
#include "foundation/btkstrings.h"

kx6InetDb::kx6InetDb(std::string h, int p, std::string u) : host(std::move(h)), port(p), serverUser(std::move(u)) {}

kx6InetDb::~kx6InetDb() { drop(); }

bool kx6InetDb::adminExec(const std::string& sql) {
    auto* admin = new dbwPostgreSQLConnection();
    bool ok = admin->connect("postgres", host.c_str(), serverUser.c_str(), "", port) && admin->exec(sql.c_str());
    if (!ok) lastError = sql + ": " + admin->lastError().c_str();
    admin->release();
    return ok;
}

bool kx6InetDb::create(const std::string& name) {
    drop();
    if (!adminExec("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)")) return false;
    if (!adminExec("CREATE DATABASE " + name + " ENCODING 'UTF8' TEMPLATE template0")) return false;
    dbname = name;
    if (build()) return true;
    std::string reason = lastError;
    drop();
    lastError = reason;
    return false;
}

void kx6InetDb::drop() {
    if (dbname.empty()) return;
    adminExec("DROP DATABASE IF EXISTS " + dbname + " WITH (FORCE)");
    dbname.clear();
}

bool kx6InetDb::build() {
    btkXMLNode node;
    try {
        node.load(KX6_INETDB_DEFINITION);
    } catch (const btkError& e) {
        lastError = std::string("definition: ") + e.message().c_str();
        return false;
    }
    dbwDbDef def(node);
    dbwDbDef none;
    dbwAdaRef ada = connect();
    if (!ada.isSet()) return false;

    btkStrings statements;
    ada->upgradeSQL(&none, &def, statements);
    statements.add("CREATE TABLE dbw_versions (dbw_id SERIAL PRIMARY KEY, dbw_created VARCHAR(32), dbw_userid INT)");
    statements.add(
        "CREATE TABLE dbw_creations (dbw_id SERIAL PRIMARY KEY, dbw_version INT, dbw_tableid INT, "
        "dbw_recordid INT)");
    statements.add(
        "CREATE TABLE dbw_updates (dbw_version INT, dbw_tableid INT, dbw_recordid INT, dbw_fieldid INT, "
        "dbw_value TEXT)");
    statements.add("CREATE TABLE dbw_deletes (dbw_version INT, dbw_creation INT)");
    statements.add("CREATE TABLE info (name VARCHAR(32) PRIMARY KEY, value VARCHAR(255))");
    statements.add("INSERT INTO info (name,value) VALUES ('dbversion','5'),('allowconnect','1')");
    if (!ada->attach(&def) || !ada->execList(statements)) {
        lastError = ada->errorText(true).c_str();
        return false;
    }
    user = ada->insertGetId(btkFormat("INSERT INTO dbw_users (dbw_login,dbw_password,dbw_rights,email) VALUES "
                                      "('%s','%s','%s','tester@example.org')",
                                      login, password, rights),
                            "dbw_users", "dbw_id");
    if (user <= 0) {
        lastError = ada->errorText(true).c_str();
        return false;
    }
    return true;
}

dbwAdaRef kx6InetDb::connect(const char* encoding) {
    auto* conn = new dbwPostgreSQLConnection();
    if (!conn->connect(dbname.c_str(), host.c_str(), serverUser.c_str(), "", port)) {
        lastError = conn->lastError().c_str();
        conn->release();
        return dbwAdaRef();
    }
    return dbwAdaRef(dbwCreateAdapter(conn, encoding, nullptr));
}

dbwAdaRef kx6InetDb::connectVia(const std::string& viaHost, int viaPort) {
    auto* conn = new dbwPostgreSQLConnection();
    if (!conn->connect(dbname.c_str(), viaHost.c_str(), serverUser.c_str(), "", viaPort)) {
        lastError = conn->lastError().c_str();
        conn->release();
        return dbwAdaRef();
    }
    return dbwAdaRef(dbwCreateAdapter(conn, "UTF-8", nullptr));
}

btkXMLNode kx6InetDb::connectionElement(const char* encoding, const std::string& viaHost, int viaPort) const {
    btkXMLNode node;
    node.setName("connection");
    node.setAttr("name", "!Test");
    node.setAttr("user", serverUser.c_str());
    node.setAttr("dbname", dbname.c_str());
    node.setAttr("server", viaHost.empty() ? host.c_str() : viaHost.c_str());
    node.setIntAttr("port", viaHost.empty() ? port : viaPort);
    node.setAttr("engine", "1");
    node.setAttr("encoding", encoding);
    return node;
}

int kx6InetDb::awaitCount(const std::string& table, int n) {
    int rows = count(table);
    for (int i = 0; i < 200 && rows != n; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        rows = count(table);
    }
    return rows;
}

bool kx6InetDb::exec(const std::string& sql) {
    dbwAdaRef ada = connect();
    if (!ada.isSet()) return false;
    if (ada->exec(sql.c_str())) return true;
    lastError = ada->errorText(true).c_str();
    return false;
}

std::string kx6InetDb::value(const std::string& sql) {
    dbwAdaRef ada = connect();
    if (!ada.isSet()) return {};
    return dbwSelectValue(ada.get(), sql.c_str(), true).c_str();
}
