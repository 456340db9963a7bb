// Where names meet the file system. Inside the program paths are
// Windows-1250 like every other text; Linux file systems, the environment
// and the command line hold UTF-8. Every call that hands a path to the
// system goes through the functions below, which convert the path to UTF-8,
// and every name that comes back from the system is converted to
// Windows-1250 here. ASCII names pass unchanged.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <functional>
#include <string>

#include "foundation/btkstring.h"

// The system (UTF-8) form of a Windows-1250 path. The five byte values
// Windows-1250 leaves undefined become '?'; null gives "".
std::string btkSysPath(const char* path);
// A name or path from the system in Windows-1250. False when it has no
// Windows-1250 form (a character Windows-1250 lacks, or bytes that are no
// UTF-8): name then holds the text with '?' for what could not be read.
[[nodiscard]] bool btkFromSysName(const char* sysName, btkstring& name);
// The same when the caller takes the '?' form anyway (environment, command
// line, messages).
btkstring btkFromSys(const char* sysText);

// ---- system calls on Windows-1250 paths (results as the C calls give them)

FILE* btkSysOpen(const char* path, const char* mode);
// open(2) with flags (O_CLOEXEC added); a descriptor or -1.
int btkSysOpenFd(const char* path, int flags);
int btkSysStat(const char* path, struct stat* st);
int btkSysLstat(const char* path, struct stat* st);
int btkSysMkdir(const char* path, mode_t mode);
int btkSysRename(const char* from, const char* to);
// Removes a file (not a folder).
int btkSysUnlink(const char* path);
// Creates a new file from a path ending in "XXXXXX" (mkstemp): the X's are
// replaced in path and the open descriptor returned, -1 on failure.
int btkSysMkstemp(btkstring& path);
// The path with every symbolic link on its last component followed, the
// target of a dangling link included (relative targets are taken from the
// link's folder). The path itself when it is no link. False when the links
// loop or a target has no Windows-1250 form.
[[nodiscard]] bool btkSysFollowLinks(const char* path, btkstring& target);

// Calls found for each entry of a folder ("." and ".." left out) with its
// Windows-1250 name. A name without a Windows-1250 form is left out (and,
// unless hidden, reported once on standard error), so no garbled name
// reaches a program list. False when the folder cannot be opened.
bool btkSysListDir(const char* dir, const std::function<void(const btkstring& name)>& found);
