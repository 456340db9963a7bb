#include "songs/dupltest.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "foundation/btkfold.h"
#include "foundation/btkmessagebox.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

namespace {

// The number after a key of the argument text: blanks, a sign and digits
// with an optional fraction; 0 when nothing is read.
double readDecimal(const char* p) {
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    double value = 0;
    while (*p >= '0' && *p <= '9') value = value * 10 + (*p++ - '0');
    if (*p == '.') {
        double scale = 0.1;
        for (++p; *p >= '0' && *p <= '9'; ++p, scale /= 10) value += (*p - '0') * scale;
    }
    return negative ? -value : value;
}

// The text after the first occurrence of the key, or null.
const char* afterKey(const char* text, const char* key) {
    const char* found = std::strstr(text, key);
    return found ? found + std::strlen(key) : nullptr;
}

// Only A..Z are ever counted: the other counters stay 0 on both sides.
int histogramDifference(const DuplSong& a, const DuplSong& b, int limit) {
    int sum = 0;
    for (int c = 'A'; c <= 'Z'; ++c) {
        sum += std::abs(a.hist[c] - b.hist[c]);
        if (sum > limit) break;
    }
    return sum;
}

// The share and count of unmatched letters are both small enough. Both
// only fall as matched grows.
bool alignedEnough(const DuplTestParams& params, int matched, int total) {
    double share = 1.0 - 2.0 * matched / total;
    return share <= static_cast<double>(params.MAX_TEXT_DIFF_KOEF) &&
           std::abs(2 * matched - total) <= static_cast<double>(params.MAX_TEXT_DIFF_LEN);
}

bool alignmentDuplicate(const DuplTestParams& params, const DuplSong& a, const DuplSong& b) {
    const int la = a.letters.length(), lb = b.letters.length();
    if (std::abs(la - lb) > params.MAX_LEN_DIF) return false;
    if (histogramDifference(a, b, params.MAX_CHAR_DIF) > params.MAX_CHAR_DIF) return false;
    const char* x = a.letters.c_str();
    const char* y = b.letters.c_str();
    const int total = la + lb;
    const int cap = params.MAX_DIF_TEST_LEN;
    int pa = 0, pb = 0, matched = 0;
    while (pa < la && pb < lb) {
        if (x[pa] == y[pb]) {
            ++matched;
            ++pa;
            ++pb;
            continue;
        }
        // Even if every letter left on the shorter side matched, the pair
        // would fail: stop the walk.
        if (!alignedEnough(params, matched + std::min(la - pa, lb - pb), total)) return false;
        const int maxI = std::min(params.MAX_DIF_LEN, la - pa);
        const int maxJ = std::min(params.MAX_DIF_LEN, lb - pb);
        int bestLen = 0, bi = 0, bj = 0;
        for (int i = 0; i < maxI && cap > 0; ++i) {
            // A pair of the longest possible match is only beaten by a
            // smaller sum of offsets.
            if (bestLen > 0 && bestLen >= cap && i >= bi + bj) break;
            for (int j = 0; j < maxJ; ++j) {
                if (bestLen > 0 && bestLen >= cap && i + j >= bi + bj) break;
                int len = 0;
                while (len < cap && pa + i + len < la && pb + j + len < lb && x[pa + i + len] == y[pb + j + len]) ++len;
                if (len > bestLen || (len == bestLen && i + j < bi + bj)) {
                    bestLen = len;
                    bi = i;
                    bj = j;
                }
            }
        }
        if (bi == 0 && bj == 0) {
            ++pa;
            ++pb;
        } else {
            pa += bi;
            pb += bj;
        }
    }
    return alignedEnough(params, matched, total);
}

bool substringDuplicate(const DuplTestParams& params, const DuplSong& a, const DuplSong& b) {
    if (histogramDifference(a, b, params.MAX_CHAR_DIF) > params.MAX_CHAR_DIF) return false;
    const int la = a.letters.length(), lb = b.letters.length();
    int w = std::min(params.window, std::min(la, lb));
    if (w <= 0) return true;
    std::string_view x(a.letters.c_str(), static_cast<size_t>(la));
    std::string_view y(b.letters.c_str(), static_cast<size_t>(lb));
    for (int k = 0; k <= la - w; ++k)
        if (y.find(x.substr(static_cast<size_t>(k), static_cast<size_t>(w))) != std::string_view::npos) return true;
    return false;
}

}  // namespace

// ---- parameters

void DuplTestParams::setDefaults() {
    MAX_LEN_DIF = 100;
    MAX_CHAR_DIF = 100;
    MAX_DIF_LEN = 32;
    MAX_DIF_TEST_LEN = 1;
    MAX_TEXT_DIFF_KOEF = 0.3f;
    MAX_TEXT_DIFF_LEN = 1000.0f;
    method = 0;
    window = 30;
    keepRule = 0;
    progress = nullptr;
}

void DuplTestParams::setFromText(const char* text) {
    setDefaults();
    if (!text) return;
    struct IntKey {
        const char* key;
        int* field;
    };
    for (const IntKey& k : {IntKey{"MAX_LEN_DIF=", &MAX_LEN_DIF}, IntKey{"MAX_CHAR_DIF=", &MAX_CHAR_DIF},
                            IntKey{"MAX_DIF_LEN=", &MAX_DIF_LEN}, IntKey{"MAX_DIF_TEST_LEN=", &MAX_DIF_TEST_LEN}})
        if (const char* value = afterKey(text, k.key)) *k.field = btkAtoi(value);
    if (const char* value = afterKey(text, "MAX_TEXT_DIFF_KOEF=")) MAX_TEXT_DIFF_KOEF = static_cast<float>(readDecimal(value));
    if (const char* value = afterKey(text, "MAX_TEXT_DIFF_LEN=")) MAX_TEXT_DIFF_LEN = static_cast<float>(readDecimal(value));
}

