// The database commands of the main window and the user column file.
#include <cstdio>
#include <filesystem>

#include <QAction>

#include "app/main/mainactions.h"
#include "app/main/mainfrm.h"
#include "app/song/songsetfrm.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btksyspath.h"
#include "query/cmdline.h"
#include "songs/appservices.h"
#include "songs/dbfile.h"
#include "songs/kxdatabase.h"
#include "songs/kxobject.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/mainwinmsgs.h"

namespace {

const char* const DatabaseFilter = "Databáze(*.xml)|*.xml|Komprimované databáze(*.xgz)|*.xgz|";
const char* const UserDataFilter = "Uživatelská data(*.udb)|*.udb";

// Makes the newest view of the root the selected one after the pass.
void selectNewestView() {
    if (gKxSystem) gKxSystem->postMessage(new M_LastDB);
}

void newDatabase() {
    btkCntVec<KxSong*> songs;
    if (!AskSongSet("Z kterých písní se má vytvořit nová databáze?", songs)) return;
    gKxSpace->addView(new KxCustomView(songs));
    selectNewestView();
}

// The database of that file among the open views, or null.
KxDatabase* openDatabaseOf(const btkstring& fileName) {
    btkCntVec<KxDatabase*> databases;
    gKxSpace->getDatabases(databases);
    std::error_code error;
    const auto wanted = std::filesystem::weakly_canonical(btkSysPath(fileName), error);
    for (KxDatabase* db : databases) {
        if (db->getFileName().empty()) continue;
        if (std::filesystem::weakly_canonical(btkSysPath(db->getFileName()), error) == wanted) return db;
    }
    return nullptr;
}

void openDatabaseFile() {
    btkstring fileName;
    if (!ExecuteOpenDialog(DatabaseFilter, programDir(), fileName)) return;
    // A file that is open already is selected, not opened twice: two
    // databases over one file would overwrite each other's commits.
    if (KxDatabase* open = openDatabaseOf(fileName)) {
        for (int i = 0; i < gKxSpace->viewCount(); ++i)
            if (gKxSpace->getView(i) == open) gMainWin->selectView(i);
        return;
    }
    gKxSpace->addView(new KxDatabase(fileName));
    selectNewestView();
}

// The name an export of the view proposes: its database's file name, else
// the view's name as a database file.
btkstring exportFileName(KxView* view) {
    if (!view) return "*.xml";
    if (KxDatabase* db = view->asDatabase(); db && !db->getFileName().empty())
        return btkFile(db->getFileName()).fileName();
    return view->name() + ".xml";
}

void exportDatabase() {
    btkCntVec<KxSong*> songs;
    if (!AskSongSet("Které písně se mají exportovat?", songs)) return;
    btkstring fileName = btkFile(programDir()).join(exportFileName(gMainWin->getActViewMsg()));
    if (!ExecuteSaveDialog(DatabaseFilter, programDir(), fileName)) return;
    WriteDatabaseFile(fileName, songs, nullptr);
}

void importDatabase() {
    KxDatabase* db = gMainWin->getActDatabaseMsg();
    if (!db) return;
    btkstring fileName;
    if (!ExecuteOpenDialog("Databáze(*.xml)|*.xml", programDir(), fileName)) return;
    KxBusy busy("Importuje se soubor...");
    db->importFile(fileName);
}

void removeDatabase() {
    KxDatabase* db = gMainWin->getActDatabase();
    if (!db) {
        if (KxView* view = gMainWin->getActViewMsg()) view->release();
        return;
    }
    if (db->inDbFolder) {
        if (QuestionBox("Opravdu vymazat databázi se všemi jejími písněmi?", "yn") != 1) return;
        const btkstring fileName = db->getFileName();
        if (!fileName.empty() && !btkRemoveFile(fileName) && btkFileExists(fileName))
            throw btkError(btkFormat("Soubor %s nelze smazat", fileName.c_str()));
        db->release();
        return;
    }
    // A database opened from elsewhere is only closed: its file stays.
    if (db->isChanged()) {
        switch (QuestionBox("Databáze byla změněna, uložit?", "ync")) {
        case 1: db->commit(); break;
        case 2: break;
        default: return;
        }
    }
    db->release();
}

void saveUserColumns() {
    KxView* view = gMainWin->getActViewMsg();
    if (!view) return;
    btkstring fileName;
    if (!ExecuteSaveDialog(UserDataFilter, programDir(), fileName)) return;
    UserColumnDocument(view).save(fileName, "Windows-1250");
}

void loadUserColumns() {
    KxView* view = gMainWin->getActViewMsg();
    if (!view) return;
    btkstring fileName;
    if (!ExecuteOpenDialog(UserDataFilter, programDir(), fileName)) return;
    btkXMLNode root;
    root.load(fileName);
    ApplyUserColumnDocument(root, view);
}

}  // namespace

btkXMLNode UserColumnDocument(KxView* view) {
    btkXMLNode root;
    root.setName("user_data");
    btkXMLNode songsNode = root.addChild("songs");
    btkCntVec<KxSong*> songs;
    if (view) view->getSongs(songs);
    for (KxSong* song : songs) {
        if (song->netid == 0) continue;
        btkXMLNode node = songsNode.addChild("song");
        node.setIntAttr("netid", song->netid);
        if (song->vars.count() == 0) continue;
        btkXMLNode vars = node.addChild("vars");
        for (int i = 0; i < song->vars.count(); ++i) {
            btkXMLNode var = vars.addChild("var");
            var.setAttr("name", song->vars.item(i).name);
            var.setValue(song->vars.item(i).value);
        }
    }
    return root;
}

int ApplyUserColumnDocument(const btkXMLNode& root, KxView* view) {
    if (!view) return 0;
    btkCntVec<KxSong*> songs;
    view->getSongs(songs);
    int changed = 0;
    const btkXMLNode songsNode = root.childByName("songs");
    for (int i = 0; i < songsNode.childCount(); ++i) {
        const btkXMLNode node = songsNode.child(i);
        const int netid = node.intAttr("netid");
        // An element without an internet id would reach every song never
        // uploaded: it names no song.
        if (netid == 0) continue;
        const btkXMLNode vars = node.childByName("vars");
        for (KxSong* song : songs) {
            if (song->netid != netid) continue;
            for (int v = 0; v < vars.childCount(); ++v)
                song->vars.set(vars.child(v).attr("name"), vars.child(v).text());
            song->changed();
            song->setModified(false);
            ++changed;
        }
    }
    return changed;
}

void ConnectDatabaseActions(Tmainfrm& window) {
    window.setActionHandler("a_newdb", newDatabase);
    window.setActionHandler("a_dbcommit", [] {
        if (KxDatabase* db = gMainWin->getActDatabaseMsg()) db->commit();
    });
    window.setActionHandler("a_dbrollback", [] {
        if (KxDatabase* db = gMainWin->getActDatabaseMsg()) db->rollback();
    });
    window.setActionHandler("a_dbinfo", [] {
        const btkstring info = CmdlineDbInfo();
        if (!info.empty()) InfoBox(info);
    });
    window.setActionHandler("a_dbopenfile", openDatabaseFile);
    window.setActionHandler("a_dbexport", exportDatabase);
    window.setActionHandler("a_dbimport", importDatabase);
    window.setActionHandler("a_dbremove", removeDatabase);
    window.setActionHandler("a_udb_save", saveUserColumns);
    window.setActionHandler("a_udb_load", loadUserColumns);
}
