#include "songs/dupltest.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "foundation/btkfold.h"
#include "songs/duplworkerpool.h"
#include "songs/kxsong.h"

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

// The smallest matched count in 0..most that passes, -1 when none does.
// Starts from the count the two limits give and settles it with the test
// itself, so rounding cannot move it.
int fewestMatches(const DuplTestParams& params, int most, int total) {
    if (!alignedEnough(params, most, total)) return -1;
    double byShare = total * (1.0 - static_cast<double>(params.MAX_TEXT_DIFF_KOEF)) / 2;
    double byCount = (total - static_cast<double>(params.MAX_TEXT_DIFF_LEN)) / 2;
    double estimate = std::max(byShare, byCount);
    int m = estimate <= 0 ? 0 : estimate >= most ? most : static_cast<int>(estimate);
    while (m > 0 && alignedEnough(params, m - 1, total)) --m;
    while (m < most && !alignedEnough(params, m, total)) ++m;
    return m;
}

// For every position of a song's letters and every letter A..Z: how far
// ahead that letter next stands (0 when it stands right there); 255 when it
// stands at the search distance or farther, or nowhere. A row holds 32
// entries, the last six always 255, so that a letter code taken modulo 32
// picks its entry.
class NextLetters {
public:
    static constexpr int rowSize = 32;

    NextLetters(const btkstring& letters, int distance) {
        const int n = letters.length();
        table.assign(static_cast<size_t>(n + 1) * rowSize, 255);
        for (int pos = n - 1; pos >= 0; --pos) {
            unsigned char* row = table.data() + static_cast<size_t>(pos) * rowSize;
            const unsigned char* next = row + rowSize;
            for (int c = 0; c < 26; ++c)
                row[c] = next[c] + 1 >= distance ? 255 : static_cast<unsigned char>(next[c] + 1);
            row[letters[pos] - 'A'] = 0;
        }
    }
    const unsigned char* at(int pos) const { return table.data() + static_cast<size_t>(pos) * rowSize; }

private:
    std::vector<unsigned char> table;
};

// A song's letters as codes 0..25 followed by codePadding codes of 255, so
// that a walk may read a block of 16 codes from any position of the song.
constexpr int codePadding = 16;

void appendCodes(std::vector<unsigned char>& out, const btkstring& letters) {
    for (int k = 0; k < letters.length(); ++k) out.push_back(static_cast<unsigned char>(letters[k] - 'A'));
    out.insert(out.end(), codePadding, 255);
}

