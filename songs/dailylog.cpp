#include "songs/dailylog.h"

#include <cstdio>
#include <cstring>

#include "foundation/btkdatetime.h"
#include "foundation/btkfile.h"

namespace {

FILE* logFile = nullptr;
bool holdFlush = false;

}  // namespace

btkstring LogFileName() {
    btkDateTime now = btkDateTime::now();
    btkFile path = programDir().join("data");
    path.append(btkFormat("%d%02d%02d.log", now.tm_year + 1900, now.tm_mon + 1, now.tm_mday));
    return path;
}

void LogWriteLine(const char* text) {
    if (!logFile) logFile = btkOpenFile(LogFileName(), "a");
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
}

void LogBegin(const char* kind, const char* argument) {
    LogWriteLine(btkFormat("\n##BEGIN##[%s]{%s}(%s)", kind, btkDateTime::now().format().c_str(), argument));
}

void LogEnd(const char* kind) { LogWriteLine(btkFormat("##END##[%s]", kind)); }

void LogTag(const char* tag, const char* value) { LogWriteLine(btkFormat("##%s##[%s]", tag, value)); }
