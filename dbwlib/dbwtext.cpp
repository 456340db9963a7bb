#include "dbwtext.h"

#include <cstring>

namespace dbwlib_detail {

size_t dbwQuoteLiteral(char* target, const char* source, size_t length) {
    size_t written = 0;
    for (size_t i = 0; i < length && source[i] != '\0'; ++i) {
        if (source[i] == '\'') target[written++] = '\'';
        target[written++] = source[i];
    }
    target[written] = '\0';
    return written;
}

std::string dbwQuotedLiteral(const char* source) {
    std::string out;
    for (const char* p = source ? source : ""; *p; ++p) {
        if (*p == '\'') out += '\'';
        out += *p;
    }
    return out;
}

bool dbwSafeIdentifier(const char* name) {
    if (!name || !*name) return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p;) {
        unsigned char c = *p++;
        if (c < 0x20 || c == 0x7f) return false;
        if (c < 0x80) continue;
        int more = c >= 0xc2 && c <= 0xdf ? 1 : c >= 0xe0 && c <= 0xef ? 2 : c >= 0xf0 && c <= 0xf4 ? 3 : -1;
        if (more < 0) return false;
        for (; more > 0; --more, ++p)
            if ((*p & 0xc0) != 0x80) return false;
    }
    return true;
}

void dbwCopyText(char* target, size_t size, const char* source) {
    if (size == 0) return;
    size_t length = source ? strnlen(source, size - 1) : 0;
    if (length) memcpy(target, source, length);
    target[length] = '\0';
}

char* dbwQuoteBuffer::reserve(size_t length) {
    size_t needed = 2 * length + 1;
    if (needed > m_capacity) {
        m_data = std::make_unique<char[]>(needed);
        m_capacity = needed;
    }
    return m_data.get();
}

}  // namespace dbwlib_detail
