// Text helpers shared by the engines: literal quoting, the connection's
// quoting buffer and copying into fixed-size records.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

// dbwlib's own classes: dbw/ has classes of the same names, and a program
// may link both.
namespace dbwlib_detail {

// Copies source[0..length) to target, writing each single quote as two. The
// target must hold 2 * length + 1 bytes; it is zero-terminated. Gives the
// number of bytes written without the terminator. Only quotes are doubled:
// a backslash is an ordinary character in standard SQL literals.
size_t dbwQuoteLiteral(char* target, const char* source, size_t length);

// The same quoting into a new string.
std::string dbwQuotedLiteral(const char* source);

// Whether a name can stand in a quoted identifier whatever the engine: not
// empty, no control characters, and bytes above 127 only as whole UTF-8
// sequences (so no byte can end a multi-byte character and be read as the
// closing quote).
bool dbwSafeIdentifier(const char* name);

// Copies a text into a record field of the given size, cutting it to
// size - 1 bytes; a null source gives "".
void dbwCopyText(char* target, size_t size, const char* source);

// The growing buffer each connection owns for its quote operation. Its
// capacity only grows, to exactly twice a text's length plus one when a
// longer text comes, so a returned text stays valid until the next call.
class dbwQuoteBuffer {
public:
    // A buffer that holds at least 2 * length + 1 bytes.
    char* reserve(size_t length);

private:
    size_t m_capacity = 0;
    std::unique_ptr<char[]> m_data;
};

}  // namespace dbwlib_detail
