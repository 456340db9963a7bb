// The download condition of a synchronisation run. The user's text is read
// into a small grammar and written back as SQL made only of the grammar's
// own words, the table's quoted column names and parameter marks: no byte
// of the text itself reaches the server as SQL, its literals travel as
// parameter values.
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
#pragma once

#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"

struct dbwSyncCondition {
    // The condition as one SQL expression in parentheses; "" for none.
    btkstring sql;
    // The literals' texts without their quotes, in the order of the marks
    // $1, $2, ... in sql.
    btkStrings values;
};

// Reads text over the columns; columns[i] is written as quoted[i]. An empty
// or blank text gives an empty condition. False, with reason naming the
// fault and its byte offset, when the text is not of the grammar; out is
// then left empty.
[[nodiscard]] bool dbwParseSyncCondition(const char* text, const btkStrings& columns, const btkStrings& quoted,
                                         dbwSyncCondition& out, btkstring& reason);
