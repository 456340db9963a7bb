#include "dbw/dbwsynccondition.h"

#include <strings.h>

#include <cassert>
#include <cctype>
#include <cstring>

namespace {

// Nesting of parentheses and NOT beyond which a text is refused, so that
// no text can exhaust the stack of the recursive reading.
constexpr int maxDepth = 32;
// Digits a number compared with a float or numeric column may have on each
// side of the point: a double holds 1e300 and 1e-300.
constexpr int maxDecimalDigits = 300;

enum class Kind { End, Word, String, Number, Minus, Punct };

struct Token {
    Kind kind = Kind::End;
    btkstring text;  // a word as written, a literal's value, a sign's characters
    int offset = 0;
};

// One side of a test: a column, or a literal not yet written, whose type
// comes from the column on the other side.
struct Operand {
    int column = -1;  // index into the columns; -1 for a literal
    Kind kind = Kind::End;
    btkstring text;  // the literal's value, a number with its sign
    int offset = 0;
};

// What a column's type makes of a number compared with it.
struct NumberType {
    enum { None, Integer, Decimal } kind = None;
    long long min = 0, max = 0;
};

NumberType numberType(int sqltype) {
    switch (sqltype) {
    case 1:
    case 2:
    case 3:
    case 7: return {NumberType::Integer, -2147483648LL, 2147483647LL};
    case 6: return {NumberType::Integer, -32768, 32767};
    case 10:
    case 11: return {NumberType::Decimal};
    default: return {};
    }
}

bool wordStart(unsigned char c) { return std::isalpha(c) || c == '_'; }
bool wordChar(unsigned char c) { return std::isalnum(c) || c == '_'; }
bool digit(unsigned char c) { return c >= '0' && c <= '9'; }

btkstring span(const char* start, const char* end) {
    btkstring s;
    int n = static_cast<int>(end - start);
    if (n <= 0) return s;
    char* buffer = s.getBuffer(n);
    std::memcpy(buffer, start, static_cast<size_t>(n));
    buffer[n] = 0;
    s.updateLength();
    return s;
}

class Reader {
public:
    Reader(const char* text, const btkStrings& columns, const btkStrings& quoted, const btkCntVec<int>& types,
           btkStrings& values)
        : text(text), columns(columns), quoted(quoted), types(types), values(values) {}

    bool read(btkstring& sql) {
        if (!advance() || !orExpr(sql, 0)) return false;
        return cur.kind == Kind::End || refuse("unexpected text");
    }
    btkstring reason;
    bool tooLarge = false;

private:
    // ---- tokens
    bool advance() {
        while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
        cur = Token();
        cur.offset = static_cast<int>(p - text);
        auto c = static_cast<unsigned char>(*p);
        if (!c) return true;
        if (c == '\'') return readString();
        if (digit(c)) return readNumber();
        if (wordStart(c)) {
            const char* start = p;
            while (wordChar(static_cast<unsigned char>(*p))) ++p;
            cur.kind = Kind::Word;
            cur.text = span(start, p);
            return true;
        }
        if (c == '-' && digit(static_cast<unsigned char>(p[1]))) {
            ++p;
            cur.kind = Kind::Minus;
            return true;
        }
        for (const char* punct : {"<>", "<=", ">=", "=", "<", ">", "(", ")", ","}) {
            std::size_t n = std::strlen(punct);
            if (std::strncmp(p, punct, n) == 0) {
                p += n;
                cur.kind = Kind::Punct;
                cur.text = punct;
                return true;
            }
        }
        return refuse(std::isprint(c) ? btkFormat("unexpected character '%c'", c)
                                      : btkFormat("unexpected byte 0x%02X", static_cast<unsigned>(c)));
    }
    bool readString() {
        btkstring value;
        for (++p;; ++p) {
            if (!*p) return refuse("unterminated quote");
            // Whether '\'' is one quote or a backslash and the literal's end
            // depends on the server's settings: what the user meant is not
            // known, so it is not guessed.
            if (*p == '\\') return refuse("a backslash in a literal");
            if (*p == '\'' && p[1] != '\'') break;
            if (*p == '\'') ++p;  // a doubled quote
            value.append(*p);
        }
        ++p;
        cur.kind = Kind::String;
        cur.text = value;
        return true;
    }
    bool readNumber() {
        const char* start = p;
        while (digit(static_cast<unsigned char>(*p))) ++p;
        if (*p == '.' && digit(static_cast<unsigned char>(p[1])))
            for (++p; digit(static_cast<unsigned char>(*p));) ++p;
        if (wordChar(static_cast<unsigned char>(*p)) || *p == '.') return refuse("malformed number");
        cur.kind = Kind::Number;
        cur.text = span(start, p);
        return true;
    }
    bool isKeyword(const char* word) const { return cur.kind == Kind::Word && strcasecmp(cur.text, word) == 0; }
    bool isPunct(const char* punct) const { return cur.kind == Kind::Punct && cur.text == punct; }
    bool refuse(const btkstring& what) { return refuseAt(cur.offset, what); }
    bool refuseAt(int offset, const btkstring& what) {
        reason = btkFormat("%s at offset %d", what.c_str(), offset);
        return false;
    }
    // Counts one test or IN value against the size limit.
    bool count() {
        if (++terms <= dbwSyncConditionMaxTerms) return true;
        tooLarge = true;
        return refuse(btkFormat("more than %d tests and values", dbwSyncConditionMaxTerms));
    }

