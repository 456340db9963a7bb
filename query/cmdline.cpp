#include "query/cmdline.h"

#include <string>

#include "foundation/btkarray.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkscramble.h"
#include "foundation/btktextcursor.h"
#include "query/kxquery.h"
#include "query/sqlparser.h"
#include "songs/dupltest.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/kxview.h"
#include "songs/mainwinmsgs.h"
#include "songs/uibridge.h"

KxConsole* gConsole = nullptr;

namespace {

const char* const generalHelp[] = {
    "quit     konec Kantorixu",
    "select   KxSQL dotaz - výběr písní",
    "update   KxSQL dotaz - úprava písní",
    "delete   KxSQL dotaz - mazání písní",
    "filter   filtrování databáze",
    "echo     vypíše argument",
    "dbinfo   vypíše informace o databázi",
    "cls      smaže historii příkazové řádky",
    "dbltest  vyhledání stejných písní",
    "help     vypíše tuto nápovědu",
    "Pro podrobnější nápovědu k příkazu napište help <příkaz>",
};

const char* const dbltestHelp[] = {
    "DBLTEST",
    "=======",
    "Provede vyhledání stejných písní v aktuální databázi a výsledek vypíše do logu",
    "DBLTEST arg1=hodnota1 arg2=hodnota2 ...",
    "Seznam možných argumentů s jejich implicitními hotnotami:",
    "MAX_LEN_DIF=16, maximální rozdíl v délce textu",
    "MAX_CHAR_DIF=32, maximální rozdíl v početnosti znaků",
    "MAX_DIF_LEN=32, maximální délka rozdílného kusu textu, čím větší, tím trvá test déle",
    "MAX_DIF_TEST_LEN=32, ???, čím větší, tím trvá test déle",
    "MAX_TEXT_DIFF_KOEF=0.1, kolik toho může být rozdílného (poměr stejné/různé)",
    "MAX_TEXT_DIFF_LEN=32, maximální délka rozdílného textu (celého)",
};

void printLine(const char* line) {
    if (gConsole) gConsole->print(line);
}

template <size_t N> void printAll(const char* const (&lines)[N]) {
    for (const char* line : lines) printLine(line);
}

// The command word at the cursor: blanks skipped, identifier characters
// upper-cased; the cursor stays on what follows the word.
btkstring readWord(TextCursor& cursor) {
    cursor.skipBlanks();
    btkstring word;
    for (; cursor.atIdentChar(); cursor.next()) word += cursor.current();
    word.toUpper();
    return word;
}

// Adds a new custom view over the songs and lets the main window show it.
void addResultView(const btkCntVec<KxSong*>& songs) {
    if (!gKxSpace) return;
    gKxSpace->addView(new KxCustomView(songs));
    if (gKxSystem) gKxSystem->postMessage(new M_LastDB);
}

void cmdlineQuery(const char* line) {
    const btkAutoPtr<Query> query = parseQueryStatement(line);
    if (!query.isSet()) return;
    if (SelectQuery* select = query->asSelect()) {
        btkCntVec<KxSong*> songs;
        select->select(songs);
        addResultView(songs);
    } else if (query->isModifying()) {
        try {
            query->execute();
        } catch (const btkError& e) {
            ErrorBox(e.message());
        }
    }
}

// A database is filtered into a new view; a custom view is narrowed in
// place. Without either there is nothing to filter.
void cmdlineFilter(const char* argument) {
    const SongExprPtr condition = parseQueryCondition(argument);
    if (!condition.isSet()) return;
    KxView* view = gMainWin ? gMainWin->getActView() : nullptr;
    KxDatabase* db = view ? view->asDatabase() : nullptr;
    KxCustomView* custom = view ? view->asCustomView() : nullptr;
    if (!db && !custom) {
        ErrorBox("Není otevřen pohled");
        return;
    }
    btkCntVec<KxSong*> songs, kept;
    view->getSongs(songs);
    for (KxSong* song : songs)
        if (queryValueIsTrue(condition->evaluate(song))) kept.add(song);
    if (db)
        addResultView(kept);
    else
        custom->setSongs(kept);
}

void cmdlineHelp(const char* argument) {
    TextCursor cursor(argument);
    const btkstring word = readWord(cursor);
    if (word.empty())
        printAll(generalHelp);
    else if (word == "DBLTEST")
        printAll(dbltestHelp);
    else
        printLine(btkFormat("K příkazu %s není dostupná podrobná nápověda", word.c_str()));
}

}  // namespace

void CmdlinePrintLines(const char* text) {
    const char* p = text ? text : "";
    while (*p) {
        const char* end = p;
        while (*end && *end != '\n') ++end;
        btkstring piece(std::string(p, end).c_str());
        piece.trimRight();
        printLine(piece);
        p = *end ? end + 1 : end;
    }
}

btkstring CmdlineDbInfo() {
    KxView* view = gMainWin ? gMainWin->getActViewMsg() : nullptr;
    if (!view) return btkstring();
    btkCntVec<KxSong*> songs;
    view->getSongs(songs);
    btkstring info = btkFormat("Počet písní:%d\n", songs.count());
    if (KxDatabase* db = view->asDatabase()) {
        info += db->isChanged() ? "Změněno:ANO\n" : "Změněno:NE\n";
        info += btkFormat("Soubor:%s\n", db->getFileName().c_str());
        info += db->isinetdb ? "Internetová databáze:ANO\n" : "Internetová databáze:NE\n";
        info += btkFormat("Verze databáze:%d\n", static_cast<int>(db->dbwLocalDb::version));
    }
    return info;
}

void CmdlineExecute(const char* line) {
    TextCursor cursor(line);
    const btkstring word = readWord(cursor);
    const char* argument = cursor.position();
    if (word == "QUIT") {
        if (gMainWin) gMainWin->closeMain();
    } else if (word == "SELECT" || word == "UPDATE" || word == "DELETE") {
        cmdlineQuery(line);
    } else if (word == "FILTER") {
        cmdlineFilter(argument);
    } else if (word == "ECHO") {
        CmdlinePrintLines(argument);
    } else if (word == "DBINFO") {
        CmdlinePrintLines(CmdlineDbInfo());
    } else if (word == "HELP") {
        cmdlineHelp(argument);
    } else if (word == "ENCRYPT") {
        CmdlinePrintLines(btkScramblePassword(btkstring(argument).trimmed()));
    } else if (word == "DECRYPT") {
        CmdlinePrintLines(btkUnscramblePassword(btkstring(argument).trimmed()));
    } else if (word == "DBLTEST") {
        DuplTestParams params;
        params.parse(btkstring(argument).upper());
    } else if (word == "CLS") {
        if (gConsole) gConsole->clearScreen();
    } else {
        printLine(btkstring("Neznámý příkaz:") + word);
    }
}
