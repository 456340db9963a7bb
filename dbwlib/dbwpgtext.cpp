#include "dbwpgtext.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace dbwlib_detail {

namespace {

// Decimal text of a number. (snprintf rather than std::to_string, whose
// inline digit table would be exported from the library as a unique symbol.)
std::string decimal(long value) {
    char text[24];
    snprintf(text, sizeof text, "%ld", value);
    return text;
}

void appendValue(std::string& out, const char* keyword, const char* value) {
    if (!value || !*value) return;
    if (!out.empty()) out += ' ';
    out += keyword;
    out += "='";
    for (const char* p = value; *p; ++p) {
        if (*p == '\\' || *p == '\'') out += '\\';
        out += *p;
    }
    out += '\'';
}

}  // namespace

std::string dbwPgConnectionString(const char* database, const char* host, const char* user, const char* password,
                                  int port) {
    std::string out;
    appendValue(out, "dbname", database);
    appendValue(out, "host", host);
    appendValue(out, "user", user);
    appendValue(out, "password", password);
    if (port != 0) appendValue(out, "port", decimal(port).c_str());
    return out;
}

std::string dbwPgColumnType(const char* typeName, const char* typeModifier, const char* defaultExpression) {
    if (defaultExpression && strstr(defaultExpression, "nextval")) return "serial";
    std::string type = typeName ? typeName : "";
    long modifier = typeModifier ? strtol(typeModifier, nullptr, 10) : -1;
    // The modifier holds 4 more than the declared length; -1 when none was given.
    if (modifier < 4) return type;
    long declared = modifier - 4;
    if (type == "varchar") {
        type += "(" + decimal(declared) + ")";
    } else if (type == "decimal" || type == "numeric") {
        type += "(" + decimal((declared >> 16) & 0xffff) + "," + decimal(declared & 0xffff) + ")";
    }
    return type;
}

}  // namespace dbwlib_detail