// After a mismatch at (pa, pb): the offsets (i, j) of the longest match,
// up to cap letters, among i < maxI and j < maxJ; among equal lengths the
// smaller i + j, among equal sums the smaller i. (0, 0) when nothing
// matches.
void resyncLiteral(const char* x, int la, int pa, const char* y, int lb, int pb, int maxI, int maxJ, int cap, int& bi,
                   int& bj) {
    int bestLen = 0;
    bi = bj = 0;
    for (int i = 0; i < maxI && cap > 0; ++i) {
        // A pair of the longest possible match is only beaten by a smaller
        // sum of offsets.
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
}

// The same for a match length of one letter. For each offset j on b the
// nearest equal letter of a comes from a's table of next letters (a is the
// song compared with many others, so its table stays in the cache); y: b's
// codes from the mismatch. The pair with the smallest sum wins, among equal
// sums the one with the smaller i.
void resyncByTable(const unsigned char* ahead, const unsigned char* y, int maxI, int maxJ, int& bi, int& bj) {
    int bestSum = maxI + maxJ;
    bi = bj = 0;
    for (int j = 0; j < maxJ && j <= bestSum; ++j) {
        int i = ahead[y[j]];
        if (i >= maxI) continue;
        if (i + j < bestSum || (i + j == bestSum && i < bi)) {
            bestSum = i + j;
            bi = i;
            bj = j;
        }
    }
}

// The search distances of the table walk: from 1 (a distance of 0 never
// resynchronises and a table entry of 0 is the letter in place) to 240, so
// that an offset plus a lane number stays below 255 in a byte.
constexpr int minTableDistance = 1;
constexpr int maxTableDistance = 240;

// One walk of the alignment method between song a (its table of next
// letters) and song b (its padded codes), for a resynchronising match of
// one letter. budget: the most unmatched letters (total - 2 * matched) that
// still pass.
struct TableWalk {
    const unsigned char* y;
    int lb;
    int budget;
    int pa = 0, pb = 0;
    int unmatched = 0;  // letters passed over so far
    int result = -1;    // -1 running, 0 no duplicate, 1 duplicate
};

// The nearest pair of equal letters among the next 16 letters of b, all
// looked up at once ((0, 0) when the letters in place are equal): false
// when none there has a sum of offsets below 16 (a later offset of b might
// then do as well). row: a's table at its position, y: b's codes from its
// position.
[[gnu::always_inline]] inline bool nearPair(const unsigned char* row, const unsigned char* y, int distance, int& bi,
                                            int& bj) {
#if defined(__SSE2__)
    using Bytes16 = unsigned char __attribute__((vector_size(16)));
    Bytes16 low, high, codes;
    std::memcpy(&low, row, 16);
    std::memcpy(&high, row + 16, 16);
    std::memcpy(&codes, y, 16);
    // For each letter of b: how far ahead it stands on a (255 at the
    // distance or beyond, or past the end of either song).
    const __m128i ahead = reinterpret_cast<__m128i>(__builtin_shuffle(low, high, codes));
    const __m128i lanes = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m128i beyond =
        _mm_cmpeq_epi8(_mm_max_epu8(lanes, _mm_set1_epi8(static_cast<char>(std::min(distance, 16)))), lanes);
    // The sums of the offsets, at most 127, each joined with its lane
    // reversed: the smallest key has the smallest sum and, among equal
    // sums, the largest j, hence the smallest i.
    const __m128i sums = _mm_min_epu8(_mm_or_si128(_mm_adds_epu8(ahead, lanes), beyond), _mm_set1_epi8(127));
    const __m128i reversed = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    __m128i keys = _mm_min_epi16(_mm_unpacklo_epi8(reversed, sums), _mm_unpackhi_epi8(reversed, sums));
    keys = _mm_min_epi16(keys, _mm_shuffle_epi32(keys, 0x4E));
    keys = _mm_min_epi16(keys, _mm_shuffle_epi32(keys, 0xB1));
    keys = _mm_min_epi16(keys, _mm_shufflelo_epi16(keys, 0xB1));
    const int key = _mm_cvtsi128_si32(keys) & 0xFFFF;
    if (key >= 16 << 8) return false;
    bj = 15 - (key & 0xFF);
    bi = (key >> 8) - bj;
    return true;
#else
    (void)row, (void)y, (void)distance, (void)bi, (void)bj;
    return false;
#endif
}

// One step of a walk: a letter pair in step (the pair of offsets 0, 0), or
// a resynchronisation and the letter pair it leads to; both through the
// same search, so that no branch guesses whether the letters are equal.
// The walk ends as soon as even a perfect rest would leave too many
// letters unmatched.
[[gnu::always_inline]] inline void stepWalk(const NextLetters& nextA, int la, int distance, TableWalk& w) {
    if (w.pa >= la || w.pb >= w.lb) {
        w.result = w.unmatched + (la - w.pa) + (w.lb - w.pb) <= w.budget;
        return;
    }
    const unsigned char* row = nextA.at(w.pa);
    const int restA = la - w.pa, restB = w.lb - w.pb;
    if (w.unmatched + std::abs(restA - restB) > w.budget) {
        w.result = 0;
        return;
    }
    int bi, bj;
    if (!nearPair(row, w.y + w.pb, distance, bi, bj)) {
        if (row[w.y[w.pb]] == 0) {
            bi = bj = 0;
        } else {
            resyncByTable(row, w.y + w.pb, std::min(distance, restA), std::min(distance, restB), bi, bj);
            if (bi == 0 && bj == 0) {
                w.unmatched += 2;
                ++w.pa;
                ++w.pb;
                return;
            }
        }
    }
    // The letters the offsets lead to are equal: one more match.
    w.unmatched += bi + bj;
    w.pa += bi + 1;
    w.pb += bj + 1;
}

// Runs the walks to their ends, four at a time: the steps of one walk
// wait for each other, the steps of different walks do not. Built for
// plain x86-64 and for processors with byte shuffles, chosen at start.
#if defined(__x86_64__)
__attribute__((target_clones("default", "ssse3")))
#endif
void runTableWalks(const NextLetters& nextA, int la, int distance, TableWalk* walks, int count) {
    constexpr int slots = 4;
    int running[slots];
    int n = 0, next = 0;
    while (n < slots && next < count) running[n++] = next++;
    while (n > 0) {
        for (int s = 0; s < n;) {
            TableWalk& w = walks[running[s]];
            stepWalk(nextA, la, distance, w);
            if (w.result < 0)
                ++s;
            else if (next < count)
                running[s++] = next++;
            else
                running[s] = running[--n];
        }
    }
}

// How a comparison runs: literal tries every pair of offsets one by one and
// walks to the end; checked and prefiltered find the same pairs faster and
// stop a walk that can no longer pass, and prefiltered also leaves out the
// length and histogram tests the caller has already made.
enum class CompareMode { literal, checked, prefiltered };

// Whether the alignment method compares through table walks (otherwise
// through the offsets tried one by one).
bool usesTableWalk(const DuplTestParams& params) {
    return params.MAX_DIF_TEST_LEN == 1 && params.MAX_DIF_LEN >= minTableDistance &&
           params.MAX_DIF_LEN <= maxTableDistance;
}

bool alignmentDuplicate(const DuplTestParams& params, const DuplSong& a, const DuplSong& b, CompareMode mode) {
    const bool literal = mode == CompareMode::literal;
    const int la = a.letters.length(), lb = b.letters.length();
    if (mode != CompareMode::prefiltered) {
        if (std::abs(la - lb) > params.MAX_LEN_DIF) return false;
        if (histogramDifference(a, b, params.MAX_CHAR_DIF) > params.MAX_CHAR_DIF) return false;
    }
    const int total = la + lb;
    const int cap = params.MAX_DIF_TEST_LEN;
    // The fewest matched letters that pass: the walk can match no more
    // letters than the shorter side holds. The literal walk always runs
    // to its end.
    const int needed = literal ? 0 : fewestMatches(params, std::min(la, lb), total);
    if (needed < 0) return false;
    if (!literal && usesTableWalk(params)) {
        const NextLetters nextA(a.letters, params.MAX_DIF_LEN);
        std::vector<unsigned char> codes;
        appendCodes(codes, b.letters);
        TableWalk walk{codes.data(), lb, total - 2 * needed};
        runTableWalks(nextA, la, params.MAX_DIF_LEN, &walk, 1);
        return walk.result == 1;
    }
    const char* x = a.letters.c_str();
    const char* y = b.letters.c_str();
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
        if (!literal && matched + std::min(la - pa, lb - pb) < needed) return false;
        const int maxI = std::min(params.MAX_DIF_LEN, la - pa);
        const int maxJ = std::min(params.MAX_DIF_LEN, lb - pb);
        int bi, bj;
        resyncLiteral(x, la, pa, y, lb, pb, maxI, maxJ, cap, bi, bj);
        if (bi == 0 && bj == 0) bi = bj = 1;
        pa += bi;
        pb += bj;
    }
    return literal ? alignedEnough(params, matched, total) : matched >= needed;
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
        if (const char* value = afterKey(text, k.key))
            if (int n = btkAtoi(value); n >= 0) *k.field = n;  // a negative length is refused
    if (const char* value = afterKey(text, "MAX_TEXT_DIFF_KOEF="))
        MAX_TEXT_DIFF_KOEF = static_cast<float>(readDecimal(value));
    if (const char* value = afterKey(text, "MAX_TEXT_DIFF_LEN="))
        MAX_TEXT_DIFF_LEN = static_cast<float>(readDecimal(value));
    clamp();
}

