#include "foundation/btkfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/btkerror.h"
#include "foundation/btkstream.h"
#include "foundation/btksyspath.h"

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Index of the point that starts the extension, -1 when there is none.
int extensionPoint(const btkstring& path) {
    const char* s = path.c_str();
    const char* slash = std::strrchr(s, '/');
    const char* dot = std::strrchr(slash ? slash : s, '.');
    return dot ? static_cast<int>(dot - s) : -1;
}

const char* skipPoint(const char* extension) {
    if (!extension) return "";
    return *extension == '.' ? extension + 1 : extension;
}

}  // namespace

// ---- btkFile

void btkFile::assign(const char* path) {
    std::string s(path ? path : "");
    std::replace(s.begin(), s.end(), '\\', '/');
    // One trailing separator goes; the root "/" alone stays the root.
    if (s.size() > 1 && s.back() == '/') s.pop_back();
    btkstring::operator=(s.c_str());
}

btkstring btkFile::ext() const {
    int point = extensionPoint(*this);
    return point < 0 ? btkstring() : substr(point + 1, length());
}

bool btkFile::hasExt(const char* extension) const {
    btkstring mine = ext();
    const char* other = skipPoint(extension);
    if (static_cast<size_t>(mine.length()) != std::strlen(other)) return false;
    for (int i = 0; i < mine.length(); ++i)
        if (asciiUpper(mine[i]) != asciiUpper(other[i])) return false;
    return true;
}

void btkFile::setExt(const char* extension) {
    const char* e = skipPoint(extension);
    int point = extensionPoint(*this);
    btkstring base = point < 0 ? btkstring(*this) : substr(0, point);
    if (*e) {
        base += '.';
        base += e;
    }
    btkstring::operator=(base);
}

btkFile btkFile::changeExt(const char* extension) const {
    btkFile copy(*this);
    copy.setExt(extension);
    return copy;
}

btkstring btkFile::fileName() const {
    const char* slash = std::strrchr(c_str(), '/');
    return slash ? btkstring(slash + 1) : btkstring(*this);
}

btkFile btkFile::dirPart() const {
    const char* s = c_str();
    const char* slash = std::strrchr(s, '/');
    return slash ? btkFile(substr(0, static_cast<int>(slash - s))) : btkFile();
}

void btkFile::cutToDir() {
    if (std::strchr(c_str(), '/')) *this = dirPart();
}

void btkFile::append(const char* component) {
    if (btkIsAbsolute(component)) {
        assign(component);
    } else if (!empty()) {
        btkstring joined(*this);
        if (joined != "/") joined += '/';
        joined += component;
        assign(joined.c_str());
    } else {
        assign(component);
    }
}

btkFile btkFile::join(const char* component) const {
    btkFile copy(*this);
    copy.append(component);
    return copy;
}

// ---- program folder

namespace {

btkFile& programDirStore() {
    static btkFile dir = [] {
        // The environment holds UTF-8, like every name the system gives.
        const char* env = std::getenv("KX6_DIR");
        if (env && *env) return btkFile(btkFromSys(env));
        std::vector<char> buf(4096);
        for (;;) {
            ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
            if (n < 0) return btkFile(".");
            if (static_cast<size_t>(n) < buf.size()) {
                buf[static_cast<size_t>(n)] = 0;
                break;
            }
            buf.resize(buf.size() * 2);
        }
        btkFile exe(btkFromSys(buf.data()));
        exe.cutToDir();
        return exe;
    }();
    return dir;
}

}  // namespace

const btkFile& programDir() { return programDirStore(); }

void setProgramDir(const char* dir) { programDirStore() = dir; }

// ---- file helpers

bool btkIsAbsolute(const char* path) {
    if (!path || !*path) return false;
    if (isSeparator(path[0])) return true;
    return path[1] == ':' && isSeparator(path[2]);
}

