// The tokens of the query language (see sqlparser.h).
#include <cctype>

#include "foundation/btktextcursor.h"
#include "query/sqlparser.h"

namespace {

// Operators in the order they are tried: "<>" before "<", "<=" before "<".
const struct {
    const char* text;
    int kind;
} operators[] = {
    {"=", '='}, {"<>", SQL_NEQ}, {"<=", SQL_LE}, {">=", SQL_GE}, {"<", '<'}, {">", '>'}, {"&", '&'},
};

const struct {
    const char* word;
    int kind;
} keywords[] = {
    {"IN", SQL_IN},         {"AND", SQL_AND}, {"OR", SQL_OR},         {"NOT", SQL_NOT},     {"SELECT", SQL_SELECT},
    {"UPDATE", SQL_UPDATE}, {"SET", SQL_SET}, {"DELETE", SQL_DELETE}, {"WHERE", SQL_WHERE}, {"FROM", SQL_FROM},
};

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The length of prefix when text starts with it ignoring ASCII case, else 0.
int matchPrefix(const char* text, const char* prefix) {
    int n = 0;
    for (; prefix[n]; ++n)
        if (upperAscii(text[n]) != upperAscii(prefix[n])) return 0;
    return n;
}

}  // namespace

void SqlParser::setText(const char* text) {
    input = text ? text : "";
    cursor = input.c_str();
    kind = SQL_START;
    tokenAt = previousAt = 0;
    textOut.clear();
}

void SqlParser::nextToken() {
    textOut.clear();
    while (isBlankChar(*cursor)) ++cursor;
    previousAt = tokenAt;
    tokenAt = static_cast<int>(cursor - input.c_str());
    const char c = *cursor;
    if (!c) {
        kind = SQL_END;
        return;
    }
    if (readOperator() || readKeyword()) return;
    if (c == '@') {
        readWord(false);
    } else if (isLetterChar(c)) {
        readWord(true);
    } else if (isDigitChar(c)) {
        while (isDigitChar(*cursor)) textOut.write(cursor++, 1);
        kind = SQL_NUMBER;
    } else if (c == '\'' || c == '"') {
        readString(c);
    } else {
        kind = static_cast<signed char>(c);
        ++cursor;
    }
}

bool SqlParser::readOperator() {
    for (const auto& op : operators)
        if (int n = matchPrefix(cursor, op.text)) {
            cursor += n;
            kind = op.kind;
            return true;
        }
    return false;
}

bool SqlParser::readKeyword() {
    for (const auto& k : keywords) {
        const int n = matchPrefix(cursor, k.word);
        if (n && !isIdentChar(cursor[n])) {
            cursor += n;
            kind = k.kind;
            return true;
        }
    }
    return false;
}

void SqlParser::readWord(bool upper) {
    // A variable keeps its at-sign and its case.
    if (*cursor == '@') textOut.write(cursor++, 1);
    while (isIdentChar(*cursor)) {
        const char c = upper ? upperAscii(*cursor) : *cursor;
        textOut.write(&c, 1);
        ++cursor;
    }
    kind = SQL_IDENT;
}

void SqlParser::readString(char quote) {
    ++cursor;
    const char* begin = cursor;
    while (*cursor && *cursor != quote) ++cursor;
    textOut.write(begin, static_cast<int>(cursor - begin));
    // An unterminated string ends with the text.
    if (*cursor) ++cursor;
    kind = SQL_STRING;
}

btkstring SqlParser::tokenName(int kind) {
    switch (kind) {
    case SQL_OR: return "OR";
    case SQL_AND: return "AND";
    case SQL_NOT: return "NOT";
    case SQL_IDENT: return "identifikátor";
    case SQL_NUMBER: return "číslo";
    case SQL_STRING: return "řetězec";
    case SQL_IN: return "IN";
    case SQL_NEQ: return "<>";
    case SQL_GE: return ">=";
    case SQL_LE: return "<=";
    case SQL_SELECT: return "SELECT";
    case SQL_UPDATE: return "UPDATE";
    case SQL_SET: return "SET";
    case SQL_DELETE: return "DELETE";
    case SQL_FROM: return "FROM";
    case SQL_WHERE: return "WHERE";
    case SQL_END: return "konec dotazu";
    default: return btkFormat("znak %c", kind);
    }
}
