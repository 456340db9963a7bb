// The duplicate-song test: preparing lyrics, both methods, grouping with
// its keep rules and marks, the report, the DBLTEST keys, and that the fast
// run forms exactly the groups of the pair-by-pair run.
#include "songs/dupltest.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "foundation/btkerror.h"
#include "foundation/btkthread.h"
#include "modelenv.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

namespace {

// Deterministic pseudo-random letters.
struct Letters {
    explicit Letters(unsigned seed) : state(seed) {}
    std::string take(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            state = state * 1103515245u + 12345u;
            s += static_cast<char>('a' + (state >> 16) % 26);
        }
        return s;
    }
    unsigned state;
};

DuplSong* prepared(const std::string& text, int locid = 0, const char* title = "t") {
    return new DuplSong(text.c_str(), "", title, "g", locid);
}

bool duplicates(const DuplTestParams& params, const std::string& a, const std::string& b) {
    DuplSong x(a.c_str(), "", "", "", 1), y(b.c_str(), "", "", "", 2);
    return DuplCompare(params, x, y);
}

TEST(DuplPreparation, OnlyFoldedLettersOfTheLyrics) {
    DuplSong a(".1\n[C]Široký [G7]důl,\n.R:\n.2\nžlutá  [Am]řeka!\n", "", "", "", 1);
    DuplSong b("siroky DUL zluta\nreka", "", "", "", 2);
    EXPECT_EQ(a.letters, "SIROKYDULZLUTAREKA");
    EXPECT_EQ(a.letters, b.letters);
    EXPECT_EQ(a.chords, 3);
    EXPECT_EQ(a.labels, 3);
    EXPECT_EQ(a.hist[static_cast<unsigned char>('R')], 2);
    EXPECT_EQ(a.hist[static_cast<unsigned char>('.')], 0);
    // A "." inside a line is punctuation; an unclosed chord runs to the end.
    DuplSong c("a.b [C unclosed", "", "", "", 3);
    EXPECT_EQ(c.letters, "AB");
    EXPECT_EQ(c.chords, 1);
    EXPECT_EQ(c.labels, 0);

    DuplTestParams params;
    EXPECT_TRUE(DuplCompare(params, a, b));
    params.method = 1;
    EXPECT_TRUE(DuplCompare(params, a, b));  // window lowered to 18 letters
    params.method = 2;
    EXPECT_FALSE(DuplCompare(params, a, b));
}

TEST(DuplMethods, AlignmentFilters) {
    DuplTestParams params;
    Letters gen(1);
    std::string base = gen.take(200);
    EXPECT_FALSE(duplicates(params, base, base + gen.take(120)));  // length difference 120
    // A few changed words still align; a different text does not.
    std::string edited = base.substr(0, 50) + "xyz" + base.substr(60, 100) + base.substr(170);
    EXPECT_TRUE(duplicates(params, base, edited));
    EXPECT_FALSE(duplicates(params, base, gen.take(200)));
    params.MAX_TEXT_DIFF_LEN = 5;  // too many unmatched letters
    EXPECT_FALSE(duplicates(params, base, edited));
    params.setDefaults();
    params.MAX_CHAR_DIF = 2;
    EXPECT_FALSE(duplicates(params, base, edited));
    params.MAX_DIF_TEST_LEN = 0;  // nothing resynchronises: only letter pairs in step
    params.MAX_CHAR_DIF = 100;
    EXPECT_TRUE(duplicates(params, base, base));
}

TEST(DuplMethods, CommonSubstring) {
    DuplTestParams params;
    params.method = 1;
    Letters gen(2);
    std::string twenty = gen.take(20);
    EXPECT_TRUE(duplicates(params, twenty, twenty));
    std::string a = gen.take(60), b = gen.take(60);
    std::string shared = gen.take(30);
    EXPECT_TRUE(duplicates(params, a.substr(0, 40) + shared, shared + b.substr(0, 40)));
    EXPECT_FALSE(duplicates(params, a.substr(0, 40) + shared.substr(0, 29), shared.substr(1) + b.substr(0, 40)));
}

TEST(DuplMethods, SongsWithoutLettersAreNeverDuplicates) {
    DuplTestParams params;
    EXPECT_FALSE(duplicates(params, "[C] [G]", ".1\n[Am] 123"));
    EXPECT_FALSE(duplicates(params, "", "a"));
    params.method = 1;
    params.window = 0;
    EXPECT_FALSE(duplicates(params, "", "abc"));
    EXPECT_FALSE(duplicates(params, "[C]", "[D]"));

    DuplTester tester(params);
    for (int i = 0; i < 3; ++i) tester.addSong(prepared("[C] ,.", i + 1));
    tester.addSong(prepared("abc", 9));
    ASSERT_TRUE(tester.run());
    EXPECT_EQ(tester.toDelete.count(), 0);
    EXPECT_EQ(tester.reportText(), "K vymazání:\n");
}

