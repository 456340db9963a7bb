// Login and synchronisation of song databases against the internet song
// database fixture: the info-table checks, logins and accounts, the rights
// check, the report, the failure that must not lose unsaved edits, and two
// program folders synchronising through the server with kxtool sync.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "dbw/dbwsession.h"
#include "dbw/dbwsynchronize.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btksyspath.h"
#include "inetdb_test.h"
#include "programfolder.h"
#include "restore.h"
#include "songs/dailylog.h"
#include "songs/dbfile.h"
#include "songs/inetconnection.h"
#include "songs/inetsync.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/songclass.h"
#include "songs/syncrecord.h"
#include "songs/uibridge.h"
#include "tcpproxy.h"

namespace {

const std::string RightsHeader =
    "Abyste mohli tuto operaci provést, potřebujete navíc tato oprávnění\n(některá se dají naklikat v Nastavení na "
    "adrese https://kx6.example.org/, pokud jste přihlášeni) :\n";
const std::string LockedText =
    "Není možné se přihlásit k databázi, databáze je uzamčená, pravděpodobně probíhá rozsáhlejší oprava";
const std::string FailureHead =
    "Synchronizace se nepovedla, v internetové ani lokální databázi nebyly provedené žádné změny:\nVýpis níže "
    "ukazuje změny, o které se synchronizace pokoušela\n";
const std::string BeginRecord = "##BEGIN##[inetsyn]";

// What a database file holds of one song.
struct StoredSong {
    std::string text;
    int netid = 0;
    bool nonet = false;
    bool netmodified = false;
};

struct ToolRun {
    int status = -1;
    std::string out;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A kxtool run that succeeded and printed every given part.
testing::AssertionResult succeeded(const ToolRun& run, std::initializer_list<std::string> parts) {
    if (run.status != 0) return testing::AssertionFailure() << "status " << run.status << "\n" << run.out;
    for (const std::string& part : parts)
        if (!contains(run.out, part)) return testing::AssertionFailure() << "no \"" << part << "\" in\n" << run.out;
    return testing::AssertionSuccess();
}

class InetSyncPg : public kx6InetDbTest {
protected:
    InetSyncPg() : kx6InetDbTest("kx6_songsync") {}

    void SetUp() override {
        kx6InetDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = true;
        system = new KxSystem;
        space = new KxSpace;
        configure(folder);
        setProgramDir(folder.root.c_str());
        InitInternetConnection();
    }
    void TearDown() override {
        DoneInternetConnection();
        LogClose();
        if (space) {
            space->release();
            system->processQueue();
            delete system;
        }
        btkDefaultMessageBoxes().reset();
        kx6InetDbTest::TearDown();
    }

    void configure(const ProgramFolder& f) {
        f.writeConnection(inet->connectionElement());
        f.writeAutoLogin(kx6InetDb::login, kx6InetDb::password);
    }
    int boxCount() const { return static_cast<int>(btkDefaultMessageBoxes().shown().size()); }
    std::string box(int i) const { return btkDefaultMessageBoxes().shown().at(i).text.c_str(); }
    std::string lastBox() const { return btkDefaultMessageBoxes().shown().back().text.c_str(); }
    static std::vector<std::string> boxes() {
        std::vector<std::string> texts;
        for (const auto& box : btkDefaultMessageBoxes().shown()) texts.push_back(box.text.c_str());
        return texts;
    }

    // A database file of the folder (written empty when missing), loaded.
    KxDatabase* openDb(const ProgramFolder& f, const char* name = "zpevnik.xml") {
        std::string path = f.path(std::string("db/") + name);
        if (!btkFileExists(path.c_str())) {
            DbExportProps props;
            WriteDatabaseFile(path.c_str(), btkCntVec<KxSong*>(), &props);
        }
        auto* db = new KxDatabase(path.c_str());
        space->addView(db);
        db->ensureLoaded();
        return db;
    }
    KxSong* addSong(KxDatabase* db, const char* title, const char* text = "[C]Sloka") {
        KxSong* song = db->addNewSong();
        song->title = title;
        song->group = "Lidové";
        song->lang = "cz";
        song->text = text;
        song->locid = db->nextLocalId();
        song->setModified(false);
        return song;
    }
    KxSong* byTitle(KxDatabase* db, const char* title) {
        for (KxSong* song : db->songs)
            if (song->title == title) return song;
        return nullptr;
    }
    // The songs of a database file by title, read by a database of its own.
    std::map<std::string, StoredSong> stored(const ProgramFolder& f, const char* name = "zpevnik.xml") {
        KxDatabase* db = openDb(f, name);
        std::map<std::string, StoredSong> songs;
        for (KxSong* s : db->songs) songs[s->title.c_str()] = {s->text.c_str(), s->netid, s->nonet, s->netmodified};
        db->release();
        system->processQueue();
        return songs;
    }
    // Changes songs of a folder's database file and commits it.
    template <class Edit> void editFile(const ProgramFolder& f, Edit edit) {
        KxDatabase* db = openDb(f);
        edit(db);
        db->commit();
        db->release();
        system->processQueue();
    }
    // Gives one song of a folder's database file a new text.
    void editText(const ProgramFolder& f, const char* title, const char* text) {
        editFile(f, [&](KxDatabase* db) {
            KxSong* song = byTitle(db, title);
            song->text = text;
            song->setModified(true);
        });
    }
    bool login() { return LoginUser(kx6InetDb::login, kx6InetDb::password); }
    // The songs the synchronisation dialog proposes.
    static SyncOptions proposals(KxDatabase* db) {
        SyncOptions options;
        for (KxSong* song : db->songs) {
            if (SongIsNewForNet(*song)) options.newSongs.add(song);
            if (SongIsNetChanged(*song)) options.changedSongs.add(song);
            if (SongIsNetDelete(*song)) options.deletedSongs.add(song);
        }
        return options;
    }

    // kxtool sync on a program folder; its output with standard error
    // after standard output, back in Windows-1250 (kxtool prints UTF-8).
    ToolRun kxtool(const ProgramFolder& f, const std::string& flags = "", const std::string& env = "") {
        std::string errFile = f.path("kxtool.err");
        std::string command =
            env + std::string(KXTOOL_PATH) + " sync '" + f.root + "' zpevnik " + flags + " 2>'" + errFile + "'";
        ToolRun run;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
        int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out += f.read("kxtool.err");
        run.out = btkFromSys(run.out.c_str()).c_str();
        return run;
    }

