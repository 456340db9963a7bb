// Conditions of the query language, loosest binding first:
//   or:      and { OR and }
//   and:     not { AND not }
//   not:     [ NOT ] comparison
//   compare: concat [ (= | <> | IN | > | < | >= | <=) concat ]
//   concat:  primary { & primary }
//   primary: ( or ) | name ( [ or { , or } ] ) | field | @variable | number | string
#include "query/sqlparser.h"

#include "foundation/btkmessagebox.h"

namespace {

// Wraps the operands in one node of the poly class when there are several.
template <class Poly, class Next> SongExprPtr parseList(SqlParser& parser, int separator, Next next) {
    SongExprPtr first = next();
    if (parser.token() != separator) return first;
    btkAutoPtr<Poly> poly(new Poly);
    poly->add(first.release());
    while (parser.token() == separator) {
        parser.nextToken();
        poly->add(next().release());
    }
    return SongExprPtr(poly.release());
}

}  // namespace

// One more level of nesting for the length of a parenthesis or a call.
class SqlParser::DepthGuard {
public:
    explicit DepthGuard(SqlParser& parser) : parser(parser) {
        if (parser.depth >= maxDepth)
            parser.fail(btkFormat("Výraz je příliš hluboce vnořený (nejvýše %d úrovní závorek)", maxDepth));
        ++parser.depth;
    }
    ~DepthGuard() { --parser.depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    SqlParser& parser;
};

SongExprPtr SqlParser::parseExpression(bool requireEnd) {
    start();
    SongExprPtr e = parseOr();
    if (requireEnd && kind != SQL_END) fail(btkFormat("Očekáván konec dotazu, nalezen %s", tokenName(kind).c_str()));
    return e;
}

void SqlParser::expect(int expected) {
    if (kind != expected)
        fail(btkFormat("Očekáváno %s, nalezeno %s", tokenName(expected).c_str(), tokenName(kind).c_str()));
    nextToken();
}

SongExprPtr SqlParser::parseOr() {
    return parseList<SongOrExpr>(*this, SQL_OR, [this] { return parseAnd(); });
}

SongExprPtr SqlParser::parseAnd() {
    return parseList<SongAndExpr>(*this, SQL_AND, [this] { return parseNot(); });
}

SongExprPtr SqlParser::parseNot() {
    if (kind != SQL_NOT) return parseComparison();
    nextToken();
    // A second NOT cannot start a comparison: NOT NOT x is an error.
    return SongExprPtr(new SongNotExpr(parseComparison().release()));
}

SongExprPtr SqlParser::parseComparison() {
    SongExprPtr left = parseConcatenation();
    const int op = kind;
    switch (op) {
    case '=':
    case SQL_NEQ:
    case SQL_IN:
    case '>':
    case '<':
    case SQL_GE:
    case SQL_LE: break;
    default: return left;
    }
    nextToken();
    SongExprPtr right = parseConcatenation();
    SongExpr* l = left.release();
    SongExpr* r = right.release();
    switch (op) {
    case '=': return SongExprPtr(new SongEqExpr(l, r));
    case SQL_NEQ: return SongExprPtr(new SongNeqExpr(l, r));
    case SQL_IN: return SongExprPtr(new SongInExpr(l, r));
    case '>': return SongExprPtr(new SongGtExpr(l, r));
    case '<': return SongExprPtr(new SongLtExpr(l, r));
    case SQL_GE: return SongExprPtr(new SongGeExpr(l, r));
    default: return SongExprPtr(new SongLeExpr(l, r));
    }
}

SongExprPtr SqlParser::parseConcatenation() {
    return parseList<SongCatExpr>(*this, '&', [this] { return parsePrimary(); });
}

SongExprPtr SqlParser::parsePrimary() {
    switch (kind) {
    case '(': {
        const DepthGuard nested(*this);
        nextToken();
        SongExprPtr e = parseOr();
        expect(')');
        return e;
    }
    case SQL_IDENT: {
        const btkstring name = tokenText();
        nextToken();
        return kind == '(' ? parseCall(name) : parseName(name);
    }
    case SQL_NUMBER:
    case SQL_STRING: {
        SongExprPtr e(new SongConstExpr(tokenText()));
        nextToken();
        return e;
    }
    default: fail(btkFormat("Syntaktická chyba - neočekáváno: %s", tokenName(kind).c_str()));
    }
}

SongExprPtr SqlParser::parseCall(const btkstring& name) {
    const DepthGuard nested(*this);
    const int nameAt = previousAt;  // the current token is "("
    nextToken();                    // past "("
    const btkstring upper = name.upper();
    btkAutoPtr<SongCallExpr> call(
        new SongCallExpr(upper == "DATE" ? SongCallExpr::FN_DATE : SongCallExpr::FN_NONE, upper));
    if (kind == ')') {
        nextToken();
    } else {
        for (;;) {
            call->add(parseOr().release());
            if (kind != ',') break;
            nextToken();
        }
        expect(')');
    }
    if (call->function != SongCallExpr::FN_DATE) failAt(btkFormat("Neznámá funkce:%s", upper.c_str()), nameAt);
    if (call->count() != 1) failAt("funkce DATE má mít 1 parametr", nameAt);
    return SongExprPtr(call.release());
}

SongExprPtr SqlParser::parseName(const btkstring& name) {
    if (name.startsWith("@")) return SongExprPtr(new VarSongExpr(name.substr(1, name.length() - 1)));
    SongExpr* field = NewSongFieldExpr(QueryFieldOf(name));
    if (!field) failAt(btkFormat("Neznámá proměnná %s", name.c_str()), previousAt);  // the name was read
    return SongExprPtr(field);
}

SongExprPtr parseQueryCondition(const char* text) {
    SqlParser parser;
    parser.setText(text);
    try {
        return parser.parseExpression(true);
    } catch (const ParseError& e) {
        ErrorBox(e.message);
        return SongExprPtr();
    }
}
