#include "appenv.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <QEventLoop>
#include <QTimer>

#include "app/program.h"
#include "app/windows.h"
#include "foundation/btkfile.h"
#include "foundation/btksyspath.h"
#include "foundation/qt/btkapplication.h"
#include "songs/kxobject.h"
#include "songs/uibridge.h"

// The folder's own name is ASCII; a relative name is Windows-1250 and
// reaches the file system as UTF-8.
btkstring TempFolder::path(const char* relative) const {
    const btkstring dir = folder.root.c_str();
    return *relative ? btkFile(dir).join(relative) : dir;
}

void TempFolder::write(const char* relative, const char* text) const { folder.write(btkSysPath(relative), text); }

btkstring TempFolder::read(const char* relative) const { return folder.read(btkSysPath(relative)).c_str(); }

btkstring SongDatabaseXml(std::initializer_list<const char*> titles) {
    btkstring xml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<melodar_data version=\"4.0\" >\n<database >\n";
    int id = 0;
    for (const char* title : titles)
        xml += btkFormat(
            "<song title=\"%s\" locid=\"%d\" >\n<text xml:space=\"preserve\" >[C]la la [G]la</text>\n</song>\n", title,
            ++id);
    xml += "</database>\n</melodar_data>\n";
    return xml;
}

TestProgram::TestProgram() {
    btkDefaultMessageBoxes().reset();
    btkDefaultMessageBoxes().quiet = true;
    setProgramDir(folder.path());
}

TestProgram::~TestProgram() {
    end();
    btkDefaultMessageBoxes().reset();
}

void TestProgram::start() {
    InitProgram(false);
    CreateWindows(true);
    InstallIdleQueuePass(*btkApplication::instance());
    started = true;
}

void TestProgram::end() {
    if (!started) return;
    EndProgram();
    btkApplication::instance()->setIdleWork({}, {});
    OptionsRoot().clear();
    started = false;
}

namespace {

// The program's queue waits for an idle pass (the same question the idle
// hook asks).
bool queueWaits() { return gKxSystem && (gKxSystem->pendingCount() > 0 || gKxSystem->hasPendingMessages()); }

}  // namespace

void TestProgram::idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    // On a loaded machine the moment can end before the loop came to wait,
    // so the idle pass may not have run yet: the periods the queue still
    // waits for follow now, as the loop would run them (a pass may leave
    // work for the next one). A held pass stays held.
    for (int i = 0; i < 100 && queueWaits(); ++i) {
        QCoreApplication::processEvents();
        if (!queueWaits() || !btkApplication::instance()->runIdleWork()) break;
    }
}

bool TestProgram::boxShown(const char* text) const {
    for (const auto& box : btkDefaultMessageBoxes().shown())
        if (std::strcmp(box.text.c_str(), text) == 0) return true;
    return false;
}
