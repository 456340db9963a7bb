#include "songs/dailylog.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "foundation/btkdatetime.h"
#include "foundation/btkfile.h"

namespace {

FILE* logFile = nullptr;
btkstring logPath;  // the name the open file was opened under
bool holdFlush = false;

// True when the name no longer leads to the open file: the log viewer's save
// renamed a new file over it, or the file was removed. Lines written to the
// old file would be lost with it.
bool logFileReplaced() {
    struct stat opened;
    if (fstat(fileno(logFile), &opened) != 0) return true;
    const btkFileStamp named = btkGetFileStamp(logPath);
    return !named.exists || named.device != opened.st_dev || named.inode != opened.st_ino;
}

}  // namespace

btkstring LogFileName() {
    btkDateTime now = btkDateTime::now();
    btkFile path = programDir().join("data");
    path.append(btkFormat("%d%02d%02d.log", now.tm_year + 1900, now.tm_mon + 1, now.tm_mday));
    return path;
}

void LogWriteLine(const char* text) {
    // The name stays the one of the first open, so a run that passes
    // midnight goes on with the day it started in.
    if (logFile && logFileReplaced()) {
        std::fclose(logFile);
        logFile = btkOpenFile(logPath, "a");
    }
    if (!logFile) {
        logPath = LogFileName();
        logFile = btkOpenFile(logPath, "a");
    }
    if (!logFile) return;
    btkTextModeWrite(logFile, text, std::strlen(text));
    btkTextModeWrite(logFile, "\n", 1);
    if (!holdFlush) std::fflush(logFile);
}

void LogHoldFlush() { holdFlush = true; }

void LogFlush() {
    holdFlush = false;
    if (logFile) std::fflush(logFile);
}

void LogClose() {
    if (logFile) std::fclose(logFile);
    logFile = nullptr;
    logPath = "";
}

void LogBegin(const char* kind, const char* argument) {
    LogWriteLine(btkFormat("\n##BEGIN##[%s]{%s}(%s)", kind, btkDateTime::now().format().c_str(), argument));
}

void LogEnd(const char* kind) { LogWriteLine(btkFormat("##END##[%s]", kind)); }

void LogTag(const char* tag, const char* value) { LogWriteLine(btkFormat("##%s##[%s]", tag, value)); }
