#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/btkstream.h"
#include "foundation/btkthread.h"
#include "io_test_support.h"

TEST(Streams, MissingFilesReadEmptyAndFailTheirWrites) {
    btkFileReadStream in("/nonexistent/kx6/file.xml", "rb");
    char buf[8];
    EXPECT_EQ(in.read(buf, sizeof buf), 0);
    EXPECT_FALSE(in.isOpen());
    btkGZReadStream gz("/nonexistent/kx6/file.xgz", "rb");
    EXPECT_EQ(gz.read(buf, sizeof buf), 0);
    EXPECT_FALSE(gz.isOpen());

    btkFileWriteStream out("/nonexistent/kx6/x.txt", "w");
    out << "lost";
    EXPECT_FALSE(out.isOpen());
    EXPECT_FALSE(out.close());
    btkGZWriteStream gzOut("/nonexistent/kx6/x.xgz", "wb");
    gzOut << "lost";
    EXPECT_FALSE(gzOut.close());
}

TEST(Streams, BufferReadDeliversChunksThenZero) {
    const char data[] = "0123456789";
    btkBufferReadStream in(data, 10);
    char buf[4];
    EXPECT_EQ(in.read(buf, 4), 4);
    EXPECT_EQ(std::string(buf, 4), "0123");
    EXPECT_EQ(in.read(buf, 4), 4);
    EXPECT_EQ(in.read(buf, 4), 2);
    EXPECT_EQ(std::string(buf, 2), "89");
    EXPECT_EQ(in.read(buf, 4), 0);
}

TEST(Streams, StringAndTextWriteStreams) {
    btkStringWriteStream s;
    EXPECT_STREQ(s.c_str(), "");
    s << "ab" << 'c';
    s.writeInt(-42);
    s.writeStr("");
    EXPECT_STREQ(s.c_str(), "abc-42");
    EXPECT_EQ(s.capacity(), 2 * 6);  // grown to twice the need by the writeInt
    s.clear();
    EXPECT_STREQ(s.c_str(), "");
    EXPECT_EQ(s.capacity(), 12);
    std::string big(1000, 'x');
    s.write(big.data(), 1000);
    EXPECT_EQ(std::string(s.c_str()), big);
    EXPECT_TRUE(s.close());

    btkTextWriteStream t;
    btkTextDumper& dumper = t;
    dumper.write("Am ", 3);
    dumper.write("C\n", 2);
    EXPECT_STREQ(t.c_str(), "Am C\n");
    btkStringWriteStream target;
    btkStreamTextFormatter formatter(target);
    formatter.write("xyz", 2);
    EXPECT_STREQ(target.c_str(), "xy");
}

TEST(Streams, TextModeWritesCRLFAndReadsItBackBinaryModeChangesNoByte) {
    TempDir dir;
    std::string path = dir.path("t.txt");
    {
        btkFileWriteStream out(path.c_str(), "w");
        out << "a\nb\r\nc\n";
        EXPECT_TRUE(out.close());
    }
    EXPECT_EQ(readBytes(path), "a\r\nb\r\r\nc\r\n");
    btkFileReadStream in(path.c_str(), "r");
    EXPECT_EQ(readAll(in), "a\nb\r\nc\n");
    btkFileReadStream raw(path.c_str(), "rb");
    EXPECT_EQ(readAll(raw), "a\r\nb\r\r\nc\r\n");

    std::string bytes("\r\n\n\0\x9a\r", 6);
    {
        btkFileWriteStream out(path.c_str(), "wb");
        out.write(bytes.data(), static_cast<int>(bytes.size()));
    }
    EXPECT_EQ(readBytes(path), bytes);
}

TEST(Streams, TextModeReadJoinsPairsSplitAcrossReads) {
    TempDir dir;
    std::string path = dir.path("split.txt");
    writeBytes(path, "ab\r\ncd\r\rx\r");
    btkFileReadStream in(path.c_str(), "r");
    std::string got;
    char c[3];
    // Reads of three bytes put a CR at the end of a chunk more than once.
    for (int n; (n = in.read(c, 3)) > 0;) got.append(c, static_cast<size_t>(n));
    EXPECT_EQ(got, "ab\ncd\r\rx\r");
}

