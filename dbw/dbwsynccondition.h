// The download condition of a synchronisation run. The user's text is read
// into a small grammar and written back as SQL made only of the grammar's
// own words, the table's quoted column names, parameter marks and casts of
// marks: no byte of the text itself reaches the server as SQL, its literals
// travel as parameter values.
//
//   condition := or
//   or        := and { OR and }
//   and       := not { AND not }
//   not       := NOT not | '(' or ')' | operand test
//   test      := op operand | [NOT] LIKE operand | [NOT] IN '(' literal { ',' literal } ')'
//              | IS [NOT] NULL
//   op        := '=' | '<>' | '<' | '>' | '<=' | '>='
//   operand   := column | literal
//   literal   := 'text' (a quote doubled inside, no backslash) | [-]digits[.digits]
//
// Words match ignoring ASCII case; a column is one of the names given.
// Anything else (functions, subqueries, casts, other tables, comments,
// ';', other quoting forms) is refused.
//
// Every test names a column: a test of two literals (10 > 9, 'a' IN ('a'))
// and a literal tested for NULL are refused, as the server would compare
// them as texts of unknown type or fail on them. A number takes its type
// from the column it is compared with, so that it is compared as a number:
//   - integer columns (int, serial, bool, reference, smallint): the number
//     must be whole and fit the column (a fraction of zeros is allowed, 1.0
//     is 1, as in SQL); it is sent as CAST($n AS INTEGER);
//   - float and numeric columns: any number of at most 300 digits before
//     and 300 after the point, sent as CAST($n AS NUMERIC) and compared
//     exactly, as in SQL, also beyond the column's precision;
//   - other columns hold no numbers: the comparison is refused, as is a
//     number in LIKE.
// Texts stay parameters of unknown type, which the server reads as the
// column's type.
//
// AND and OR chains are read in one pass and written flat, one pair of
// parentheses per chain: the server's parser nests no deeper than the
// text's own parentheses.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"

// The size beyond which a condition is refused: the characters of its text,
// and its tests and IN values together. Both are far above any filter the
// program builds, and keep the parameters below the protocol's 65535.
constexpr int dbwSyncConditionMaxLength = 1000000;
constexpr int dbwSyncConditionMaxTerms = 10000;

struct dbwSyncCondition {
    // The condition as one SQL expression in parentheses; "" for none.
    btkstring sql;
    // The literals' texts without their quotes, in the order of the marks
    // $1, $2, ... in sql. A whole number compared with an integer column is
    // written without leading zeros and fraction.
    btkStrings values;
};

enum class dbwSyncConditionRead {
    Read,      // out holds the condition
    Refused,   // not of the grammar, or a test the server would not type
    TooLarge,  // beyond dbwSyncConditionMaxLength or dbwSyncConditionMaxTerms
};

// Reads text over the columns; columns[i] is written as quoted[i] and has
// the column type code types[i] (dbwFieldDesc::sqltype). An empty or blank
// text gives an empty condition. Unless Read, reason names the fault (and
// its byte offset, for a fault inside the text) and out is left empty.
[[nodiscard]] dbwSyncConditionRead dbwParseSyncCondition(const char* text, const btkStrings& columns,
                                                         const btkStrings& quoted, const btkCntVec<int>& types,
                                                         dbwSyncCondition& out, btkstring& reason);
