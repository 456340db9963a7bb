// Generated song lyrics for the benches: verses of Czech-looking words drawn
// with a falling frequency, chords in square brackets, label lines and
// choruses, so that files pack and songs compare as real song books do
// (a text that repeats one verse packs far better than any real database).
// Header only; every bench folder includes it by path.
#pragma once

#include <random>
#include <string>
#include <vector>

class BenchLyrics {
public:
    // vocabulary: how many words the lyrics are drawn from; a small one
    // makes songs whose letter counts resemble each other.
    explicit BenchLyrics(unsigned seed, int vocabulary = 3000) : random(seed) {
        static const char* const syllables[] = {
            "ko", "ně", "la", "my", "ši", "vo", "da", "tr", "pí", "se",  "ňa", "ru", "žu", "če", "st", "ha", "jí", "bo",
            "ví", "te", "ře", "ka", "pa", "zá", "mo", "ty", "dl", "cho", "lu", "ni", "sk", "vě", "be", "ďo", "hu", "fa",
        };
        for (int i = 0; i < vocabulary; ++i) {
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
        static const char* const chords[] = {"C", "G", "Ami", "F", "Dmi", "E7", "Hmi", "D", "A7", "Es", "B", "Fmaj7"};
        std::string text;
        int n = 4 + pick(4);
        for (int k = 0; k < n; ++k) {
            if (pick(3) == 0) {
                text += '[';
                text += chords[pick(12)];
                text += ']';
            }
            text += word();
            text += k + 1 < n ? " " : (pick(2) ? ",\n" : "\n");
        }
        return text;
    }

    // Two to six numbered verses of four lines, a chorus after every other.
    std::string song() {
        std::string text;
        int verses = 2 + pick(5);
        std::string chorus;
        for (int l = 0; l < 4; ++l) chorus += line();
        for (int v = 0; v < verses; ++v) {
            text += '.';
            text += std::to_string(v + 1);
            text += '\n';
            for (int l = 0; l < 4; ++l) text += line();
            if (v % 2 == 0) {
                text += ".R:\n";
                text += chorus;
            }
        }
        return text;
    }

    // An edited copy: chords taken out, lines joined, a few words added,
    // some letters in upper case.
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
            if (at != std::string::npos) {
                out.insert(at + 1, " ");
                out.insert(at + 1, word());
            }
        }
        return out;
    }

    // Ten to 27 lines without verses or labels.
    std::string lines() {
        std::string text;
        for (int n = 10 + pick(18); n > 0; --n) text += line();
        return text;
    }

    // count songs, about one in twenty an edited copy of an earlier one; the
    // others made by song(), or by lines() when plain.
    std::vector<std::string> songs(int count, int* copies = nullptr, bool plain = false) {
        std::vector<std::string> texts;
        if (copies) *copies = 0;
        for (int i = 0; i < count; ++i) {
            if (i > 0 && pick(20) == 0) {
                texts.push_back(edit(texts[static_cast<size_t>(pick(i))]));
                if (copies) ++*copies;
            } else {
                texts.push_back(plain ? lines() : song());
            }
        }
        return texts;
    }

private:
    std::mt19937 random;
    std::vector<std::string> words;
};
