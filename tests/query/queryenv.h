// A root with one small database file, Pisne.xml, of three songs, a fake
// main window showing it, and a console that records what it is given.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "query/cmdline.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "tests/foundation/io_test_support.h"
#include "tests/songs/modelenv.h"

struct RecordingConsole : KxConsole {
    void print(const char* line) override { lines.push_back(line); }
    void clearScreen() override { lines.clear(); }
    std::vector<std::string> lines;
};

class QueryTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        std::ofstream(dir.path("Pisne.xml"), std::ios::binary)
            << "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<melodar_data version=\"4.0\" >\n<database >\n"
               "<song title=\"Hymna\" group=\"A\" author=\"X\" locid=\"1\" nonet=\"1\" >\n"
               "<text xml:space=\"preserve\" >[C]Láska, [G]je</text>\n"
               "<vars >\n<var name=\"capo\" >2</var>\n</vars>\n</song>\n"
               "<song title=\"Beta\" author=\"Y\" locid=\"2\" netid=\"7\" >\n"
               "<text xml:space=\"preserve\" >b</text>\n</song>\n"
               "<song title=\"Gama\" author=\"Z\" locid=\"3\" >\n"
               "<text xml:space=\"preserve\" >c</text>\n</song>\n"
               "</database>\n</melodar_data>\n";
        db = new KxDatabase(dir.path("Pisne.xml").c_str());
        space->addView(db);
        db->ensureLoaded();
        main.view = db;
        gMainWin = &main;
        gConsole = &console;
    }
    void TearDown() override {
        gMainWin = nullptr;
        gConsole = nullptr;
        ModelTest::TearDown();
    }
    // The local ids of the songs of a view, in its order.
    static std::vector<int> locids(KxView* view) {
        btkCntVec<KxSong*> songs;
        view->getSongs(songs);
        std::vector<int> ids;
        for (const KxSong* song : songs) ids.push_back(song->locid);
        return ids;
    }
    KxView* lastView() const { return space->getView(space->viewCount() - 1); }

    TempDir dir;
    KxDatabase* db = nullptr;
    FakeMainWin main;
    RecordingConsole console;
};
