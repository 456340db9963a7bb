#include "foundation/btktextcursor.h"

btkstring btkScanIdent(TextCursor& cursor) {
    btkstring ident;
    if (!isIdentStartChar(cursor.current())) return ident;
    while (cursor.atIdentChar()) {
        ident.append(cursor.current());
        cursor.next();
    }
    return ident;
}

std::uint32_t btkScanNumber(TextCursor& cursor) {
    std::uint32_t value = 0;
    while (isDigitChar(cursor.current())) {
        value = value * 10u + static_cast<std::uint32_t>(cursor.current() - '0');
        cursor.next();
    }
    return value;
}

btkstring btkScanField(TextCursor& cursor, char delimiter) {
    btkstring field;
    while (cursor.current() && cursor.current() != delimiter) {
        field.append(cursor.current());
        cursor.next();
    }
    if (cursor.current() == delimiter && delimiter) cursor.next();
    field.trimRight();
    return field;
}
