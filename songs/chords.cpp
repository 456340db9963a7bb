#include "songs/chords.h"

#include <cstring>

#include "foundation/btkstream.h"

namespace {

struct WrittenNote {
    const char* name;
    int pitch;
};

// Tried in this order: the first prefix that matches wins.
const WrittenNote writtenNotes[] = {
    {"C#", 1},  {"Ces", 11}, {"Cb", 11},  {"C", 0},   {"D#", 3},  {"Des", 1}, {"Db", 1}, {"D", 2},
    {"Es", 3},  {"Eb", 3},   {"E#", 5},   {"E", 4},   {"F#", 6},  {"Fes", 4}, {"Fb", 4}, {"F", 5},
    {"G#", 8},  {"Ges", 6},  {"Gb", 6},   {"G", 7},   {"A#", 10}, {"As", 8},  {"Ab", 8}, {"A", 9},
    {"Bb", 10}, {"B", 10},   {"Hes", 10}, {"Hb", 10}, {"H#", 0},  {"H", 11},
};

const char* const printedNames[12] = {"C", "C#", "D", "Es", "E", "F", "F#", "G", "As", "A", "B", "H"};

}  // namespace

int ParseNoteName(const char* text, const char** after) {
    if (text) {
        for (const WrittenNote& note : writtenNotes) {
            size_t n = std::strlen(note.name);
            if (std::strncmp(text, note.name, n) != 0) continue;
            // In Esus4 and Asus2 the "s" opens "sus": the root is E or A.
            if (note.name[n - 1] == 's' && std::strncmp(text + n - 1, "sus", 3) == 0) continue;
            if (after) *after = text + n;
            return note.pitch;
        }
    }
    if (after) *after = nullptr;
    return -1;
}

const char* NoteName(int n) {
    int pitch = n % 12;
    if (pitch < 0) pitch += 12;
    return printedNames[pitch];
}

void TransposeChords(const char* text, btkWriteStream& out, int shift) {
    shift %= 12;  // so that adding it to a pitch cannot overflow
    const char* p = text ? text : "";
    while (*p) {
        if (*p != '[') {
            out << *p++;
            continue;
        }
        out << *p++;
        if (*p == '(') out << *p++;
        const char* after;
        int root = ParseNoteName(p, &after);
        if (root < 0) {
            // No chord: the bracket passes unchanged.
            while (*p && *p != ']') out << *p++;
            if (*p) out << *p++;
            continue;
        }
        out << NoteName(root + shift);
        p = after;
        while (*p && *p != ']' && *p != '/') out << *p++;
        if (*p == '/') {
            out << *p++;
            int bass = ParseNoteName(p, &after);
            if (bass >= 0) {
                out << NoteName(bass + shift);
                p = after;
                while (*p && *p != ']') out << *p++;
            }
        }
        // The closing bracket, or the character after a "/" without a note.
        if (*p) out << *p++;
    }
}

btkstring TransposeText(const char* text, int shift) {
    btkStringWriteStream out;
    TransposeChords(text, out, shift);
    return btkstring(out.c_str());
}

bool LineHasChords(const char* text) {
    int depth = 0, opened = 0, closed = 0;
    for (const char* p = text ? text : ""; *p && *p != '\n'; ++p) {
        if (*p == '[') {
            ++depth;
            ++opened;
        } else if (*p == ']') {
            --depth;
            ++closed;
        }
        if (depth != 0 && depth != 1) return false;
    }
    return opened > 0 && opened == closed;
}

int StepTransposition(int transposition, int step) {
    int t = (transposition % 12 + step % 12) % 12;
    return t < 0 ? t + 12 : t;
}