void DuplTestParams::clamp() {
    auto limit = [](int& v, int low, int high) { v = std::clamp(v, low, high); };
    limit(MAX_LEN_DIF, 0, 1000000);
    limit(MAX_CHAR_DIF, 0, 1000000);
    limit(MAX_DIF_LEN, 0, 1000);
    limit(MAX_DIF_TEST_LEN, 0, 1000000);
    limit(window, 1, 1000000);
    // Also turns a NaN into the lower bound.
    auto limitF = [](float& v, float low, float high) { v = v >= low ? (v <= high ? v : high) : low; };
    limitF(MAX_TEXT_DIFF_KOEF, 0.0f, 1.0f);
    limitF(MAX_TEXT_DIFF_LEN, 0.0f, 1000000.0f);
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

namespace {

bool compareSongs(const DuplTestParams& params, const DuplSong& a, const DuplSong& b, CompareMode mode) {
    // A song without letters would match everything (or divide 0 by 0).
    if (a.letters.empty() || b.letters.empty()) return false;
    switch (params.method) {
    case 0: return alignmentDuplicate(params, a, b, mode);
    case 1: return substringDuplicate(params, a, b);
    default: return false;
    }
}

// Every song's letters as padded codes, one after the other, and their
// counts, so that the walks read neither the songs nor their strings.
struct LetterCodes {
    explicit LetterCodes(const btkObjArray<DuplSong>& songs)
        : at(static_cast<size_t>(songs.count())), lengths(static_cast<size_t>(songs.count())) {
        for (int i = 0; i < songs.count(); ++i) {
            at[static_cast<size_t>(i)] = codes.size();
            lengths[static_cast<size_t>(i)] = songs[i]->letters.length();
            appendCodes(codes, songs[i]->letters);
        }
    }
    std::vector<unsigned char> codes;
    std::vector<size_t> at;
    std::vector<int> lengths;
};

// The letter walks of song a against the later candidates, all on a's one
// table; adds the candidates that pass to found.
void walkCandidates(const DuplTestParams& params, const DuplSong& a, const LetterCodes& letters,
                    const btkCntVec<int>& later, btkCntVec<int>& found) {
    const int la = a.letters.length();
    const NextLetters nextA(a.letters, params.MAX_DIF_LEN);
    std::vector<TableWalk> walks;
    std::vector<int> walked;
    for (int j : later) {
        const int lb = letters.lengths[static_cast<size_t>(j)];
        const int needed = fewestMatches(params, std::min(la, lb), la + lb);
        if (needed < 0) continue;
        walks.push_back(TableWalk{letters.codes.data() + letters.at[static_cast<size_t>(j)], lb, la + lb - 2 * needed});
        walked.push_back(j);
    }
    runTableWalks(nextA, la, params.MAX_DIF_LEN, walks.data(), static_cast<int>(walks.size()));
    for (size_t k = 0; k < walks.size(); ++k)
        if (walks[k].result == 1) found.add(walked[k]);
}

}  // namespace

bool DuplCompare(const DuplTestParams& params, const DuplSong& a, const DuplSong& b) {
    return compareSongs(params, a, b, CompareMode::checked);
}

bool DuplCompareLiteral(const DuplTestParams& params, const DuplSong& a, const DuplSong& b) {
    return compareSongs(params, a, b, CompareMode::literal);
}

// ---- the test

void DuplTester::addSongs(const btkCntVec<KxSong*>& list) {
    for (const KxSong* song : list)
        songs.add(new DuplSong(song->text, song->author, song->title, song->group, song->locid));
}

template <class Candidates> bool DuplTester::group(Candidates candidates, bool literal) {
    DuplTestProgress* progress = params.progress;
    toDelete.clear();
    kept.clear();
    if (progress) progress->total = songs.count();
    // The reference run reads the songs themselves.
    std::unique_ptr<LetterCodes> letters;
    if (!literal) letters = std::make_unique<LetterCodes>(songs);
    // The later songs that are duplicates of song i, in song order (the
    // fast run's candidates come in any order).
    auto findDuplicates = [&](int i, btkCntVec<int>& found) {
        btkCntVec<int> later;
        candidates(i, later);
        if (literal) {
            for (int j : later)
                if (compareSongs(params, *songs[i], *songs[j], CompareMode::literal)) found.add(j);
            return;
        }
        if (later.empty()) return;
        const DuplSong& a = *songs[i];
        if (params.method != 0 || !usesTableWalk(params)) {
            for (int j : later)
                if (compareSongs(params, a, *songs[j], CompareMode::prefiltered)) found.add(j);
            std::sort(found.begin(), found.end());
            return;
        }
        walkCandidates(params, a, *letters, later, found);
        std::sort(found.begin(), found.end());
    };
    // The reference run stays on one thread.
    std::unique_ptr<DuplWorkerPool> parallel;
    if (!literal) parallel = std::make_unique<DuplWorkerPool>(songs.count(), findDuplicates);
    btkCntVec<int> members, found;
    for (int i = 0; i < songs.count(); ++i) {
        if (progress) {
            if (progress->cancel) return false;
            ++progress->done;
            progress->update();
        }
        if (songs[i]->inGroup) continue;
        members.clear();
        members.add(i);
        if (parallel) {
            for (int j : parallel->duplicatesOf(i)) members.add(j);
        } else {
            found.clear();
            findDuplicates(i, found);
            for (int j : found) members.add(j);
        }
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
    return group(
        [this](int i, btkCntVec<int>& later) {
            for (int j = i + 1; j < songs.count(); ++j) later.add(j);
        },
        true);
}

namespace {

// A song's letter count and histogram, kept side by side in letter-count
// order so that the filters read memory in sequence. The counts are 16-bit
// (a song of more letters is compared through its own histogram), padded
// to 32 with zeros, so that eight differences are taken at once.
struct alignas(16) LengthEntry {
    std::uint16_t hist[32];
    int length;
    int index;
};

// A song with this many letters or more may count one letter beyond 16 bits.
constexpr int wideLength = 65535;

// Whether the sum of the histogram differences stays within limit.
bool histogramsClose(const LengthEntry& a, const LengthEntry& b, const DuplSong& songA, const DuplSong& songB,
                     int limit) {
    if (a.length >= wideLength || b.length >= wideLength || limit >= 65535)
        return histogramDifference(songA, songB, limit) <= limit;
#if defined(__SSE2__)
    // Saturating sums: a sum that reaches 65535 is beyond the limit both
    // exactly and as computed.
    __m128i sum = _mm_setzero_si128();
    for (int k = 0; k < 32; k += 8) {
        const __m128i x = _mm_load_si128(reinterpret_cast<const __m128i*>(a.hist + k));
        const __m128i y = _mm_load_si128(reinterpret_cast<const __m128i*>(b.hist + k));
        sum = _mm_adds_epu16(sum, _mm_or_si128(_mm_subs_epu16(x, y), _mm_subs_epu16(y, x)));
    }
    sum = _mm_adds_epu16(sum, _mm_srli_si128(sum, 8));
    sum = _mm_adds_epu16(sum, _mm_srli_si128(sum, 4));
    sum = _mm_adds_epu16(sum, _mm_srli_si128(sum, 2));
    return (_mm_cvtsi128_si32(sum) & 0xFFFF) <= limit;
#else
    int sum = 0;
    for (int c = 0; c < 26; ++c) sum += std::abs(a.hist[c] - b.hist[c]);
    return sum <= limit;
#endif
}

}  // namespace

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
    std::vector<LengthEntry> entries;
    std::vector<int> position(static_cast<size_t>(songs.count()), -1);
    for (int i = 0; i < songs.count(); ++i) {
        const DuplSong& song = *songs[i];
        if (song.letters.empty()) continue;
        LengthEntry e{};
        e.length = song.letters.length();
        e.index = i;
        for (int c = 0; c < 26; ++c) e.hist[c] = static_cast<std::uint16_t>(std::min(song.hist['A' + c], 65535));
        entries.push_back(e);
    }
    std::sort(entries.begin(), entries.end(), [](const LengthEntry& a, const LengthEntry& b) {
        return a.length != b.length ? a.length < b.length : a.index < b.index;
    });
    for (size_t k = 0; k < entries.size(); ++k) position[static_cast<size_t>(entries[k].index)] = static_cast<int>(k);
    return group(
        [&](int i, btkCntVec<int>& later) {
            int at = position[static_cast<size_t>(i)];
            if (reach < 0 || at < 0) return;
            const LengthEntry& self = entries[static_cast<size_t>(at)];
            // The neighbours in letter-count order within reach, both ways.
            auto consider = [&](const LengthEntry& other) {
                if (other.index > i &&
                    histogramsClose(self, other, *songs[i], *songs[other.index], params.MAX_CHAR_DIF))
                    later.add(other.index);
            };
            for (int k = at - 1; k >= 0 && self.length - entries[static_cast<size_t>(k)].length <= reach; --k)
                consider(entries[static_cast<size_t>(k)]);
            for (size_t k = static_cast<size_t>(at) + 1; k < entries.size() && entries[k].length - self.length <= reach;
                 ++k)
                consider(entries[k]);
        },
        false);
}
