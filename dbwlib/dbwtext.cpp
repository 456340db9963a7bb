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
