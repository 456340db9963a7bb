#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <map>
#include <set>

#include "foundation/btksyspath.h"
#include "kxtool.h"

namespace kxtool {
namespace {

struct Command {
    std::string usage;
    CommandFn fn;
};

std::map<std::string, Command>& commands() {
    static std::map<std::string, Command> all;
    return all;
}

// Commands whose standard output is a byte stream of the program's own
// Windows-1250 text (filters from stdin to stdout, the console's session):
// their output stays bytes. Every other command prints UTF-8.
bool printsBytes(const std::string& name) {
    static const std::set<std::string> byteStreams = {"console", "convert", "fold", "gzip-cat", "transpose"};
    return byteStreams.count(name) > 0;
}

// A C stream that writes Windows-1250 text to a descriptor as UTF-8. Every
// Windows-1250 character is one byte, so a buffer never splits one.
ssize_t writeAsUtf8(void* cookie, const char* buffer, size_t size) {
    const int fd = static_cast<int>(reinterpret_cast<intptr_t>(cookie));
    std::string bytes;
    for (size_t start = 0; start < size;) {
        const size_t run = strnlen(buffer + start, size - start);
        bytes += btkSysPath(std::string(buffer + start, run).c_str());
        if (start + run < size) bytes += '\0';
        start += run + 1;
    }
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return -1;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(size);
}

FILE* utf8Stream(int fd, int buffering) {
    cookie_io_functions_t io{};
    io.write = writeAsUtf8;
    FILE* stream = fopencookie(reinterpret_cast<void*>(static_cast<intptr_t>(fd)), "w", io);
    if (stream) setvbuf(stream, nullptr, buffering, BUFSIZ);
    return stream;
}

// Replaces stdout (unless the command prints bytes) and stderr by streams
// that print UTF-8, so a terminal shows Czech letters.
void printUtf8(const std::string& command) {
    std::fflush(stdout);
    std::fflush(stderr);
    if (!printsBytes(command))
        if (FILE* out = utf8Stream(STDOUT_FILENO, isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF)) stdout = out;
    if (FILE* err = utf8Stream(STDERR_FILENO, _IONBF)) stderr = err;
}

}  // namespace

Registrar::Registrar(const char* name, const char* usage, CommandFn fn) {
    commands()[name] = Command{usage, std::move(fn)};
}

std::string readStdin() {
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, stdin)) > 0) data.append(buf, n);
    return data;
}

void writeStdout(const std::string& bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

void writeStdout(const char* bytes, int length) {
    if (length > 0) std::fwrite(bytes, 1, static_cast<size_t>(length), stdout);
}

int usageError(const char* usage) {
    std::fprintf(stderr, "usage: kxtool %s\n", usage);
    return 2;
}

}  // namespace kxtool

int main(int argc, char** argv) {
    auto& all = kxtool::commands();
    if (argc < 2 || !all.count(argv[1])) {
        std::fprintf(stderr, "usage: kxtool COMMAND [ARGS]\ncommands:\n");
        for (auto& [name, cmd] : all) std::fprintf(stderr, "  %s\n", cmd.usage.c_str());
        return 2;
    }
    // Arguments come from a UTF-8 terminal; the program's text is
    // Windows-1250. An argument without that form is refused: as '?' it
    // would name another file.
    kxtool::Args args;
    for (int i = 2; i < argc; ++i) {
        btkstring arg;
        if (!btkFromSysName(argv[i], arg)) {
            const std::string text = btkSysPath("kxtool: argument nemá podobu ve Windows-1250: ") + argv[i] + "\n";
            std::fputs(text.c_str(), stderr);
            return 1;
        }
        args.emplace_back(arg.c_str());
    }
    kxtool::printUtf8(argv[1]);
    int status = 1;
    try {
        status = all[argv[1]].fn(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.what());
    }
    std::fflush(stdout);
    std::fflush(stderr);
    return status;
}
