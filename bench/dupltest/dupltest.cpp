// Runs the duplicate-song test with its default parameters over two
// generated databases of SONGS songs (10,000 by default), of which about 5%
// are edited copies of earlier songs (other chords, line breaks, case, a few
// changed words), prints how long each run took and checks that its report
// equals the report of the straightforward run that compares every pair.
//
// - lyrics: songs of verses and choruses drawn from 3,000 words; the length
//   and letter-count filters reject almost every pair.
// - similar: songs of 10 to 27 lines drawn from 50 words of one syllable
//   set, about 440 letters each; some 15% of all pairs pass both filters
//   and are compared letter by letter.
//
//   dupltest [SONGS] [--no-check] [--only=lyrics|similar]
//
// Targets: lyrics 10,000 songs under 1.5 s and 20,000 under 5 s; similar
// 10,000 under 1 s and 40,000 under 10 s. Exit status 1 when the reports
// differ, 2 when a run missed its target.
#include "songs/dupltest.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "bench/common/lyrics.h"

namespace {

struct Clock {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();  // all threads of the process
    double wallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double cpuSeconds() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

void fill(DuplTester& tester, const std::vector<std::string>& texts) {
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string title = "Píseň " + std::to_string(i + 1);
        tester.addSong(new DuplSong(texts[i].c_str(), "", title.c_str(), "Skupina", static_cast<int>(i + 1)));
    }
}

// Runs one corpus; the exit status it asks for.
int runCorpus(const char* name, const std::vector<std::string>& texts, int copies, double target, bool check) {
    const int count = static_cast<int>(texts.size());
    DuplTestParams params;
    DuplTester fast(params);
    fill(fast, texts);
    long letters = 0;
    for (const DuplSong* song : fast.songs) letters += song->letters.length();
    std::printf("%s: %d songs, edited copies: %d, letters per song: %ld\n", name, count, copies,
                letters / (count ? count : 1));

    Clock clock;
    fast.run();
    const double wall = clock.wallSeconds(), cpu = clock.cpuSeconds();
    std::printf("  run: %.2f s, CPU %.2f s (target under %.2f s): %d to delete, %d kept\n", wall, cpu, target,
                fast.toDelete.count(), fast.kept.count());
    int status = wall < target ? 0 : 2;
    if (check) {
        DuplTester full(params);
        fill(full, texts);
        Clock fullClock;
        full.runExhaustive();
        std::printf("  every pair: %.2f s\n", fullClock.wallSeconds());
        bool same = full.reportText() == fast.reportText();
        std::printf("  reports %s\n", same ? "equal" : "DIFFER");
        if (!same) status = 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    int count = 10000;
    bool check = true;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-check") == 0)
            check = false;
        else if (std::strncmp(argv[i], "--only=", 7) == 0)
            only = argv[i] + 7;
        else
            count = std::atoi(argv[i]);
    }
    int status = 0;
    auto worst = [&status](int s) { status = s == 1 || status == 1 ? 1 : (s > status ? s : status); };
    if (only.empty() || only == "lyrics") {
        BenchLyrics gen(20261209);
        int copies = 0;
        std::vector<std::string> texts = gen.songs(count, &copies);
        worst(runCorpus("lyrics", texts, copies, count > 10000 ? 5.0 : 1.5, check));
    }
    if (only.empty() || only == "similar") {
        BenchLyrics gen(20261209, 50);
        int copies = 0;
        std::vector<std::string> texts = gen.songs(count, &copies, true);
        worst(runCorpus("similar", texts, copies, count > 10000 ? 10.0 : 1.0, check));
    }
    return status;
}
