// Column type names and the parsing of a column type text as an engine
// reports it.
#include <cstring>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"
#include "foundation/btktextcursor.h"

namespace {

const char* const typeNames[13] = {"none",      "int",      "serial", "bool",  "varchar", "text", "smallint",
                                   "reference", "datetime", "blob",   "float", "numeric", "char"};

int readNumber(TextCursor& cursor) {
    int n = 0;
    while (isDigitChar(cursor.current())) {
        n = n * 10 + (cursor.current() - '0');
        cursor.next();
    }
    return n;
}

}  // namespace

int dbwFieldTypeFromName(const char* name) {
    for (int i = 0; i < 13; ++i)
        if (std::strcmp(typeNames[i], name ? name : "") == 0) return i;
    return 0;
}

const char* dbwFieldTypeName(int type) { return type >= 0 && type < 13 ? typeNames[type] : ""; }

void dbwAdapter::parseColumnType(const dbwFieldMetadata& column, dbwFieldDesc& desc) {
    TextCursor cursor(column.type);
    cursor.skipBlanks();
    const char* start = cursor.position();
    while (cursor.current() && !std::strchr("(),", cursor.current())) cursor.next();
    btkstring name;
    for (const char* p = start; p < cursor.position(); ++p) name += *p;
    desc.sqltype = typeFromName(name.trimmed().upper());

    cursor.skipBlanks();
    if (cursor.current() != '(') return;
    cursor.next().skipBlanks();
    int first = readNumber(cursor);
    int second = 0;
    cursor.skipBlanks();
    if (cursor.current() == ',') {
        cursor.next().skipBlanks();
        second = readNumber(cursor);
    }
    cursor.skipBlanks();
    if (cursor.current() == ')') cursor.next();

    if (desc.sqltype == 4 || desc.sqltype == 12) {
        desc.size = first;
    } else if (desc.sqltype == 11) {
        desc.precision = first;
        desc.scale = second;
    }
}