    // ---- grammar: each rule writes its part of the SQL into out
    bool orExpr(btkstring& out, int depth) { return chain(out, depth, "OR", &Reader::andExpr); }
    bool andExpr(btkstring& out, int depth) { return chain(out, depth, "AND", &Reader::notExpr); }
    // operand {keyword operand}, written flat in one pair of parentheses:
    // the operands are AND chains or tighter, so the order of reading holds.
    bool chain(btkstring& out, int depth, const char* keyword, bool (Reader::*operand)(btkstring&, int)) {
        if (!(this->*operand)(out, depth)) return false;
        if (!isKeyword(keyword)) return true;
        btkstring all("(");
        all += out;
        while (isKeyword(keyword)) {
            btkstring right;
            if (!advance() || !(this->*operand)(right, depth)) return false;
            all += ' ';
            all += keyword;
            all += ' ';
            all += right;
        }
        all += ')';
        out = all;
        return true;
    }
    bool notExpr(btkstring& out, int depth) {
        if (depth >= maxDepth) return refuse("nested too deeply");
        if (isKeyword("NOT")) {
            btkstring inner;
            if (!advance() || !notExpr(inner, depth + 1)) return false;
            out = btkstring("NOT (") + inner + ")";
            return true;
        }
        if (isPunct("(")) {
            btkstring inner;
            if (!advance() || !orExpr(inner, depth + 1)) return false;
            if (!isPunct(")")) return refuse("')' expected");
            out = btkstring("(") + inner + ")";
            return advance();
        }
        Operand left;
        return operand(left) && count() && test(left, out);
    }
    // The test of left, written with it into out.
    bool test(const Operand& left, btkstring& out) {
        out = btkstring();
        for (const char* op : {"=", "<>", "<", ">", "<=", ">="}) {
            if (!isPunct(op)) continue;
            Operand right;
            if (!advance() || !operand(right)) return false;
            if (left.column < 0 && right.column < 0) return refuseAt(left.offset, "a comparison of two literals");
            if (!write(left, right.column, out)) return false;
            out += op;
            return write(right, left.column, out);
        }
        if (isKeyword("IS")) {
            if (left.column < 0) return refuseAt(left.offset, "a literal tested for NULL");
            if (!advance()) return false;
            bool negated = isKeyword("NOT");
            if (negated && !advance()) return false;
            if (!isKeyword("NULL")) return refuse("NULL expected");
            out = quoted[left.column] + (negated ? " IS NOT NULL" : " IS NULL");
            return advance();
        }
        bool negated = isKeyword("NOT");
        if (negated && !advance()) return false;
        if (isKeyword("LIKE")) {
            Operand pattern;
            if (!advance() || !operand(pattern)) return false;
            if (left.column < 0 && pattern.column < 0) return refuseAt(left.offset, "a comparison of two literals");
            for (const Operand& side : {left, pattern})
                if (side.kind == Kind::Number) return refuseAt(side.offset, "a number in LIKE");
            if (!write(left, pattern.column, out)) return false;
            out += negated ? " NOT LIKE " : " LIKE ";
            return write(pattern, left.column, out);
        }
        if (isKeyword("IN")) {
            if (left.column < 0) return refuseAt(left.offset, "a comparison of two literals");
            out = quoted[left.column];
            return inList(left.column, negated, out);
        }
        return refuse("a comparison, LIKE, IN or IS expected");
    }
    bool inList(int column, bool negated, btkstring& out) {
        if (!advance()) return false;
        if (!isPunct("(")) return refuse("'(' expected");
        out += negated ? " NOT IN (" : " IN (";
        for (bool first = true;; first = false) {
            if (!advance()) return false;
            if (cur.kind == Kind::Word) return refuse("a column or a literal expected");
            Operand item;
            if (!operand(item) || !count()) return false;
            if (!first) out += ",";
            if (!write(item, column, out)) return false;
            if (!isPunct(",")) break;
        }
        if (!isPunct(")")) return refuse("')' expected");
        out += ")";
        return advance();
    }
    // Reads a column or a literal; a literal is written later by write().
    bool operand(Operand& out) {
        out.offset = cur.offset;
        if (cur.kind != Kind::Word) return literal(out);
        for (int i = 0; i < columns.count(); ++i)
            if (strcasecmp(columns[i], cur.text) == 0) {
                out.column = i;
                return advance();
            }
        const char* after = p;
        while (*after && static_cast<unsigned char>(*after) <= ' ') ++after;
        return refuse(btkFormat(*after == '(' ? "function call %s" : "unknown column %s", cur.text.c_str()));
    }
    bool literal(Operand& out) {
        btkstring sign;
        if (cur.kind == Kind::Minus) {
            if (!advance()) return false;
            sign = "-";
        }
        if (cur.kind != Kind::String && cur.kind != Kind::Number) return refuse("a column or a literal expected");
        if (!sign.empty() && cur.kind != Kind::Number) return refuse("a number expected");
        out.kind = cur.kind;
        out.text = sign + cur.text;
        return advance();
    }

