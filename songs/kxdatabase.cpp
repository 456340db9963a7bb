#include "songs/kxdatabase.h"

#include <sys/stat.h>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btksyspath.h"
#include "songs/appservices.h"
#include "songs/dailylog.h"
#include "songs/dbfile.h"
#include "songs/kxsong.h"
#include "songs/songclass.h"
#include "songs/syncrecord.h"

namespace {

// An existing file with at least one byte: something a commit could lose.
bool holdsData(const char* path) {
    struct stat st;
    return btkSysStat(path, &st) == 0 && st.st_size > 0;
}

}  // namespace

// ---- KxSongTable

dbwSynClass* KxSongTable::synClass() { return &SongClass::instance(); }

void KxSongTable::getObjects(btkCntVec<dbwSynObject*>& objects) {
    database->ensureLoaded();
    for (KxSong* song : database->songs) objects.add(song ? static_cast<dbwSynObject*>(song) : nullptr);
}

void KxSongTable::deleteObject(dbwSynObject* object) {
    if (!object) return;
    // The song leaves the database at once, not in the next queue pass: the
    // save that follows a synchronisation must not write it back.
    KxSong* song = static_cast<KxSong*>(object);
    database->removeSong(song);
    song->database = nullptr;
    song->release();
}

dbwSynObject* KxSongTable::newObject() {
    KxSong* song = database->addNewSong();
    return song ? static_cast<dbwSynObject*>(song) : nullptr;
}

int KxSongTable::nextLocalId() { return database->nextLocalId(); }

// ---- KxDatabase

KxDatabase::KxDatabase(const char* fileName) : songTable(this), loaded(!fileName || !*fileName), fileName(fileName) {}

void KxDatabase::release() {
    // The songs go with their database; they no longer reach it, and a
    // database released before its first use is not loaded any more.
    dropSongs();
    loaded = true;
    KxView::release();
}

btkstring KxDatabase::name() {
    btkFile file(btkFile(fileName).fileName());
    file.setExt("");
    return file;
}

btkstring KxDatabase::caption() {
    btkstring text = btkFile(fileName).fileName();
    if (changedFlag) text += "*";
    return text;
}

void KxDatabase::getSongs(btkCntVec<KxSong*>& list) {
    ensureLoaded();
    list = songs;
}

btkstring KxDatabase::customColumns() {
    ensureLoaded();
    return JoinCustomColumns(customCols);
}

void* KxDatabase::openLog() {
    LogHoldFlush();
    LogBegin("inetsyn", "Synchronizace");
    LogTag("DBFILE", name());
    return nullptr;
}

void KxDatabase::writeLog(void*, btkstring line) { LogWriteLine(line); }

void KxDatabase::closeLog(void*) {
    LogEnd("inetsyn");
    LogFlush();
}

bool KxDatabase::keepRunRecord(const dbwRunRecord& record, btkstring& error) {
    try {
        WriteSyncRecord(this, record);
        return true;
    } catch (const btkError& e) {
        error = e.message();
        return false;
    }
}

void KxDatabase::removeSong(KxObject* object) {
    KxSong* song = object->asSong();
    if (song && song->database == this) songs.remove(song);
}

KxSong* KxDatabase::addNewSong() {
    KxSong* song = new KxSong;
    songs.add(song);
    song->database = this;
    song->setParent(this);
    return song;
}

KxSong* KxDatabase::addSongCopy(const KxSong& source) {
    KxSong* song = addNewSong();
    song->copyFrom(source);
    song->locid = nextLocalId();
    song->changed();
    return song;
}

KxSong* KxDatabase::findSongByLocid(int locid) const {
    for (KxSong* song : songs)
        if (song->locid == locid) return song;
    return nullptr;
}

void KxDatabase::raiseHighestLocid(int locid) {
    if (locid > highestLocid) highestLocid = locid;
}

void KxDatabase::ensureLoaded() {
    if (loaded) return;
    KxBusy busy("Kantorix štrachá písničky, mějte prosím strpení...");
    readFile();
}

void KxDatabase::dropSongs() {
    for (KxSong* song : songs) {
        song->database = nullptr;
        song->release();
    }
    songs.clear();
}