bool btkFileExists(const char* path) {
    if (!path || !*path || btkIsDirectory(path)) return false;
    FILE* f = btkOpenFile(path, "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

btkFileStamp btkGetFileStamp(const char* path) {
    btkFileStamp stamp;
    struct stat st;
    if (!path || !*path || btkSysStat(path, &st) != 0 || S_ISDIR(st.st_mode)) return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.seconds = st.st_mtim.tv_sec;
    stamp.nanoseconds = st.st_mtim.tv_nsec;
    return stamp;
}

bool btkIsDirectory(const char* path) {
    struct stat st;
    return path && *path && btkSysStat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

long btkFileSize(FILE* file) {
    long here = std::ftell(file);
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return size;
}

namespace {

btkstring readWholeFile(const char* path, const char* mode) {
    btkFileReadStream in(path, mode);
    btkStringWriteStream text;
    char chunk[4096];
    int n;
    while ((n = in.read(chunk, sizeof chunk)) > 0) text.write(chunk, n);
    return btkstring(text.c_str());
}

}  // namespace

btkstring btkReadTextFile(const char* path) { return readWholeFile(path, "r"); }

btkstring btkReadBinaryFile(const char* path) { return readWholeFile(path, "rb"); }

bool btkWriteTextFile(const char* path, const char* text) {
    try {
        btkSaveFile(path, btkSaveFormat::Text, [text](btkWriteStream& out) { out << text; });
        return true;
    } catch (const btkError&) {
        return false;
    }
}

bool btkMakeDir(const char* path) { return btkSysMkdir(path, 0777) != 0; }

bool btkRemoveFile(const char* path) { return path && *path && btkSysUnlink(path) == 0; }

bool btkRenameFile(const char* from, const char* to) { return from && to && btkSysRename(from, to) == 0; }

void btkMakeDirs(const char* path) {
    btkStrings missing;
    for (btkFile p(path); !p.empty() && p != "/"; p = p.dirPart())
        if (!btkIsDirectory(p)) missing.add(p);
    for (int i = missing.count() - 1; i >= 0; --i) btkMakeDir(missing[i]);
}

// ---- listings

bool btkWildcardMatch(const char* pattern, const char* name) {
    // Greedy matching with one backtrack point: the last '*' seen.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern && (*pattern == '?' || asciiUpper(*pattern) == asciiUpper(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == 0;
}

btkFileList::btkFileList(const char* pattern) {
    btkFile full(pattern);
    btkFile dir = full.dirPart();
    if (dir.empty() && full.c_str()[0] == '/') dir = "/";
    btkstring mask = full.fileName();
    // The Windows form for "every file".
    if (mask == "*.*") mask = "*";
    std::vector<std::string> found;
    btkSysListDir(dir.empty() ? "." : dir.c_str(), [&](const btkstring& name) {
        if (name[0] == '.' || !btkWildcardMatch(mask, name)) return;
        struct stat st;
        if (btkSysStat(dir.join(name), &st) != 0 || !S_ISREG(st.st_mode)) return;
        found.emplace_back(name.c_str());
    });
    std::sort(found.begin(), found.end());
    for (const std::string& name : found) names.add(btkstring(name.c_str()));
}

// ---- text mode

bool btkIsTextMode(const char* mode) { return mode && !std::strchr(mode, 'b'); }

FILE* btkOpenFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    std::string binary(mode);
    if (binary.find('b') == std::string::npos) binary += 'b';
    return btkSysOpen(path, binary.c_str());
}

size_t btkTextModeRead(FILE* file, char* buffer, size_t max) {
    size_t n = std::fread(buffer, 1, max, file);
    size_t out = 0;
    for (size_t i = 0; i < n; ++i) {
        if (buffer[i] == '\r') {
            if (i + 1 < n) {
                if (buffer[i + 1] == '\n') continue;
            } else {
                // A CR at the end of the chunk: look at the next byte.
                int next = std::getc(file);
                if (next == '\n') {
                    buffer[out++] = '\n';
                    continue;
                }
                if (next != EOF) std::ungetc(next, file);
            }
        }
        buffer[out++] = buffer[i];
    }
    return out;
}

bool btkTextModeWrite(FILE* file, const char* data, size_t n) {
    size_t start = 0;
    for (size_t i = 0; i < n; ++i) {
        if (data[i] != '\n') continue;
        size_t run = i - start;
        if (std::fwrite(data + start, 1, run, file) != run) return false;
        if (std::fwrite("\r\n", 1, 2, file) != 2) return false;
        start = i + 1;
    }
    size_t rest = n - start;
    return std::fwrite(data + start, 1, rest, file) == rest;
}

// ---- checked save

namespace {

// The umask as the process started. Reading the umask means setting it,
// which would change the permissions of files other threads create at that
// moment; at static initialisation no other thread runs yet.
const mode_t startUmask = [] {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}();

[[noreturn]] void saveFailed(const char* path, const char* why) {
    throw btkError(btkFormat("Soubor %s nelze uložit: %s", path, why));
}

// Removes the temporary file unless it was renamed into place. The file is
// locked while it is written, so another save of the same file that tidies
// up leaves it alone.
struct TempFile {
    btkstring name;
    int fd = -1;
    bool kept = false;
    ~TempFile() {
        if (fd >= 0) close(fd);
        if (!kept && !name.empty()) btkSysUnlink(name);
    }
};

// A C file on a second descriptor of the temporary file: closing the
// stream leaves the first one open for fsync. Null (errno set) on failure.
std::FILE* openDuplicate(int fd) {
    const int copy = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return nullptr;
    std::FILE* file = fdopen(copy, "wb");
    if (!file) close(copy);
    return file;
}

// The file a save writes: a symbolic link stays a link and the file it
// leads to is replaced (or created, when the link dangles), with the
// temporary file beside that file so the rename stays in its folder.
btkFile saveTarget(const char* path) {
    btkFile target(path);
    if (target.empty()) throw btkError("Soubor nelze uložit: chybí jméno souboru.");
    btkstring followed;
    if (!btkSysFollowLinks(target, followed)) saveFailed(path, "symbolický odkaz nevede k souboru");
    return btkFile(followed);
}

// The temporary file of a save of "songs.xml" is named
// ".songs.xml.kx6save-" and the six letters or digits mkstemp puts for
// "XXXXXX". The program's mark in the name keeps the tidying after a save
// away from files that only look alike: a user's ".songs.xml.backup", a
// transfer tool's ".songs.xml.a1B2c3".
constexpr char tempMark[] = ".kx6save-";
constexpr int tempRandomLength = 6;

btkstring tempPrefixOf(const btkstring& fileName) {
    btkstring prefix(".");
    prefix += fileName;
    prefix += tempMark;
    return prefix;
}

bool isTempNameOf(const btkstring& name, const btkstring& fileName) {
    const btkstring prefix = tempPrefixOf(fileName);
    const int n = prefix.length();
    if (name.length() != n + tempRandomLength || !name.startsWith(prefix.c_str())) return false;
    for (int i = n; i < n + tempRandomLength; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    }
    return true;
}

// Removes the temporary files that saves of the file left behind when they
// never finished (the program was killed, the machine went down). A file
// whose lock is held belongs to a save still running (another program) and
// stays; so does anything but a plain file.
void removeStaleTempFiles(const btkstring& dir, const btkstring& fileName) {
    const btkFile folder(dir);
    btkSysListDir(dir, [&](const btkstring& name) {
        if (!isTempNameOf(name, fileName)) return;
        const btkFile path = folder.join(name);
        const int fd = btkSysOpenFd(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) return;
        struct stat opened, named;
        if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            btkSysLstat(path, &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            btkSysUnlink(path);
        close(fd);
    });
}

// Makes the rename durable: the folder's entry reaches the disk too. Not
// every file system can sync a folder, and the new file is in place by now,
// so a failure here is no failed save.
void syncFolder(const btkstring& dir) {
    const int fd = btkSysOpenFd(dir, O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    (void)fsync(fd);
    close(fd);
}

}  // namespace

void btkSaveFile(const char* path, btkSaveFormat format, const std::function<void(btkWriteStream&)>& write,
                 btkFileAccess access) {
    const btkFile target = saveTarget(path);
    btkFile dir = target.dirPart();
    if (dir.empty() && target.c_str()[0] == '/') dir = "/";
    if (dir.empty()) dir = ".";

    TempFile temp;
    btkstring name = dir == "/" ? btkstring() : btkstring(dir);
    name += "/";
    name += tempPrefixOf(target.fileName());
    name += "XXXXXX";
    temp.fd = btkSysMkstemp(name);
    if (temp.fd < 0) saveFailed(path, std::strerror(errno));
    temp.name = name;
    (void)flock(temp.fd, LOCK_EX | LOCK_NB);  // a new file: nobody else holds it
    struct stat old;
    mode_t mode = btkSysStat(target, &old) == 0 && S_ISREG(old.st_mode) ? old.st_mode & 07777 : 0666 & ~startUmask;
    // mkstemp made the file 0600 already.
    if (access == btkFileAccess::OwnerOnly) mode = S_IRUSR | S_IWUSR;
    fchmod(temp.fd, mode);

    btkstring why;
    {
        std::FILE* file = openDuplicate(temp.fd);
        if (!file) saveFailed(path, std::strerror(errno));
        std::unique_ptr<btkWriteStream> out;
        // Song databases are saved whole and often: the fastest level packs
        // lyrics about a sixth worse than the default at several times the
        // speed, and any gzip reader takes the file.
        if (format == btkSaveFormat::GZip)
            out = std::make_unique<btkGZWriteStream>(file, "wb1");
        else
            out = std::make_unique<btkFileWriteStream>(file, format == btkSaveFormat::Text);
        write(*out);
        if (!out->close()) why = out->errorText();
    }
    // The data must be on the disk before the name points at it.
    if (why.empty() && fsync(temp.fd) != 0) why = std::strerror(errno);
    if (why.empty() && btkSysRename(temp.name, target) != 0) why = std::strerror(errno);
    if (!why.empty()) saveFailed(path, why);
    temp.kept = true;
    syncFolder(dir);
    removeStaleTempFiles(dir, target.fileName());
}

bool btkIsPlainFileName(const char* name) {
    return name && *name && *name != '.' && !std::strchr(name, '/') && !std::strchr(name, '\\');
}
