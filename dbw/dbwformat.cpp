#include "dbw/dbwformat.h"

#include "dbw/dbwadapter.h"

btkstring dbwFormatSQL(dbwAdapter* adapter, const char* format, dbwSQLArgs args) {
    btkstring out;
    const dbwSQLArg* arg = args.begin();
    auto take = [&]() -> const dbwSQLArg* { return arg != args.end() ? arg++ : nullptr; };
    for (const char* p = format ? format : ""; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        char d = *++p;
        if (!d) break;
        const dbwSQLArg* a = nullptr;
        switch (d) {
        case '%': out += '%'; break;
        case 'i':
            if ((a = take())) out += adapter ? adapter->quoteIdentifier(a->asText()) : a->asText();
            break;
        case 's':
            if ((a = take())) {
                out += '\'';
                for (const char* s = a->asText(); *s; ++s) {
                    if (*s == '\'') out += '\'';
                    out += *s;
                }
                out += '\'';
            }
            break;
        case 'q':
            if ((a = take())) out += a->asText();
            break;
        case 'd':
            if ((a = take())) out += a->asInt();
            break;
        default: out += d; break;
        }
    }
    return out;
}