void KxDatabase::readFile() {
    loaded = true;
    dropSongs();
    changedFlag = false;
    highestLocid = 0;
    failedLoad = false;
    // The values of the database element come from the file alone.
    version = 0;
    isinetdb = false;
    syncId = btkstring();
    customCols.clear();
    // Taken before reading: a file replaced while it is read then counts as
    // changed at the next commit.
    diskStamp = btkGetFileStamp(fileName);
    bool failed = true;
    btkstring reason = "neznámá chyba";
    try {
        DbLoader loader(fileName, this);
        loader.load();
        failed = false;
    } catch (const btkXMLLoadError& e) {
        reason = e.offset() < 0 ? e.message() : btkFormat("%s (bajt %lld)", e.message().c_str(), e.offset());
    } catch (const std::exception& e) {
        reason = e.what();
    } catch (...) {
    }
    if (failed) {
        ErrorBox(btkFormat("Při načítání souboru %s došlo k chybě:\n%s", fileName.c_str(), reason.c_str()));
        changedFlag = false;
        dropSongs();
        failedLoad = true;
        return;
    }
    for (KxSong* song : songs) raiseHighestLocid(song->locid);
    for (KxSong* song : songs)
        if (song->locid == 0) {
            song->locid = nextLocalId();
            song->setModified(false);
        }
}

void KxDatabase::clearChangeMarks() {
    for (KxSong* song : songs) song->modified = false;
    changedFlag = false;
}

DbExportProps KxDatabase::exportProps() const {
    DbExportProps props;
    props.dbversion = version;
    props.isinetdb = isinetdb;
    props.customcols = JoinCustomColumns(customCols);
    props.syncid = syncId;
    return props;
}

void KxDatabase::save() {
    btkCntVec<KxSong*> list;
    // Loads first, so that the values written are those of the file.
    getSongs(list);
    DbExportProps props = exportProps();
    WriteDatabaseFile(fileName, list, &props);
    diskStamp = btkGetFileStamp(fileName);
}

bool KxDatabase::changedOnDisk() const {
    if (fileName.empty()) return false;
    const btkFileStamp now = btkGetFileStamp(fileName);
    return now.exists && now != diskStamp;
}

void KxDatabase::commit() {
    if (changedFlag) {
        // What the database holds is not what the unreadable file holds:
        // writing it would lose every song of that file.
        if (failedLoad && holdsData(fileName))
            throw btkError(
                btkFormat("Soubor %s se nepodařilo načíst, databáze do něj nebude uložena", fileName.c_str()));
        // Another program or another copy of this one has saved the file:
        // writing over it would lose the songs only that version holds.
        if (changedOnDisk()) {
            const btkstring question = btkFormat(
                "Soubor %s byl od načtení změněn jiným programem nebo jinou spuštěnou kopií kantorixu.\n"
                "Uložit databázi přes něj? Písně, které jsou jen v souboru, budou ztraceny.\n\n"
                "Ne = soubor zůstane, jak je, a databáze zůstane neuložená.",
                fileName.c_str());
            if (QuestionBox(question, "yn") != 1)
                throw btkDeclinedError(btkFormat(
                    "Databáze nebyla uložena: soubor %s byl od načtení změněn jiným programem", fileName.c_str()));
        }
        save();
        failedLoad = false;
    }
    clearChangeMarks();
    changed();
}

bool KxDatabase::commitShown() {
    try {
        commit();
        return true;
    } catch (const btkDeclinedError&) {
        return false;
    } catch (const btkError& e) {
        ErrorBox(e.message());
        return false;
    }
}

void KxDatabase::rollback() {
    clearChangeMarks();
    readFile();
    changed();
}

void KxDatabase::importFile(const char* sourceName) {
    KxBusy busy("Importuje se soubor...");
    // A later first load would drop the songs moved in now.
    ensureLoaded();
    KxPtr<KxDatabase> source(new KxDatabase(sourceName));
    btkCntVec<KxSong*> moved;
    source->getSongs(moved);
    for (KxSong* song : moved) {
        song->moveToDatabase(this);
        song->locid = nextLocalId();
    }
    setChanged();
    changed();
}
