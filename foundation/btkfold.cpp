#include "foundation/btkfold.h"

#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using CharMap = std::array<unsigned char, 256>;

constexpr CharMap makeMap(const char* from, const char* to) {
    CharMap map{};
    for (int i = 0; i < 256; ++i) map[i] = static_cast<unsigned char>(i);
    for (; *from && *to; ++from, ++to) map[static_cast<unsigned char>(*from)] = static_cast<unsigned char>(*to);
    return map;
}

constexpr CharMap makeFoldTable() {
    CharMap plain = makeMap("ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽáčďěéíňóřšťúůýž", "ACDEEINORSTUUYZacdeeinorstuuyz");
    CharMap upper = makeMap("abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    CharMap both{};
    for (int i = 0; i < 256; ++i) both[i] = upper[plain[i]];
    return both;
}

constexpr CharMap foldTable = makeFoldTable();

// What the search does on each code: compares it, skips it (blanks,
// commas, points), skips the chord it opens, or ends.
enum CharKind : unsigned char { Compared, Skipped, Chord, End };

constexpr CharMap makeKinds() {
    CharMap kinds{};
    for (int c = 1; c <= 32; ++c) kinds[c] = Skipped;
    kinds[','] = kinds['.'] = Skipped;
    kinds['['] = Chord;
    kinds[0] = End;
    return kinds;
}

constexpr CharMap kinds = makeKinds();

// Moves past the current character, then past blanks, commas, points and
// chords in square brackets (an unclosed chord runs to the end).
inline const unsigned char* advance(const unsigned char* p) {
    for (++p;; ++p) {
        switch (kinds[*p]) {
        case Compared:
        case End: return p;
        case Skipped: break;
        case Chord:
            while (p[1] && p[1] != ']') ++p;
            if (p[1]) ++p;  // on the bracket, left by the loop's step
            break;
        }
    }
}

// The phrase from its second character on, each character folded, in the
// order the search compares them.
std::string foldedTail(const unsigned char* phrase) {
    std::string tail;
    for (const unsigned char* q = advance(phrase); *q; q = advance(q)) tail += static_cast<char>(foldTable[*q]);
    return tail;
}

// The rest of the phrase matches the text from the place after at.
inline bool tailMatches(const std::string& tail, const unsigned char* at) {
    const unsigned char* t = at;
    for (char c : tail) {
        // Mostly the next character is the next place.
        t = kinds[t[1]] == Compared ? t + 1 : advance(t);
        if (foldTable[*t] != static_cast<unsigned char>(c) || !*t) return false;
    }
    return true;
}

// The codes folding to each compared code: at most six (e, E, é, É, ě, Ě).
struct Preimages {
    unsigned char codes[6];
    int count;
};

constexpr std::array<Preimages, 256> makePreimages() {
    std::array<Preimages, 256> all{};
    for (int c = 1; c < 256; ++c) {
        Preimages& p = all[foldTable[c]];
        if (kinds[c] == Compared && p.count < 6) p.codes[p.count++] = static_cast<unsigned char>(c);
    }
    return all;
}

constexpr std::array<Preimages, 256> preimages = makePreimages();
static_assert([] {
    for (int f = 0; f < 256; ++f) {
        int n = 0;
        for (int c = 1; c < 256; ++c) n += foldTable[c] == f && kinds[c] == Compared;
        if (n > 6) return false;
    }
    return true;
}());

// Where in sixteen bytes stand the places worth trying (a code folding to
// the phrase's first character followed by one folding to its second, or
// by anything the search skips), opening and closing brackets, and NULs:
// one bit per byte. The seventeenth byte must be readable.
struct BlockMasks {
    unsigned wanted, opens, closes, ends;
};

#if defined(__SSE2__)
inline unsigned anyOf(__m128i block, const Preimages& codes) {
    __m128i hits = _mm_setzero_si128();
    for (int k = 0; k < codes.count; ++k)
        hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(codes.codes[k]))));
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}

inline unsigned equalTo(__m128i block, unsigned char c) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(c)))));
}
#endif

