#include "foundation/btkstream.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>

#include "foundation/btkfile.h"
#include "foundation/btksyspath.h"
#include "foundation/btkthread.h"

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
    : btkFileWriteStream(btkOpenFile(fileName, mode), btkIsTextMode(mode)) {}

btkFileWriteStream::btkFileWriteStream(std::FILE* file, bool textMode) : file(file), textMode(textMode) {
    if (!file) setFailed(errno ? std::strerror(errno) : "soubor nelze otevřít");
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
        int newCap =
            doubled > static_cast<std::size_t>(btkstring::maxLength) ? btkstring::maxLength : static_cast<int>(doubled);
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

// zlib's texts are English: the user reads why a file failed by its code.
btkstring gzErrorText(gzFile file) {
    int code = 0;
    gzerror(file, &code);
    switch (code) {
    case Z_ERRNO: return btkstring(std::strerror(errno));
    case Z_BUF_ERROR: return "soubor gzip je neúplný";
    case Z_DATA_ERROR: return "komprimovaná data gzip jsou poškozená";
    case Z_MEM_ERROR: return "nedostatek paměti pro rozbalení souboru gzip";
    default: return "chyba čtení souboru gzip";
    }
}

}  // namespace

namespace {

// zlib's own buffers are 8 KiB: larger ones mean fewer system calls and
// longer runs of the packer.
constexpr unsigned gzBufferSize = 128 * 1024;

gzFile openGZ(const char* fileName, const char* mode) {
    gzFile file = gzopen(btkSysPath(fileName).c_str(), mode);
    if (file) gzbuffer(file, gzBufferSize);
    return file;
}

}  // namespace

namespace {

constexpr size_t unpackChunk = 256 * 1024;
constexpr size_t chunksAhead = 4;

}  // namespace

btkGZReadStream::btkGZReadStream(const char* fileName, const char* mode) : file(openGZ(fileName, mode)) {
    current.end = !file;
    if (file) worker = std::thread([this] { unpackAhead(); });
}

btkGZReadStream::~btkGZReadStream() {
    if (worker.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        worker.join();
    }
    if (file) gzclose(file);
}

void btkGZReadStream::unpackAhead() {
    for (;;) {
        Chunk chunk;
        chunk.data.resize(unpackChunk);
        int n = gzread(file, chunk.data.data(), static_cast<unsigned>(unpackChunk));
        chunk.data.resize(n > 0 ? static_cast<size_t>(n) : 0);
        if (n < 0) {
            chunk.end = true;
            chunk.error = gzErrorText(file);
        } else if (n == 0) {
            // zlib reports a file that ends inside the compressed data at the end.
            chunk.end = true;
            int code = Z_OK;
            gzerror(file, &code);
            if (code != Z_OK) chunk.error = gzErrorText(file);
        }
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return stopping || ready.size() < chunksAhead; });
        if (stopping) return;
        bool end = chunk.end;
        ready.push_back(std::move(chunk));
        changed.notify_all();
        if (end) return;
    }
}

int btkGZReadStream::read(char* buffer, int max) {
    if (max <= 0) return 0;
    while (used == current.data.size()) {
        if (current.end) {
            if (!current.error.empty()) setFailed(current.error);
            return 0;
        }
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return !ready.empty(); });
        current = std::move(ready.front());
        ready.pop_front();
        used = 0;
        changed.notify_all();
    }
    size_t n = std::min(static_cast<size_t>(max), current.data.size() - used);
    std::memcpy(buffer, current.data.data() + used, n);
    used += n;
    return static_cast<int>(n);
}

// ---- gzip writing on every core

namespace {

constexpr size_t packBlock = 128 * 1024;
constexpr size_t dictionarySize = 32 * 1024;

int levelOf(const char* mode) {
    for (const char* m = mode ? mode : ""; *m; ++m)
        if (*m >= '0' && *m <= '9') return *m - '0';
    return Z_DEFAULT_COMPRESSION;
}

}  // namespace

struct btkGZWriteStream::Block {
    std::string input, output;
    unsigned long crc = 0;
    bool ok = false;
};

