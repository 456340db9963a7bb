// kxtool console PROGRAMDIR [--db NAME]: the console interpreter over the
// databases of a program folder. Each line of stdin is a console line, or a
// driver verb when it starts with ':' (:list VIEW, :active, :view, :commit).
// The queue is drained after every line. Output: the console's lines, and
// every error box as "ERROR: " and its text.
#include <cstdio>
#include <iostream>
#include <string>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "kxtool.h"
#include "query/cmdline.h"
#include "song_model.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

namespace {

void printLine(const char* line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
}

struct StdoutConsole : KxConsole {
    void print(const char* line) override { printLine(line); }
    void clearScreen() override {}
};

// Error boxes go to stdout; other boxes to stderr, answered "no".
struct StdoutBoxes : btkMessageBoxBackend {
    int show(const char* text, const char* caption, int flags) override {
        if (flags & btkMB_ICONERROR) {
            printLine((std::string("ERROR: ") + text).c_str());
            return btkID_OK;
        }
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return (flags & 7) == btkMB_OK ? btkID_OK : btkID_NO;
    }
};

// The main window as far as the console needs it: the active view, which a
// new view from SELECT or FILTER replaces.
struct ConsoleMainWin : MainWinBase {
    KxSong* getActSong() override { return nullptr; }
    KxSong* getActSongMsg() override {
        ErrorBox("Není vybrána píseň");
        return nullptr;
    }
    KxView* getActView() override {
        // The view may have been released meanwhile.
        return gKxSpace && gKxSpace->views.find(active) >= 0 ? active : nullptr;
    }
    KxView* getActViewMsg() override {
        KxView* view = getActView();
        if (!view) ErrorBox("Není otevřen pohled");
        return view;
    }
    KxDatabase* getActDatabase() override {
        KxView* view = getActView();
        return view ? view->asDatabase() : nullptr;
    }
    KxDatabase* getActDatabaseMsg() override {
        KxDatabase* db = getActDatabase();
        if (!db) ErrorBox("Není otevřena databáze");
        return db;
    }
    KxDatabase* getActInetDatabase() override { return nullptr; }
    void setActSong(KxSong*) override {}
    void selectView(int index) override {
        active = gKxSpace && index >= 0 && index < gKxSpace->viewCount() ? gKxSpace->getView(index) : nullptr;
    }
    void setStatusText(const char*) override {}
    void showLoginState() override {}
    void selectSongById(int) override {}
    void closeMain() override { closed = true; }
    void getListSongs(btkCntVec<KxSong*>& songs) override {
        songs.clear();
        if (KxView* view = getActView()) view->getSongs(songs);
    }

    KxView* active = nullptr;
    bool closed = false;
};

void listView(const std::string& name) {
    KxView* view = gKxSpace->findView(name.c_str());
    if (!view) {
        std::fprintf(stderr, "kxtool: no view %s\n", name.c_str());
        return;
    }
    btkCntVec<KxSong*> songs;
    view->getSongs(songs);
    for (const KxSong* song : songs) std::printf("%d\t%s\n", song->locid, song->title.c_str());
}

// The active view as one line: "NAME (count)", then ": " and the titles in
// the view's order separated by "; "; an empty line without a view.
void printActiveView(ConsoleMainWin& main) {
    KxView* view = main.getActView();
    if (!view) {
        printLine("");
        return;
    }
    btkCntVec<KxSong*> songs;
    view->getSongs(songs);
    std::string line = std::string(view->name().c_str()) + " (" + std::to_string(songs.count()) + ")";
    for (int i = 0; i < songs.count(); ++i) line += (i ? "; " : ": ") + std::string(songs[i]->title.c_str());
    printLine(line.c_str());
}

void commitAll() {
    btkCntVec<KxDatabase*> databases;
    gKxSpace->getDatabases(databases);
    for (KxDatabase* db : databases) {
        if (!db->isChanged()) continue;
        try {
            db->commit();
        } catch (const btkError& e) {
            ErrorBox(e.message());
        }
    }
}

void runVerb(const std::string& line, ConsoleMainWin& main) {
    const size_t blank = line.find(' ');
    const std::string verb = line.substr(0, blank);
    const std::string argument = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (verb == ":list")
        listView(argument);
    else if (verb == ":active")
        printLine(main.getActView() ? main.getActView()->name().c_str() : "");
    else if (verb == ":view")
        printActiveView(main);
    else if (verb == ":commit")
        commitAll();
    else
        std::fprintf(stderr, "kxtool: unknown verb %s\n", verb.c_str());
}

int console(const kxtool::Args& a) {
    const char* usage =
        "console PROGRAMDIR [--db NAME]  (console lines and :list VIEW, :active, :view, :commit on stdin)";
    if (a.size() != 1 && !(a.size() == 3 && a[1] == "--db")) return kxtool::usageError(usage);
    setProgramDir(a[0].c_str());
    kxtool::SongModel model;
    model.space->loadDatabaseFolder(btkFile(a[0].c_str()).join("db"));

    StdoutBoxes boxes;
    StdoutConsole out;
    ConsoleMainWin main;
    btkMessageBoxBackend* oldBoxes = btkSetMessageBoxBackend(&boxes);
    gConsole = &out;
    gMainWin = &main;
    int rc = 0;
    if (a.size() == 3 && !(main.active = model.space->findView(a[2].c_str()))) {
        std::fprintf(stderr, "kxtool: no view %s\n", a[2].c_str());
        rc = 1;
    }
    for (std::string line; rc == 0 && !main.closed && std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == ':')
            runVerb(line, main);
        else
            CmdlineExecute(line.c_str());
        model.queue.processQueue();
        std::fflush(stdout);
    }
    gMainWin = nullptr;
    gConsole = nullptr;
    btkSetMessageBoxBackend(oldBoxes);
    return rc;
}

KXTOOL_COMMAND("console",
               "console PROGRAMDIR [--db NAME]  (console lines and :list VIEW, :active, :view, :commit on stdin)",
               console);

}  // namespace
