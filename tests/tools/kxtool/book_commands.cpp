// kxtool subcommands over song books: a new book from a database, the
// resolved type and the items of a book, and loading and saving a book.
#include <cstdio>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "kxtool.h"
#include "song_model.h"
#include "songbook/melodar.h"

namespace {

int fail(const char* text) {
    std::fprintf(stderr, "kxtool: %s\n", text);
    return 1;
}

int bookNew(const kxtool::Args& a) {
    if (a.size() != 3 && a.size() != 4) return kxtool::usageError("book-new PROGRAMDIR DBNAME OUT.kx [TYPE]");
    setProgramDir(a[0].c_str());
    kxtool::SongModel model;
    model.space->loadDatabaseFolder(programDir().join("db"));
    KxView* view = model.space->findView(a[1].c_str());
    KxDatabase* db = view ? view->asDatabase() : nullptr;
    if (!db) return fail(btkFormat("no database %s in %s/db", a[1].c_str(), a[0].c_str()));
    db->ensureLoaded();
    if (db->loadFailed()) return 1;

    Melodar book;
    book.initType();
    if (a.size() == 4) {
        const char* type = a[3].c_str();
        if (!KxTypeWithBase::isValidTypeName(type) || !btkFileExists(KxTypeWithBase::typeFilePath(type)))
            return fail(btkFormat("no song-book type %s", type));
        try {
            book.type->changeBaseType(type);
        } catch (const btkError& e) {
            return fail(e.what());
        }
        book.type->savediff = true;
    }
    btkCntVec<KxSong*> songs;
    db->getSongs(songs);
    for (KxSong* song : songs) book.appendItem(std::make_unique<SongData>(&book, *song));
    return book.save(a[2].c_str()) ? 0 : 1;
}

// The attributes of an element as "name:value" joined by ",".
btkstring attributes(const btkXMLNode& element) {
    btkstring s;
    for (int i = 0; i < element.attrCount(); ++i) {
        if (i) s += ',';
        s += element.attrName(i) + ":" + element.attrValue(i);
    }
    return s;
}

void printType(const MelodarKxType& t) {
    const struct {
        const char* name;
        int value;
    } numbers[] = {
        {"savediff", t.savediff},       {"hcnt", t.hcnt},           {"vcnt", t.vcnt},
        {"margintype", t.margintype},   {"leftsp", t.leftsp},       {"topsp", t.topsp},
        {"rightsp", t.rightsp},         {"bottomsp", t.bottomsp},   {"landscape", t.landscape},
        {"a4distrib", t.a4distrib},     {"colcnt", t.colcnt},       {"pagenumstart", t.pagenumstart},
        {"autodistrib", t.autodistrib}, {"slspacehi", t.slspacehi}, {"songspacehi", t.songspacehi},
        {"songlines", t.songlines},     {"inacs", t.inacs},         {"outacs", t.outacs},
    };
    std::printf("basetype=%s\n", t.basetype.c_str());
    for (const auto& n : numbers) std::printf("%s=%d\n", n.name, n.value);
    const struct {
        const char* name;
        const KxIntList& list;
    } lists[] = {{"mleft", t.mleft}, {"mright", t.mright}, {"mtop", t.mtop}, {"mbottom", t.mbottom}};
    for (const auto& l : lists) std::printf("%s=%s\n", l.name, intListToString(l.list).c_str());
    std::printf("header=%s\nfooter=%s\n", t.header.c_str(), t.footer.c_str());
    for (int i = 0; i < t.fonts.childCount(); ++i)
        std::printf("%s=%s\n", t.fonts.child(i).name().c_str(), attributes(t.fonts.child(i)).c_str());
    for (int i = 0; i < t.order.childCount(); ++i)
        std::printf("order.%s=%s\n", t.order.child(i).name().c_str(), attributes(t.order.child(i)).c_str());
}

int bookInfo(const kxtool::Args& a) {
    if (a.size() != 2) return kxtool::usageError("book-info PROGRAMDIR BOOK.kx");
    setProgramDir(a[0].c_str());
    Melodar book;
    try {
        book.load(a[1].c_str());
    } catch (const btkError& e) {
        return fail(e.what());
    }
    printType(*book.type);
    for (int i = 0; i < book.GetItemCount(); ++i) {
        const KxData* item = book.GetItem(i);
        const auto* song = dynamic_cast<const SongData*>(item);
        std::printf("%s\t%s\n", item->kind(), (song ? song->title : item->displayText()).c_str());
    }
    return 0;
}

int bookResave(const kxtool::Args& a) {
    if (a.size() != 3) return kxtool::usageError("book-resave PROGRAMDIR IN.kx OUT.kx");
    setProgramDir(a[0].c_str());
    Melodar book;
    try {
        book.load(a[1].c_str());
    } catch (const btkError& e) {
        return fail(e.what());
    }
    return book.save(a[2].c_str()) ? 0 : 1;
}

KXTOOL_COMMAND("book-new", "book-new PROGRAMDIR DBNAME OUT.kx [TYPE]  (every song of db/DBNAME)", bookNew);
KXTOOL_COMMAND("book-info", "book-info PROGRAMDIR BOOK.kx  (type values, then kind<TAB>title per item)", bookInfo);
KXTOOL_COMMAND("book-resave", "book-resave PROGRAMDIR IN.kx OUT.kx", bookResave);

}  // namespace
