#include "foundation/btkconverter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

btkConverter::btkConverter(const char* from, const char* to) {
    if (!from || !to || !*from || !*to || std::strcmp(from, to) == 0) return;
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

btkstring btkConverter::convert(const char* text) {
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
        size_t before = inLeft;
        size_t rc = iconv(handle, &in, &inLeft, &out, &outLeft);
        *out = 0;
        result.append(chunk);
        if (rc == static_cast<size_t>(-1) && inLeft == before) break;
    }
    char* out = chunk;
    size_t outLeft = sizeof chunk - 1;
    iconv(handle, nullptr, nullptr, &out, &outLeft);  // closing shift sequence, if any
    *out = 0;
    result.append(chunk);
    return result;
}
