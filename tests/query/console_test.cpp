// Statements and console commands on a small database: the views they
// make, what UPDATE and DELETE change, the error texts, FILTER, DBINFO,
// HELP and the printing of lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/btkscramble.h"
#include "query/kxquery.h"
#include "queryenv.h"
#include "songs/dbfile.h"

namespace {

using Lines = std::vector<std::string>;

class Console : public QueryTest {
protected:
    // Runs one console line and the queue pass after it.
    void run(const std::string& line) {
        CmdlineExecute(line.c_str());
        pass();
    }
    Lines printed(const std::string& line) {
        console.lines.clear();
        run(line);
        return console.lines;
    }
};

TEST_F(Console, SelectMakesOneViewPerStatement) {
    const struct {
        const char* line;
        std::vector<int> locids;  // of the new view
        const char* error;        // nullptr: no error and a new view
    } rows[] = {
        {"  select from 'pisne.XML' where 'laska' in text", {1}, nullptr},
        {"SELECT FROM pisne, PISNE where locid >= 2", {2, 3}, nullptr},
        {"select from pisne where 0", {}, nullptr},
        {"SELECT FROM nic", {}, "Nenalezena tabulka NIC"},
        {"SELECT FROM 'nic.xml'", {}, "Nenalezena tabulka nic.xml"},
        {"SELECT FROM pisne.xml", {}, "Očekáván konec dotazu, nalezeno znak ."},
        {"SELECT pisne", {}, "Očekáváno FROM, nalezeno identifikátor"},
        {"SELECT FROM 5", {}, "Očekáván žetězec nebo identifikátor, nalezen číslo"},
        {"SELECT FROM pisne WHERE", {}, "Syntaktická chyba - neočekáváno: konec dotazu"},
    };
    for (const auto& r : rows) {
        btkDefaultMessageBoxes().reset();
        const int views = space->viewCount();
        run(r.line);
        if (r.error) {
            EXPECT_EQ(boxes(), Lines{r.error}) << r.line;
            EXPECT_EQ(space->viewCount(), views) << r.line;
            continue;
        }
        EXPECT_EQ(boxes(), Lines{}) << r.line;
        ASSERT_EQ(space->viewCount(), views + 1) << r.line;
        EXPECT_EQ(locids(lastView()), r.locids) << r.line;
        EXPECT_EQ(main.selected, views) << r.line;
    }
    run("SELECT FROM " + std::string(lastView()->name().c_str()));
    EXPECT_TRUE(locids(lastView()).empty());
}

TEST_F(Console, FailedStatementsChangeNothing) {
    for (const char* line : {"SELECT FROM pisne DELETE FROM pisne", "DELETE FROM pisne WHERE LANG = 'cz'",
                             "UPDATE pisne SET LANG = 1", "UPDATE pisne SET TITLE = 1 WHERE"})
        run(line);
    EXPECT_FALSE(parseQueryStatement("INSERT INTO pisne").isSet());
    EXPECT_EQ(boxes(),
              (Lines{"Očekáván konec dotazu, nalezeno DELETE", "Neznámá proměnná LANG", "Neznámá proměnná LANG",
                     "Syntaktická chyba - neočekáváno: konec dotazu", "očekáváno SELECT, UPDATE nebo DELETE"}));
    EXPECT_EQ(locids(db), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(space->viewCount(), 1);
    EXPECT_FALSE(db->isChanged());
}

TEST_F(Console, UpdateAssignsInOrderAndMarksSongs) {
    run("update pisne set TITLE = AUTHOR, AUTHOR = TITLE, @capo = '', @Key = 'G', NONET = 'x', LOCID = 10 "
        "where locid = 1");
    run("UPDATE pisne SET NETMODIFIED = 2, NETID = '12ab' WHERE TITLE = 'Beta'");
    run("UPDATE pisne SET WHERE LOCID = 3");
    const KxSong* a = db->songs[0];
    EXPECT_EQ(std::string(a->title) + "/" + a->author.c_str(), "X/X");
    EXPECT_EQ(a->vars.count(), 1);
    EXPECT_EQ(a->getVar("Key"), "G");
    EXPECT_FALSE(a->nonet);
    EXPECT_EQ(a->locid, 10);
    EXPECT_GE(db->highestLocid, 10);
    const KxSong* b = db->songs[1];
    EXPECT_TRUE(b->netmodified);
    EXPECT_EQ(b->netid, 12);
    for (const KxSong* song : db->songs) EXPECT_TRUE(song->modified) << song->locid;
    EXPECT_EQ(db->songs[2]->title, "Gama");
    EXPECT_TRUE(db->isChanged());
    EXPECT_EQ(boxes(), Lines{});
}

// A value the database reader would refuse undoes the whole statement:
// earlier songs and earlier assignments included.
TEST_F(Console, UpdateBeyondTheReadersLimitChangesNothing) {
    db->songs[2]->text = btkstring(std::string(MaxSongFieldLength, 'c').c_str());
    const struct {
        const char* line;
        const char* field;
    } rows[] = {
        {"UPDATE pisne SET TITLE = 'Nove', @capo = '5', LOCID = 20, TEXT = TEXT & 'x'", "text"},
        {"UPDATE pisne SET @x = TEXT & 'x', TITLE = 'Nove' WHERE LOCID = 3", "proměnná x"},
    };
    for (const auto& r : rows) {
        btkDefaultMessageBoxes().reset();
        run(r.line);
        ASSERT_EQ(boxes().size(), 1u) << r.line;
        EXPECT_EQ(boxes()[0], std::string(btkFormat("Úprava nebyla provedena.\nPíseň \"Gama\" (číslo 3): %s je delší "
                                                    "než 67108864 bajtů, které databáze dokáže znovu načíst",
                                                    r.field)
                                              .c_str()));
        EXPECT_EQ(locids(db), (std::vector<int>{1, 2, 3})) << r.line;
        EXPECT_EQ(db->songs[0]->title, "Hymna");
        EXPECT_EQ(db->songs[0]->getVar("capo"), "2");
        EXPECT_EQ(db->songs[2]->text.length(), MaxSongFieldLength);
        EXPECT_EQ(db->songs[2]->vars.count(), 0);
        EXPECT_FALSE(db->isChanged()) << r.line;
    }
}

TEST_F(Console, DeleteTakesSongsOutInTheQueuePass) {
    CmdlineExecute("DELETE FROM pisne WHERE LOCID <> 2");
    EXPECT_EQ(db->songs.count(), 3);
    pass();
    EXPECT_EQ(locids(db), std::vector<int>{2});
    EXPECT_TRUE(db->isChanged());
    // Through a custom view the songs leave their database too.
    run("SELECT FROM pisne");
    run("DELETE FROM " + std::string(lastView()->name().c_str()));
    EXPECT_TRUE(locids(db).empty());
}

TEST_F(Console, FilterOnDatabaseThenOnItsView) {
    run("filter locid >= 2");
    KxView* view = lastView();
    ASSERT_NE(view, db);
    EXPECT_EQ(locids(view), (std::vector<int>{2, 3}));
    EXPECT_EQ(locids(db), (std::vector<int>{1, 2, 3}));
    main.view = view;
    const int views = space->viewCount();
    run("FILTER 'gama' in title");
    EXPECT_EQ(space->viewCount(), views);
    EXPECT_EQ(locids(view), std::vector<int>{3});
    run("FILTER (");
    main.view = nullptr;
    run("FILTER 1");
    EXPECT_EQ(boxes(), (Lines{"Syntaktická chyba - neočekáváno: konec dotazu", "Není otevřen pohled"}));
    EXPECT_EQ(space->viewCount(), views);
}

TEST_F(Console, DbInfo) {
    db->isinetdb = true;
    db->songs[0]->setModified(false);
    EXPECT_EQ(printed("dbinfo"), (Lines{"Počet písní:3", "Změněno:ANO", "Soubor:" + dir.path("Pisne.xml"),
                                        "Internetová databáze:ANO", "Verze databáze:0"}));
    run("select from pisne where locid = 1");
    main.view = lastView();
    EXPECT_EQ(printed("DBINFO"), Lines{"Počet písní:1"});
}

TEST_F(Console, PrintedLines) {
    const std::string longLine(5000, 'x');
    const std::string scrambled = btkScramblePassword("abc").c_str();
    const struct {
        std::string line;
        Lines printed;
    } rows[] = {
        {"echo a", {" a"}},
        {"ECHO " + longLine, {" " + longLine}},
        {"echo", {}},
        {"  selectx", {"Neznámý příkaz:SELECTX"}},
        {"", {"Neznámý příkaz:"}},
        {"encrypt  abc ", {scrambled}},
        {"DECRYPT " + scrambled, {"abc"}},
        {"help quit", {"K příkazu QUIT není dostupná podrobná nápověda"}},
    };
    for (const auto& r : rows) EXPECT_EQ(printed(r.line), r.printed) << r.line;

    console.lines.clear();
    CmdlinePrintLines("a\n\nb \t\n");
    EXPECT_EQ(console.lines, (Lines{"a", "", "b"}));
    run("cls");
    EXPECT_TRUE(console.lines.empty());

    const Lines help = printed("help");
    ASSERT_EQ(help.size(), 11u);
    EXPECT_EQ(help.front(), "quit     konec Kantorixu");
    EXPECT_EQ(help.back(), "Pro podrobnější nápovědu k příkazu napište help <příkaz>");
    const Lines dbltest = printed("HELP  dbltest x");
    ASSERT_EQ(dbltest.size(), 11u);
    EXPECT_EQ(dbltest[4], "Seznam možných argumentů s jejich implicitními hotnotami:");
    EXPECT_EQ(dbltest[8], "MAX_DIF_TEST_LEN=32, ???, čím větší, tím trvá test déle");
}

}  // namespace
