// Runs the duplicate-song test with its default parameters over a generated
// database of SONGS songs (10,000 by default) of which about 5% are edited
// copies of earlier songs (other chords, line breaks, case, a few changed
// words), prints how long the run took and checks that its report equals
// the report of the straightforward run that compares every pair.
//
//   dupltest [SONGS] [--no-check]
//
// Targets: 10,000 songs under 1.5 s, 20,000 under 5 s. Exit status 1 when
// the reports differ, 2 when the run missed its target.
#include "songs/dupltest.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/common/lyrics.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void fill(DuplTester& tester, const std::vector<std::string>& texts) {
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string title = "Píseň " + std::to_string(i + 1);
        tester.addSong(new DuplSong(texts[i].c_str(), "", title.c_str(), "Skupina", static_cast<int>(i + 1)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    int count = 10000;
    bool check = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-check") == 0)
            check = false;
        else
            count = std::atoi(argv[i]);
    }
    BenchLyrics gen(20261209);
    int copies = 0;
    std::vector<std::string> texts = gen.songs(count, &copies);
    long letters = 0;
    DuplTestParams params;
    DuplTester fast(params);
    fill(fast, texts);
    for (const DuplSong* song : fast.songs) letters += song->letters.length();
    std::printf("songs: %d, edited copies: %d, letters per song: %ld\n", count, copies, letters / (count ? count : 1));

    auto start = std::chrono::steady_clock::now();
    fast.run();
    double fastTime = seconds(start);
    btkstring report = fast.reportText();
    double target = count > 10000 ? 5.0 : 1.5;
    std::printf("run: %.2f s (target under %.2f s): %d to delete, %d kept\n", fastTime, target, fast.toDelete.count(),
                fast.kept.count());

    int status = fastTime < target ? 0 : 2;
    if (check) {
        DuplTester full(params);
        fill(full, texts);
        start = std::chrono::steady_clock::now();
        full.runExhaustive();
        std::printf("every pair: %.2f s\n", seconds(start));
        bool same = full.reportText() == report;
        std::printf("reports %s\n", same ? "equal" : "DIFFER");
        if (!same) status = 1;
    }
    return status;
}
