// Application services and the window bridges: program-wide events, status
// texts, progress and busy notices, song sets, the main-window messages,
// headless log windows and the daily log.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "foundation/btkdatetime.h"
#include "foundation/btkfile.h"
#include "modelenv.h"
#include "songs/appservices.h"
#include "songs/dailylog.h"
#include "songs/kxsong.h"
#include "songs/mainwinmsgs.h"
#include "tests/foundation/io_test_support.h"

namespace {

class Services : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        gMainWin = &main;
    }
    void TearDown() override {
        gMainWin = nullptr;
        gAppClosing = false;
        gProgressWindow = nullptr;
        ModelTest::TearDown();
    }
    FakeMainWin main;
};

// Logs id * 10 + code; the handler with id 1 deletes itself on its event.
struct Listener : CommonHandler {
    explicit Listener(std::vector<int>* log, int id) : log(log), id(id) {}
    void event(KxCommonEvent& e) override {
        log->push_back(id * 10 + e.code);
        if (onEvent) onEvent();
        if (id == 1) delete this;
    }
    std::vector<int>* log;
    int id;
    std::function<void()> onEvent;
};

struct Window {
    Window() : handler(this) {}
    void commonEvent(KxCommonEvent& e) { codes.push_back(e.code); }
    TPrivateCommonHandler<Window> handler;
    std::vector<int> codes;
};

TEST_F(Services, BroadcastReachesEveryHandlerAsTheListChanges) {
    std::vector<int> log;
    int before = CommonHandlerCount();
    // The first handler removes itself, the second adds a new one: nobody
    // is skipped and the newcomer hears the same event.
    new Listener(&log, 1);
    Listener second(&log, 2);
    Listener* late = nullptr;
    second.onEvent = [&] {
        if (!late) late = new Listener(&log, 3);
    };
    KxCommonEvent e{KX_EVENT_OPTIONS_SAVE};
    BroadcastCommonEvent(e);
    EXPECT_EQ(log, (std::vector<int>{12, 22, 32}));
    EXPECT_EQ(CommonHandlerCount(), before + 2);
    delete late;

    // A window's private handler forwards the code.
    Window w;
    KxCommonEvent changed{KX_EVENT_OPTIONS_CHANGED};
    BroadcastCommonEvent(changed);
    EXPECT_EQ(w.codes, (std::vector<int>{1}));
}

TEST_F(Services, StatusTextStopsOnceTheProgramClosesAndLogWindowsWorkHeadless) {
    ShowStatusText("jedna");
    ClearStatusText();
    gAppClosing = true;
    ShowStatusText("dva");
    EXPECT_EQ(main.status, (std::vector<std::string>{"jedna", ""}));
    UpdateLoginStatus();
    EXPECT_EQ(main.loginShown, 1);
    gMainWin = nullptr;
    ShowStatusText("bez okna");
    UpdateLoginStatus();

    ClearHeadlessLogText();
    btkRef<LogWindow> log = OpenLogWindow("dupltest", "Test stejných písní", "db.xml");
    log->write("první řádek");
    log->write("druhý\n");
    EXPECT_STREQ(HeadlessLogText(), "první řádek\ndruhý\n");
    ExecuteLoginWizard();  // nothing registered: nothing happens
}

struct ProgressWindow : KxProgressWindow {
    void start(const char* caption, const char*, int maximum, bool cancel) override {
        log.push_back(std::string("start ") + caption + " " + std::to_string(maximum) + (cancel ? " c" : ""));
    }
    bool step(int position, const char* text) override {
        log.push_back("step " + std::to_string(position) + " " + text);
        return position < 50;
    }
    void close() override { log.push_back("close"); }
    std::vector<std::string> log;
};

TEST_F(Services, ProgressWithAndWithoutAWindow) {
    {
        KxProgress headless("a", "b", 10, true);
        EXPECT_TRUE(headless.step(99, "x"));
    }
    ProgressWindow window;
    gProgressWindow = &window;
    {
        KxProgress p("Sync", "t", 100, true);
        dbwProgress& engineFace = p;
        EXPECT_TRUE(engineFace.step(10, "deset"));
        EXPECT_FALSE(engineFace.step(60, "dost"));
    }
    EXPECT_EQ(window.log, (std::vector<std::string>{"start Sync 100 c", "step 10 deset", "step 60 dost", "close"}));
}

TEST_F(Services, CollectSongSetByKind) {
    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    KxSong* a = db->addNewSong();
    KxSong* b = db->addNewSong();
    btkCntVec<KxSong*> ba;
    ba.add(b);
    ba.add(a);
    KxCustomView* view = new KxCustomView(ba);
    space->addView(view);
    KxSong* own = view->addNewSong();
    b->putOnStack();

    auto collect = [](int kind) {
        btkCntVec<KxSong*> set;
        set.add(nullptr);  // the set is cleared first
        CollectSongSet(kind, set);
        return std::vector<KxSong*>(set.begin(), set.end());
    };
    using Songs = std::vector<KxSong*>;
    EXPECT_EQ(collect(SONGSET_CURRENT), Songs{});
    EXPECT_EQ(collect(SONGSET_VIEW), Songs{});
    main.current = a;
    main.view = view;
    EXPECT_EQ(collect(SONGSET_CURRENT), Songs{a});
    EXPECT_EQ(collect(SONGSET_STACK), Songs{b});
    EXPECT_EQ(collect(SONGSET_VIEW).size(), 3u);
    EXPECT_EQ(collect(SONGSET_ALL), (Songs{a, b, own}));
}

