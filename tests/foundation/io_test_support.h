// Helpers of the stream, file and XML tests: a temporary folder removed
// afterwards, and whole-file byte access without any line-end changes.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/btkerror.h"
#include "foundation/btkstream.h"
#include "tests/support/tempfolder.h"

class TempDir : public kx6test::TempFolder {
public:
    TempDir() : TempFolder("kx6io.") {}
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readAll(btkReadStream& in) {
    std::string all;
    char buf[1024];
    for (int n; (n = in.read(buf, sizeof buf)) > 0;) all.append(buf, static_cast<size_t>(n));
    return all;
}

// A gzip file of the given content; the close must succeed.
inline void writeGzip(const std::string& path, const std::string& content) {
    btkGZWriteStream out(path.c_str(), "wb");
    out.write(content.data(), static_cast<int>(content.size()));
    if (!out.close()) throw std::runtime_error("gzip write failed: " + path);
}

// The names in a folder (hidden ones included), sorted, blank-separated.
inline std::string listFolder(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string& n : names) all += (all.empty() ? "" : " ") + n;
    return all;
}

// Runs fn in a child process in which no file may grow beyond limit bytes,
// as on a full disk: "ok" when fn returned, "error" when it threw a
// btkError, "crash" otherwise.
inline std::string runWithFileSizeLimit(rlim_t limit, const std::function<void()>& fn) {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit rl{limit, limit};
        setrlimit(RLIMIT_FSIZE, &rl);
        int code = 0;
        try {
            fn();
        } catch (const btkError&) {
            code = 1;
        } catch (...) {
            code = 3;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return "crash";
    return WEXITSTATUS(status) == 0 ? "ok" : WEXITSTATUS(status) == 1 ? "error" : "crash";
}
