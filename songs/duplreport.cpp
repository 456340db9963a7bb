// The duplicate-song test's report and its entry points: the console's
// DBLTEST and the test on a database with its report in a log window.
#include "foundation/btkmessagebox.h"
#include "songs/dupltest.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

void DuplTestParams::parse(const char* text) {
    setFromText(text);
    DuplTester::runReport(*this);
}

btkstring DuplTester::reportText() const {
    btkstring report = "K vymazání:\n";
    for (int i : toDelete) {
        const DuplSong& song = *songs[i];
        const DuplSong& by = *songs[song.replacement];
        report += btkFormat("%5d %30s %30s", song.locid, song.title.c_str(), song.group.c_str());
        report += " | náhrada:";
        report += btkFormat("%5d %30s %30s", by.locid, by.title.c_str(), by.group.c_str());
        report += "\n";
    }
    return report;
}

void DuplTester::runReport(const DuplTestParams& params) {
    KxDatabase* database = nullptr;
    if (gMainWin)
        database = gMainWin->getActDatabaseMsg();
    else
        ErrorBox("Není otevřena databáze");
    if (database) runReportOn(database, params);
}

btkstring DuplTester::runReportOn(KxDatabase* database, const DuplTestParams& params) {
    btkCntVec<KxSong*> list;
    database->getSongs(list);
    DuplTester tester(params);
    tester.addSongs(list);
    if (!tester.run() || (params.progress && params.progress->cancel)) return btkstring();
    btkstring report = tester.reportText();
    OpenLogWindow("dupltest", "Test stejných písní", database->name())->write(report);
    return report;
}
