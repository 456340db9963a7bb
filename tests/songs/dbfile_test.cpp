// The song database file: the writer's exact form, the reader's rules,
// loading with local-id numbering, commit, rollback and import, and the
// commits that must not damage the file on disk.
#include "songs/dbfile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/btkfile.h"
#include "foundation/btkstream.h"
#include "modelenv.h"
#include "songs/kxsong.h"
#include "tests/foundation/io_test_support.h"

namespace {

std::string gunzip(const std::string& path) {
    btkGZReadStream in(path.c_str(), "rb");
    return readAll(in);
}

bool isGzip(const std::string& path) { return readBytes(path).rfind("\x1f\x8b", 0) == 0; }

// Two songs: escaped title, Czech letters, variables, custom columns, an
// empty text, every flag and number.
const std::string twoSongs =
    "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n"
    "<melodar_data version=\"4.0\" cats=\"\" >\n"
    "<database dbversion=\"7\" isinetdb=\"1\" customcols=\"Tónina;Rok;\" >\n"
    "<song title=\"Rock &amp; &quot;roll&quot; &lt;&gt; &apos;x&apos;\" group=\"Kapela\" author=\"Žák\" "
    "remark=\"r\" special=\"netdelete\" lang=\"cz\" locid=\"1\" netid=\"12\" netmodified=\"1\" nonet=\"1\" "
    "version=\"3\" netversion=\"15\" >\n"
    "<text xml:space=\"preserve\" >[C]Ahoj\n[G]světe &amp; spol.\n</text>\n"
    "<vars >\n"
    "<var name=\"Tónina\" >C dur</var>\n"
    "<var name=\"Rok\" >1999</var>\n"
    "</vars>\n"
    "</song>\n"
    "<song title=\"Prázdná\" locid=\"2\" >\n"
    "<text xml:space=\"preserve\" ></text>\n"
    "</song>\n"
    "</database>\n"
    "</melodar_data>\n";

class DbFile : public ModelTest {
protected:
    void TearDown() override {
        ModelTest::TearDown();
        chmod(dir.path().c_str(), 0755);
    }
    std::string path(const char* name) const { return dir.path(name); }
    KxDatabase* open(const std::string& file) {
        KxDatabase* db = new KxDatabase(file.c_str());
        space->addView(db);
        return db;
    }
    std::vector<KxSong*> loaded(KxDatabase* db) {
        btkCntVec<KxSong*> songs;
        db->getSongs(songs);
        return std::vector<KxSong*>(songs.begin(), songs.end());
    }

