#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>

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
    kxtool::Args args(argv + 2, argv + argc);
    try {
        return all[argv[1]].fn(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.what());
        return 1;
    }
}
