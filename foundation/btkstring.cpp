#include "foundation/btkstring.h"

#include <locale.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "foundation/btkerror.h"

namespace {

bool isBelow33(char c) { return static_cast<unsigned char>(c) < 33; }

}  // namespace

int btkstring::checkedLength(std::size_t n) {
    if (n > static_cast<std::size_t>(maxLength)) throw btkError(btkFormat("text longer than %d bytes", maxLength));
    return static_cast<int>(n);
}

int btkstring::capacityFor(int n) {
    std::size_t wanted = static_cast<std::size_t>(n) * 3 / 2;
    if (wanted < static_cast<std::size_t>(n) + 16) wanted = static_cast<std::size_t>(n) + 16;
    return wanted > static_cast<std::size_t>(maxLength) ? maxLength : static_cast<int>(wanted);
}

char* btkstring::allocate(int capacity, int length) {
    void* block = std::malloc(static_cast<size_t>(capacity) + sizeof(Header) + 1);
    if (!block) throw std::bad_alloc();
    auto* h = static_cast<Header*>(block);
    h->length = length;
    h->capacity = capacity;
    h->refcount = 1;
    char* t = reinterpret_cast<char*>(h + 1);
    t[length] = 0;
    return t;
}

void btkstring::releaseBuffer() noexcept {
    if (text && --header()->refcount == 0) std::free(header());
    text = nullptr;
}

void btkstring::assignText(const char* s, int n) {
    text = allocate(capacityFor(n), n);
    std::memcpy(text, s, static_cast<size_t>(n));
}

btkstring::btkstring(const char* s) : text(nullptr) {
    if (s) assignText(s, checkedLength(std::strlen(s)));
}

btkstring::btkstring(const btkstring& other) noexcept : text(other.text) {
    if (text) ++header()->refcount;
}

btkstring::btkstring(const btkstring& a, const btkstring& b) : text(nullptr) {
    int la = a.length(), lb = b.length();
    int total = checkedLength(static_cast<std::size_t>(la) + static_cast<std::size_t>(lb));
    text = allocate(capacityFor(total), total);
    std::memcpy(text, a.c_str(), static_cast<size_t>(la));
    std::memcpy(text + la, b.c_str(), static_cast<size_t>(lb));
}

btkstring& btkstring::operator=(const btkstring& other) noexcept {
    if (other.text) ++other.header()->refcount;
    releaseBuffer();
    text = other.text;
    return *this;
}

btkstring& btkstring::operator=(btkstring&& other) noexcept {
    if (this != &other) {
        releaseBuffer();
        text = other.text;
        other.text = nullptr;
    }
    return *this;
}

void btkstring::unshare() {
    if (!text || header()->refcount <= 1) return;
    const char* old = text;
    int n = header()->length;
    --header()->refcount;
    assignText(old, n);
}

void btkstring::ensureCapacity(int n) {
    if (!text) {
        text = allocate(capacityFor(n), 0);
        return;
    }
    if (n <= header()->capacity) return;
    char* old = text;
    int len = header()->length;
    text = allocate(capacityFor(n), len);
    std::memcpy(text, old, static_cast<size_t>(len) + 1);
    std::free(reinterpret_cast<Header*>(old) - 1);
}

char* btkstring::getBuffer(int n) {
    unshare();
    ensureCapacity(n < 0 ? 0 : checkedLength(static_cast<std::size_t>(n)));
    return text;
}

void btkstring::updateLength() {
    if (text) header()->length = static_cast<std::int32_t>(std::strlen(text));
}

btkstring& btkstring::append(char c) {
    if (c == 0) return *this;  // a NUL would end the text early
    unshare();
    int len = length();
    ensureCapacity(checkedLength(static_cast<std::size_t>(len) + 1));
    text[len] = c;
    text[len + 1] = 0;
    header()->length = len + 1;
    return *this;
}

btkstring& btkstring::append(const char* s) {
    if (!s || !*s) return *this;
    if (text && s >= text && s <= text + length()) {
        // The text to add lives in our own buffer, which growing may free.
        btkstring copy(s);
        return append(copy.c_str());
    }
    std::size_t add = std::strlen(s);
    int len = length();
    int total = checkedLength(static_cast<std::size_t>(len) + add);
    unshare();
    ensureCapacity(total);
    std::memcpy(text + len, s, add + 1);
    header()->length = total;
    return *this;
}

