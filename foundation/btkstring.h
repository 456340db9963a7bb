// btkstring: the one string type of the program. An 8-bit (Windows-1250)
// text whose buffer is shared between copies through a reference count and
// copied only before a holder writes to it.
#pragma once

#include <cstddef>
#include <cstdint>

template <class T> struct btkRelocatable;

class btkstring {
public:
    // Longest text a string (or a string write stream) holds; growing beyond
    // it throws btkError "text longer than 1073741824 bytes".
    static constexpr int maxLength = 1 << 30;
    // n as a length, or that btkError when it exceeds maxLength.
    static int checkedLength(std::size_t n);

    btkstring() noexcept : text(nullptr) {}
    btkstring(const char* s);
    btkstring(const btkstring& other) noexcept;
    btkstring(btkstring&& other) noexcept : text(other.text) { other.text = nullptr; }
    // Concatenation: one buffer holding a's text followed by b's.
    btkstring(const btkstring& a, const btkstring& b);
    ~btkstring() { releaseBuffer(); }

    btkstring& operator=(const btkstring& other) noexcept;
    btkstring& operator=(btkstring&& other) noexcept;
    btkstring& operator=(const char* s) { return *this = btkstring(s); }

    const char* c_str() const noexcept { return text ? text : ""; }
    operator const char*() const noexcept { return c_str(); }
    int length() const noexcept { return text ? header()->length : 0; }
    bool empty() const noexcept { return length() == 0; }

    // Detach: a shared buffer is replaced by a private copy of the text.
    void unshare();
    // Makes room for at least n characters in a private buffer and returns
    // the writable text; call updateLength after writing into it.
    char* getBuffer(int n);
    // Restores the length after direct writes (position of the first NUL).
    void updateLength();

    btkstring& append(char c);
    btkstring& append(const char* s);
    btkstring& append(const btkstring& s);
    btkstring& operator+=(char c) { return append(c); }
    btkstring& operator+=(const char* s) { return append(s); }
    btkstring& operator+=(const btkstring& s) { return append(s); }
    btkstring& operator+=(int n);

    // At most count characters from start, clipped at the end; "" when start
    // is negative, at or beyond the end, or the clipped count is not positive.
    btkstring substr(int start, int count) const;
    bool startsWith(const char* prefix) const;
    void toUpper();  // a-z only; other bytes stay
    btkstring upper() const;
    btkstring trimmed() const;  // without leading and trailing codes below 33
    void trimRight();           // cuts trailing codes below 33 in place
    int toInt() const;
    double toDouble() const;

    // Number of strings sharing the buffer (0 for a null string); for tests
    // and diagnostics.
    int shareCount() const noexcept { return text ? header()->refcount : 0; }
    int capacity() const noexcept { return text ? header()->capacity : 0; }

private:
    struct Header {
        std::int32_t length;
        std::int32_t capacity;
        std::int32_t refcount;
    };
    static_assert(sizeof(Header) == 12);

    Header* header() const noexcept { return reinterpret_cast<Header*>(text - sizeof(Header)); }
    // Half as much again, at least 16 more, never beyond maxLength (n is
    // already checked against it); computed in size_t so it cannot overflow.
    static int capacityFor(int n);
    static char* allocate(int capacity, int length);
    void assignText(const char* s, int n);
    void ensureCapacity(int n);
    void releaseBuffer() noexcept;

    char* text;
};

// A string is one pointer: arrays may move it by a byte copy.
template <> struct btkRelocatable<btkstring> { static constexpr bool value = true; };

btkstring operator+(const btkstring& a, const btkstring& b);
bool operator==(const btkstring& a, const btkstring& b);
bool operator==(const btkstring& a, const char* b);
bool operator!=(const btkstring& a, const btkstring& b);
bool operator!=(const btkstring& a, const char* b);

// printf-style formatting into a string of whatever size the result needs.
btkstring btkFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
btkstring btkIntToStr(int n);
// "%f" without trailing zeros and then without a trailing point: 1.5, 2, 0.
btkstring btkFloatToStr(double d);
bool btkStartsWith(const char* prefix, const char* text);
// Copies [begin, end) (the whole C string when end is null) into dest and
// terminates it; returns the number of characters copied.
int btkCopyRange(char* dest, const char* begin, const char* end);
void btkTrimRight(char* s);
const char* btkSkipBlanks(const char* s);
// The C library's atoi, free of the locale and of overflow traps.
int btkAtoi(const char* s);
inline int btkMax(int a, int b) { return a > b ? a : b; }