TEST(DuplGrouping, KeepRulesAndChains) {
    DuplTestParams params;
    Letters gen(3);
    std::string text = gen.take(100);
    {
        DuplTester tester(params);
        tester.addSong(prepared("[C][D][E][F][G]" + text, 1));
        tester.addSong(prepared("[C][D][E][F][G][A][H][C][D]" + text, 2));
        tester.addSong(prepared(".1\n.2\n[C][D][E][F][G][A][H]" + text, 3));
        tester.addSong(prepared(gen.take(100), 4));
        ASSERT_TRUE(tester.run());
        // 5, 9 and 9: of the equal scores the later song is kept.
        EXPECT_TRUE(tester.songs[2]->kept);
        ASSERT_EQ(tester.toDelete.count(), 2);
        EXPECT_EQ(tester.songs[0]->replacement, 2);
        EXPECT_EQ(tester.songs[1]->replacement, 2);
        EXPECT_FALSE(tester.songs[3]->inGroup);
    }
    {
        params.keepRule = 1;
        DuplTester tester(params);
        tester.addSong(prepared("[C]" + text, 7));
        tester.addSong(prepared(text, 3));
        tester.addSong(prepared("[C][C]" + text, 5));
        ASSERT_TRUE(tester.run());
        EXPECT_TRUE(tester.songs[1]->kept);  // smallest LOCID
        EXPECT_EQ(tester.toDelete.count(), 2);
    }
}

TEST(DuplGrouping, SongInTwoGroupsKeepsBothMarks) {
    // A and C share one passage, B and C another; A and B share nothing.
    DuplTestParams params;
    params.method = 1;
    Letters gen(4);
    std::string p = gen.take(40), q = gen.take(40), r = gen.take(40), t = gen.take(40);
    DuplTester tester(params);
    tester.addSong(prepared(p + q, 1, "A"));
    tester.addSong(prepared("[C][C][C][C][C]" + r + t, 2, "B"));
    tester.addSong(prepared("[C][C]" + q + r, 3, "C"));
    ASSERT_FALSE(DuplCompare(params, *tester.songs[0], *tester.songs[1]));
    DuplTestProgress progress;
    tester.params.progress = &progress;
    ASSERT_TRUE(tester.run());
    EXPECT_EQ((std::vector<int>{progress.groups, progress.total, progress.done}), (std::vector<int>{2, 3, 3}));
    const DuplSong& c = *tester.songs[2];
    EXPECT_TRUE(c.kept);      // kept in A's group
    EXPECT_TRUE(c.toDelete);  // replaced by B in B's group
    EXPECT_EQ(c.replacement, 1);
    EXPECT_EQ(tester.songs[0]->replacement, 2);
    ASSERT_EQ(tester.toDelete.count(), 2);
    EXPECT_EQ(std::vector<int>(tester.kept.begin(), tester.kept.end()), (std::vector<int>{1, 2}));
    btkstring expected = "K vymazání:\n";
    expected += btkFormat("%5d %30s %30s | náhrada:%5d %30s %30s\n", 1, "A", "g", 3, "C", "g");
    expected += btkFormat("%5d %30s %30s | náhrada:%5d %30s %30s\n", 3, "C", "g", 2, "B", "g");
    EXPECT_EQ(tester.reportText(), expected);
}

TEST(DuplGrouping, FastRunFormsTheSameGroups) {
    Letters gen(5);
    for (int method : {0, 1}) {
        DuplTestParams params;
        params.method = method;
        DuplTester fast(params), full(params);
        std::vector<std::string> texts;
        for (int i = 0; i < 300; ++i) {
            std::string text;
            if (i > 10 && i % 7 == 0) {
                // A near copy of an earlier song: a few letters changed.
                text = texts[static_cast<size_t>(i / 3)];
                for (int k = 5; k < static_cast<int>(text.size()); k += 23) text[static_cast<size_t>(k)] = 'q';
            } else {
                text = gen.take(80 + static_cast<int>(gen.state % 200));
            }
            if (i % 50 == 0) text = "[C]";
            texts.push_back(text);
            fast.addSong(prepared(text, i + 1));
            full.addSong(prepared(text, i + 1));
        }
        // The fast run compares on all cores; the groups and the progress
        // counts come out as in the run over every pair on one thread.
        DuplTestProgress fastProgress, fullProgress;
        fast.params.progress = &fastProgress;
        full.params.progress = &fullProgress;
        ASSERT_TRUE(fast.run());
        ASSERT_TRUE(full.runExhaustive());
        EXPECT_GT(full.toDelete.count(), 10) << method;
        EXPECT_EQ(fast.reportText(), full.reportText()) << method;
        EXPECT_EQ(fast.kept.count(), full.kept.count()) << method;
        EXPECT_EQ((std::vector<int>{fastProgress.groups, fastProgress.done}),
                  (std::vector<int>{fullProgress.groups, fullProgress.done}));
    }
}