void DuplTestParams::parse(const char* text) {
    setFromText(text);
    DuplTester::runReport(*this);
}

// ---- prepared songs

DuplSong::DuplSong(const char* songText, const char* songAuthor, const char* songTitle, const char* songGroup, int id)
    : text(songText), author(songAuthor), title(songTitle), group(songGroup), locid(id) {
    const char* p = text.c_str();
    bool lineStart = true;
    while (*p) {
        if (lineStart && *p == '.') {
            // A label line, its line feed included. The next line starts
            // right after it, so a label line after a label line is one too.
            while (*p && *p != '\n') ++p;
            if (*p) ++p;
            ++labels;
            continue;
        }
        if (*p == '[') {
            while (*p && *p != ']') ++p;
            if (*p) ++p;
            ++chords;
            lineStart = false;
            continue;
        }
        lineStart = *p == '\n';
        char folded = btkFoldChar(*p++);
        if (folded >= 'A' && folded <= 'Z') {
            letters += folded;
            ++hist[static_cast<unsigned char>(folded)];
        }
    }
}

bool DuplCompare(const DuplTestParams& params, const DuplSong& a, const DuplSong& b) {
    // A song without letters would match everything (or divide 0 by 0).
    if (a.letters.empty() || b.letters.empty()) return false;
    switch (params.method) {
    case 0: return alignmentDuplicate(params, a, b);
    case 1: return substringDuplicate(params, a, b);
    default: return false;
    }
}

// ---- the test

void DuplTester::addSongs(const btkCntVec<KxSong*>& list) {
    for (const KxSong* song : list) songs.add(new DuplSong(song->text, song->author, song->title, song->group, song->locid));
}

template <class Candidates> bool DuplTester::group(Candidates candidates) {
    DuplTestProgress* progress = params.progress;
    toDelete.clear();
    kept.clear();
    if (progress) progress->total = songs.count();
    btkCntVec<int> later, members;
    for (int i = 0; i < songs.count(); ++i) {
        if (progress) {
            if (progress->cancel) return false;
            ++progress->done;
            progress->update();
        }
        if (songs[i]->inGroup) continue;
        members.clear();
        members.add(i);
        later.clear();
        candidates(i, later);
        for (int j : later)
            if (DuplCompare(params, *songs[i], *songs[j])) members.add(j);
        if (members.count() < 2) continue;
        if (progress) ++progress->groups;
        formGroup(members);
    }
    for (int i = 0; i < songs.count(); ++i)
        if (songs[i]->toDelete) toDelete.add(i);
    for (int i = 0; i < songs.count(); ++i)
        if (songs[i]->kept) kept.add(i);
    return true;
}

void DuplTester::formGroup(const btkCntVec<int>& members) {
    auto score = [this](int i) -> long long {
        const DuplSong& s = *songs[i];
        return params.keepRule == 0 ? static_cast<long long>(s.chords) + s.labels : -static_cast<long long>(s.locid);
    };
    // From the last member back: the first strictly highest score wins, so
    // among equal scores the latest song in the list is kept.
    int keep = -1;
    long long best = 0;
    for (int k = members.count() - 1; k >= 0; --k) {
        long long s = score(members[k]);
        if (keep < 0 || s > best) {
            keep = members[k];
            best = s;
        }
    }
    for (int m : members) {
        DuplSong& song = *songs[m];
        song.inGroup = true;
        if (m == keep) {
            song.kept = true;
        } else {
            song.toDelete = true;
            song.replacement = keep;
        }
    }
}

bool DuplTester::runExhaustive() {
    return group([this](int i, btkCntVec<int>& later) {
        for (int j = i + 1; j < songs.count(); ++j) later.add(j);
    });
}

bool DuplTester::run() {
    // Two songs can only pass the length test and the histogram test (whose
    // sum is at least the difference of the lengths) when their letter
    // counts differ by no more than this.
    int reach;
    switch (params.method) {
    case 0: reach = std::min(params.MAX_LEN_DIF, params.MAX_CHAR_DIF); break;
    case 1: reach = params.MAX_CHAR_DIF; break;
    default: reach = -1; break;
    }
    // The songs with letters, by letter count.
    std::vector<int> byLength;
    for (int i = 0; i < songs.count(); ++i)
        if (!songs[i]->letters.empty()) byLength.push_back(i);
    auto length = [this](int i) { return songs[i]->letters.length(); };
    std::sort(byLength.begin(), byLength.end(), [&](int a, int b) {
        return length(a) != length(b) ? length(a) < length(b) : a < b;
    });
    std::vector<int> lengths;
    for (int i : byLength) lengths.push_back(length(i));
    return group([&](int i, btkCntVec<int>& later) {
        if (reach < 0 || songs[i]->letters.empty()) return;
        long long len = length(i);
        auto first = std::lower_bound(lengths.begin(), lengths.end(), static_cast<int>(std::max(0LL, len - reach)));
        auto last = std::upper_bound(lengths.begin(), lengths.end(), static_cast<int>(std::min<long long>(len + reach, 1LL << 30)));
        for (auto it = first; it != last; ++it) {
            int j = byLength[static_cast<size_t>(it - lengths.begin())];
            if (j > i) later.add(j);
        }
        std::sort(later.begin(), later.end());
    });
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