    // ---- writing
    // Appends the operand: a column's quoted name, or a literal as the next
    // parameter mark, a number typed by the column it is compared with.
    bool write(const Operand& side, int against, btkstring& out) {
        if (side.column >= 0) {
            out += quoted[side.column];
            return true;
        }
        if (side.kind == Kind::String) {
            values.add(side.text);
            out += btkFormat("$%d", values.count());
            return true;
        }
        assert(against >= 0);  // tests of two literals are refused before
        if (against < 0) return refuseAt(side.offset, "a comparison of two literals");
        NumberType type = numberType(against < types.count() ? types[against] : 0);
        if (type.kind == NumberType::None)
            return refuseAt(side.offset, btkFormat("a number compared with the column %s, which holds no numbers",
                                                   columns[against].c_str()));
        const char* digits = side.text[0] == '-' ? side.text.c_str() + 1 : side.text.c_str();
        while (*digits == '0' && digit(static_cast<unsigned char>(digits[1]))) ++digits;
        const char* point = std::strchr(digits, '.');
        const char* end = digits + std::strlen(digits);
        int whole = static_cast<int>((point ? point : end) - digits);
        if (type.kind == NumberType::Decimal) {
            if (whole > maxDecimalDigits || (point && end - point - 1 > maxDecimalDigits))
                return refuseAt(side.offset, btkFormat("%s does not fit the column %s", side.text.c_str(),
                                                       columns[against].c_str()));
            values.add(side.text);
            out += btkFormat("CAST($%d AS NUMERIC)", values.count());
            return true;
        }
        if (point && std::strspn(point + 1, "0") != static_cast<size_t>(end - point - 1))
            return refuseAt(side.offset, btkFormat("%s is not a whole number for the column %s", side.text.c_str(),
                                                   columns[against].c_str()));
        long long value = 0;
        for (const char* d = digits; d < digits + whole && value <= type.max + 1; ++d) value = value * 10 + (*d - '0');
        if (side.text[0] == '-') value = -value;
        if (value < type.min || value > type.max)
            return refuseAt(side.offset,
                            btkFormat("%s does not fit the column %s", side.text.c_str(), columns[against].c_str()));
        values.add(btkFormat("%lld", value));
        out += btkFormat("CAST($%d AS INTEGER)", values.count());
        return true;
    }

    const char* text;
    const char* p = text;
    const btkStrings& columns;
    const btkStrings& quoted;
    const btkCntVec<int>& types;
    btkStrings& values;
    Token cur;
    int terms = 0;
};

}  // namespace

dbwSyncConditionRead dbwParseSyncCondition(const char* text, const btkStrings& columns, const btkStrings& quoted,
                                           const btkCntVec<int>& types, dbwSyncCondition& out, btkstring& reason) {
    out = dbwSyncCondition();
    reason = btkstring();
    const char* start = text ? text : "";
    if (std::strlen(start) > static_cast<size_t>(dbwSyncConditionMaxLength)) {
        reason = btkFormat("more than %d characters", dbwSyncConditionMaxLength);
        return dbwSyncConditionRead::TooLarge;
    }
    while (*start && static_cast<unsigned char>(*start) <= ' ') ++start;
    if (!*start) return dbwSyncConditionRead::Read;
    btkStrings values;
    Reader reader(text, columns, quoted, types, values);
    btkstring sql;
    if (!reader.read(sql)) {
        reason = reader.reason;
        return reader.tooLarge ? dbwSyncConditionRead::TooLarge : dbwSyncConditionRead::Refused;
    }
    out.sql = btkstring("(") + sql + ")";
    out.values = values;
    return dbwSyncConditionRead::Read;
}
