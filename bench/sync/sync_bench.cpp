// sync_bench: uploads COUNT new songs (10,000 by default) into a fresh
// internet song database on a PostgreSQL server, then downloads them into
// an empty local database, then changes the text of the first half of them
// and deletes the other half in one run, and prints the times.
//   sync_bench HOST PORT USER [COUNT] [DELAY_MS] [--one-by-one]
// HOST is a socket folder or an address; run.sh starts a throwaway server.
// With DELAY_MS (0 included) the runs go through a proxy that holds every
// block of bytes that long each way (15 gives a 30 ms round trip) and
// counts the round trips; --one-by-one turns statement pipelining off, so
// that every statement waits for its answer and new rows wait for their
// keys. Targets: without delay upload under 30 s and download under 15 s;
// with a delay the upload, and the changes and deletions, at most 10 ms per
// song.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/sync/delay_proxy.h"
#include "dbw/dbwadapter.h"
#include "dbw/dbwpostgresql.h"
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
    std::vector<const char*> args;
    bool pipelining = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--one-by-one") == 0)
            pipelining = false;
        else
            args.push_back(argv[i]);
    }
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: sync_bench HOST PORT USER [COUNT] [DELAY_MS] [--one-by-one]\n");
        return 2;
    }
    int count = args.size() > 3 ? std::atoi(args[3]) : 10000;
    bool delayed = args.size() > 4;
    int delayMs = delayed ? std::atoi(args[4]) : 0;
    kx6InetDb inet(args[0], std::atoi(args[1]), args[2]);
    if (!inet.create("kx6_syncbench_" + std::to_string(getpid()))) {
        std::fprintf(stderr, "cannot create the database: %s\n", inet.error().c_str());
        return 1;
    }
    std::unique_ptr<DelayProxy> proxy;
    if (delayed) {
        proxy = std::make_unique<DelayProxy>(args[0], std::atoi(args[1]), std::chrono::milliseconds(delayMs));
        if (!proxy->port()) {
            std::fprintf(stderr, "cannot start the delaying proxy\n");
            return 1;
        }
    }
    auto* conn = new dbwPostgreSQLConnection();
    conn->setPipelining(pipelining);
    bool connected = proxy ? conn->connect(inet.name().c_str(), "127.0.0.1", args[2], "", proxy->port())
                           : conn->connect(inet.name().c_str(), args[0], args[2], "", std::atoi(args[1]));
    if (!connected) {
        std::fprintf(stderr, "cannot connect: %s\n", conn->lastError().c_str());
        conn->release();
        return 1;
    }
    dbwAdaRef ada(dbwCreateAdapter(conn, "UTF-8", nullptr));

    FakeSongDb local;
    std::vector<dbwSynObject*> songs;
    for (int i = 0; i < count; ++i) {
        FakeSong* s = local.table.add(btkFormat("Píseň číslo %d", i), i % 3 ? "cz" : "sk", songText(i));
        s->remark = "Z táborového zpěvníku";
        songs.push_back(s);
    }

    long trips = proxy ? proxy->roundTrips() : 0;
    auto start = std::chrono::steady_clock::now();
    dbwSynchronize up(ada, &local, inet.userId());
    up.setUpload(true);
    for (dbwSynObject* s : songs) up.addNew(s);
    bool ok = up.synchronize();
    double uploadTime = seconds(start);
    long uploadTrips = proxy ? proxy->roundTrips() - trips : 0;
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

    std::printf("songs:    %d (server rows %d, field log rows %d), delay %d ms each way, %s\n", count,
                inet.count("songs"), inet.count("dbw_updates"), delayMs, pipelining ? "pipelined" : "one by one");
    double perSong = uploadTime / (count ? count : 1);
    std::printf("upload:   %6.2f s  %8.0f songs/s  %6.2f ms per song, %.0f s for 10,000", uploadTime,
                count / uploadTime, perSong * 1e3, perSong * 10000);
    if (proxy) std::printf(", %.3f round trips per song (%ld)", double(uploadTrips) / (count ? count : 1), uploadTrips);
    std::printf("\n");
    std::printf("download: %6.2f s  %8.0f songs/s, %d new local songs\n", downloadTime, count / downloadTime,
                down.counters().downloadedNew);

    trips = proxy ? proxy->roundTrips() : 0;
    start = std::chrono::steady_clock::now();
    dbwSynchronize change(ada, &local, inet.userId());
    change.setUpload(true);
    for (int i = 0; i < count; ++i) {
        auto* song = static_cast<FakeSong*>(songs[static_cast<size_t>(i)]);
        if (i < count / 2) {
            song->text += "[C]Poslední sloka.\n";
            song->changed(true);
            change.addChanged(song);
        } else {
            change.addDeleted(song);
        }
    }
    ok = change.synchronize();
    double changeTime = seconds(start);
    long changeTrips = proxy ? proxy->roundTrips() - trips : 0;
    if (!ok) {
        std::fprintf(stderr, "changes failed: %s\n", change.errorText(true).c_str());
        return 1;
    }
    const dbwSyncCounters& c = change.counters();
    double perChange = changeTime / (count ? count : 1);
    std::printf("changes:  %6.2f s  %d changed, %d deleted, %d conflicts, %6.2f ms per song", changeTime, c.updatedNet,
                c.deletedNet, c.conflicts, perChange * 1e3);
    if (proxy) std::printf(", %.3f round trips per song (%ld)", double(changeTrips) / (count ? count : 1), changeTrips);
    std::printf("\n");

    bool fast = delayMs > 0 ? perSong * 1e3 <= 10 && perChange * 1e3 <= 10 : uploadTime < 30 && downloadTime < 15;
    fast = fast && down.counters().downloadedNew == count && c.updatedNet + c.deletedNet == count;
    std::printf("%s\n", fast ? "within target" : "OUTSIDE TARGET");
    return fast ? 0 : 1;
}
