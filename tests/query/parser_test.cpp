// The lexer's tokens, the condition grammar and its values, and every error
// text of a condition.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <string>

#include "query/sqlparser.h"
#include "queryenv.h"

namespace {

// The tokens of a text as "kind" or "kind:text", blank-separated.
std::string tokens(const char* text) {
    SqlParser p;
    p.setText(text);
    std::string out;
    do {
        p.nextToken();
        out += (out.empty() ? "" : " ") + std::to_string(p.token());
        if (!p.tokenText().empty()) out += ":" + std::string(p.tokenText().c_str());
    } while (p.token() != SQL_END);
    return out;
}

TEST(SqlLexer, Tokens) {
    const struct {
        const char* text;
        const char* tokens;
    } rows[] = {
        {"select SeLeCt selected", "267 267 260:SELECTED 274"},
        {"nazev @Capo_1", "260:NAZEV 260:@Capo_1 274"},
        {"a<>b a< >b =< >=<=&", "260:A 264 260:B 260:A 60 62 260:B 61 60 265 266 38 274"},
        {"in( AND) INTO ORDER or not AND'", "263 40 258 41 260:INTO 260:ORDER 257 259 258 262 274"},
        {"update set delete from where", "268 269 270 271 272 274"},
        {"'it''s' \"a'b\" 'open", "262:it 262:s 262:a'b 262:open 274"},
        {"x_1 _x", "260:X_1 95 260:X 274"},
        {"-5 1.5 007", "45 261:5 261:1 46 261:5 261:007 274"},
        {"\xe1 \x9a", "-31 -102 274"},
        {" \t\r\n", "274"},
    };
    for (const auto& r : rows) EXPECT_EQ(tokens(r.text), r.tokens) << r.text;
}

class Condition : public QueryTest {
protected:
    // The value for the first song, or "error: " and the box text.
    std::string value(const char* condition) {
        btkDefaultMessageBoxes().reset();
        const SongExprPtr e = parseQueryCondition(condition);
        if (!e.isSet()) return "error: " + (boxes().empty() ? std::string("none") : boxes().back());
        return e->evaluate(db->songs[0]).c_str();
    }
    // The offset the parse error names, or -1 when the condition parses.
    static int errorOffset(const char* condition) {
        SqlParser parser;
        parser.setText(condition);
        try {
            const SongExprPtr e = parser.parseExpression(true);
        } catch (const ParseError& e) {
            return e.offset;
        }
        return -1;
    }
};

TEST_F(Condition, Values) {
    const struct {
        const char* condition;
        const char* value;
    } rows[] = {
        {"nazev = 'Hymna'", "1"},
        {"title = 'hymna'", ""},
        {"'hymna' IN TITLE", "1"},
        {"'laska je' in text", "1"},
        {"TITLE & ' / ' & AUTHOR = 'Hymna / X'", "1"},
        {"TITLE & ' / ' & AUTHOR", "Hymna / X"},
        {"NOT TITLE = 'X'", "1"},
        {"TITLE <> 'X'", "1"},
        {"@capo = '2'", "1"},
        {"@Capo", ""},
        {"'abc' < 1", "1"},
        {"'2147483647' > '-2147483648'", "1"},
        {"'-2147483648' >= 1", ""},
        {"' 12x' <= 12", "1"},
        {"007", "007"},
        {"NONET & NETMODIFIED & LOCID & NETID", "1010"},
        {"NOT (NOT NONET)", "1"},
        {"NOT '0'", "1"},
        {"NOT '00'", ""},
        {"1 OR 0 AND 0", "1"},
        {"(1 OR 0) AND 0", ""},
        {"0 OR '' OR 'x'", "1"},
        {"LOCID > 0 AND LOCID <= 1 AND GROUP = 'A' AND SKUPINA = 'A'", "1"},
        {"DATE('')", "0"},
        {"DATE('x')", "-1"},
        {"DATE('31.12.1969 23:00:00')", "-1"},
        {"date('1.1.2038')", "2145913200"},
        {"DATE('1.1.2038') > DATE('31.12.2037')", "1"},
        {"DATE('19.1.2038 04:14:07')", "2147483647"},
        {"DATE('19.1.2038 04:14:08')", "-1"},
        {"DATE('1.7.2005 12:00:00')", "1120212000"},
        {"DATE('31.12.2037 23:59:59')", "2145913199"},
        {"DATE('1.1.2005') > DATE(@datum)", "1"},
    };
    // Central European time, summer time included, without the tz database.
    const char* oldTz = getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    for (const auto& r : rows) EXPECT_EQ(value(r.condition), r.value) << r.condition;
    oldTz ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
}

TEST_F(Condition, Errors) {
    // offset: where the refused token (or the unknown name) starts.
    const struct {
        const char* condition;
        const char* error;
        int offset;
    } rows[] = {
        {"", "Syntaktická chyba - neočekáváno: konec dotazu", 0},
        {"NOT NOT NONET", "Syntaktická chyba - neočekáváno: NOT", 4},
        {"TITLE = \xe1", "Syntaktická chyba - neočekáváno: znak \xe1", 8},
        {"1 = 1 = 1", "Očekáván konec dotazu, nalezen znak =", 6},
        {"(1  ", "Očekáváno znak ), nalezeno konec dotazu", 4},
        {"DATE(1 2)", "Očekáváno znak ), nalezeno číslo", 7},
        {" FOO(1)", "Neznámá funkce:FOO", 1},
        {"foo()", "Neznámá funkce:FOO", 0},
        {"1 & DATE()", "funkce DATE má mít 1 parametr", 4},
        {"DATE(1, 2)", "funkce DATE má mít 1 parametr", 0},
        {"TITLE = LANG", "Neznámá proměnná LANG", 8},
        {"LANG = 'cz'", "Neznámá proměnná LANG", 0},
        {"TITLE IN 'a' SELECT", "Očekáván konec dotazu, nalezen SELECT", 13},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(value(r.condition), std::string("error: ") + r.error) << r.condition;
        EXPECT_EQ(errorOffset(r.condition), r.offset) << r.condition;
    }
}

// Nesting is limited before it can run the stack out; the limit itself parses.
TEST_F(Condition, NestingDepth) {
    const auto nest = [](int n, const std::string& open, const std::string& inner, const char* close) {
        std::string text;
        for (int i = 0; i < n; ++i) text += open;
        text += inner;
        for (int i = 0; i < n; ++i) text += close;
        return text;
    };
    const std::string tooDeep = "error: Výraz je příliš hluboce vnořený (nejvýše 256 úrovní závorek)";
    const struct {
        std::string condition;
        std::string value;
    } rows[] = {
        {nest(SqlParser::maxDepth, "(", "1", ")"), "1"},
        {nest(SqlParser::maxDepth - 1, "(", "DATE('')", ")"), "0"},
        {nest(SqlParser::maxDepth + 1, "(", "1", ")"), tooDeep},
        {nest(20000, "(", "1", ")"), tooDeep},
        {nest(20000, "(", "", ""), tooDeep},
        {nest(20000, "NOT (", "1", ")"), tooDeep},
        {nest(5000, "DATE(", "''", ")"), tooDeep},
    };
    for (const auto& r : rows) EXPECT_EQ(value(r.condition.c_str()), r.value) << r.condition.substr(0, 20);
}

}  // namespace
