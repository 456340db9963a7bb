#include "foundation/btkconverter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// A UTF-8 source skips a whole sequence at a character it cannot convert,
// so one character gives one '?'.
bool isUtf8(const char* name) {
    btkstring n;
    for (const char* c = name; *c; ++c)
        if (*c != '-' && *c != '_') n += *c;
    n.toUpper();
    return n == "UTF8";
}

// The lead byte with the continuation bytes (10xxxxxx) that follow it.
size_t sequenceLength(const char* s, size_t left) {
    auto lead = static_cast<unsigned char>(s[0]);
    size_t n = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    size_t k = 1;
    while (k < n && k < left && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80) ++k;
    return k;
}

}  // namespace

btkConverter::btkConverter(const char* from, const char* to) {
    if (!from || !to || !*from || !*to || std::strcmp(from, to) == 0) return;
    utf8Source = isUtf8(from);
    iconv_t h = iconv_open(to, from);
    if (h == reinterpret_cast<iconv_t>(-1)) {
        std::fprintf(stderr, "btkConverter: no conversion from %s to %s; texts stay unchanged\n", from, to);
        return;
    }
    handle = h;
}

btkConverter::~btkConverter() {
    if (handle) iconv_close(handle);
}

btkstring btkConverter::convert(const char* text, bool* exact) {
    if (exact) *exact = true;
    if (!text) return btkstring();
    if (!handle) return btkstring(text);
    btkLock lock(mutex);
    iconv(handle, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    btkstring result;
    char* in = const_cast<char*>(text);
    size_t inLeft = std::strlen(text);
    char chunk[256];
    while (inLeft > 0) {
        char* out = chunk;
        size_t outLeft = sizeof chunk - 1;
        size_t rc = iconv(handle, &in, &inLeft, &out, &outLeft);
        int error = rc == static_cast<size_t>(-1) ? errno : 0;
        *out = 0;
        result.append(chunk);
        if (error == 0 || error == E2BIG) continue;
        if (error != EILSEQ && error != EINVAL) break;
        // An unconvertible character, or a truncated one at the end.
        if (exact) *exact = false;
        result.append('?');
        size_t skip = utf8Source ? sequenceLength(in, inLeft) : 1;
        in += skip;
        inLeft -= skip;
    }
    char* out = chunk;
    size_t outLeft = sizeof chunk - 1;
    iconv(handle, nullptr, nullptr, &out, &outLeft);  // closing shift sequence, if any
    *out = 0;
    result.append(chunk);
    return result;
}
