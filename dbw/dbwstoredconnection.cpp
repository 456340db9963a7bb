#include "dbw/dbwstoredconnection.h"

#include "dbw/dbwactiveconnection.h"
#include "dbw/dbwconnection.h"
#include "foundation/btkerror.h"
#include "foundation/btkscramble.h"

namespace {

const unsigned char passwordKey[7] = {0x5c, 0xe2, 0x18, 0xa7, 0x40, 0x9b, 0x6d};

// A number attribute within [low, high]; 0 when it is missing. Anything
// else (a sign, trailing text, a value out of range) is refused rather
// than cut to what the field can hold.
int rangedAttr(const btkXMLNode& element, const char* name, int low, int high, const char* range) {
    if (!element.hasAttr(name)) return 0;
    btkstring text = element.attr(name);
    const char* p = btkSkipBlanks(text);
    long long value = 0;
    bool digits = false;
    for (; *p >= '0' && *p <= '9' && value <= high; ++p, digits = true) value = value * 10 + (*p - '0');
    if (!digits || *btkSkipBlanks(p) || value < low || value > high)
        throw btkError(btkFormat("%s \"%s\" is not %s", name, text.c_str(), range));
    return static_cast<int>(value);
}

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
    port = rangedAttr(element, "port", 0, 65535, "a port number (1 to 65535, 0 for the engine's default)");
    engine = static_cast<std::uint8_t>(rangedAttr(element, "engine", 0, 4, "a known engine number (1 to 4)"));
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
