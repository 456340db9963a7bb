// Loads and commits a generated song database of 20,000 songs (about
// 20 MB), plain and gzip-compressed, and prints how long each step took.
//
//   dbload [FOLDER] [SONGS]
//
// The files are written into FOLDER (a new temporary folder by default) and
// removed afterwards. Targets: load and commit under 0.5 s each for the
// plain file, within twice that for the compressed one.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/btkmessagebox.h"
#include "songs/dbfile.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long fileSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

// A song of about a kilobyte: chords, Czech letters, variables.
void fillSong(KxSong* s, int i) {
    static const char* const verse =
        "[C]Šel jsem po [Ami]cestě a [F]potkal jsem [G]tebe,\n"
        "[C]řekla jsi [Ami]ahoj a [Dmi]koukala do [G7]nebe,\n"
        ".R:\n"
        "[F]Žluťoučký [G]kůň [C]úpěl [Ami]ďábelské [F]ódy, [G]hej,\n"
        "[Es]a já jsem [B]šel, [As]kam vedly [H7]schody.\n";
    s->title = btkFormat("Píseň číslo %d", i);
    s->group = btkFormat("Skupina %d", i % 700);
    s->author = btkFormat("Autor %d", i % 1300);
    s->remark = i % 3 ? "" : "poznámka & <jiná>";
    s->lang = "cz";
    s->locid = i + 1;
    s->netid = i % 2 ? i + 1000 : 0;
    s->version = i % 5;
    btkstring text;
    for (int k = 0; k < 4; ++k) text += verse;
    s->text = text;
    s->vars.set("Tónina", i % 2 ? "C dur" : "A moll");
    s->vars.set("Rok", btkIntToStr(1950 + i % 70));
}

struct Figures {
    double load;
    double commit;
    double release;
};

Figures measure(const std::string& file) {
    Figures f{};
    KxSystem queue;
    KxSpace* space = new KxSpace;
    KxDatabase* db = new KxDatabase(file.c_str());
    space->addView(db);
    auto t = std::chrono::steady_clock::now();
    db->ensureLoaded();
    f.load = seconds(t);
    db->setChanged();
    t = std::chrono::steady_clock::now();
    db->commit();
    f.commit = seconds(t);
    space->release();
    t = std::chrono::steady_clock::now();
    queue.processQueue();
    f.release = seconds(t);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    btkDefaultMessageBoxes().quiet = false;
    std::string dir;
    bool ownDir = argc < 2;
    if (ownDir) {
        char tmpl[] = "/tmp/kx6dbloadXXXXXX";
        if (!mkdtemp(tmpl)) return 1;
        dir = tmpl;
    } else {
        dir = argv[1];
    }
    int count = argc > 2 ? std::atoi(argv[2]) : 20000;
    std::string plain = dir + "/bench.xml";
    std::string packed = dir + "/bench.xgz";

    {
        KxSystem queue;
        KxDatabase* db = new KxDatabase("");
        for (int i = 0; i < count; ++i) fillSong(db->addNewSong(), i);
        DbExportProps props;
        props.dbversion = 3;
        props.customcols = "Tónina;Rok;";
        auto t = std::chrono::steady_clock::now();
        WriteDatabaseFile(plain.c_str(), db->songs, &props);
        std::printf("generated %d songs: %.1f MB in %.3f s\n", count, fileSize(plain) / 1e6, seconds(t));
        WriteDatabaseFile(packed.c_str(), db->songs, &props);
        db->release();
        queue.processQueue();
    }
    std::printf("%-6s %10s %9s %9s %9s\n", "file", "size", "load", "commit", "release");
    for (const std::string& file : {plain, packed}) {
        long size = fileSize(file);
        Figures f = measure(file);
        std::printf("%-6s %8.1fMB %8.3fs %8.3fs %8.3fs\n", file.substr(file.size() - 3).c_str(), size / 1e6, f.load,
                    f.commit, f.release);
    }
    if (ownDir) {
        unlink(plain.c_str());
        unlink(packed.c_str());
        rmdir(dir.c_str());
    }
    return 0;
}