    TempDir dir;
};

TEST_F(DbFile, ReadsEveryFieldAndWritesTheSameBytes) {
    writeBytes(path("in.xml"), twoSongs);
    KxDatabase* db = open(path("in.xml"));
    auto songs = loaded(db);
    ASSERT_EQ(songs.size(), 2u);
    EXPECT_FALSE(db->isChanged());
    EXPECT_EQ(db->version, 7);
    EXPECT_TRUE(db->isinetdb);
    EXPECT_STREQ(db->customColumns(), "Tónina;Rok;");
    KxSong* s = songs[0];
    EXPECT_STREQ(s->title, "Rock & \"roll\" <> 'x'");
    EXPECT_STREQ(s->author, "Žák");
    EXPECT_STREQ(s->text, "[C]Ahoj\n[G]světe & spol.\n");
    EXPECT_EQ(s->netid, 12);
    EXPECT_EQ(s->version, 3);
    EXPECT_EQ(s->netversion, 15);
    EXPECT_TRUE(s->netmodified);
    EXPECT_TRUE(s->nonet);
    EXPECT_STREQ(s->vars.get("Rok"), "1999");
    EXPECT_STREQ(songs[1]->text, "");
    EXPECT_EQ(db->highestLocid, 2);

    btkCntVec<KxSong*> list = db->songs;
    DbExportProps props = db->exportProps();
    WriteDatabaseFile(path("out.xml").c_str(), list, &props);
    EXPECT_EQ(readBytes(path("out.xml")), twoSongs);
    WriteDatabaseFile(path("out.XGZ").c_str(), list, &props);
    EXPECT_TRUE(isGzip(path("out.XGZ")));
    EXPECT_EQ(gunzip(path("out.XGZ")), twoSongs);

    // Compressed input reads the same.
    auto again = loaded(open(path("out.XGZ")));
    ASSERT_EQ(again.size(), 2u);
    EXPECT_STREQ(again[0]->title, s->title);
}

TEST_F(DbFile, MinimalSongAndNoProps) {
    KxDatabase* db = open("");
    KxSong* s = db->addNewSong();
    s->title = "Jen";
    s->text = "slovo";
    btkStringWriteStream out;
    WriteDatabaseStream(out, db->songs, nullptr);
    EXPECT_STREQ(out.c_str(),
                 "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n"
                 "<melodar_data version=\"4.0\" cats=\"\" >\n"
                 "<database >\n"
                 "<song title=\"Jen\" >\n"
                 "<text xml:space=\"preserve\" >slovo</text>\n"
                 "</song>\n"
                 "</database>\n"
                 "</melodar_data>\n");
}

TEST_F(DbFile, ReaderRules) {
    writeBytes(path("odd.xml"),
               "<?xml version=\"1.0\"?>\n"
               "<jiny_koren version=\"3.0\">\n"
               "<database dbversion=\" -4x\" isinetdb=\"0\" customcols=\"A;;B;\" neznamy=\"1\">\n"
               "<song></song>\n"
               "<song><vars><var name=\"prazdna\"></var></vars></song>\n"
               "<song title=\"S\" locid=\" 12abc\" netid=\"x\" nonet=\"2\">\n"
               "  <text xml:space=\"preserve\">\n\n   [C]text  \n</text>\n"
               "  <navic><song title=\"vnoreny\"/><text>ne</text></navic>\n"
               "  <vars><var name=\"k\">v</var><var name=\"\">bez jmena</var></vars>\n"
               "</song>\n"
               "</database>\n"
               "<song title=\"mimo\"/>\n"
               "<database dbversion=\"9\"><song title=\"druha\" locid=\"3\"/></database>\n"
               "</jiny_koren>\n");
    KxDatabase* db = open(path("odd.xml"));
    auto songs = loaded(db);
    ASSERT_EQ(songs.size(), 3u);
    // The empty song element adds nothing; the one with only an empty
    // variable adds a song without variables.
    EXPECT_STREQ(songs[0]->title, "");
    EXPECT_EQ(songs[0]->vars.count(), 0);
    KxSong* s = songs[1];
    EXPECT_STREQ(s->title, "S");
    EXPECT_EQ(s->locid, 12);
    EXPECT_EQ(s->netid, 0);
    EXPECT_TRUE(s->nonet);
    EXPECT_STREQ(s->text, "[C]text  \n");
    EXPECT_EQ(s->vars.count(), 1);
    EXPECT_STREQ(s->vars.get("k"), "v");
    EXPECT_STREQ(songs[2]->title, "druha");
    // The second database element overwrites the first one's values.
    EXPECT_EQ(db->version, 9);
    EXPECT_FALSE(db->isinetdb);
    EXPECT_STREQ(db->customColumns(), "A;B;");
    // The song without a local id is numbered after the highest.
    EXPECT_EQ(songs[0]->locid, 13);
    EXPECT_TRUE(db->isChanged());
}

TEST_F(DbFile, LoadingNumbersSongsWithoutLocalId) {
    writeBytes(path("Songs.xml"),
               "<melodar_data><database>"
               "<song title=\"a\"/><song title=\"b\" locid=\"7\"/><song title=\"c\"/><song title=\"d\"/>"
               "</database></melodar_data>");
    KxDatabase* db = open(path("Songs.xml"));
    EXPECT_FALSE(db->isLoaded());
    EXPECT_STREQ(db->caption(), "Songs.xml");
    std::vector<int> locids;
    for (KxSong* song : loaded(db)) locids.push_back(song->locid);
    EXPECT_EQ(locids, (std::vector<int>{8, 7, 9, 10}));
    EXPECT_STREQ(db->caption(), "Songs.xml*");
    EXPECT_EQ(db->nextLocalId(), 11);
}

TEST_F(DbFile, CommitRollbackAndUnchangedCommit) {
    writeBytes(path("db.xml"), twoSongs);
    KxDatabase* db = open(path("db.xml"));
    db->ensureLoaded();
    pass();
    // Unchanged: nothing is written, a change notice is posted.
    unlink(path("db.xml").c_str());
    db->commit();
    EXPECT_FALSE(btkFileExists(path("db.xml").c_str()));
    EXPECT_EQ(system->pendingCount(), 1);
    writeBytes(path("db.xml"), twoSongs);

    KxSong* s = db->songs[0];
    s->title = "Nový";
    s->setModified(true);
    s->putOnStack();
    KxCustomView* view = new KxCustomView(db->songs);
    space->addView(view);
    EXPECT_STREQ(db->caption(), "db.xml*");
    db->rollback();
    EXPECT_FALSE(db->isChanged());
    ASSERT_EQ(db->songs.count(), 2);
    EXPECT_STREQ(db->songs[0]->title, "Rock & \"roll\" <> 'x'");
    pass();
    // The dropped songs are gone from everywhere and did not mark the
    // database again.
    EXPECT_EQ(space->getStack()->songs.count(), 0);
    EXPECT_EQ(view->songs.count(), 0);
    EXPECT_FALSE(db->isChanged());

    db->songs[1]->title = "Změna";
    db->songs[1]->setModified(false);
    db->commit();
    EXPECT_FALSE(db->isChanged());
    EXPECT_FALSE(db->songs[1]->modified);
    EXPECT_NE(readBytes(path("db.xml")).find("title=\"Změna\""), std::string::npos);
}

// What the program writes its reader must accept: a field over the
// reader's limit refuses the save, naming the song, and keeps the old file.
TEST_F(DbFile, SaveRefusesFieldsTheReaderWouldRefuse) {
    writeBytes(path("db.xml"), twoSongs);
    KxDatabase* db = open(path("db.xml"));
    db->ensureLoaded();
    KxSong* s = db->songs[1];
    s->text = btkstring(std::string(MaxSongFieldLength, 'x').c_str());
    s->setModified(false);
    db->commit();
    KxDatabase* reread = open(path("db.xml"));
    reread->ensureLoaded();
    EXPECT_FALSE(reread->loadFailed());
    ASSERT_EQ(reread->songs.count(), 2);
    EXPECT_EQ(reread->songs[1]->text.length(), MaxSongFieldLength);

    const std::string saved = readBytes(path("db.xml"));
    s->text += "y";
    s->setModified(false);
    try {
        db->commit();
        ADD_FAILURE() << "a file the reader refuses was written";
    } catch (const btkError& e) {
        EXPECT_NE(std::string(e.message().c_str()).find("(číslo 2): text je delší než 67108864 bajtů"),
                  std::string::npos)
            << e.message().c_str();
    }
    EXPECT_TRUE(db->isChanged());
    EXPECT_TRUE(readBytes(path("db.xml")) == saved);
}

TEST_F(DbFile, ImportMovesSongsWithNewLocalIds) {
    writeBytes(path("src.xml"), twoSongs);
    KxDatabase* db = open("");
    db->highestLocid = 12;
    db->importFile(path("src.xml").c_str());
    ASSERT_EQ(db->songs.count(), 2);
    EXPECT_EQ(db->songs[0]->locid, 13);
    EXPECT_EQ(db->songs[1]->locid, 14);
    EXPECT_EQ(db->songs[0]->netid, 12);
    EXPECT_EQ(db->songs[0]->database, db);
    EXPECT_TRUE(db->isChanged());
    pass();
    EXPECT_EQ(readBytes(path("src.xml")), twoSongs);
    EXPECT_EQ(space->viewCount(), 1);

    // Into a database not loaded yet: its own songs stay, the imported ones
    // are numbered after them.
    writeBytes(path("dst.xml"), "<melodar_data><database><song title=\"own\" locid=\"5\"/></database></melodar_data>");
    KxDatabase* dst = open(path("dst.xml"));
    dst->importFile(path("src.xml").c_str());
    ASSERT_EQ(dst->songs.count(), 3);
    EXPECT_STREQ(dst->songs[0]->title, "own");
    EXPECT_EQ(dst->songs[2]->locid, 7);
}

TEST_F(DbFile, RefusedFilesNameTheirReason) {
    const std::string utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<melodar_data><database>";
    const struct {
        std::string bytes;
        const char* reason;
    } rows[] = {
        {"<melodar_data><database><song title=\"x\"></database>", "neočekávaný konec souboru, očekáváno '<' (bajt 51)"},
        {"<html><body><p>Not found</p></body></html>", "kořenový prvek <html> neobsahuje databázi písní"},
        {"<?xml version=\"1.0\"?>\n<options ><font name=\"x\" /></options>\n",
         "kořenový prvek <options> neobsahuje databázi písní"},
        {"<?xml version=\"1.0\" encoding=\"X-NONE\"?><melodar_data><database><song title=\"a\"/>",
         "neznámé kódování X-NONE (bajt 78)"},
        {utf8 + "<song title=\"\xe2\x86\x92\" /></database></melodar_data>",
         "znak kódování UTF-8 nemá podobu ve Windows-1250 (bajt 80)"},
    };
    for (const auto& r : rows) {
        writeBytes(path("bad.xml"), r.bytes);
        KxDatabase* db = open(path("bad.xml"));
        db->ensureLoaded();
        ASSERT_GE(boxCount(), 1);
        EXPECT_EQ(btkstring(btkDefaultMessageBoxes().shown().back().text),
                  btkFormat("Při načítání souboru %s došlo k chybě:\n%s", path("bad.xml").c_str(), r.reason));
        EXPECT_EQ(db->songs.count(), 0) << r.reason;
        EXPECT_TRUE(db->loadFailed());
        db->addNewSong()->setModified(false);
        EXPECT_THROW(db->commit(), btkError) << r.reason;
        EXPECT_EQ(readBytes(path("bad.xml")), r.bytes);
    }
    // A UTF-8 file reads in Windows-1250 and is written back in it.
    writeBytes(path("utf.xml"), utf8 +
                                    "<song title=\"\xc5\xbelu\xc5\xa5\" ><text >k\xc5\xaf\xc5\x88</text></song>"
                                    "</database></melodar_data>");
    KxDatabase* db = open(path("utf.xml"));
    ASSERT_EQ(loaded(db).size(), 1u);
    EXPECT_STREQ(db->songs[0]->title, "žluť");
    EXPECT_STREQ(db->songs[0]->text, "kůň");
    db->songs[0]->setModified(false);
    db->commit();
    EXPECT_NE(readBytes(path("utf.xml")).find("encoding=\"Windows-1250\"?>\n<melodar_data"), std::string::npos);
    EXPECT_NE(readBytes(path("utf.xml")).find("title=\"žluť\""), std::string::npos);
}

TEST_F(DbFile, UnreadableFileIsNeitherLoadedNorOverwritten) {
    const std::string broken = "<melodar_data><database><song title=\"x\"></database>";
    writeBytes(path("bad.xml"), broken);
    KxDatabase* db = open(path("bad.xml"));
    db->ensureLoaded();
    ASSERT_EQ(boxCount(), 1);
    EXPECT_EQ(db->songs.count(), 0);
    EXPECT_FALSE(db->isChanged());
    EXPECT_TRUE(db->loadFailed());

    KxSong* s = db->addNewSong();
    s->title = "nova";
    s->setModified(false);
    try {
        db->commit();
        FAIL() << "commit over an unreadable file";
    } catch (const btkError& e) {
        EXPECT_NE(std::string(e.message()).find(path("bad.xml")), std::string::npos);
    }
    EXPECT_EQ(readBytes(path("bad.xml")), broken);
    EXPECT_TRUE(db->isChanged());

    // Rollback retries the load; once the file reads, commits work again.
    writeBytes(path("bad.xml"), twoSongs);
    db->rollback();
    EXPECT_FALSE(db->loadFailed());
    EXPECT_EQ(db->songs.count(), 2);
    db->songs[0]->setModified(false);
    db->commit();
    EXPECT_FALSE(db->isChanged());

    // A missing file is no data to protect: the first commit creates it.
    KxDatabase* missing = open(path("missing.xml"));
    missing->ensureLoaded();
    missing->addNewSong()->setModified(false);
    missing->commit();
    EXPECT_TRUE(btkFileExists(path("missing.xml").c_str()));
}

// A file another program (or a second kx6) saved after it was read or saved
// here is written over only after a yes; without windows the answer is no,
// and the refusal names the file. Replaced (a new inode) or rewritten in
// place, it is noticed.
TEST_F(DbFile, FileChangedOnDiskIsNotWrittenOverWithoutAYes) {
    const std::string theirs =
        twoSongs.substr(0, twoSongs.find("<song title=\"Prázdná\"")) + "</database>\n</melodar_data>\n";
    const struct {
        const char* how;
        bool replace;
    } rows[] = {{"replaced", true}, {"written in place", false}};
    writeBytes(path("db.xml"), twoSongs);
    KxDatabase* db = open(path("db.xml"));
    db->ensureLoaded();
    for (const auto& r : rows) {
        db->songs[0]->title = "Moje";
        db->songs[0]->setModified(false);
        if (r.replace) {
            writeBytes(path("new.xml"), theirs);
            ASSERT_EQ(rename(path("new.xml").c_str(), path("db.xml").c_str()), 0);
        } else {
            writeBytes(path("db.xml"), theirs);
        }
        btkDefaultMessageBoxes().reset();
        try {
            db->commit();
            FAIL() << "written over a file " << r.how;
        } catch (const btkError& e) {
            EXPECT_NE(std::string(e.message()).find(path("db.xml")), std::string::npos) << e.message().c_str();
        }
        ASSERT_EQ(boxCount(), 1) << r.how;
        EXPECT_NE(boxes()[0].find(path("db.xml")), std::string::npos);
        EXPECT_EQ(readBytes(path("db.xml")), theirs) << r.how;
        EXPECT_TRUE(db->isChanged());

        btkDefaultMessageBoxes().answer(btkID_YES);
        db->commit();
        EXPECT_FALSE(db->isChanged());
        EXPECT_NE(readBytes(path("db.xml")).find("title=\"Moje\""), std::string::npos) << r.how;
        // The file as saved here is no stranger: the next commit asks nothing.
        db->songs[1]->setModified(false);
        db->commit();
        EXPECT_EQ(boxCount(), 2) << r.how;
        // Rewound for the next row: the other program's file is read again.
        writeBytes(path("db.xml"), twoSongs);
        db->rollback();
    }
}

// A commit whose writes fail keeps the old file and the change marks, and
// tells the caller.
void expectFailedCommitKeepsEverything(KxDatabase* db, const std::string& file, const std::string& before) {
    try {
        db->commit();
        FAIL() << "the commit reported success";
    } catch (const btkError& e) {
        EXPECT_NE(std::string(e.message()).find(file), std::string::npos) << e.message().c_str();
    }
    EXPECT_EQ(readBytes(file), before);
    EXPECT_TRUE(db->isChanged());
    EXPECT_TRUE(db->songs[0]->modified);
}

TEST_F(DbFile, CommitIntoReadOnlyFolderKeepsTheFile) {
    writeBytes(path("ro.xml"), twoSongs);
    KxDatabase* db = open(path("ro.xml"));
    db->ensureLoaded();
    db->songs[0]->title = "jiny";
    db->songs[0]->setModified(true);
    if (geteuid() != 0) {
        chmod(dir.path().c_str(), 0555);
        expectFailedCommitKeepsEverything(db, path("ro.xml"), twoSongs);
        return;
    }
    // Folder permissions do not bind root: the commit runs in a child
    // process as the user nobody.
    const uid_t nobody = 65534;
    ASSERT_EQ(chown(dir.path().c_str(), nobody, nobody), 0);
    chmod(dir.path().c_str(), 0555);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(3);
        bool threw = false;
        try {
            db->commit();
        } catch (const btkError&) {
            threw = true;
        }
        _exit(threw && readBytes(path("ro.xml")) == twoSongs && db->isChanged() && db->songs[0]->modified ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readBytes(path("ro.xml")), twoSongs);
}

TEST_F(DbFile, CommitWhoseWritesFailKeepsTheFile) {
    // A file-size limit makes the writes fail for every user, root
    // included. (An empty file holds nothing a commit could lose.)
    writeBytes(path("big.xgz"), "");
    KxDatabase* db = open(path("big.xgz"));
    db->ensureLoaded();
    for (int i = 0; i < 200; ++i) {
        KxSong* s = db->addNewSong();
        s->title = btkFormat("Píseň %d", i);
        s->text = btkFormat("[C]sloka %d %d %d", i * 7919, i * 104729, i * 1299709);
        s->locid = db->nextLocalId();
        s->setModified(false);
    }
    db->commit();
    const std::string before = readBytes(path("big.xgz"));
    db->songs[0]->title = "jiny";
    db->songs[0]->setModified(false);

    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    expectFailedCommitKeepsEverything(db, path("big.xgz"), before);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    db->commit();
    EXPECT_FALSE(db->isChanged());
}

}  // namespace
