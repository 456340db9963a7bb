// SqlParser: the lexer and the recursive-descent condition parser of the
// song query language (KxSQL). Statements (SELECT, UPDATE, DELETE) are built
// on it in query/kxquery.h.
//
// The lexer works on 8-bit text: blanks are bytes 1 to 32, letters are ASCII
// only, identifiers are upper-cased, variables (@name) keep their case and
// strings run to the next quote of the same kind (no escapes).
//
// Units: sqllexer.cpp (tokens), sqlparser.cpp (expressions).
#pragma once

#include "foundation/btkstream.h"
#include "foundation/btkstring.h"
#include "query/songexpr.h"

// Token kinds. A character token has the byte's signed value (bytes above
// 127 give negative kinds).
enum SqlTokenKind : int {
    SQL_OR = 257,
    SQL_AND = 258,
    SQL_NOT = 259,
    SQL_IDENT = 260,  // identifier or @variable
    SQL_NUMBER = 261,
    SQL_STRING = 262,
    SQL_IN = 263,
    SQL_NEQ = 264,  // <>
    SQL_GE = 265,   // >=
    SQL_LE = 266,   // <=
    SQL_SELECT = 267,
    SQL_UPDATE = 268,
    SQL_SET = 269,
    SQL_DELETE = 270,
    SQL_FROM = 271,
    SQL_WHERE = 272,
    SQL_START = 273,  // nothing read yet
    SQL_END = 274,
};

// A syntax or name error; never leaves the two parse entry points. offset is
// the byte offset in the parsed text of the token that was refused (of the
// name, for an unknown name).
class ParseError {
public:
    ParseError(const btkstring& message, int offset) : message(message), offset(offset) {}
    btkstring message;
    int offset;
};

class SqlParser {
public:
    SqlParser() = default;
    SqlParser(const SqlParser&) = delete;
    SqlParser& operator=(const SqlParser&) = delete;

    // ---- lexer
    // Takes a copy of the text; the next token read is its first.
    void setText(const char* text);
    // Reads the next token into token() and tokenText().
    void nextToken();
    int token() const { return kind; }
    // Byte offset in the text of the current token (the end of the text for
    // SQL_END); 0 before the first.
    int tokenOffset() const { return tokenAt; }
    // The text of an identifier, variable, number or string; "" otherwise.
    btkstring tokenText() const { return btkstring(textOut.c_str()); }
    // How messages name a token kind ("znak %c" for characters).
    static btkstring tokenName(int kind);

    // ---- parser (every operation throws ParseError)
    // Reads the first token when nothing was read yet, parses an
    // OR-expression and, with requireEnd, fails unless the text ends there.
    SongExprPtr parseExpression(bool requireEnd);
    // Fails with "Očekáváno %s, nalezeno %s" unless the current token is of
    // that kind; then advances.
    void expect(int kind);
    // Reads the first token when nothing was read yet.
    void start() {
        if (kind == SQL_START) nextToken();
    }
    // Throws ParseError at the current token, or at the given offset.
    [[noreturn]] void fail(const btkstring& message) const { throw ParseError(message, tokenAt); }
    [[noreturn]] void failAt(const btkstring& message, int offset) const { throw ParseError(message, offset); }

    // The deepest nesting of parentheses and function calls a condition may
    // have: the parser, the evaluation and the release of the tree recurse
    // once per level, so hostile text must not run the stack out.
    static constexpr int maxDepth = 256;

private:
    class DepthGuard;

    SongExprPtr parseOr();
    SongExprPtr parseAnd();
    SongExprPtr parseNot();
    SongExprPtr parseComparison();
    SongExprPtr parseConcatenation();
    SongExprPtr parsePrimary();
    SongExprPtr parseCall(const btkstring& name);
    SongExprPtr parseName(const btkstring& name);

    // Lexer steps; true when the token was recognised.
    bool readOperator();
    bool readKeyword();
    void readWord(bool upper);
    void readString(char quote);

    int kind = SQL_START;
    int depth = 0;  // open parentheses and calls around the current token
    btkTextWriteStream textOut;
    btkstring input;
    const char* cursor = "";
    int tokenAt = 0;
    int previousAt = 0;
};

// Parses a whole condition (the text must end after it). On an error shows
// its message in the error box and returns null.
[[nodiscard]] SongExprPtr parseQueryCondition(const char* text);
