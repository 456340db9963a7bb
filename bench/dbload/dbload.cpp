// Loads and commits a generated song database of SONGS songs (20,000 by
// default, about 20 MB) with varied lyrics, plain and gzip-compressed, and
// prints how long each step took, the best of RUNS runs (3 by default).
//
//   dbload [FOLDER] [SONGS] [RUNS]
//
// The files are written into FOLDER (a new temporary folder by default) and
// removed afterwards. Targets: the plain load under 0.15 s for 20,000
// songs; load and commit of the compressed file under 1.5 times those of
// the plain one.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/common/lyrics.h"
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

// A song with generated lyrics, an attribute needing entities, variables.
void fillSong(KxSong* s, int i, const std::string& lyrics) {
    s->title = btkFormat("Píseň číslo %d", i);
    s->group = btkFormat("Skupina %d", i % 700);
    s->author = btkFormat("Autor %d", i % 1300);
    s->remark = i % 3 ? "" : "poznámka & <jiná>";
    s->lang = "cz";
    s->locid = i + 1;
    s->netid = i % 2 ? i + 1000 : 0;
    s->version = i % 5;
    s->text = lyrics.c_str();
    s->vars.set("Tónina", i % 2 ? "C dur" : "A moll");
    s->vars.set("Rok", btkIntToStr(1950 + i % 70));
}

struct Figures {
    double load;
    double commit;
    double release;
    int songs;  // songs loaded
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
    f.songs = db->songs.count();
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

// The best of several runs of each step: the machine's other work only
// ever adds time.
Figures best(const std::string& file, int runs) {
    Figures b = measure(file);
    for (int r = 1; r < runs; ++r) {
        Figures f = measure(file);
        b.load = std::min(b.load, f.load);
        b.commit = std::min(b.commit, f.commit);
        b.release = std::min(b.release, f.release);
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    btkDefaultMessageBoxes().quiet = false;
    std::string dir;
    bool ownDir = argc < 2 || !*argv[1];
    if (ownDir) {
        char tmpl[] = "/tmp/kx6dbloadXXXXXX";
        if (!mkdtemp(tmpl)) return 1;
        dir = tmpl;
    } else {
        dir = argv[1];
    }
    int count = argc > 2 ? std::atoi(argv[2]) : 20000;
    int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    std::string plain = dir + "/bench.xml";
    std::string packed = dir + "/bench.xgz";

    {
        BenchLyrics lyrics(20261209);
        std::vector<std::string> texts = lyrics.songs(count);
        KxSystem queue;
        KxDatabase* db = new KxDatabase("");
        for (int i = 0; i < count; ++i) fillSong(db->addNewSong(), i, texts[static_cast<size_t>(i)]);
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
    std::printf("%-6s %10s %9s %9s %9s %9s\n", "file", "size", "load", "commit", "release", "MB/s");
    Figures figures[2];
    int k = 0;
    for (const std::string& file : {plain, packed}) {
        long size = fileSize(file);
        Figures f = figures[k++] = best(file, runs);
        if (f.songs != count) {
            std::printf("%s: %d songs loaded, not %d\n", file.c_str(), f.songs, count);
            return 1;
        }
        std::printf("%-6s %8.1fMB %8.3fs %8.3fs %8.3fs %9.0f\n", file.substr(file.size() - 3).c_str(), size / 1e6,
                    f.load, f.commit, f.release, fileSize(plain) / 1e6 / f.load);
    }
    double ratio = (figures[1].load + figures[1].commit) / (figures[0].load + figures[0].commit);
    std::printf("xgz load+commit / xml load+commit: %.2f (target under 1.5)\n", ratio);
    std::printf("xml load per 20,000 songs: %.3f s (target under 0.15 s)\n", figures[0].load * 20000 / count);
    if (ownDir) {
        unlink(plain.c_str());
        unlink(packed.c_str());
        rmdir(dir.c_str());
    }
    return 0;
}
