#include "foundation/btkstream.h"

#include <zlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "foundation/btkfile.h"

void btkReadStream::setFailed(const char* why) {
    if (!error) errText = why;
    error = true;
}

void btkWriteStream::setFailed(const char* why) {
    if (!error) errText = why;
    error = true;
}

btkWriteStream& btkWriteStream::operator<<(const char* text) {
    if (text) write(text, static_cast<int>(std::strlen(text)));
    return *this;
}

btkWriteStream& btkWriteStream::operator<<(char c) {
    write(&c, 1);
    return *this;
}

btkWriteStream& btkWriteStream::writeInt(int n) {
    char digits[16];
    int len = std::snprintf(digits, sizeof digits, "%d", n);
    write(digits, len);
    return *this;
}

// ---- plain files

btkFileReadStream::btkFileReadStream(const char* fileName, const char* mode)
    : file(btkOpenFile(fileName, mode)), textMode(btkIsTextMode(mode)) {}

btkFileReadStream::~btkFileReadStream() {
    if (file) std::fclose(file);
}

int btkFileReadStream::read(char* buffer, int max) {
    if (!file || max <= 0) return 0;
    size_t n = textMode ? btkTextModeRead(file, buffer, static_cast<size_t>(max))
                        : std::fread(buffer, 1, static_cast<size_t>(max), file);
    if (n == 0 && std::ferror(file)) setFailed(std::strerror(errno));
    return static_cast<int>(n);
}

btkFileWriteStream::btkFileWriteStream(const char* fileName, const char* mode)
    : file(btkOpenFile(fileName, mode)), textMode(btkIsTextMode(mode)) {
    if (!file) setFailed(std::strerror(errno));
}

btkFileWriteStream::~btkFileWriteStream() { close(); }

void btkFileWriteStream::write(const char* buffer, int length) {
    if (!file || length <= 0) return;
    bool ok = textMode ? btkTextModeWrite(file, buffer, static_cast<size_t>(length))
                       : std::fwrite(buffer, 1, static_cast<size_t>(length), file) == static_cast<size_t>(length);
    if (!ok) setFailed(std::strerror(errno));
}

bool btkFileWriteStream::close() {
    if (file) {
        // fclose flushes the C library's buffer: a full disk often shows
        // only here.
        if (std::fflush(file) != 0) setFailed(std::strerror(errno));
        if (std::fclose(file) != 0) setFailed(std::strerror(errno));
        file = nullptr;
    }
    return !failed();
}

// ---- memory

int btkBufferReadStream::read(char* buffer, int max) {
    int n = size - pos;
    if (max < n) n = max;
    if (n <= 0) return 0;
    std::memcpy(buffer, data + pos, static_cast<size_t>(n));
    pos += n;
    return n;
}

btkStringWriteStream::~btkStringWriteStream() { std::free(buf); }

void btkStringWriteStream::write(const char* buffer, int length) {
    if (length <= 0) return;
    int total = btkstring::checkedLength(static_cast<std::size_t>(len) + static_cast<std::size_t>(length));
    if (total > cap) {
        std::size_t doubled = 2 * static_cast<std::size_t>(total);
        int newCap = doubled > static_cast<std::size_t>(btkstring::maxLength) ? btkstring::maxLength
                                                                               : static_cast<int>(doubled);
        char* grown = static_cast<char*>(std::realloc(buf, static_cast<size_t>(newCap) + 1));
        if (!grown) throw std::bad_alloc();
        buf = grown;
        cap = newCap;
    }
    std::memcpy(buf + len, buffer, static_cast<size_t>(length));
    len = total;
    buf[len] = 0;
}

void btkStringWriteStream::clear() {
    len = 0;
    if (buf) buf[0] = 0;
}

// ---- gzip files

namespace {

btkstring gzErrorText(gzFile file) {
    int code = 0;
    const char* text = gzerror(file, &code);
    if (code == Z_ERRNO) return btkstring(std::strerror(errno));
    return btkstring(text && *text ? text : "gzip error");
}

}  // namespace

namespace {

// zlib's own buffers are 8 KiB: larger ones mean fewer system calls and
// longer runs of the packer.
constexpr unsigned gzBufferSize = 128 * 1024;

gzFile openGZ(const char* fileName, const char* mode) {
    gzFile file = gzopen(fileName, mode);
    if (file) gzbuffer(file, gzBufferSize);
    return file;
}

}  // namespace

btkGZReadStream::btkGZReadStream(const char* fileName, const char* mode) : file(openGZ(fileName, mode)) {}

btkGZReadStream::~btkGZReadStream() {
    if (file) gzclose(file);
}

int btkGZReadStream::read(char* buffer, int max) {
    if (!file || max <= 0 || failed()) return 0;
    int n = gzread(file, buffer, static_cast<unsigned>(max));
    if (n < 0) {
        setFailed(gzErrorText(file));
        return 0;
    }
    if (n == 0) {
        // zlib reports a file that ends inside the compressed data at the end.
        int code = Z_OK;
        gzerror(file, &code);
        if (code != Z_OK) setFailed(gzErrorText(file));
    }
    return n;
}

btkGZWriteStream::btkGZWriteStream(const char* fileName, const char* mode) : file(openGZ(fileName, mode)) {
    if (!file) setFailed(errno ? std::strerror(errno) : "cannot open the file");
}

btkGZWriteStream::~btkGZWriteStream() { close(); }

void btkGZWriteStream::write(const char* buffer, int length) {
    if (!file || length <= 0) return;
    if (gzwrite(file, buffer, static_cast<unsigned>(length)) != length) setFailed(gzErrorText(file));
}

bool btkGZWriteStream::close() {
    if (file) {
        errno = 0;
        int rc = gzclose(file);
        file = nullptr;
        if (rc != Z_OK) setFailed(rc == Z_ERRNO && errno ? std::strerror(errno) : "gzip error on closing");
    }
    return !failed();
}