TEST_F(Services, MainWindowMessages) {
    KxDatabase* db = new KxDatabase("");
    space->addView(db);
    space->addView(new KxCustomView);
    KxSong* keep = db->addNewSong();
    KxSong* gone = db->addNewSong();
    system->postMessage(new M_SetActSong(keep));
    system->postMessage(new M_LastDB);
    pass();
    EXPECT_EQ(main.current, keep);
    EXPECT_EQ(main.selected, 1);
    // A song deleted in the pass that runs the message is not made current.
    system->postMessage(new M_SetActSong(gone));
    gone->release();
    pass();
    EXPECT_EQ(main.current, keep);
}

class DailyLog : public ::testing::Test {
protected:
    void SetUp() override { setProgramDir(dir.path().c_str()); }
    void TearDown() override { LogClose(); }
    std::string read() { return readBytes(LogFileName().c_str()); }
    TempDir dir;
};

TEST_F(DailyLog, NameRecordsAndMissingFolder) {
    btkDateTime now = btkDateTime::now();
    EXPECT_STREQ(LogFileName(), btkFormat("%s/data/%d%02d%02d.log", dir.path().c_str(), now.tm_year + 1900,
                                          now.tm_mon + 1, now.tm_mday));
    // Without the data folder every write does nothing.
    LogWriteLine("ztraceno");
    EXPECT_FALSE(btkFileExists(LogFileName()));
    btkMakeDir(dir.path("data").c_str());
    LogBegin("inetsyn", "Synchronizace");
    LogTag("DBFILE", "Songs");
    LogWriteLine("řádek");
    LogEnd("inetsyn");
    std::string text = read();
    ASSERT_EQ(text.rfind("\r\n##BEGIN##[inetsyn]{", 0), 0u) << text;
    std::string tail = "}(Synchronizace)\r\n##DBFILE##[Songs]\r\nřádek\r\n##END##[inetsyn]\r\n";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    // Held lines reach the file at the next flush; a later open appends.
    LogHoldFlush();
    LogWriteLine("drzeno");
    LogFlush();
    LogClose();
    LogWriteLine("dalsi");
    EXPECT_EQ(read(), text + "drzeno\r\ndalsi\r\n");
}

// The log viewer saves the day's file through a new file renamed over it:
// the next lines go into the file that then has the name, or into a new one
// when the file was removed.
TEST_F(DailyLog, ReplacedOrRemovedFileGetsTheNextLines) {
    btkMakeDir(dir.path("data").c_str());
    LogWriteLine("první");
    ASSERT_TRUE(btkWriteTextFile(LogFileName(), "upraveno\n"));
    LogWriteLine("druhá");
    EXPECT_EQ(read(), "upraveno\r\ndruhá\r\n");
    ASSERT_TRUE(btkRemoveFile(LogFileName()));
    LogWriteLine("třetí");
    EXPECT_EQ(read(), "třetí\r\n");
}

struct ScriptedDialogs : KxFileDialogs {
    bool openFile(const char* filter, const char* dir, btkstring& path) override {
        calls.push_back(std::string("open ") + filter + " " + dir + " " + path.c_str());
        if (!ok) return false;
        path = "/x/vybrany.xml";
        return true;
    }
    bool saveFile(const char* filter, const char* dir, const char* ext, btkstring& path) override {
        calls.push_back(std::string("save ") + filter + " " + dir + " " + ext + " " + path.c_str());
        if (!ok) return false;
        path = std::string(dir).append("/novy.kx").c_str();
        return true;
    }
    bool ok = true;
    std::vector<std::string> calls;
};

TEST(FileDialogs, ResultsAndCancel) {
    btkstring path = "puvodni";
    EXPECT_FALSE(ExecuteOpenDialog("Databáze|*.xml", "/db", path));  // no windows: cancelled
    EXPECT_STREQ(path, "puvodni");
    ScriptedDialogs dialogs;
    gFileDialogs = &dialogs;
    EXPECT_TRUE(ExecuteOpenDialog("Databáze|*.xml", "/db", path));
    EXPECT_STREQ(path, "/x/vybrany.xml");
    EXPECT_STREQ(ExecuteSaveDialog("Typ|*.kx", "/data/stary.kx"), "/data/novy.kx");
    EXPECT_EQ(dialogs.calls.back(), "save Typ|*.kx /data kx stary.kx");
    dialogs.ok = false;
    path = "puvodni";
    EXPECT_FALSE(ExecuteSaveDialog("Typ|*.kx", "/data", path));
    EXPECT_STREQ(path, "puvodni");
    EXPECT_STREQ(ExecuteOpenDialog("Databáze|*.xml", "/db"), "");
    EXPECT_STREQ(FilterDefaultExt("Databáze (*.xml)|*.xml;*.xgz"), "xgz");
    EXPECT_STREQ(FilterDefaultExt("bez tecky"), "");
    // The main window's database filter ends in a separator.
    EXPECT_STREQ(FilterDefaultExt("Databáze(*.xml)|*.xml|Komprimované databáze(*.xgz)|*.xgz|"), "xgz");
    gFileDialogs = nullptr;
}

}  // namespace