TEST(DuplGrouping, WorkerThatCannotStartIsReported) {
    // The first or a later worker does not start: those started are
    // stopped and waited for, the caller learns why, and a later run works.
    DuplTestParams params;
    Letters gen(6);
    DuplTester tester(params);
    std::string text = gen.take(100);
    for (int i = 0; i < 20; ++i) tester.addSong(prepared(i % 2 ? text : gen.take(100), i + 1));
    for (int starts : {0, 1}) {
        if (starts > 0 && std::thread::hardware_concurrency() < 2) continue;
        btkFailThreadStartAfter(starts);
        try {
            (void)tester.run();
            ADD_FAILURE() << starts;
        } catch (const btkError& e) {
            // A Czech sentence; the system's own reason in brackets.
            EXPECT_EQ(e.message(),
                      btkstring("Test stejných písní nelze spustit: systém nedovolil spustit další vlákno (") +
                          std::generic_category().message(EAGAIN).c_str() + ").");
        }
        btkFailThreadStartAfter(-1);
    }
    ASSERT_TRUE(tester.run());
    EXPECT_EQ(tester.toDelete.count(), 9);
}

TEST(DuplGrouping, FastRunMatchesEveryPairRunOnSimilarLyrics) {
    // Lyrics of a few syllables: most pairs pass the length and letter-count
    // filters and are walked. Every third song is a copy of an earlier one
    // with more and more letters changed, so pairs straddle the share limit;
    // the search distances straddle those of the faster walks.
    const struct {
        int distance;
        float share;
        int testLength;
    } rows[] = {{32, 0.3f, 1}, {1, 0.45f, 1},  {5, 0.3f, 1},   {16, 0.2f, 1},
                {17, 0.3f, 1}, {240, 0.3f, 1}, {241, 0.3f, 1}, {32, 0.3f, 2}};
    const char* const syllables[] = {"ko", "la", "my", "vo", "da", "se", "ru", "te", "ka", "pa", "ni", "bo"};
    std::mt19937 random(17);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (const auto& row : rows) {
        DuplTestParams params;
        params.MAX_DIF_LEN = row.distance;
        params.MAX_TEXT_DIFF_KOEF = row.share;
        params.MAX_DIF_TEST_LEN = row.testLength;
        DuplTester fast(params), full(params);
        std::vector<std::string> texts;
        for (int i = 0; i < 90; ++i) {
            std::string text;
            if (i > 3 && i % 3 == 0) {
                text = texts[static_cast<size_t>(pick(i))];
                for (int k = i % 40; k > 0; --k) text[static_cast<size_t>(pick(static_cast<int>(text.size())))] = 'z';
            } else {
                for (int words = 25 + pick(10); words > 0; --words)
                    text += std::string(syllables[pick(12)]) + syllables[pick(12)] + " ";
            }
            texts.push_back(text);
            fast.addSong(prepared(text, i + 1));
            full.addSong(prepared(text, i + 1));
        }
        ASSERT_TRUE(fast.run());
        ASSERT_TRUE(full.runExhaustive());
        EXPECT_GT(full.toDelete.count(), 3) << row.distance;
        EXPECT_EQ(fast.reportText(), full.reportText()) << row.distance << " " << row.share;
    }
}

