#include "foundation/btksyspath.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "foundation/btkconverter.h"

namespace {

bool isAscii(const char* s) {
    for (; *s; ++s)
        if (static_cast<unsigned char>(*s) >= 0x80) return false;
    return true;
}

btkConverter& toSystem() {
    static btkConverter converter("CP1250", "UTF-8");
    return converter;
}

btkConverter& fromSystem() {
    static btkConverter converter("UTF-8", "CP1250");
    return converter;
}

// Each left-out name is reported once per run, not at every listing.
void reportUnlisted(const std::string& sysPath) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard<std::mutex> lock(mutex);
    if (!reported.insert(sysPath).second) return;
    // Straight to the descriptor: the text is in the system's form already,
    // and a program may have put a converting stream in stderr's place.
    const std::string text = btkSysPath("Soubor nemá název ve Windows-1250, program ho vynechává: ") + sysPath + "\n";
    std::fflush(stderr);
    (void)!write(STDERR_FILENO, text.data(), text.size());
}

}  // namespace

std::string btkSysPath(const char* path) {
    if (!path) return std::string();
    if (isAscii(path)) return std::string(path);
    return std::string(toSystem().convert(path).c_str());
}

bool btkFromSysName(const char* sysName, btkstring& name) {
    if (!sysName) sysName = "";
    if (isAscii(sysName)) {
        name = sysName;
        return true;
    }
    bool exact = true;
    name = fromSystem().convert(sysName, &exact);
    return exact;
}

btkstring btkFromSys(const char* sysText) {
    btkstring text;
    (void)btkFromSysName(sysText, text);
    return text;
}

// ---- system calls

FILE* btkSysOpen(const char* path, const char* mode) { return std::fopen(btkSysPath(path).c_str(), mode); }

int btkSysOpenFd(const char* path, int flags) { return open(btkSysPath(path).c_str(), flags | O_CLOEXEC); }

int btkSysStat(const char* path, struct stat* st) { return stat(btkSysPath(path).c_str(), st); }

int btkSysLstat(const char* path, struct stat* st) { return lstat(btkSysPath(path).c_str(), st); }

int btkSysMkdir(const char* path, mode_t mode) { return mkdir(btkSysPath(path).c_str(), mode); }

int btkSysRename(const char* from, const char* to) { return rename(btkSysPath(from).c_str(), btkSysPath(to).c_str()); }

int btkSysUnlink(const char* path) { return unlink(btkSysPath(path).c_str()); }

int btkSysMkstemp(btkstring& path) {
    std::string sys = btkSysPath(path);
    const size_t n = std::strlen("XXXXXX");
    if (path.length() < static_cast<int>(n) || sys.size() < n) return -1;
    const int fd = mkstemp(sys.data());
    // mkstemp writes ASCII letters and digits only: they stand the same in
    // both forms.
    if (fd >= 0) path = path.substr(0, path.length() - static_cast<int>(n)) + btkstring(sys.c_str() + sys.size() - n);
    return fd;
}

bool btkSysFollowLinks(const char* path, btkstring& target) {
    std::string sys = btkSysPath(path);
    // The kernel's own limit on links followed in one lookup.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(sys.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return btkFromSysName(sys.c_str(), target);
        std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t len = readlink(sys.c_str(), buf.data(), buf.size());
        if (len < 0 || static_cast<size_t>(len) >= buf.size()) return false;
        std::string next(buf.data(), static_cast<size_t>(len));
        if (next.empty()) return false;
        if (next[0] != '/') {
            const size_t slash = sys.rfind('/');
            if (slash != std::string::npos) next = sys.substr(0, slash + 1) + next;
        }
        sys = next;
    }
    return false;
}

bool btkSysListDir(const char* dir, const std::function<void(const btkstring& name)>& found) {
    const std::string sysDir = btkSysPath(dir && *dir ? dir : ".");
    DIR* d = opendir(sysDir.c_str());
    if (!d) return false;
    std::vector<std::string> entries;
    while (dirent* entry = readdir(d))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            entries.emplace_back(entry->d_name);
    closedir(d);
    for (const std::string& entry : entries) {
        btkstring name;
        if (btkFromSysName(entry.c_str(), name))
            found(name);
        else if (entry[0] != '.')
            reportUnlisted(sysDir + "/" + entry);
    }
    return true;
}
