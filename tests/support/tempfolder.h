// A fresh folder under /tmp for one test, removed with everything in it when
// the object ends. Files are written and read as bytes, without conversion.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace kx6test {

class TempFolder {
public:
    // prefix names the folder (/tmp/<prefix>XXXXXX) so a leftover tells
    // which test made it. Throws when no folder can be made.
    explicit TempFolder(const char* prefix = "kx6_") : root(make(prefix)) {}
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder itself for "", otherwise the path below it.
    std::string path(const std::string& relative = "") const { return relative.empty() ? root : root + "/" + relative; }
    // Writes the file, making its folders as needed.
    void write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path file = path(relative);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    // The file's bytes; "" when it cannot be read.
    std::string read(const std::string& relative) const {
        std::ifstream in(path(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    const std::string root;

private:
    static std::string make(const char* prefix) {
        std::string pattern = std::string("/tmp/") + prefix + "XXXXXX";
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
        return pattern;
    }
};

}  // namespace kx6test
