// Byte streams: where the XML reader, the XML writer, the song database file
// and the exporters get their bytes from and send them to. Plain files (in
// binary or emulated Windows text mode), gzip files, memory blocks and
// growing memory buffers.
//
// Output streams keep an error flag: a failed open, a short write or a failed
// close sets it, and close() reports it, so a caller that must know whether
// its file reached the disk whole can ask.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "foundation/btkstring.h"

class btkReadStream {
public:
    virtual ~btkReadStream() = default;
    // Reads up to max bytes into buffer; the number read, 0 at the end of
    // the input (and after a read error, which failed() then reports). A
    // file that cannot be opened is an empty input, not a failure.
    virtual int read(char* buffer, int max) = 0;
    bool failed() const { return error; }
    // Why the stream failed ("" when it did not).
    const btkstring& errorText() const { return errText; }

protected:
    void setFailed(const char* why);

private:
    bool error = false;
    btkstring errText;
};

class btkWriteStream {
public:
    virtual ~btkWriteStream() = default;
    // Appends length bytes; a write that does not fully succeed sets the
    // error flag.
    virtual void write(const char* buffer, int length) = 0;
    // Finishes the output (flushes and closes a file). True when the stream
    // never failed; a second call only reports again.
    virtual bool close() { return !error; }
    bool failed() const { return error; }
    const btkstring& errorText() const { return errText; }

    // The characters of a C string, without its NUL.
    btkWriteStream& operator<<(const char* text);
    // One byte.
    btkWriteStream& operator<<(char c);
    btkWriteStream& writeStr(const char* text) { return *this << text; }
    // The "%d" text of n.
    btkWriteStream& writeInt(int n);

protected:
    // Sets the error flag; the first reason given is kept.
    void setFailed(const char* why);

private:
    bool error = false;
    btkstring errText;
};

// A plain file opened with a C library mode. A mode without 'b' is Windows
// text mode: written line feeds reach the disk as carriage return and line
// feed, and such pairs read back as line feeds; a mode with 'b' changes no
// byte. A file that cannot be opened reads as empty input.
class btkFileReadStream : public btkReadStream {
public:
    btkFileReadStream(const char* fileName, const char* mode);
    btkFileReadStream(const btkFileReadStream&) = delete;
    btkFileReadStream& operator=(const btkFileReadStream&) = delete;
    ~btkFileReadStream() override;
    int read(char* buffer, int max) override;
    bool isOpen() const { return file != nullptr; }

private:
    FILE* file;
    bool textMode;
};

// A plain file opened with a C library mode (text mode as for reading). A
// file that cannot be opened swallows the output and marks the stream failed.
class btkFileWriteStream : public btkWriteStream {
public:
    btkFileWriteStream(const char* fileName, const char* mode);
    // Takes over an open C file (null: the stream fails at once); textMode
    // as a mode without 'b'.
    btkFileWriteStream(std::FILE* file, bool textMode);
    btkFileWriteStream(const btkFileWriteStream&) = delete;
    btkFileWriteStream& operator=(const btkFileWriteStream&) = delete;
    ~btkFileWriteStream() override;
    void write(const char* buffer, int length) override;
    bool close() override;
    bool isOpen() const { return file != nullptr; }

private:
    FILE* file;
    bool textMode;
};

// Reads a memory block the caller keeps alive for the stream's lifetime.
class btkBufferReadStream : public btkReadStream {
public:
    btkBufferReadStream(const char* data, int size) : data(data), size(size < 0 ? 0 : size) {}
    int read(char* buffer, int max) override;

private:
    const char* data;
    int pos = 0;
    int size;
};

// Collects what is written in a growing buffer that always holds a NUL
// behind the text. It grows up to btkstring::maxLength; a write beyond it
// throws btkError and keeps the text as it was.
class btkStringWriteStream : public btkWriteStream {
public:
    btkStringWriteStream() = default;
    btkStringWriteStream(const btkStringWriteStream&) = delete;
    btkStringWriteStream& operator=(const btkStringWriteStream&) = delete;
    ~btkStringWriteStream() override;
    void write(const char* buffer, int length) override;
    // The text written so far, "" before the first write.
    const char* c_str() const { return buf ? buf : ""; }
    int length() const { return len; }
    int capacity() const { return cap; }
    // Empties the text and keeps the buffer.
    void clear();

private:
    char* buf = nullptr;
    int len = 0;
    int cap = 0;
};