    // A run of the proposed songs whose commit reaches the server and whose
    // answer is lost on the way: the record of the run stays next to the
    // file, which holds the state before the run. Logged out afterwards,
    // with the folder's connection going straight to the server.
    void runLosingTheAnswer(const ProgramFolder& f, KxDatabase* db) {
        kx6TcpProxy proxy(inet->socketPath());
        f.writeConnection(inet->connectionElement("UTF-8", "127.0.0.1", proxy.port()));
        setProgramDir(f.root.c_str());
        InitInternetConnection();
        ASSERT_TRUE(login());
        proxy.cutAfter("COMMIT WORK", true);
        EXPECT_FALSE(SynchronizeDatabase(db, proposals(db)));
        ASSERT_TRUE(btkFileExists(SyncRecordFile(db)));
        f.writeConnection(inet->connectionElement());
        InitInternetConnection();
    }
    // Synchronises the proposals of the folder's database straight with the
    // server.
    void syncDirectly(const ProgramFolder& f, KxDatabase* db) {
        f.writeConnection(inet->connectionElement());
        setProgramDir(f.root.c_str());
        InitInternetConnection();
        ASSERT_TRUE(login());
        ASSERT_TRUE(SynchronizeDatabase(db, proposals(db))) << lastBox();
    }
    // A database of the folder read again from its file, as after a restart.
    KxDatabase* reopen(const ProgramFolder& f, KxDatabase* db) {
        db->release();
        system->processQueue();
        return openDb(f);
    }
    // "title:text|" of each server row whose title starts with the prefix.
    std::string rows(const std::string& prefix) {
        return inet->value(
            "SELECT string_agg(title || ':' || text || '|', '' ORDER BY title, id) FROM songs WHERE "
            "title LIKE '" +
            prefix + " %'");
    }
    // The same of the local songs with that prefix, each checked against its
    // row: a key, no change mark, the row's text.
    std::string localRows(KxDatabase* db, const std::string& prefix) {
        std::map<std::string, std::string> byTitle;
        for (KxSong* song : db->songs) {
            if (!btkStartsWith((prefix + " ").c_str(), song->title)) continue;
            EXPECT_NE(0, song->netid) << song->title.c_str();
            EXPECT_FALSE(song->netmodified || song->nonet) << song->title.c_str();
            byTitle[std::string(song->title.c_str()) + "|" + std::to_string(song->netid)] =
                std::string(song->title.c_str()) + ":" + song->text.c_str() + "|";
        }
        std::string text;
        for (const auto& [key, row] : byTitle) text += row;
        return text;
    }