TEST(DuplMethods, FastSearchAgreesWithLiteralSearch) {
    // Few distinct letters make many equal offsets, so the tie rules count.
    std::mt19937 random(11);
    auto text = [&](int n, int letters) {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>('a' + random() % static_cast<unsigned>(letters));
        return s;
    };
    int duplicatesFound = 0;
    for (int round = 0; round < 400; ++round) {
        int letters = 2 + round % 5;
        std::string a = text(20 + static_cast<int>(random() % 80), letters);
        std::string b =
            round % 2 ? text(20 + static_cast<int>(random() % 80), letters) : a.substr(3) + text(5, letters);
        DuplTestParams params;
        params.MAX_TEXT_DIFF_KOEF = static_cast<float>(round % 7) / 10.0f;
        params.MAX_DIF_LEN = 1 + round % 40;
        params.MAX_TEXT_DIFF_LEN = static_cast<float>(round % 30);
        DuplSong x(a.c_str(), "", "", "", 1), y(b.c_str(), "", "", "", 2);
        bool literal = DuplCompareLiteral(params, x, y);
        EXPECT_EQ(DuplCompare(params, x, y), literal) << a << " " << b << " round " << round;
        duplicatesFound += literal;
    }
    EXPECT_GT(duplicatesFound, 20);
    EXPECT_LT(duplicatesFound, 380);
}

TEST(DuplParams, DbltestKeys) {
    DuplTestParams params;
    params.setFromText("MAX_LEN_DIF=10 MAX_TEXT_DIFF_KOEF=0.1");
    EXPECT_EQ(params.MAX_LEN_DIF, 10);
    EXPECT_FLOAT_EQ(params.MAX_TEXT_DIFF_KOEF, 0.1f);
    // The keys not given keep their defaults.
    EXPECT_EQ((std::vector<int>{params.MAX_CHAR_DIF, params.MAX_DIF_LEN, params.MAX_DIF_TEST_LEN, params.method,
                                params.window, params.keepRule}),
              (std::vector<int>{100, 32, 1, 0, 30, 0}));
    EXPECT_FLOAT_EQ(params.MAX_TEXT_DIFF_LEN, 1000.0f);

    params.setFromText("max_len_dif=10");
    EXPECT_EQ(params.MAX_LEN_DIF, 100);
    params.setFromText("MAX_DIF_LEN= -5,MAX_DIF_TEST_LEN=x MAX_TEXT_DIFF_LEN=+12.5 MAX_CHAR_DIF=7 MAX_CHAR_DIF=9");
    EXPECT_EQ(params.MAX_DIF_LEN, 32);  // a negative length is refused
    EXPECT_EQ(params.MAX_DIF_TEST_LEN, 0);
    EXPECT_FLOAT_EQ(params.MAX_TEXT_DIFF_LEN, 12.5f);
    EXPECT_EQ(params.MAX_CHAR_DIF, 7);  // the first occurrence counts
    // Values whose sums or squares would overflow are clamped.
    params.setFromText(
        "MAX_LEN_DIF=2147483647 MAX_DIF_LEN=2147483647 MAX_CHAR_DIF=2147483647 MAX_DIF_TEST_LEN=-1 "
        "MAX_TEXT_DIFF_KOEF=7 MAX_TEXT_DIFF_LEN=99999999");
    EXPECT_EQ((std::vector<int>{params.MAX_LEN_DIF, params.MAX_DIF_LEN, params.MAX_CHAR_DIF, params.MAX_DIF_TEST_LEN}),
              (std::vector<int>{1000000, 1000, 1000000, 1}));
    EXPECT_FLOAT_EQ(params.MAX_TEXT_DIFF_KOEF, 1.0f);
    EXPECT_FLOAT_EQ(params.MAX_TEXT_DIFF_LEN, 1000000.0f);
    params.window = -5;  // set directly: a window of no letters would match every pair
    DuplTester tester(params);
    EXPECT_EQ(tester.params.window, 1);
}

using DuplReport = ModelTest;

TEST_F(DuplReport, ReportInTheLogWindow) {
    DuplTestParams params;
    ClearHeadlessLogText();
    params.parse("MAX_LEN_DIF=10");
    EXPECT_EQ(boxCount(), 1);  // no database
    EXPECT_EQ(HeadlessLogText(), "");

    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    for (const char* text : {"[C]Hola hej", "hola, HEJ!", "jiná píseň"}) {
        KxSong* song = db->addNewSong();
        song->text = text;
        song->title = "Hola";
        song->locid = db->nextLocalId();
    }
    FakeMainWin main;
    main.view = db;
    gMainWin = &main;
    params.parse("");
    gMainWin = nullptr;
    btkstring expected = "K vymazání:\n";
    expected += btkFormat("%5d %30s %30s | náhrada:%5d %30s %30s\n", 2, "Hola", "", 1, "Hola", "");
    EXPECT_EQ(HeadlessLogText(), expected);

    struct Cancel : DuplTestProgress {
        void update() override { cancel = done >= 2; }
    } cancel;
    params.progress = &cancel;
    EXPECT_EQ(DuplTester::runReportOn(db, params), "");
    EXPECT_EQ(cancel.done, 2);
    ClearHeadlessLogText();
}

}  // namespace
