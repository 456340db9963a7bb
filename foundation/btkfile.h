// Paths, file helpers, directory listings, the Windows text-mode emulation
// and the checked whole-file save.
//
// Paths use '/': a btkFile turns every '\' (paths read from stored files may
// hold them) and '/' into '/' and drops one trailing separator. Paths are
// Windows-1250 like all text of the program; the functions here hand them
// to the system in its UTF-8 form (foundation/btksyspath.h).
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>

#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"

class btkWriteStream;

class btkFile : public btkstring {
public:
    btkFile() = default;
    btkFile(const char* path) { assign(path); }
    btkFile(const btkstring& path) { assign(path.c_str()); }
    btkFile& operator=(const char* path) {
        assign(path);
        return *this;
    }
    btkFile& operator=(const btkstring& path) {
        assign(path.c_str());
        return *this;
    }

    // The characters after the last point of the file name; "" when none.
    btkstring ext() const;
    // ext equals the given extension (with or without its point), ASCII
    // letter case ignored.
    bool hasExt(const char* extension) const;
    // Replaces the extension (with or without its point); "" removes it.
    void setExt(const char* extension);
    btkFile changeExt(const char* extension) const;
    // The part after the last '/'; the whole path when there is none.
    btkstring fileName() const;
    // The part before the last '/'; "" when there is none.
    btkFile dirPart() const;
    // Cuts the path to its folder; a path without '/' stays as it is.
    void cutToDir();
    // Appends a component with one '/' between; an absolute component
    // replaces the path, and an empty path becomes the component.
    void append(const char* component);
    btkFile join(const char* component) const;

private:
    void assign(const char* path);
};

// The older name of the path type.
using btkPath = btkFile;

// The program's folder: the folder named by the environment variable KX6_DIR
// when it is set and not empty, else the executable's folder. Read once.
const btkFile& programDir();
// Replaces the program's folder (start-up code and tests).
void setProgramDir(const char* dir);

// Starts with '/' or '\', or has a drive letter and a separator ("C:/").
bool btkIsAbsolute(const char* path);
// True for an existing file that can be opened for reading; false for a
// folder.
bool btkFileExists(const char* path);
// A name the user typed that may become a file name inside a folder of the
// program: not empty, no '/' or '\', and not starting with '.' (so neither
// "..", a hidden file, nor a path can come of it).
bool btkIsPlainFileName(const char* name);
bool btkIsDirectory(const char* path);
// Tells one version of a file on disk from another: a save through a
// temporary file gives the name a new inode, a write in place a new
// modification time (to the nanosecond) or size. Equal stamps of one path
// mean the file was not replaced or written between them.
struct btkFileStamp {
    bool exists = false;  // false: no file (a folder, or nothing that can be examined)
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long seconds = 0;
    long long nanoseconds = 0;
    bool operator==(const btkFileStamp&) const = default;
};
// The stamp of what the path names, symbolic links followed.
btkFileStamp btkGetFileStamp(const char* path);
// Size of an open file (seeks to the end and back).
long btkFileSize(FILE* file);
// The whole file read in text mode (CR LF arrives as LF); "" when it cannot
// be opened.
btkstring btkReadTextFile(const char* path);
// The whole file's bytes, line ends untouched; "" when it cannot be opened.
btkstring btkReadBinaryFile(const char* path);
// Replaces the file by the text written in text mode (LF goes to disk as
// CR LF), through a temporary file (see btkSaveFile). False when the file
// could not be written; the old file then stays as it was.
bool btkWriteTextFile(const char* path, const char* text);
// Removes a file; false when it could not be removed.
bool btkRemoveFile(const char* path);
// Renames a file; false when that failed.
bool btkRenameFile(const char* from, const char* to);
// Creates one folder; true when that failed.
bool btkMakeDir(const char* path);
// Creates a folder together with its missing parents.
void btkMakeDirs(const char* path);

// The plain files of a folder whose names match a wildcard pattern ('*' any
// run, '?' one character; ASCII letter case ignored), such as "db/*.xml".
// Folders and hidden (dot) files are left out; the names carry no folder
// and are sorted by byte value, so every file system lists alike.
class btkFileList {
public:
    explicit btkFileList(const char* pattern);
    int count() const { return names.count(); }
    const btkstring& operator[](int i) const { return names.at(i); }

private:
    btkStrings names;
};

// Wildcard match of a file name against a pattern as btkFileList does it.
bool btkWildcardMatch(const char* pattern, const char* name);

// ---- Windows text mode over the C library (which has none on Linux)

// A C library mode without 'b' asks for text mode.
bool btkIsTextMode(const char* mode);
// fopen with the mode made binary; the text-mode conversion is left to the
// two helpers below.
FILE* btkOpenFile(const char* path, const char* mode);
// Reads up to max bytes, each CR LF pair delivered as LF (a lone CR stays).
size_t btkTextModeRead(FILE* file, char* buffer, size_t max);
// Writes n bytes with every LF written as CR LF; false on a write error.
bool btkTextModeWrite(FILE* file, const char* data, size_t n);

// ---- checked whole-file save

enum class btkSaveFormat {
    Text,    // plain file in text mode
    Binary,  // plain file, bytes unchanged
    GZip,    // gzip-compressed file, at zlib's fastest level
};

// Writes a whole file safely: the write function fills a stream on a new
// temporary file in the target's folder (a symbolic link's target, created
// when the link dangles, is written and the link kept); only when every write and the
// close succeeded is that file renamed over the target. On any failure the
// temporary file is removed, the old file stays untouched and a btkError
// naming the file is thrown. An exception from the write function also
// leaves the old file untouched and is passed on. A new file gets the
// permissions the umask allows and a replaced file keeps its permissions,
// unless access is OwnerOnly: then the file is readable and writable by
// its owner alone from the moment it is created (files holding passwords).
// The temporary file is named ".<file name>.kx6save-" and six letters or
// digits. After a successful save the files of that name that interrupted
// saves of the same file left are removed, unless a running save holds
// them; every other file in the folder stays.
enum class btkFileAccess { Default, OwnerOnly };
void btkSaveFile(const char* path, btkSaveFormat format, const std::function<void(btkWriteStream&)>& write,
                 btkFileAccess access = btkFileAccess::Default);
