#include "dbw/dbwsynccondition.h"

#include <strings.h>

#include <cctype>
#include <cstring>

namespace {

// Nesting of parentheses and NOT beyond which a text is refused, so that
// no text can exhaust the stack of the recursive reading.
constexpr int maxDepth = 32;

enum class Kind { End, Word, String, Number, Minus, Punct };

struct Token {
    Kind kind = Kind::End;
    btkstring text;  // a word as written, a literal's value, a sign's characters
    int offset = 0;
};

bool wordStart(unsigned char c) { return std::isalpha(c) || c == '_'; }
bool wordChar(unsigned char c) { return std::isalnum(c) || c == '_'; }
bool digit(unsigned char c) { return c >= '0' && c <= '9'; }

class Reader {
public:
    Reader(const char* text, const btkStrings& columns, const btkStrings& quoted, btkStrings& values)
        : text(text), columns(columns), quoted(quoted), values(values) {}

    bool read(btkstring& sql) {
        if (!advance() || !orExpr(sql, 0)) return false;
        return cur.kind == Kind::End || refuse("unexpected text");
    }
    btkstring reason;

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
            cur.text = btkstring(start).substr(0, static_cast<int>(p - start));
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
        cur.text = btkstring(start).substr(0, static_cast<int>(p - start));
        return true;
    }
    bool isKeyword(const char* word) const { return cur.kind == Kind::Word && strcasecmp(cur.text, word) == 0; }
    bool isPunct(const char* punct) const { return cur.kind == Kind::Punct && cur.text == punct; }
    bool refuse(const btkstring& what) {
        reason = btkFormat("%s at offset %d", what.c_str(), cur.offset);
        return false;
    }

    // ---- grammar: each rule writes its part of the SQL into out
    bool orExpr(btkstring& out, int depth) { return chain(out, depth, "OR", &Reader::andExpr); }
    bool andExpr(btkstring& out, int depth) { return chain(out, depth, "AND", &Reader::notExpr); }
    // operand {keyword operand}, each pair bracketed so the written SQL keeps
    // the order in which it was read.
    bool chain(btkstring& out, int depth, const char* keyword, bool (Reader::*operand)(btkstring&, int)) {
        if (!(this->*operand)(out, depth)) return false;
        while (isKeyword(keyword)) {
            btkstring right;
            if (!advance() || !(this->*operand)(right, depth)) return false;
            out = btkstring("(") + out + " " + keyword + " " + right + ")";
        }
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
        return operand(out) && test(out);
    }
    // The test of the operand in out, appended to it.
    bool test(btkstring& out) {
        for (const char* op : {"=", "<>", "<", ">", "<=", ">="}) {
            if (!isPunct(op)) continue;
            btkstring right;
            if (!advance() || !operand(right)) return false;
            out += op;
            out += right;
            return true;
        }
        if (isKeyword("IS")) {
            if (!advance()) return false;
            bool negated = isKeyword("NOT");
            if (negated && !advance()) return false;
            if (!isKeyword("NULL")) return refuse("NULL expected");
            out += negated ? " IS NOT NULL" : " IS NULL";
            return advance();
        }
        bool negated = isKeyword("NOT");
        if (negated && !advance()) return false;
        if (isKeyword("LIKE")) {
            btkstring pattern;
            if (!advance() || !operand(pattern)) return false;
            out += (negated ? " NOT LIKE " : " LIKE ") + pattern;
            return true;
        }
        if (isKeyword("IN")) return inList(out, negated);
        return refuse("a comparison, LIKE, IN or IS expected");
    }
    bool inList(btkstring& out, bool negated) {
        if (!advance()) return false;
        if (!isPunct("(")) return refuse("'(' expected");
        out += negated ? " NOT IN (" : " IN (";
        for (;;) {
            btkstring item;
            if (!advance() || !literal(item)) return false;
            out += item;
            if (!isPunct(",")) break;
            out += ",";
        }
        if (!isPunct(")")) return refuse("')' expected");
        out += ")";
        return advance();
    }
    bool operand(btkstring& out) {
        if (cur.kind != Kind::Word) return literal(out);
        for (int i = 0; i < columns.count(); ++i)
            if (strcasecmp(columns[i], cur.text) == 0) {
                out = quoted[i];
                return advance();
            }
        const char* after = p;
        while (*after && static_cast<unsigned char>(*after) <= ' ') ++after;
        return refuse(btkFormat(*after == '(' ? "function call %s" : "unknown column %s", cur.text.c_str()));
    }
    // A literal becomes the next parameter mark; its value is kept apart.
    bool literal(btkstring& out) {
        btkstring sign;
        if (cur.kind == Kind::Minus) {
            if (!advance()) return false;
            sign = "-";
        }
        if (cur.kind != Kind::String && cur.kind != Kind::Number) return refuse("a column or a literal expected");
        if (!sign.empty() && cur.kind != Kind::Number) return refuse("a number expected");
        values.add(sign + cur.text);
        out = btkFormat("$%d", values.count());
        return advance();
    }

    const char* text;
    const char* p = text;
    const btkStrings& columns;
    const btkStrings& quoted;
    btkStrings& values;
    Token cur;
};

}  // namespace

bool dbwParseSyncCondition(const char* text, const btkStrings& columns, const btkStrings& quoted, dbwSyncCondition& out,
                           btkstring& reason) {
    out = dbwSyncCondition();
    reason = btkstring();
    const char* start = text ? text : "";
    while (*start && static_cast<unsigned char>(*start) <= ' ') ++start;
    if (!*start) return true;
    btkStrings values;
    Reader reader(text, columns, quoted, values);
    btkstring sql;
    if (!reader.read(sql)) {
        reason = reader.reason;
        return false;
    }
    out.sql = btkstring("(") + sql + ")";
    out.values = values;
    return true;
}