btkstring& btkstring::append(const btkstring& s) {
    if (!text) return *this = s;
    if (s.empty()) return *this;
    btkstring keep(s);  // keeps the other text alive if it is our own buffer
    int len = length(), add = keep.length();
    int total = checkedLength(static_cast<std::size_t>(len) + static_cast<std::size_t>(add));
    unshare();
    ensureCapacity(total);
    std::memcpy(text + len, keep.c_str(), static_cast<size_t>(add) + 1);
    header()->length = total;
    return *this;
}

btkstring& btkstring::operator+=(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", n);
    return append(buf);
}

btkstring btkstring::substr(int start, int count) const {
    int len = length();
    if (start < 0 || start >= len) return btkstring();
    if (count > len - start) count = len - start;
    if (count <= 0) return btkstring();
    btkstring r;
    r.assignText(text + start, count);
    r.text[count] = 0;
    return r;
}

bool btkstring::startsWith(const char* prefix) const { return btkStartsWith(prefix, c_str()); }

void btkstring::toUpper() {
    unshare();
    if (!text) return;
    for (char* p = text; *p; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
}

btkstring btkstring::upper() const {
    btkstring r(*this);
    r.toUpper();
    return r;
}

btkstring btkstring::trimmed() const {
    const char* b = c_str();
    const char* e = b + length();
    while (b < e && isBelow33(*b)) ++b;
    while (e > b && isBelow33(e[-1])) --e;
    if (e == b) return btkstring();
    btkstring r;
    r.assignText(b, static_cast<int>(e - b));
    r.text[e - b] = 0;
    return r;
}

void btkstring::trimRight() {
    int len = length();
    int n = len;
    while (n > 0 && isBelow33(text[n - 1])) --n;
    if (n == len) return;
    unshare();
    text[n] = 0;
    header()->length = n;
}

int btkstring::toInt() const { return btkAtoi(c_str()); }

double btkstring::toDouble() const {
    // Number texts always use a point, whatever the user's locale says.
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return strtod_l(c_str(), nullptr, cLocale);
}

btkstring operator+(const btkstring& a, const btkstring& b) { return btkstring(a, b); }
bool operator==(const btkstring& a, const btkstring& b) { return std::strcmp(a.c_str(), b.c_str()) == 0; }
bool operator==(const btkstring& a, const char* b) { return std::strcmp(a.c_str(), b ? b : "") == 0; }
bool operator!=(const btkstring& a, const btkstring& b) { return !(a == b); }
bool operator!=(const btkstring& a, const char* b) { return !(a == b); }

btkstring btkFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    btkstring r;
    if (n < 0) {
        va_end(again);
        return r;
    }
    if (n < static_cast<int>(sizeof small)) {
        va_end(again);
        return btkstring(small);
    }
    char* buf = r.getBuffer(n);
    std::vsnprintf(buf, static_cast<size_t>(n) + 1, format, again);
    va_end(again);
    r.updateLength();
    return r;
}

btkstring btkIntToStr(int n) { return btkFormat("%d", n); }

btkstring btkFloatToStr(double d) {
    btkstring s = btkFormat("%f", d);
    char* p = s.getBuffer(s.length());
    int n = s.length();
    if (std::strchr(p, '.')) {
        while (n > 0 && p[n - 1] == '0') p[--n] = 0;
        if (n > 0 && p[n - 1] == '.') p[--n] = 0;
    }
    s.updateLength();
    return s;
}

bool btkStartsWith(const char* prefix, const char* text) {
    if (!prefix) return true;
    if (!text) text = "";
    while (*prefix)
        if (*prefix++ != *text++) return false;
    return true;
}

int btkCopyRange(char* dest, const char* begin, const char* end) {
    size_t n = end ? static_cast<size_t>(end - begin) : std::strlen(begin);
    std::memcpy(dest, begin, n);
    dest[n] = 0;
    return static_cast<int>(n);
}

void btkTrimRight(char* s) {
    size_t n = std::strlen(s);
    while (n > 0 && isBelow33(s[n - 1])) s[--n] = 0;
}

const char* btkSkipBlanks(const char* s) {
    while (*s && isBelow33(*s)) ++s;
    return s;
}

int btkAtoi(const char* s) {
    if (!s) return 0;
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    unsigned value = 0;  // wraps like the C library on overflow, without the trap
    while (*s >= '0' && *s <= '9') value = value * 10u + static_cast<unsigned>(*s++ - '0');
    return static_cast<int>(negative ? 0u - value : value);
}
