#include "dbw/dbwstoredconnection.h"

#include "dbw/dbwactiveconnection.h"
#include "dbw/dbwconnection.h"
#include "foundation/btkscramble.h"

namespace {

const unsigned char passwordKey[7] = {0x5c, 0xe2, 0x18, 0xa7, 0x40, 0x9b, 0x6d};

}  // namespace

btkstring dbwUnscramblePassword(const char* text) {
    btkstring out;
    int k = 0;
    for (const char* p = text ? text : ""; p[0] && p[1]; p += 2) {
        unsigned byte = static_cast<unsigned>(btkScrambleDigit(p[0]) * 16 + btkScrambleDigit(p[1])) ^ passwordKey[k];
        k = (k + 1) % 7;
        out.append(static_cast<char>(byte));
    }
    return out;
}

dbwStoredConnection::dbwStoredConnection(const btkXMLNode& element) {
    name = element.attr("name");
    password = dbwUnscramblePassword(element.attr("password"));
    user = element.attr("user");
    dbname = element.attr("dbname");
    server = element.attr("server");
    port = element.intAttr("port");
    engine = static_cast<std::uint8_t>(element.intAttr("engine"));
    encoding = element.attr("encoding");
    filename = element.attr("filename");
    settings.assign(element.childByName("settings"));
}

dbwActiveConnection* dbwStoredConnection::createActiveConnection(bool connectNow) {
    if (!isValid()) return nullptr;
    auto* active = new dbwActiveConnection(this, password);
    if (!connectNow || active->open()) return active;
    lastError = active->lastError();
    delete active;
    return nullptr;
}

dbwDbConnection* dbwStoredConnection::createDriverConnection() { return createBuiltinConnection(engine); }