    ProgramFolder folder;
    KxSystem* system = nullptr;
    KxSpace* space = nullptr;
};

TEST_F(InetSyncPg, TheInfoTableMustHoldVersionFiveAndAllowConnections) {
    ASSERT_TRUE(login());
    EXPECT_EQ(inet->userId(), LoginRef::get()->userId());
    EXPECT_TRUE(hasRight("ddadd"));
    PingInternetDatabase();
    EXPECT_EQ(boxes(), std::vector<std::string>{"OK"});

    ASSERT_TRUE(inet->exec("UPDATE info SET value='5 ' WHERE name='dbversion'"));
    EXPECT_FALSE(login());
    EXPECT_EQ(
        "Špatná verze databáze\nStáhněte si prosím novou verzi Kantorixu na adrese https://kx6.example.org/"
        "\nPokud to nepomůže, obraťte se prosím na mně (mail:kx6@example.org)",
        lastBox());
    EXPECT_TRUE(LoginRef::isSet());  // the database did not open: the login stays

    ASSERT_TRUE(inet->exec("UPDATE info SET value='5' WHERE name='dbversion'"));
    ASSERT_TRUE(inet->exec("UPDATE info SET value='0' WHERE name='allowconnect'"));
    btkDefaultMessageBoxes().reset();
    EXPECT_FALSE(login());
    PingInternetDatabase();
    KxDatabase* db = openDb(folder);
    EXPECT_FALSE(SynchronizeDatabase(db, SyncOptions()));
    EXPECT_EQ(boxes(), std::vector<std::string>(3, LockedText));
    EXPECT_EQ(0, folder.logCount(BeginRecord));  // no run began
}

TEST_F(InetSyncPg, AConnectionLostDuringTheOpeningChecksIsSaidSo) {
    kx6TcpProxy proxy(inet->socketPath());
    folder.writeConnection(inet->connectionElement("UTF-8", "127.0.0.1", proxy.port()));
    InitInternetConnection();
    // Whether another thread could take the connection while a box waits
    // (one that cannot gets it once the box is gone).
    struct FreeWhileShown : btkMessageBoxBackend {
        int show(const char* text, const char* caption, int flags) override {
            taken = false;
            others.emplace_back([this] {
                (void)ActiveConnection()->lastError();
                taken = true;
            });
            for (int i = 0; i < 100 && !taken; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            free = free && taken;
            return btkDefaultMessageBoxes().show(text, caption, flags);
        }
        std::atomic<bool> taken{false};
        bool free = true;
        std::vector<std::thread> others;
    } backend;
    btkSetMessageBoxBackend(&backend);
    for (const char* query : {"'dbversion'", "'allowconnect'"}) {
        btkDefaultMessageBoxes().reset();
        proxy.cutAfter(query);
        PingInternetDatabase();
        ASSERT_EQ(1, boxCount()) << query;
        EXPECT_TRUE(btkStartsWith("Připojení nebylo úspěšné\n", box(0).c_str())) << query << ": " << box(0);
    }
    btkSetMessageBoxBackend(nullptr);
    for (std::thread& other : backend.others) other.join();
    EXPECT_TRUE(backend.free);
    btkDefaultMessageBoxes().reset();
    PingInternetDatabase();
    EXPECT_EQ(boxes(), std::vector<std::string>{"OK"});

    // A cut during the login query is no wrong password, and one during
    // the rights query no missing right, neither then nor later.
    btkDefaultMessageBoxes().reset();
    proxy.cutAfter("dbw_password");
    EXPECT_FALSE(login());
    ASSERT_EQ(1, boxCount());
    EXPECT_TRUE(btkStartsWith("Připojení nebylo úspěšné\n", box(0).c_str())) << box(0);
    ASSERT_TRUE(login()) << lastBox();
    KxDatabase* db = openDb(folder);
    SyncOptions options;
    options.newSongs.add(addSong(db, "Ach synku"));
    btkDefaultMessageBoxes().reset();
    proxy.cutAfter("dbw_rights");
    EXPECT_FALSE(SynchronizeDatabase(db, options));
    ASSERT_EQ(1, boxCount());
    EXPECT_TRUE(btkStartsWith("Připojení nebylo úspěšné\n", box(0).c_str())) << box(0);
    EXPECT_TRUE(SynchronizeDatabase(db, options)) << lastBox();
}

TEST_F(InetSyncPg, AFailedLoginAfterASuccessfulOneLeavesNobodyLoggedIn) {
    ASSERT_TRUE(login());
    EXPECT_FALSE(LoginUser(kx6InetDb::login, "spatne"));
    EXPECT_EQ(boxes(), std::vector<std::string>{"Špatný login nebo heslo"});
    EXPECT_FALSE(LoginRef::isSet());
    EXPECT_FALSE(hasRight("dbadd"));

    // A new account is logged in at once, with no rights yet.
    EXPECT_TRUE(CreateAccountAndLogin("zpěvák", "tajné"));
    ASSERT_TRUE(LoginRef::isSet());
    EXPECT_EQ(btkstring("zpěvák"), LoginRef::get()->loginName());
    EXPECT_FALSE(hasRight("dbadd"));
    EXPECT_FALSE(CreateAccountAndLogin("zpěvák", "jiné"));
    EXPECT_EQ("Uživatelské jméno už existuje", lastBox());
    EXPECT_FALSE(LoginRef::isSet());
    EXPECT_TRUE(LoginUser("zpěvák", "tajné"));
}

TEST_F(InetSyncPg, ASuccessfulRunReportsItsCountsAndSavesTheDatabase) {
    ASSERT_TRUE(login());
    KxDatabase* db = openDb(folder);
    SyncOptions options;
    options.newSongs.add(addSong(db, "Ach synku"));
    options.newSongs.add(addSong(db, "Okolo Hradce"));
    ASSERT_TRUE(db->isChanged());

    ASSERT_TRUE(SynchronizeDatabase(db, options)) << lastBox();
    ASSERT_EQ(1, boxCount());
    // The download takes the run's own new version too, but the songs it
    // uploaded count as uploaded only.
    EXPECT_EQ(btkDefaultMessageBoxes().shown()[0].flags & btkMB_ICONINFORMATION, btkMB_ICONINFORMATION);
    EXPECT_EQ(
        "Synchronizace proběhla úspěšně\nUPLOAD:\nNová verze internetové databáze:1\n"
        "Počet polí upravených v internetové databázi:0\nPočet písní upravených v internetové databázi:0\n"
        "Počet nových písní přenesených na server:2\nPočet písní smazaných z internetové databáze:0\n"
        "DOWNLOAD:\nNová verze lokální databáze:1\nPočet písní smazaných z lokální databáze:0\n"
        "Počet písní, u kterých nastal konflikt při přenosu ze serveru:0\n"
        "Počet písní upravených v lokální databázi:0\nPočet písní přidaných do lokální databáze:0\n====\n"
        "Podrobné informace o synchronizaci byly napsány do logovacího souboru " +
            std::string(LogFileName().c_str()),
        box(0));
    EXPECT_EQ(2, inet->count("songs"));
    EXPECT_FALSE(db->isChanged());
    auto songs = stored(folder);
    EXPECT_NE(0, songs["Ach synku"].netid);
    EXPECT_NE(0, songs["Okolo Hradce"].netid);
    EXPECT_EQ(1, folder.logCount(BeginRecord));
    EXPECT_EQ(1, folder.logCount("##DBFILE##[zpevnik]"));

    // Download only, with nothing queued: no right needed, no new version,
    // and the file is written although nothing changed.
    ASSERT_TRUE(inet->exec("UPDATE dbw_users SET dbw_rights=''"));
    ASSERT_TRUE(login());
    std::string saved = folder.read("db/zpevnik.xml");
    folder.write("db/zpevnik.xml", saved + "\n");
    btkDefaultMessageBoxes().reset();
    // The file changed behind the database's back: writing over it is asked.
    btkDefaultMessageBoxes().answer(btkID_YES);
    SyncOptions downloadOnly;
    downloadOnly.upload = false;
    ASSERT_TRUE(SynchronizeDatabase(db, downloadOnly)) << lastBox();
    EXPECT_NE(box(0).find("zpevnik.xml byl od načtení změněn"), std::string::npos) << box(0);
    EXPECT_TRUE(btkStartsWith("Synchronizace proběhla úspěšně\nUPLOAD:\nPočet polí", box(1).c_str())) << box(1);
    EXPECT_EQ(saved, folder.read("db/zpevnik.xml"));
    EXPECT_EQ(2, folder.logCount(BeginRecord));
}

TEST_F(InetSyncPg, WithoutDdaddAHundredNewSongsPassAndAHundredAndOneAreRefused) {
    ASSERT_TRUE(inet->exec("UPDATE dbw_users SET dbw_rights='dbadd'"));
    ASSERT_TRUE(login());
    KxDatabase* db = openDb(folder);
    SyncOptions options;
    for (int i = 0; i < 101; ++i) options.newSongs.add(addSong(db, btkFormat("Píseň %d", i)));

    EXPECT_FALSE(SynchronizeDatabase(db, options));
    EXPECT_EQ(boxes(), std::vector<std::string>{RightsHeader + "Přidávánání neomezeně mnoha písní Kantorixem"});
    EXPECT_EQ(0, inet->count("songs"));
    EXPECT_EQ(0, folder.logCount(BeginRecord));
    EXPECT_TRUE(db->isChanged());  // untouched

    options.newSongs.removeItems(100, 1);
    ASSERT_TRUE(SynchronizeDatabase(db, options)) << lastBox();
    EXPECT_EQ(100, inet->count("songs"));
}

TEST_F(InetSyncPg, ARefusedConditionLeavesTheServerAndTheFileAsTheyWere) {
    ASSERT_TRUE(login());
    KxDatabase* db = openDb(folder);
    SyncOptions first;
    first.newSongs.add(addSong(db, "Ach synku"));
    ASSERT_TRUE(SynchronizeDatabase(db, first)) << lastBox();
    const std::string file = folder.read("db/zpevnik.xml");
    const std::string sequences =
        "SELECT string_agg(sequencename || '=' || last_value, ',' ORDER BY sequencename) FROM pg_sequences";
    const std::string before = inet->value(sequences);

    SyncOptions refused;
    refused.condition = "lang='cz' AND setval('songs_id_seq', 1) > 0";
    btkDefaultMessageBoxes().reset();
    EXPECT_FALSE(SynchronizeDatabase(db, refused));
    ASSERT_EQ(1, boxCount());
    EXPECT_TRUE(
        btkStartsWith((FailureHead + "The condition of table songs is not one SQL expression").c_str(), box(0).c_str()))
        << box(0);
    EXPECT_EQ(before, inet->value(sequences));
    EXPECT_EQ(file, folder.read("db/zpevnik.xml"));

    // Later uploads still get keys of their own.
    SyncOptions next;
    next.newSongs.add(addSong(db, "Večerníček"));
    EXPECT_TRUE(SynchronizeDatabase(db, next)) << lastBox();
    EXPECT_EQ(2, inet->count("songs"));
}

TEST_F(InetSyncPg, AFailedRunLeavesTheServerUnchangedAndKeepsEditsMadeBeforeIt) {
    ASSERT_TRUE(login());
    KxDatabase* db = openDb(folder);
    SyncOptions first;
    KxSong* song = addSong(db, "Ach synku");
    first.newSongs.add(song);
    ASSERT_TRUE(SynchronizeDatabase(db, first)) << lastBox();
    const int netid = song->netid;

    // Unsaved edits, then a run whose download fails on the server.
    song->title = "Ach synku, synku";
    song->setModified(true);
    KxSong* added = addSong(db, "Večerníček");
    SyncOptions failing;
    failing.changedSongs.add(song);
    failing.newSongs.add(added);
    failing.condition = "id LIKE 'x'";  // no LIKE for integers
    btkDefaultMessageBoxes().reset();
    EXPECT_FALSE(SynchronizeDatabase(db, failing));

    ASSERT_EQ(1, boxCount());
    const std::string text = box(0);
    const std::string cause = "operator does not exist";
    EXPECT_TRUE(btkStartsWith(
        (FailureHead + "Při komunikaci se serverem internetové databáze došlo k chybě:\n").c_str(), text.c_str()))
        << text;
    EXPECT_TRUE(contains(text, cause)) << text;
    EXPECT_EQ(text.find(cause), text.rfind(cause)) << text;  // the cause once
    EXPECT_TRUE(contains(text, "\nUPLOAD:\n")) << text;
    EXPECT_FALSE(contains(text, "Nová verze internetové databáze")) << text;  // rolled back
    // The server is as before the run.
    EXPECT_EQ(1, inet->count("songs"));
    EXPECT_EQ(1, inet->count("dbw_versions"));
    EXPECT_EQ("Ach synku", inet->value("SELECT title FROM songs WHERE id=" + std::to_string(netid)));
    // The file holds the edits committed before the run, and the database
    // was reloaded from it.
    auto songs = stored(folder);
    ASSERT_EQ(2u, songs.size());
    EXPECT_EQ(netid, songs["Ach synku, synku"].netid);
    EXPECT_TRUE(songs["Ach synku, synku"].netmodified);
    EXPECT_EQ(0, songs["Večerníček"].netid);
    EXPECT_FALSE(db->isChanged());
    EXPECT_EQ(2, db->songs.count());
    EXPECT_EQ(2, folder.logCount(BeginRecord));
    EXPECT_EQ(1, folder.logCount("Chyba:"));
}

TEST_F(InetSyncPg, ALostCommitIsSettledAndTheFileIsSavedBeforeAnyBox) {
    kx6TcpProxy proxy(inet->socketPath());
    folder.writeConnection(inet->connectionElement("UTF-8", "127.0.0.1", proxy.port()));
    InitInternetConnection();
    ASSERT_TRUE(login());
    // Each box reads the database file as it is while the box is open.
    struct FileAtBox : btkMessageBoxBackend {
        int show(const char* text, const char* caption, int flags) override {
            files.push_back(folder->read("db/zpevnik.xml"));
            return btkDefaultMessageBoxes().show(text, caption, flags);
        }
        const ProgramFolder* folder = nullptr;
        std::vector<std::string> files;
    } atBox;
    atBox.folder = &folder;
    btkMessageBoxBackend* previous = btkSetMessageBoxBackend(&atBox);
    KxDatabase* db = openDb(folder);

    // The server committed, its answer was lost: a success, saved at once.
    SyncOptions first;
    KxSong* song = addSong(db, "Ach synku");
    first.newSongs.add(song);
    proxy.cutAfter("COMMIT WORK");
    bool ok = SynchronizeDatabase(db, first);
    EXPECT_TRUE(proxy.cut());
    EXPECT_TRUE(ok) << lastBox();
    ASSERT_EQ(1u, atBox.files.size());
    EXPECT_TRUE(btkStartsWith("Synchronizace proběhla úspěšně\n", box(0).c_str())) << box(0);
    EXPECT_TRUE(contains(atBox.files[0], btkFormat("netid=\"%d\"", song->netid).c_str())) << atBox.files[0];
    EXPECT_FALSE(db->isChanged());

    // The server cannot be asked afterwards: the local changes stay, unsaved.
    btkDefaultMessageBoxes().reset();
    SyncOptions second;
    KxSong* added = addSong(db, "Okolo Hradce");
    second.newSongs.add(added);
    proxy.cutAfter("COMMIT WORK", true);
    EXPECT_FALSE(SynchronizeDatabase(db, second));
    btkSetMessageBoxBackend(previous);
    ASSERT_EQ(1, boxCount());
    EXPECT_TRUE(btkStartsWith("Spojení se serverem se přerušilo při dokončování synchronizace", box(0).c_str()))
        << box(0);
    EXPECT_TRUE(contains(box(0), "se zjistí při příští synchronizaci")) << box(0);
    EXPECT_FALSE(db->isChanged());  // as saved before the run
    EXPECT_EQ(0, byTitle(db, "Okolo Hradce")->netid);
    EXPECT_EQ(2, inet->awaitCount("songs", 2));
}

// The program ends after the server committed a run and before the run was
// saved: right after the commit's answer, or with the answer lost on the
// way. The next login or run settles it from the record kept next to the
// file: one server row per song, each song matching its row, no conflict.
// A record of a run the server does not hold is dropped.
TEST_F(InetSyncPg, ARunNotSavedLocallyIsSettledByTheNextRun) {
    kx6test::Restore<int> pause(dbwSynchronize::lostCommitPauseMs, 100);
    kx6TcpProxy proxy(inet->socketPath());
    for (bool answerLost : {false, true}) {
        SCOPED_TRACE(answerLost);
        const std::string prefix = answerLost ? "B" : "A";
        ProgramFolder f;
        f.writeConnection(inet->connectionElement("UTF-8", "127.0.0.1", proxy.port()));
        f.writeAutoLogin(kx6InetDb::login, kx6InetDb::password);
        setProgramDir(f.root.c_str());
        InitInternetConnection();
        ASSERT_TRUE(login());
        KxDatabase* db = openDb(f);
        for (int i = 0; i < 10; ++i) addSong(db, (prefix + " old " + std::to_string(i)).c_str());
        ASSERT_TRUE(SynchronizeDatabase(db, proposals(db))) << lastBox();
        // A mixed run: 200 new songs, 4 changed, 3 deleted.
        for (int i = 0; i < 200; ++i) addSong(db, (prefix + " new " + std::to_string(i)).c_str());
        for (int i = 0; i < 7; ++i) {
            KxSong* song = byTitle(db, (prefix + " old " + std::to_string(i)).c_str());
            song->text = "[A]Changed";
            song->setModified(true);
            if (i >= 4) song->special = "netdelete";
        }
        db->commit();
        if (answerLost) {
            proxy.cutAfter("COMMIT WORK", true);
            EXPECT_FALSE(SynchronizeDatabase(db, proposals(db)));
        } else {
            SyncOptions o = proposals(db);
            dbwSynchronize run(OpenInternetDatabase(), db, LoginRef::get()->userId());
            run.setUpload(true);
            run.setDownload(true);
            for (KxSong* song : o.newSongs) run.addNew(song);
            for (KxSong* song : o.changedSongs) run.addChanged(song);
            for (KxSong* song : o.deletedSongs) run.addDeleted(song);
            ASSERT_TRUE(run.synchronize());
        }
        ASSERT_TRUE(btkFileExists(SyncRecordFile(db)));
        db->release();  // the program ends unsaved
        system->processQueue();

        // The record is settled by the login when the database is open by
        // then (no song is proposed again), else by the run.
        f.writeConnection(inet->connectionElement());
        InitInternetConnection();
        if (!answerLost) db = openDb(f);
        ASSERT_TRUE(login());
        if (answerLost) db = openDb(f);
        EXPECT_EQ(answerLost, btkFileExists(SyncRecordFile(db)));
        EXPECT_EQ(answerLost ? 200 : 0, proposals(db).newSongs.count());
        btkDefaultMessageBoxes().reset();
        ASSERT_TRUE(SynchronizeDatabase(db, proposals(db))) << lastBox();
        EXPECT_TRUE(contains(lastBox(), "konflikt při přenosu ze serveru:0\n")) << lastBox();
        EXPECT_FALSE(btkFileExists(SyncRecordFile(db)));
        std::map<int, std::string> local;
        for (KxSong* song : db->songs) {
            if (!btkStartsWith(prefix.c_str(), song->title)) continue;  // the other loop's songs came down
            EXPECT_FALSE(song->nonet || song->netmodified) << song->title.c_str();
            local[song->netid] +=
                std::to_string(song->netid) + ":" + song->title.c_str() + ":" + song->text.c_str() + "|";
        }
        std::string rows;
        for (const auto& [netid, row] : local) rows += row;
        EXPECT_EQ(207u, local.size());
        EXPECT_EQ(rows, inet->value("SELECT string_agg(id || ':' || title || ':' || text || '|', '' ORDER BY id) "
                                    "FROM songs WHERE title LIKE '" +
                                    prefix + " %'"));
    }

    setProgramDir(folder.root.c_str());
    InitInternetConnection();
    ASSERT_TRUE(login());
    KxDatabase* db = openDb(folder);
    KxSong* song = addSong(db, "Ach synku");
    db->commit();
    ASSERT_TRUE(btkWriteTextFile(SyncRecordFile(db), btkFormat("kx6 sync record 1\nversion 9999\nuser %d\nnew %d 77 "
                                                               "0000000000000000\nend\n",
                                                               inet->userId(), song->locid)));
    ASSERT_TRUE(SynchronizeDatabase(db, proposals(db))) << lastBox();
    EXPECT_FALSE(btkFileExists(SyncRecordFile(db)));
    EXPECT_NE(77, song->netid);
    // A record that is not whole stops the run and is named; the user may
    // remove it and go on.
    ASSERT_TRUE(btkWriteTextFile(SyncRecordFile(db), "kx6 sync record 1\nversion 5\n"));
    EXPECT_FALSE(SynchronizeDatabase(db, proposals(db)));
    EXPECT_TRUE(contains(lastBox(), SyncRecordFile(db).c_str())) << lastBox();
    EXPECT_TRUE(contains(lastBox(), "podruhé")) << lastBox();
    EXPECT_TRUE(btkFileExists(SyncRecordFile(db)));
    addSong(db, "Okolo Hradce");
    db->commit();
    btkDefaultMessageBoxes().answer(btkID_YES);
    EXPECT_TRUE(SynchronizeDatabase(db, proposals(db))) << lastBox();
    EXPECT_FALSE(btkFileExists(SyncRecordFile(db)));
    EXPECT_EQ("1", inet->value("SELECT COUNT(*) FROM songs WHERE title='Ach synku'"));
    EXPECT_EQ("1", inet->value("SELECT COUNT(*) FROM songs WHERE title='Okolo Hradce'"));
}

// The record of a run the program could not save gives a server row only
// to the song the run sent. Its local id may belong to another song by the
// next login, the file may be a backup from before the run or another
// database: every row the run wrote keeps the run's text, and the other
// songs become new rows or are downloaded over.
TEST_F(InetSyncPg, ARecordGivesItsRowsOnlyToTheSongsItsRunSent) {
    kx6test::Restore<int> pause(dbwSynchronize::lostCommitPauseMs, 100);
    // The next run succeeds without a conflict; the server then holds the
    // expected rows and the local songs match them (rows the lost run
    // created come down as songs of their own).
    auto runAndCheck = [&](KxDatabase* db, const std::string& prefix, const std::string& expected) {
        btkDefaultMessageBoxes().reset();
        ASSERT_TRUE(SynchronizeDatabase(db, proposals(db))) << lastBox();
        EXPECT_TRUE(contains(lastBox(), "konflikt při přenosu ze serveru:0\n")) << lastBox();
        EXPECT_FALSE(btkFileExists(SyncRecordFile(db)));
        EXPECT_EQ(expected, rows(prefix));
        EXPECT_EQ(expected, localRows(db, prefix));
    };

    {
        SCOPED_TRACE("another song took the local id of a new song deleted since");
        ProgramFolder f;
        KxDatabase* db = openDb(f);
        addSong(db, "A new", "[C]A");
        db->commit();
        runLosingTheAnswer(f, db);
        int locid = byTitle(db, "A new")->locid;
        db->songTable.deleteObject(byTitle(db, "A new"));
        db->setChanged();
        db->commit();
        db = reopen(f, db);
        KxSong* other = addSong(db, "A other", "[D]B");
        EXPECT_EQ(locid, other->locid);
        db->commit();
        ASSERT_TRUE(login());
        EXPECT_EQ(0, other->netid);
        runAndCheck(db, "A", "A new:[C]A|A other:[D]B|");
    }
    {
        SCOPED_TRACE("a backup from before the run was restored and songs typed");
        ProgramFolder f;
        KxDatabase* db = openDb(f);
        for (int i = 0; i < 5; ++i) addSong(db, ("R old " + std::to_string(i)).c_str(), "[C]Old");
        db->commit();
        syncDirectly(f, db);
        if (HasFatalFailure()) return;
        const std::string backup = f.read("db/zpevnik.xml");
        for (int i = 0; i < 3; ++i) addSong(db, ("R new " + std::to_string(i)).c_str(), "[C]New");
        for (KxSong* song : db->songs) {
            if (!btkStartsWith("R old", song->title)) continue;
            song->text = "[A]Run";
            song->setModified(true);
        }
        db->commit();
        runLosingTheAnswer(f, db);
        f.write("db/zpevnik.xml", backup);
        db = reopen(f, db);
        for (int i = 0; i < 3; ++i) addSong(db, ("R typed " + std::to_string(i)).c_str(), "[G]Typed");
        db->commit();
        btkDefaultMessageBoxes().reset();
        ASSERT_TRUE(login());
        EXPECT_TRUE(contains(lastBox(), "nebyl použit")) << lastBox();
        std::string expected = "R new 0:[C]New|R new 1:[C]New|R new 2:[C]New|";
        for (int i = 0; i < 5; ++i) expected += "R old " + std::to_string(i) + ":[A]Run|";
        for (int i = 0; i < 3; ++i) expected += "R typed " + std::to_string(i) + ":[G]Typed|";
        runAndCheck(db, "R", expected);
    }
    {
        SCOPED_TRACE("another database took the file's place");
        ProgramFolder f;
        KxDatabase* db = openDb(f);
        for (int i = 0; i < 3; ++i) addSong(db, ("F new " + std::to_string(i)).c_str(), "[C]New");
        db->commit();
        runLosingTheAnswer(f, db);
        db->release();
        system->processQueue();
        KxDatabase* other = openDb(f, "jiny.xml");
        std::string expected;
        for (int i = 0; i < 60; ++i) {
            std::string title = "F other " + std::to_string(100 + i);
            addSong(other, title.c_str(), "[E]Other");
            expected += title + ":[E]Other|";
        }
        other->commit();
        other->release();
        system->processQueue();
        f.write("db/zpevnik.xml", f.read("db/jiny.xml"));
        db = openDb(f);
        btkDefaultMessageBoxes().reset();
        ASSERT_TRUE(login());
        EXPECT_TRUE(contains(lastBox(), "nebyl použit")) << lastBox();
        runAndCheck(db, "F", "F new 0:[C]New|F new 1:[C]New|F new 2:[C]New|" + expected);
    }
}

// Songs edited after a run the program could not save: an edited changed
// song goes up over the run's row without a conflict, an edited new song
// goes up as a row of its own (the run's row keeps what the run sent), the
// others settle. Settling the same record again changes nothing.
TEST_F(InetSyncPg, ARecordSettlesSongsEditedSinceAndCanBeAppliedTwice) {
    kx6test::Restore<int> pause(dbwSynchronize::lostCommitPauseMs, 100);
    ProgramFolder f;
    KxDatabase* db = openDb(f);
    addSong(db, "K old 0", "[C]Zero");
    addSong(db, "K old 1", "[C]One");
    db->commit();
    syncDirectly(f, db);
    if (HasFatalFailure()) return;
    for (const char* title : {"K old 0", "K old 1"}) {
        byTitle(db, title)->text = "[A]Run";
        byTitle(db, title)->setModified(true);
    }
    addSong(db, "K new", "[C]New");
    addSong(db, "K plain", "[C]Plain");
    db->commit();
    runLosingTheAnswer(f, db);
    const std::string record = f.read("db/zpevnik.xml.sync");
    byTitle(db, "K old 0")->text = "[E]Again";
    byTitle(db, "K old 0")->setModified(true);
    byTitle(db, "K new")->text = "[D]Again";
    byTitle(db, "K new")->setModified(true);
    db->commit();

    // Another program saved the file meanwhile: "Ne" to writing over it
    // keeps the record for later, with no box after the answer.
    f.write("db/zpevnik.xml", f.read("db/zpevnik.xml") + "\n");
    btkDefaultMessageBoxes().reset();
    ASSERT_TRUE(login());
    EXPECT_EQ(1, boxCount()) << lastBox();
    EXPECT_TRUE(btkFileExists(SyncRecordFile(db)));
    btkDefaultMessageBoxes().reset();
    btkDefaultMessageBoxes().answer(btkID_YES);
    ASSERT_TRUE(login());
    EXPECT_EQ(1, boxCount()) << lastBox();
    EXPECT_FALSE(btkFileExists(SyncRecordFile(db)));
    EXPECT_EQ(0, byTitle(db, "K new")->netid);
    EXPECT_NE(0, byTitle(db, "K plain")->netid);
    EXPECT_TRUE(byTitle(db, "K old 0")->netmodified);
    EXPECT_FALSE(byTitle(db, "K old 1")->netmodified);
    f.write("db/zpevnik.xml.sync", record);  // as if removing it had failed
    ASSERT_TRUE(SynchronizeDatabase(db, proposals(db))) << lastBox();
    EXPECT_TRUE(contains(lastBox(), "konflikt při přenosu ze serveru:0\n")) << lastBox();
    EXPECT_EQ("K new:[C]New|K new:[D]Again|K old 0:[E]Again|K old 1:[A]Run|K plain:[C]Plain|", rows("K"));
    for (KxSong* song : db->songs) EXPECT_FALSE(song->netmodified) << song->title.c_str();
}

TEST_F(InetSyncPg, TheRunShowsItsProgressAndACancelFailsIt) {
    struct Progress : KxProgressWindow {
        void start(const char* caption, const char* text, int maximum, bool cancelVisible) override {
            started = std::string(caption) + "|" + text + "|" + std::to_string(maximum) + "|" +
                      (cancelVisible ? "cancel" : "");
        }
        bool step(int, const char*) override { return ++steps < 2; }
        void close() override { ++closed; }
        std::string started;
        int steps = 0;
        int closed = 0;
    } window;
    gProgressWindow = &window;
    ASSERT_TRUE(login());
    KxDatabase* db = openDb(folder);
    SyncOptions options;
    options.newSongs.add(addSong(db, "Ach synku"));
    options.newSongs.add(addSong(db, "Okolo Hradce"));
    bool ok = SynchronizeDatabase(db, options);
    gProgressWindow = nullptr;

    EXPECT_FALSE(ok);
    EXPECT_EQ("Synchronizace|Inicializace...|100|cancel", window.started);
    EXPECT_EQ(1, window.closed);
    ASSERT_EQ(1, boxCount());
    EXPECT_TRUE(btkStartsWith((FailureHead + "Přerušeno uživatelem\nUPLOAD:\n").c_str(), box(0).c_str())) << box(0);
    EXPECT_EQ(0, inet->count("songs"));
    // The new songs were committed before the run and are still there.
    EXPECT_EQ(2, db->songs.count());
    EXPECT_FALSE(db->isChanged());
}

TEST_F(InetSyncPg, TwoProgramFoldersSynchroniseThroughTheServer) {
    ProgramFolder p1, p2;
    configure(p1);
    configure(p2);
    editFile(p1, [&](KxDatabase* db) {
        addSong(db, "Ach synku");
        addSong(db, "Okolo Hradce");
        addSong(db, "Nazev?");  // a placeholder title is never proposed
    });
    openDb(p2)->release();

    ASSERT_TRUE(succeeded(kxtool(p1), {"Synchronizace proběhla úspěšně\nUPLOAD:\n",
                                       "Počet nových písní přenesených na server:2\n", "\n" + p1.root + "/data/"}));
    EXPECT_EQ(2, inet->count("songs"));
    ASSERT_TRUE(succeeded(kxtool(p2), {"Počet písní přidaných do lokální databáze:2\n"}));
    ASSERT_EQ(2u, stored(p2).size());

    // p2 changes one song, deletes another and adds a third.
    editText(p2, "Ach synku", "[G]Nová sloka");
    editFile(p2, [&](KxDatabase* db) {
        byTitle(db, "Okolo Hradce")->special = "netdelete";
        addSong(db, "Večerníček");
    });
    ASSERT_TRUE(succeeded(kxtool(p2), {"Počet písní upravených v internetové databázi:1\n",
                                       "Počet nových písní přenesených na server:1\n",
                                       "Počet písní smazaných z internetové databáze:1\n"}));
    // Songs the run deleted do not come back with the saved file.
    EXPECT_EQ(0u, stored(p2).count("Okolo Hradce"));

    ASSERT_TRUE(succeeded(kxtool(p1), {}));
    auto songs = stored(p1);
    EXPECT_EQ(3u, songs.size());  // the placeholder song stays local
    EXPECT_EQ("[G]Nová sloka", songs["Ach synku"].text);
    EXPECT_EQ(0u, songs.count("Okolo Hradce"));
    EXPECT_NE(0, songs["Večerníček"].netid);

    // Both change the same song; the one that comes second without
    // uploading gets a conflict and keeps its own text out of the net.
    editText(p1, "Ach synku", "[D]Text z prvního");
    editText(p2, "Ach synku", "[E]Text z druhého");
    ASSERT_TRUE(succeeded(kxtool(p2), {}));
    ASSERT_TRUE(
        succeeded(kxtool(p1, "--no-upload"), {"Počet písní, u kterých nastal konflikt při přenosu ze serveru:1\n"}));
    songs = stored(p1);
    EXPECT_TRUE(songs["Ach synku"].nonet);
    EXPECT_EQ("[D]Text z prvního", songs["Ach synku"].text);

    // A locked database stops before any run.
    ASSERT_TRUE(inet->exec("UPDATE info SET value='0' WHERE name='allowconnect'"));
    ToolRun run = kxtool(p1);
    EXPECT_EQ(1, run.status);
    EXPECT_TRUE(contains(run.out, LockedText)) << run.out;

    // One log record per run that began.
    EXPECT_EQ(3, p1.logCount(BeginRecord));
    EXPECT_EQ(3, p2.logCount(BeginRecord));
}

TEST_F(InetSyncPg, TwoFoldersChangingOrDeletingOneSongGetAConflict) {
    const std::string conflict = "Počet písní, u kterých nastal konflikt při přenosu ze serveru:1\n";
    ProgramFolder p1, p2;
    configure(p1);
    configure(p2);
    editFile(p1, [&](KxDatabase* db) {
        addSong(db, "Ach synku");
        addSong(db, "Okolo Hradce");
    });
    openDb(p2)->release();
    ASSERT_TRUE(succeeded(kxtool(p1), {}));
    ASSERT_TRUE(succeeded(kxtool(p2), {}));
    const int netid = stored(p1)["Ach synku"].netid;

    // Both change one song: the second upload is a conflict, the server
    // keeps the first text, the second folder its own.
    editText(p1, "Ach synku", "[D]First");
    editText(p2, "Ach synku", "[E]Second");
    ASSERT_TRUE(succeeded(kxtool(p1), {}));
    ASSERT_TRUE(succeeded(kxtool(p2), {conflict}));
    EXPECT_EQ("[D]First", inet->value("SELECT text FROM songs WHERE id=" + std::to_string(netid)));
    EXPECT_EQ("[E]Second", stored(p2)["Ach synku"].text);
    EXPECT_TRUE(stored(p2)["Ach synku"].nonet);

    // One deletes a song, the other changes it: the changing folder's runs
    // succeed and it keeps its text.
    editFile(p1, [&](KxDatabase* db) {
        byTitle(db, "Okolo Hradce")->special = "netdelete";
        db->setChanged();
    });
    editText(p2, "Okolo Hradce", "[A]Changed");
    ASSERT_TRUE(succeeded(kxtool(p1), {"Počet písní smazaných z internetové databáze:1\n"}));
    ASSERT_TRUE(succeeded(kxtool(p2), {conflict}));
    ASSERT_TRUE(succeeded(kxtool(p2), {}));
    EXPECT_EQ("[A]Changed", stored(p2)["Okolo Hradce"].text);
    EXPECT_EQ(1, inet->count("songs"));
}

TEST_F(InetSyncPg, AFoldersOwnEarlierUploadsAreNoConflictWhenOtherRunsCameBetween) {
    const std::string noConflict = "Počet písní, u kterých nastal konflikt při přenosu ze serveru:0\n";
    ProgramFolder a, b;
    configure(a);
    configure(b);
    editFile(a, [&](KxDatabase* db) {
        addSong(db, "Ach synku");
        addSong(db, "Okolo Hradce");
    });
    editFile(b, [&](KxDatabase* db) { addSong(db, "Večerníček"); });
    ASSERT_TRUE(succeeded(kxtool(a), {}));
    ASSERT_TRUE(succeeded(kxtool(b), {}));  // a version a has not seen
    const int netid = stored(a)["Ach synku"].netid;

    // Each run finds the row as a's previous run left it, although a's
    // database version stays behind b's run after an upload-only run.
    enum { Keep, Edit, Delete };
    const struct {
        const char* flags;
        const char* text;
        int other;  // what happens to the other song
    } runs[] = {
        {"--no-download", "[D]Second", Edit},
        {"--no-download", "[E]Third", Delete},
        {"--no-upload", "[F]Fourth", Keep},
        {"", "[F]Fourth", Keep},
    };
    for (const auto& r : runs) {
        editText(a, "Ach synku", r.text);
        if (r.other == Edit) editText(a, "Okolo Hradce", r.text);
        if (r.other == Delete)
            editFile(a, [&](KxDatabase* db) {
                byTitle(db, "Okolo Hradce")->special = "netdelete";
                db->setChanged();
            });
        ASSERT_TRUE(succeeded(kxtool(a, r.flags), {noConflict})) << r.flags << r.text;
    }
    auto songs = stored(a);
    EXPECT_EQ("[F]Fourth", inet->value("SELECT text FROM songs WHERE id=" + std::to_string(netid)));
    EXPECT_FALSE(songs["Ach synku"].nonet);
    EXPECT_FALSE(songs["Ach synku"].netmodified);
    EXPECT_EQ(0u, songs.count("Okolo Hradce"));
    EXPECT_EQ(2, inet->count("songs"));

    // b last had the song before all of a's changes: its change conflicts.
    editText(b, "Ach synku", "[G]From b");
    ASSERT_TRUE(succeeded(kxtool(b, "--no-download"), {"konflikt při přenosu ze serveru:1\n"}));
    EXPECT_EQ("[F]Fourth", inet->value("SELECT text FROM songs WHERE id=" + std::to_string(netid)));
}

TEST_F(InetSyncPg, KxtoolEndsWithAMessageWhenTheServerStopsAnswering) {
    kx6TcpProxy proxy(inet->socketPath());
    ProgramFolder p1;
    p1.writeConnection(inet->connectionElement("UTF-8", "127.0.0.1", proxy.port()));
    p1.writeAutoLogin(kx6InetDb::login, kx6InetDb::password);
    editFile(p1, [&](KxDatabase* db) { addSong(db, "Ach synku"); });
    const std::string env = "KXTOOL_REPLY_TIMEOUT_MS=2000 KXTOOL_CONNECT_TIMEOUT_S=2 ";
    for (const char* freezeAt : {"LOCK TABLE", ""}) {
        if (*freezeAt)
            proxy.freezeAfter(freezeAt);  // mid-run
        else
            proxy.freeze();  // before connecting
        auto start = std::chrono::steady_clock::now();
        ToolRun run = kxtool(p1, "", env);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_NE(0, run.status) << run.out;
        EXPECT_LT(seconds, 15.0) << freezeAt;
        EXPECT_TRUE(
            contains(run.out, *freezeAt ? "Server internetové databáze přestal odpovídat" : "Připojení nebylo úspěšné"))
            << run.out;
    }
    EXPECT_EQ(0, inet->count("songs"));
    EXPECT_EQ(0, stored(p1)["Ach synku"].netid);
}

}  // namespace
