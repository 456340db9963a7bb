// The kxtool test driver: each subcommand registers itself with a name, a
// usage line and a function taking the arguments after the name.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kxtool {

using Args = std::vector<std::string>;
using CommandFn = std::function<int(const Args&)>;

struct Registrar {
    Registrar(const char* name, const char* usage, CommandFn fn);
};

// Whole standard input as bytes (binary, no line-end changes).
std::string readStdin();
// Writes bytes to standard output unchanged.
void writeStdout(const std::string& bytes);
void writeStdout(const char* bytes, int length);
// Prints "usage: kxtool <usage>" to stderr and returns 2.
int usageError(const char* usage);

}  // namespace kxtool

#define KXTOOL_CONCAT2(a, b) a##b
#define KXTOOL_CONCAT(a, b) KXTOOL_CONCAT2(a, b)
#define KXTOOL_COMMAND(name, usage, fn) \
    static ::kxtool::Registrar KXTOOL_CONCAT(kxtool_registrar_, __LINE__)(name, usage, fn)
