#include "foundation/btkconverter.h"

#include <algorithm>
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

// ---- text files users bring

namespace {

// Length of the well-formed UTF-8 sequence at s (at most left bytes), 0 when
// none starts there: no overlong forms, no surrogates, nothing past U+10FFFF.
size_t utf8SequenceAt(const unsigned char* s, size_t left) {
    const unsigned char lead = s[0];
    if (lead < 0x80) return 1;
    size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (left < n || s[1] < low || s[1] > high) return 0;
    for (size_t k = 2; k < n; ++k)
        if ((s[k] & 0xC0) != 0x80) return 0;
    return n;
}

// Valid UTF-8 holding at least one character beyond ASCII.
bool isNonAsciiUtf8(const std::string& bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    bool wide = false;
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = utf8SequenceAt(s + i, bytes.size() - i);
        if (n == 0) return false;
        wide = wide || n > 1;
        i += n;
    }
    return wide;
}

}  // namespace

btkstring btkUserTextToWindows1250(const std::string& bytes, int* replaced) {
    if (replaced) *replaced = 0;
    static const char bom[] = "\xEF\xBB\xBF";
    const bool marked = bytes.compare(0, 3, bom) == 0;
    const std::string body = marked ? bytes.substr(3) : bytes;
    if (!marked && !isNonAsciiUtf8(body)) return btkstring(body.c_str());
    static btkConverter fromUtf8("UTF-8", "CP1250");
    btkstring text = fromUtf8.convert(body.c_str());
    // Each character without a Windows-1250 form became one '?'; the '?'
    // of the file stay as they were.
    if (replaced) {
        const auto questionMarks = [](const char* s, size_t n) { return static_cast<int>(std::count(s, s + n, '?')); };
        *replaced =
            questionMarks(text.c_str(), static_cast<size_t>(text.length())) - questionMarks(body.data(), body.size());
    }
    return text;
}