inline BlockMasks blockMasks(const unsigned char* p, const Preimages& firsts, const Preimages* seconds) {
    BlockMasks m{};
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    m.wanted = anyOf(block, firsts);
    if (seconds && m.wanted) {
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        // Codes 1 to 32 are blanks; NUL ends the text and stays out.
        const __m128i blank = _mm_cmpeq_epi8(_mm_min_epu8(_mm_sub_epi8(next, _mm_set1_epi8(1)), _mm_set1_epi8(31)),
                                             _mm_sub_epi8(next, _mm_set1_epi8(1)));
        const unsigned skipped = static_cast<unsigned>(_mm_movemask_epi8(blank)) | equalTo(next, ',') |
                                 equalTo(next, '.') | equalTo(next, '[');
        m.wanted &= anyOf(next, *seconds) | skipped;
    }
    m.opens = equalTo(block, '[');
    m.closes = equalTo(block, ']');
    m.ends = equalTo(block, 0);
#else
    for (int i = 0; i < 16; ++i) {
        const unsigned bit = 1u << i;
        auto among = [](unsigned char c, const Preimages& codes) {
            for (int k = 0; k < codes.count; ++k)
                if (c == codes.codes[k]) return true;
            return false;
        };
        if (among(p[i], firsts) && (!seconds || among(p[i + 1], *seconds) || (p[i + 1] && kinds[p[i + 1]] != Compared)))
            m.wanted |= bit;
        if (p[i] == '[') m.opens |= bit;
        if (p[i] == ']') m.closes |= bit;
        if (p[i] == 0) m.ends |= bit;
    }
#endif
    return m;
}

// The bits of a block that lie inside chords (brackets included), given
// whether the block starts inside one; inChord becomes whether it ends
// inside one.
inline unsigned chordInterior(const BlockMasks& m, unsigned beforeEnd, bool& inChord) {
    const unsigned opens = m.opens & beforeEnd, closes = m.closes & beforeEnd;
    // Mostly brackets alternate, open and close: then a running parity
    // of the brackets is the interior.
    unsigned parity = opens | closes;
    parity ^= parity << 1;
    parity ^= parity << 2;
    parity ^= parity << 4;
    parity ^= parity << 8;
    parity = (inChord ? ~parity : parity) & 0xFFFFu;
    if (!(opens & ~parity) && !(closes & parity)) {
        inChord = parity >> 15;
        return parity | closes;
    }
    // A bracket inside a chord, or a closing one outside: bracket by bracket.
    unsigned inside = 0;
    unsigned from = 1;  // the first bit of the chord being read
    for (unsigned brackets = opens | closes; brackets; brackets &= brackets - 1) {
        const unsigned bit = brackets & (0u - brackets);
        if (inChord && (closes & bit)) {
            inside |= (bit << 1) - from;  // the closing bracket included
            inChord = false;
        } else if (!inChord && (opens & bit)) {
            from = bit;
            inChord = true;
        }
    }
    if (inChord) inside |= 0x10000u - from;
    return inside;
}

}  // namespace

const std::array<unsigned char, 256> btkFoldTable = foldTable;

bool btkFoldedFind(const char* phrase, const btkstring& text) {
    const auto* t = reinterpret_cast<const unsigned char*>(text.c_str());
    if (!*t) return false;
    const auto* q = reinterpret_cast<const unsigned char*>(phrase ? phrase : "");
    if (!*q) return true;
    const unsigned char first = foldTable[*q];
    const std::string tail = foldedTail(q);
    // The text's first character is a place of its own: it is compared as
    // it stands, even a blank or a chord's bracket, and the place after it
    // may lie inside that chord.
    if (foldTable[*t] == first && tailMatches(tail, t)) return true;
    // Every later place is a compared character outside chords, and none
    // folds to a blank, comma, point or bracket.
    if (kinds[first] != Compared) return false;
    // Sixteen bytes at a time: the places worth trying are the codes
    // folding to the phrase's first character outside chords. A chord runs
    // from an opening bracket outside chords to the next closing one.
    const Preimages& firsts = preimages[first];
    const Preimages* seconds = tail.empty() ? nullptr : &preimages[static_cast<unsigned char>(tail[0])];
    const unsigned char* end = t + text.length();
    bool inChord = false;
    unsigned char last[17];
    for (const unsigned char* p = advance(t);; p += 16) {
        const unsigned char* block = p;
        if (end - p < 16) {
            // The text's last bytes, NUL-padded.
            std::memset(last, 0, sizeof last);
            if (end > p) std::memcpy(last, p, static_cast<size_t>(end - p));
            block = last;
        }
        const BlockMasks m = blockMasks(block, firsts, seconds);
        const unsigned beforeEnd = m.ends ? (m.ends & (0u - m.ends)) - 1 : 0xFFFFu;
        unsigned places = m.wanted & beforeEnd;
        if (inChord || ((m.opens | m.closes) & beforeEnd)) places &= ~chordInterior(m, beforeEnd, inChord);
        for (; places; places &= places - 1)
            if (tailMatches(tail, p + __builtin_ctz(places))) return true;
        if (m.ends) return false;
    }
}
