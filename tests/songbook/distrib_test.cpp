// Automatic distribution on lists of pane heights, pages of height 100.
#include "songbook/distrib.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Groups parted by "|"; in a group, "B" binds it to the beginning, "E" to
// the end, "oN" is an optional pane of height N, "kN" a plain pane kept with
// the next one and N a plain pane.
void fill(daDistribAlg& alg, const std::string& spec) {
    std::istringstream groups(spec);
    std::string group;
    for (int index = 0; std::getline(groups, group, '|'); ++index) {
        std::istringstream tokens(group);
        std::string t;
        bool begin = false, end = false;
        while (tokens >> t) {
            begin = begin || t == "B";
            end = end || t == "E";
        }
        daPaneGrp* g = alg.addGroup(index, begin, end);
        std::istringstream panes(group);
        while (panes >> t)
            if (t != "B" && t != "E")
                g->addPane(std::stoi(t.substr(t[0] == 'o' || t[0] == 'k')), t[0] == 'o', t[0] == 'k');
    }
}

// The result: item indexes in their new order, each followed by N for a new
// page and S for a skipped page; "!" when some item could not be placed.
std::string distribute(daDistribAlg& alg, const std::string& spec) {
    fill(alg, spec);
    const bool complete = alg.run();
    std::string out;
    for (const daPaneGrp* g : alg.result())
        out += (out.empty() ? "" : " ") + std::to_string(g->index) + (g->newpage ? "N" : "") + (g->skippage ? "S" : "");
    return complete ? out : out.empty() ? "!" : out + " !";
}

}  // namespace

TEST(Distribution, BookletOrderAndFlags) {
    const struct {
        const char* groups;
        const char* result;
    } cases[] = {
        {"30 | 30 | 30", "0N 1 2"},
        // Page 0 is a right-hand page: a song that does not fit its rest
        // starts on page 1.
        {"60 | 60", "0N 1N"},
        // The space after a pane counts in the page's fill, but a pane fits
        // on its body; space before the first pane is dropped.
        {"60 o30 | 10 o50 | 5", "0N 1 2N"},
        {"o20 80 | 20", "0N 1"},
        // On the left page 1 song 2 would break twice: song 3 fills in (and
        // opens page 2), song 2 follows on page 3 facing its second page.
        {"90 | 50 | 45 45 45 45 | 60", "0N 1N 3N 2N"},
        // A song bound to the end is never passed: two new pages, page 2
        // stays empty.
        {"90 | 50 | 45 45 45 45 | E 60", "0N 1N 2NS 3N"},
        // Songs bound to the beginning come first, then a new page.
        {"B 30 | B 30 | 30", "0N 1 2N"},
        // Pull back: song 2 starts below song 1 on the left page and moves
        // whole to the top of the facing page, above song 3.
        {"90 | 60 | 20 20 | 50", "0N 1N 2N 3"},
        // Items without panes keep following the item before them.
        {"| 30 | | 30", "0 1N 2 3"},
        {"90 | 50 | 45 45 45 45 | | 60", "0N 1N 4N 2N 3"},
        // A first pane taller than a page is never placed.
        {"150 | 30", "1NS !"},
        // A head moves on with its first block where both fit a page...
        {"60 | k30 o10 50 | 5", "0N 1N 2"},
        // ...and starts a page where they do not, its block on the next
        // (a song of two pages starts on a left page).
        {"k40 o10 70 | 20", "0NS 1"},
        {"30 | k40 70 | 20", "0N 1N 2"},
    };
    for (const auto& c : cases) {
        daKx4DistribAlg alg(100);
        EXPECT_EQ(distribute(alg, c.groups), c.result) << c.groups;
    }
}

TEST(Distribution, RowsOrderAndFlags) {
    const struct {
        int columns;
        const char* groups;
        const char* result;
    } cases[] = {
        // A song needing three pages goes before all others.
        {2, "30 | 60 60 60", "1N 0"},
        {1, "70 | 50", "0N 1N"},
        // Song 1 would need two breaks in the last column: song 2 takes the
        // rest of page 0, song 1 starts the next row (page 1 stays empty).
        {2, "80 | 50 50 50 | 10", "0N 2 1NS"},
        {2, "80 | 80 | 80", "0N 1N 2N"},
        // One column and a song taller than a page: placed anyway, reported
        // as not placed, and the run ends.
        {1, "150 | 30", "1N !"},
        {1, "30 | 150 | 30", "0N 2 !"},
        {2, "150", "!"},
        // A head that cannot stay with its first block starts a page.
        {1, "30 | k40 70", "1N 0"},
        {2, "k40 70 | 20", "0N 1"},
        {2, "30 | k40 70 | 20", "0N 2 1NS"},
    };
    for (const auto& c : cases) {
        daKx4LinesDistribAlg alg(100, c.columns);
        EXPECT_EQ(distribute(alg, c.groups), c.result) << c.columns << ": " << c.groups;
    }
}
