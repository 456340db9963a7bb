#include <sqlite3.h>
#include <unicode/ucol.h>

#include <mutex>

#include "dbw/dbwengines.h"

namespace {

// ICU's Czech collator at secondary strength: letters ordered as Czech
// orders them, case ignored. Made once, used read-only.
UCollator* czechCollator() {
    static UCollator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("cs", &status);
        if (U_FAILURE(status)) return static_cast<UCollator*>(nullptr);
        ucol_setStrength(c, UCOL_SECONDARY);
        return c;
    }();
    return collator;
}

}  // namespace

int dbwAnsiCollate(void*, int length1, const void* text1, int length2, const void* text2) {
    const char* a = static_cast<const char*>(text1);
    const char* b = static_cast<const char*>(text2);
    if (UCollator* c = czechCollator()) {
        UErrorCode status = U_ZERO_ERROR;
        UCollationResult r = ucol_strcollUTF8(c, a, length1, b, length2, &status);
        if (U_SUCCESS(status)) return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
    }
    // Without a collator: byte order.
    int n = length1 < length2 ? length1 : length2;
    for (int i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return length1 < length2 ? -1 : length1 > length2 ? 1 : 0;
}

const char* dbwSQLiteAdapter::typeName(int type) {
    switch (type) {
    case 2: return "INTEGER PRIMARY KEY";
    case 3: return "INTEGER";
    default: return dbwAdapter::typeName(type);
    }
}

btkstring dbwSQLiteAdapter::quoteIdentifier(btkstring name) { return dbwDoubleQuoted(name); }

int dbwSQLiteAdapter::typeFromName(btkstring name) {
    if (name == "INTEGER PRIMARY KEY") return 2;
    return dbwAdapter::typeFromName(name);
}

btkstring dbwSQLiteAdapter::emptyTableSQL(btkstring table) {
    return btkFormat("DELETE FROM  %s", quoteIdentifier(table).c_str());
}

btkstring dbwSQLiteAdapter::isNullSQL(btkstring expression) { return expression + " IS NULL"; }

btkstring dbwSQLiteAdapter::isNotNullSQL(btkstring expression) { return expression + " IS NOT NULL"; }

bool dbwSQLiteAdapter::primaryKeyInCreate() { return false; }

bool dbwSQLiteAdapter::canAlterColumns() { return false; }

bool dbwSQLiteAdapter::engineOption() { return true; }

bool dbwSQLiteAdapter::indexSerialKey() { return true; }

void dbwSQLiteAdapter::afterCreate() { registerAnsiCollation(); }

void dbwSQLiteAdapter::registerAnsiCollation() {
    if (auto* db = static_cast<sqlite3*>(connection()->nativeHandle()))
        sqlite3_create_collation(db, "ansi", SQLITE_UTF8, nullptr, dbwAnsiCollate);
}
