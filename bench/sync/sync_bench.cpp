// sync_bench: uploads 10,000 new songs into a fresh internet song database
// on a PostgreSQL server, then downloads them into an empty local database,
// and prints the times.
//   sync_bench HOST PORT USER [COUNT]
// HOST is a socket folder or an address; run.sh starts a throwaway server.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dbw/dbwsynchronize.h"
#include "fake_localdb.h"
#include "inetdb_fixture.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// About a kilobyte of song text with chords and Czech letters.
btkstring songText(int i) {
    btkstring text;
    for (int verse = 1; verse <= 4; ++verse) {
        text += btkFormat("%d. [C]Žluťoučký kůň [Ami]úpěl ďábelské [F]ódy číslo %d,\n", verse, i);
        text += "[G]příliš dlouhá cesta [C]vede přes hory a [G7]doly,\n";
        text += "[Dmi]večer u ohně [G]zpíváme [C]spolu.\n";
        text += "R: [F]Hej, hej, [G]hou, [C]hou, [Ami]písnička jde [Dmi]dál [G]dál.\n";
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: sync_bench HOST PORT USER [COUNT]\n");
        return 2;
    }
    int count = argc > 4 ? std::atoi(argv[4]) : 10000;
    kx6InetDb inet(argv[1], std::atoi(argv[2]), argv[3]);
    if (!inet.create("kx6_syncbench_" + std::to_string(getpid()))) {
        std::fprintf(stderr, "cannot create the database: %s\n", inet.error().c_str());
        return 1;
    }
    dbwAdaRef ada = inet.connect();
    if (!ada.isSet()) {
        std::fprintf(stderr, "cannot connect: %s\n", inet.error().c_str());
        return 1;
    }

    FakeSongDb local;
    std::vector<dbwSynObject*> songs;
    for (int i = 0; i < count; ++i) {
        FakeSong* s = local.table.add(btkFormat("Píseň číslo %d", i), i % 3 ? "cz" : "sk", songText(i));
        s->remark = "Z táborového zpěvníku";
        songs.push_back(s);
    }

    auto start = std::chrono::steady_clock::now();
    dbwSynchronize up(ada, &local, inet.userId());
    up.setUpload(true);
    for (dbwSynObject* s : songs) up.addNew(s);
    bool ok = up.synchronize();
    double uploadTime = seconds(start);
    if (!ok) {
        std::fprintf(stderr, "upload failed: %s\n", up.errorText(true).c_str());
        return 1;
    }

    PlainDb empty;
    start = std::chrono::steady_clock::now();
    dbwSynchronize down(ada, &empty, inet.userId());
    down.setDownload(true);
    ok = down.synchronize();
    double downloadTime = seconds(start);
    if (!ok) {
        std::fprintf(stderr, "download failed: %s\n", down.errorText(true).c_str());
        return 1;
    }

    std::printf("songs:    %d (server rows %d, field log rows %d)\n", count, inet.count("songs"),
                inet.count("dbw_updates"));
    std::printf("upload:   %6.2f s  %8.0f songs/s  (target under 30 s)\n", uploadTime, count / uploadTime);
    std::printf("download: %6.2f s  %8.0f songs/s  (target under 15 s), %d new local songs\n", downloadTime,
                count / downloadTime, down.counters().downloadedNew);
    bool fast = uploadTime < 30 && downloadTime < 15 && down.counters().downloadedNew == count;
    std::printf("%s\n", fast ? "within target" : "OUTSIDE TARGET");
    return fast ? 0 : 1;
}