struct gzFile_s;

// A gzip file read through zlib; an uncompressed file passes through as it
// is. A damaged or truncated file ends the input and marks the stream failed.
// A worker thread unpacks up to a megabyte ahead of the reader.
class btkGZReadStream : public btkReadStream {
public:
    btkGZReadStream(const char* fileName, const char* mode);
    btkGZReadStream(const btkGZReadStream&) = delete;
    btkGZReadStream& operator=(const btkGZReadStream&) = delete;
    ~btkGZReadStream() override;
    int read(char* buffer, int max) override;
    bool isOpen() const { return file != nullptr; }

private:
    // Unpacked text; the last one (end set) ends the input, with the
    // reason when the file was damaged.
    struct Chunk {
        std::string data;
        bool end = false;
        btkstring error;
    };
    void unpackAhead();  // the worker

    gzFile_s* file;
    Chunk current;
    size_t used = 0;  // bytes of current handed out
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Chunk> ready;
    bool stopping = false;
    std::thread worker;
};

// A gzip file written through zlib; the mode is zlib's ("wb", "wb1", ...;
// its digit is the level, 6 without one). The text is packed in blocks of
// 128 KiB on every core, each with the 32 KiB before it as its dictionary,
// and written in order as one ordinary gzip member. A packer that cannot
// start or fails marks the stream failed, as a write error does.
class btkGZWriteStream : public btkWriteStream {
public:
    btkGZWriteStream(const char* fileName, const char* mode);
    // Takes over an open C file (null: the stream fails at once); the mode
    // gives only the level.
    btkGZWriteStream(std::FILE* file, const char* mode);
    btkGZWriteStream(const btkGZWriteStream&) = delete;
    btkGZWriteStream& operator=(const btkGZWriteStream&) = delete;
    ~btkGZWriteStream() override;
    void write(const char* buffer, int length) override;
    bool close() override;
    bool isOpen() const { return file != nullptr; }

private:
    struct Block;
    // Raw deflate of one block on a worker: the dictionary primes the
    // window, a sync flush ends the block on a byte boundary, the last
    // block ends the stream.
    static std::unique_ptr<Block> pack(std::unique_ptr<Block> block, std::string dictionary, int level, bool last);
    // Starts packing the collected text; last ends the stream.
    void submit(bool last);
    // Waits for the oldest block in flight and writes it.
    void writeOldest();
    void writeBytes(const void* data, size_t n);

    std::FILE* file;
    int level;
    std::string pending;     // text not yet handed to a packer
    std::string dictionary;  // the last 32 KiB handed over
    std::deque<std::future<std::unique_ptr<Block>>> inFlight;
    unsigned long crc;
    unsigned long long total = 0;
};

// A sink for text blocks; the exporters write their output through one.
class btkTextDumper {
public:
    virtual ~btkTextDumper() = default;
    virtual void write(const char* text, int length) = 0;
};

// Passes every block unchanged to a write stream it does not own.
class btkStreamTextFormatter : public btkTextDumper {
public:
    explicit btkStreamTextFormatter(btkWriteStream& stream) : out(&stream) {}
    void write(const char* text, int length) override { out->write(text, length); }

protected:
    btkWriteStream* out;
};

// A text dumper that collects what is written to it in memory.
class btkTextWriteStream : public btkStreamTextFormatter, public btkStringWriteStream {
public:
    btkTextWriteStream() : btkStreamTextFormatter(static_cast<btkStringWriteStream&>(*this)) {}
    void write(const char* text, int length) override { btkStringWriteStream::write(text, length); }
    const char* c_str() const { return btkStringWriteStream::c_str(); }
};
