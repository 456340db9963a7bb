// The duplicate-song test: compares the songs of a database by their lyrics
// alone (letters folded to A..Z, chords and label lines left out), forms
// groups of duplicates, keeps one song of each group and lists the others
// for deletion with the song that replaces them. It deletes nothing.
// dupltest.cpp holds the matching and the grouping, duplreport.cpp the
// report and the entry points; the worker threads are DuplWorkerPool's.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

class KxDatabase;
class KxSong;

// Progress of a running test, supplied by its caller: the caller sets the
// cancel flag, the test writes the counts and calls update after each song.
class DuplTestProgress {
public:
    virtual ~DuplTestProgress() = default;
    virtual void update() {}

    unsigned char cancel = 0;
    int groups = 0;  // duplicate groups found
    int total = 0;   // songs of the database
    int done = 0;    // songs compared so far
};

struct DuplTestParams {
    DuplTestParams() { setDefaults(); }
    void setDefaults();
    // The defaults, then every KEY=value found in the text (keys exact,
    // case-sensitive): MAX_LEN_DIF, MAX_CHAR_DIF, MAX_DIF_LEN,
    // MAX_DIF_TEST_LEN (integers), MAX_TEXT_DIFF_KOEF, MAX_TEXT_DIFF_LEN
    // (decimal fractions). A negative integer is refused (its default
    // stays); the result is clamped.
    void setFromText(const char* text);
    // Brings every value into its sensible range, so no length is negative
    // and no sum overflows: the length and histogram differences 0 to
    // 1,000,000, the search distance 0 to 1,000 (it is squared per
    // mismatch), the resynchronising length 0 and the window 1 to 1,000,000,
    // the share 0 to 1, the unmatched count 0 to 1,000,000. The tester
    // clamps its copy; setFromText clamps what it read.
    void clamp();
    // The console's DBLTEST: setFromText, then the test with its report on
    // the main window's active database.
    void parse(const char* text);

    int MAX_LEN_DIF;             // largest difference of the letter counts
    int MAX_CHAR_DIF;            // largest sum of the letter histogram differences
    int MAX_DIF_LEN;             // how far each side is searched after a mismatch
    int MAX_DIF_TEST_LEN;        // a resynchronising match this long is enough
    float MAX_TEXT_DIFF_KOEF;    // largest share of unmatched letters
    float MAX_TEXT_DIFF_LEN;     // largest number of unmatched letters
    int method;                  // 0 alignment, 1 common substring; others find nothing
    int window;                  // substring length of method 1
    int keepRule;                // 0 keep most chords and labels, else the smallest LOCID
    DuplTestProgress* progress;  // not owned, may be null
};

// One song prepared for the test.
struct DuplSong {
    DuplSong(const char* text, const char* author, const char* title, const char* group, int locid);

    btkstring letters;  // the lyrics' letters folded to A..Z
    btkstring text, author, title, group;
    int chords = 0;
    int labels = 0;
    bool inGroup = false;
    bool kept = false;
    bool toDelete = false;
    int locid;
    int replacement = -1;  // index of the song that replaces this one
    int hist[256] = {};    // count of each letter code
};

// The two prepared songs are duplicates by the parameters' method. Songs
// without letters are never duplicates.
bool DuplCompare(const DuplTestParams& params, const DuplSong& a, const DuplSong& b);
// The same result, resynchronising the alignment by trying every pair of
// offsets one by one (the reference of the faster search).
bool DuplCompareLiteral(const DuplTestParams& params, const DuplSong& a, const DuplSong& b);

class DuplTester {
public:
    explicit DuplTester(const DuplTestParams& params) : params(params) { this->params.clamp(); }

    // Prepares the songs in their order.
    void addSongs(const btkCntVec<KxSong*>& list);
    void addSong(DuplSong* song) { songs.add(song); }

    // Forms the groups and the two index lists; false when cancelled. Only
    // pairs whose letter counts are close enough to pass the length and
    // histogram tests are compared.
    bool run();
    // The same result comparing every pair with DuplCompareLiteral (the
    // reference of the fast run).
    bool runExhaustive();
    // "K vymazání:\n" and one line per song to delete.
    btkstring reportText() const;

    // The whole test on the main window's active database, its report in a
    // log window.
    static void runReport(const DuplTestParams& params);
    // The test on a database: its report shown in a log window and returned;
    // "" when the run was cancelled.
    static btkstring runReportOn(KxDatabase* database, const DuplTestParams& params);

    DuplTestParams params;
    btkObjArray<DuplSong> songs;
    btkCntVec<int> toDelete;
    btkCntVec<int> kept;

private:
    // Runs the grouping; candidates(i, out) lists the later songs worth
    // comparing with song i (in song order when literal); literal compares
    // with DuplCompareLiteral.
    template <class Candidates> bool group(Candidates candidates, bool literal);
    void formGroup(const btkCntVec<int>& members);
};
