// dbwFormatSQL: builds an SQL text from a format and typed arguments.
//   %i  identifier, quoted by the adapter's engine
//   %s  string literal: between single quotes, quotes doubled
//   %q  raw text
//   %d  decimal number
//   %%  one percent sign
// Any other character after % is copied as text; a % at the end writes
// nothing. A directive without an argument left writes nothing.
#pragma once

#include <initializer_list>

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

class dbwAdapter;

// One argument: a text or a number (each directive takes the form it needs).
class dbwSQLArg {
public:
    dbwSQLArg(const char* s) : text(s), number(btkAtoi(s)) {}
    dbwSQLArg(const btkstring& s) : text(s), number(btkAtoi(s)) {}
    dbwSQLArg(int n) : text(btkIntToStr(n)), number(n) {}

    const btkstring& asText() const { return text; }
    int asInt() const { return number; }

private:
    btkstring text;
    int number;
};

using dbwSQLArgs = std::initializer_list<dbwSQLArg>;

btkstring dbwFormatSQL(dbwAdapter* adapter, const char* format, dbwSQLArgs args);