std::unique_ptr<btkGZWriteStream::Block> btkGZWriteStream::pack(std::unique_ptr<Block> block, std::string dictionary,
                                                                int level, bool last) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return block;
    if (!dictionary.empty())
        deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary.data()),
                             static_cast<uInt>(dictionary.size()));
    block->output.resize(deflateBound(&z, static_cast<uLong>(block->input.size())) + 64);
    z.next_in = reinterpret_cast<Bytef*>(block->input.data());
    z.avail_in = static_cast<uInt>(block->input.size());
    z.next_out = reinterpret_cast<Bytef*>(block->output.data());
    z.avail_out = static_cast<uInt>(block->output.size());
    int rc = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    block->ok = last ? rc == Z_STREAM_END : rc == Z_OK && z.avail_in == 0 && z.avail_out > 0;
    block->output.resize(block->output.size() - z.avail_out);
    deflateEnd(&z);
    block->crc = crc32(0L, reinterpret_cast<const Bytef*>(block->input.data()), static_cast<uInt>(block->input.size()));
    return block;
}

btkGZWriteStream::btkGZWriteStream(const char* fileName, const char* mode)
    : btkGZWriteStream(btkOpenFile(fileName, mode && std::strchr(mode, 'a') ? "ab" : "wb"), mode) {}

btkGZWriteStream::btkGZWriteStream(std::FILE* file, const char* mode)
    : file(file), level(levelOf(mode)), crc(crc32(0L, nullptr, 0)) {
    if (!file) {
        setFailed(errno ? std::strerror(errno) : "soubor nelze otevřít");
        return;
    }
    // The gzip header: deflate, no name, no time, written on Unix.
    static const unsigned char header[10] = {0x1f, 0x8b, 8, 0, 0, 0, 0, 0, 0, 3};
    writeBytes(header, sizeof header);
}

btkGZWriteStream::~btkGZWriteStream() { close(); }

void btkGZWriteStream::write(const char* buffer, int length) {
    if (!file || length <= 0) return;
    pending.append(buffer, static_cast<size_t>(length));
    if (pending.size() >= packBlock) submit(false);
}

void btkGZWriteStream::submit(bool last) {
    if (failed()) {
        pending.clear();  // nothing more reaches the file
        return;
    }
    try {
        auto block = std::make_unique<Block>();
        block->input.swap(pending);
        std::string primer = dictionary;
        dictionary.append(block->input,
                          block->input.size() > dictionarySize ? block->input.size() - dictionarySize : 0);
        if (dictionary.size() > dictionarySize) dictionary.erase(0, dictionary.size() - dictionarySize);
        btkThreadStarting();
        inFlight.push_back(std::async(std::launch::async, pack, std::move(block), std::move(primer), level, last));
        unsigned cores = std::thread::hardware_concurrency();
        while (inFlight.size() > 2 * static_cast<size_t>(cores ? cores : 1)) writeOldest();
    } catch (const std::exception& e) {
        // A packer that cannot start (or memory that runs out) fails the
        // file as a write error does; the packers already started finish.
        setFailed(btkThreadStartFailure(e).c_str());
    }
}

void btkGZWriteStream::writeOldest() {
    std::future<std::unique_ptr<Block>> oldest = std::move(inFlight.front());
    inFlight.pop_front();
    std::unique_ptr<Block> block = oldest.get();  // rethrows what the packer threw
    if (!block->ok) setFailed("data se nepodařilo zkomprimovat do souboru gzip");
    writeBytes(block->output.data(), block->output.size());
    crc = crc32_combine(crc, block->crc, static_cast<z_off_t>(block->input.size()));
    total += block->input.size();
}

void btkGZWriteStream::writeBytes(const void* data, size_t n) {
    if (file && !failed() && n > 0 && std::fwrite(data, 1, n, file) != n) setFailed(std::strerror(errno));
}

bool btkGZWriteStream::close() {
    if (file) {
        submit(true);
        try {
            while (!inFlight.empty()) writeOldest();
        } catch (const std::exception& e) {
            setFailed(e.what());
            inFlight.clear();  // waits for the packers still running
        }
        // The trailer: the text's CRC and its length modulo 2^32, least
        // significant byte first.
        unsigned char trailer[8];
        for (int i = 0; i < 4; ++i) {
            trailer[i] = static_cast<unsigned char>(crc >> (8 * i));
            trailer[4 + i] = static_cast<unsigned char>(total >> (8 * i));
        }
        writeBytes(trailer, sizeof trailer);
        if (std::fflush(file) != 0) setFailed(std::strerror(errno));
        if (std::fclose(file) != 0) setFailed(std::strerror(errno));
        file = nullptr;
    }
    return !failed();
}