TEST(Streams, GzipRoundTripAndPlainFilesPassThrough) {
    TempDir dir;
    std::string path = dir.path("songs.xgz");
    // Empty, within one packed block, and over many blocks written in
    // pieces that straddle their ends, at the default and the fastest level.
    std::string content;
    for (int i = 0; i < 60000; ++i) content += "Píseň č. " + std::to_string(i * 7919 % 100003) + "\n";
    for (size_t size : {size_t{0}, size_t{70000}, content.size()}) {
        for (const char* mode : {"wb", "wb1"}) {
            {
                btkGZWriteStream out(path.c_str(), mode);
                for (size_t at = 0; at < size; at += 50001)
                    out.write(content.data() + at, static_cast<int>(std::min<size_t>(50001, size - at)));
            }                                                                 // closed by the destructor
            EXPECT_EQ(static_cast<unsigned char>(readBytes(path)[0]), 0x1f);  // gzip magic
            btkGZReadStream in(path.c_str(), "rb");
            EXPECT_EQ(readAll(in), content.substr(0, size)) << size << mode;
            EXPECT_FALSE(in.failed());
        }
    }

    std::string plain = dir.path("plain.xml");
    writeBytes(plain, "<a />\r\n");
    btkGZReadStream passed(plain.c_str(), "rb");
    EXPECT_EQ(readAll(passed), "<a />\r\n");
    EXPECT_FALSE(passed.failed());
}

// A cut or damaged gzip file ends the input early and says why, in Czech.
TEST(Streams, BrokenGzipEndsInputAndReportsFailure) {
    TempDir dir;
    std::string path = dir.path("cut.xgz");
    std::string content(20000, 'a');
    for (size_t i = 0; i < content.size(); i += 7) content[i] = static_cast<char>('a' + i % 23);
    writeGzip(path, content);
    const std::string whole = readBytes(path);
    std::string damaged = whole;
    for (size_t i = 20; i < 60; ++i) damaged[i] = static_cast<char>(0xFF);
    const struct {
        std::string bytes;
        const char* error;
    } rows[] = {
        {whole.substr(0, whole.size() / 2), "soubor gzip je neúplný"},
        {damaged, "komprimovaná data gzip jsou poškozená"},
    };
    for (const auto& r : rows) {
        writeBytes(path, r.bytes);
        btkGZReadStream in(path.c_str(), "rb");
        EXPECT_LT(readAll(in).size(), content.size()) << r.error;
        EXPECT_TRUE(in.failed()) << r.error;
        EXPECT_STREQ(in.errorText().c_str(), r.error);
    }
}

TEST(Streams, WriteErrorsAreReportedByClose) {
    // /dev/full accepts the open and fails every write that reaches it.
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    btkFileWriteStream out("/dev/full", "wb");
    EXPECT_TRUE(out.isOpen());
    out << "small text that stays in the C library's buffer";
    EXPECT_FALSE(out.close());
    EXPECT_TRUE(out.failed());
    EXPECT_FALSE(out.close());  // asking again reports again

    btkGZWriteStream gz("/dev/full", "wb");
    gz << "text";
    EXPECT_FALSE(gz.close());
}

TEST(Streams, GzipPackerThatCannotStartFailsTheFileNotTheProgram) {
    TempDir dir;
    std::string path = dir.path("songs.xgz");
    const std::string text(200000, 'x');  // one block packed while writing
    // The packer of a block written or of the last one does not start; the
    // close is explicit or left to the destructor.
    for (int starts : {0, 1}) {
        for (bool explicitClose : {true, false}) {
            {
                btkGZWriteStream out(path.c_str(), "wb");
                btkFailThreadStartAfter(starts);
                out.write(text.data(), static_cast<int>(text.size()));
                if (explicitClose) {
                    EXPECT_FALSE(out.close()) << starts;
                    EXPECT_EQ(std::string(out.errorText().c_str()).rfind("systém nedovolil spustit další vlákno (", 0),
                              0u)
                        << out.errorText().c_str();
                    EXPECT_FALSE(out.close());
                }
            }
            btkFailThreadStartAfter(-1);
        }
    }
    btkGZWriteStream out(path.c_str(), "wb");
    out.write(text.data(), static_cast<int>(text.size()));
    EXPECT_TRUE(out.close());
}
