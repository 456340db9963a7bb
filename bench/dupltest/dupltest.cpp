// Runs the duplicate-song test with its default parameters over a generated
// database of 10,000 songs of which about 5% are edited copies of earlier
// songs (other chords, line breaks, case, a few changed words), prints how
// long the run took and checks that its report equals the report of the
// straightforward run that compares every pair.
//
//   dupltest [SONGS] [--no-check]
//
// Target: the run under 5 s. Exit status 1 when the reports differ.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "songs/dupltest.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

const char* const syllables[] = {
    "ko", "ně", "la", "my", "ši", "vo", "da", "tr", "pí", "se", "ňa", "ru", "žu", "če", "st", "ha", "jí", "bo",
    "ví", "te", "ře", "ka", "pa", "zá", "mo", "ty", "dl", "cho", "lu", "ni", "sk", "vě", "be", "ďo", "hu", "fa",
};
const char* const chords[] = {"C", "G", "Ami", "F", "Dmi", "E7", "Hmi", "D", "A7", "Es", "B", "Fmaj7"};

class Generator {
public:
    explicit Generator(unsigned seed) : random(seed) {
        for (int i = 0; i < 3000; ++i) {
            std::string word;
            int n = 1 + pick(3);
            for (int k = 0; k < n; ++k) word += syllables[pick(sizeof syllables / sizeof *syllables)];
            words.push_back(word);
        }
    }

    int pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

    // Words drawn with a falling frequency, as in real lyrics.
    const std::string& word() {
        int r = pick(static_cast<int>(words.size()));
        return words[static_cast<size_t>(pick(r + 1))];
    }

    std::string line() {
        std::string text;
        int n = 4 + pick(4);
        for (int k = 0; k < n; ++k) {
            if (pick(3) == 0) text += std::string("[") + chords[pick(12)] + "]";
            text += word();
            text += k + 1 < n ? " " : (pick(2) ? ",\n" : "\n");
        }
        return text;
    }

    std::string song() {
        std::string text;
        int verses = 2 + pick(5);
        std::string chorus;
        for (int l = 0; l < 4; ++l) chorus += line();
        for (int v = 0; v < verses; ++v) {
            text += "." + std::to_string(v + 1) + "\n";
            for (int l = 0; l < 4; ++l) text += line();
            if (v % 2 == 0) text += ".R:\n" + chorus;
        }
        return text;
    }

    // An edited copy: chords taken out or moved, lines joined, a few words
    // replaced, some letters in upper case.
    std::string edit(const std::string& original) {
        std::string out;
        for (size_t i = 0; i < original.size(); ++i) {
            char c = original[i];
            if (c == '[' && pick(2) == 0) {
                i = original.find(']', i);  // the whole chord left out
                continue;
            }
            if (c == '\n' && i + 1 < original.size() && original[i + 1] != '.' && pick(5) == 0) c = ' ';
            if (c >= 'a' && c <= 'z' && pick(20) == 0) c = static_cast<char>(c - 'a' + 'A');
            out += c;
        }
        for (int changes = pick(4); changes > 0; --changes) {
            size_t at = out.find(' ', static_cast<size_t>(pick(static_cast<int>(out.size()))));
            if (at != std::string::npos) out.insert(at + 1, word() + " ");
        }
        return out;
    }

private:
    std::mt19937 random;
    std::vector<std::string> words;
};

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
    Generator gen(20261209);
    std::vector<std::string> texts;
    int copies = 0;
    long letters = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && gen.pick(20) == 0) {
            texts.push_back(gen.edit(texts[static_cast<size_t>(gen.pick(i))]));
            ++copies;
        } else {
            texts.push_back(gen.song());
        }
    }

    DuplTestParams params;
    DuplTester fast(params);
    fill(fast, texts);
    for (const DuplSong* song : fast.songs) letters += song->letters.length();
    std::printf("songs: %d, edited copies: %d, letters per song: %ld\n", count, copies, letters / (count ? count : 1));

    auto start = std::chrono::steady_clock::now();
    fast.run();
    double fastTime = seconds(start);
    btkstring report = fast.reportText();
    std::printf("run: %.2f s (target under 5 s): %d to delete, %d kept\n", fastTime, fast.toDelete.count(),
                fast.kept.count());

    int status = fastTime < 5.0 ? 0 : 2;
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
