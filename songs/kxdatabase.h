// A song database: one database file and the songs it owns. It is read on
// first use and written back only on commit.
#pragma once

#include "dbw/dbwsync.h"
#include "foundation/btkfile.h"
#include "foundation/btkstrings.h"
#include "songs/kxview.h"

class KxDatabase;

// The database's one synchronised table.
class KxSongTable : public dbwSynTable {
public:
    explicit KxSongTable(KxDatabase* database) : database(database) {}
    dbwSynClass* synClass() override;
    void getObjects(btkCntVec<dbwSynObject*>& objects) override;
    void deleteObject(dbwSynObject* object) override;
    int tableId() override { return 1; }
    dbwSynObject* newObject() override;
    int nextLocalId() override;

    KxDatabase* database;
};

// The database-level values handed to the file writer.
struct DbExportProps {
    int dbversion = 0;
    bool isinetdb = false;
    btkstring customcols;  // names, each followed by ";"
    btkstring syncid;
};

// The database's version for the internet database is the dbwLocalDb
// base's version.
class KxDatabase : public KxView, public KxHandler, public dbwLocalDb {
public:
    // A database of that file, not loaded yet; an empty name makes a new
    // database without a file, which counts as loaded.
    explicit KxDatabase(const char* fileName);
    ~KxDatabase() override = default;

    KxDatabase* asDatabase() override { return this; }
    // The songs go with their database.
    void release() override;
    // The file name without folder and extension.
    btkstring name() override;
    // The file name without folder, with "*" while changed.
    btkstring caption() override;
    void getSongs(btkCntVec<KxSong*>& list) override;
    btkstring customColumns() override;
    btkstring encoding() override { return "CP1250"; }
    void* openLog() override;
    void writeLog(void* log, btkstring line) override;
    void closeLog(void* log) override;
    // Writes the run's record next to the file (see songs/syncrecord.h).
    bool keepRunRecord(const dbwRunRecord& record, btkstring& error) override;
    virtual void removeSong(KxObject* object);
    void getTables(btkCntVec<dbwSynTable*>& tables) override { tables.add(&songTable); }
    void objectRemoved(KxObject* object) override { removeSong(object); }

    // A new empty song of this database; the caller gives it its local id.
    KxSong* addNewSong();
    // A copy of the song with the next local id; posts it changed.
    KxSong* addSongCopy(const KxSong& song);
    // The first song with that local id, or null; does not load.
    KxSong* findSongByLocid(int locid) const;
    // Raises the highest local id by one and returns it.
    int nextLocalId() { return ++highestLocid; }
    // Keeps the highest local id at or above a local id given to a song by
    // hand, so the next new song does not get it again.
    void raiseHighestLocid(int locid);

    void ensureLoaded();
    void setChanged() { changedFlag = true; }
    bool isChanged() const { return changedFlag; }
    btkstring getFileName() const { return fileName; }
    bool isLoaded() const { return loaded; }
    // The last load failed: the file on disk is not what the database holds.
    bool loadFailed() const { return failedLoad; }

    // The database-level values of the file.
    DbExportProps exportProps() const;
    // Writes the songs to the file through a temporary file. Throws btkError
    // naming the file when that fails; the old file then stays untouched.
    void save();
    // Writes a changed database and clears the change marks. A database
    // whose file could not be read is not written over that file. A file
    // replaced or written by someone else since it was read or saved here
    // is written over only when the user agrees (the question names it;
    // without windows the answer is no). Throws btkError naming the file on
    // any failure, btkDeclinedError when the user refused; the database then
    // stays changed. Always posts the database changed.
    void commit();
    // Commits; a failure is named in an error box (none after the user's
    // "Ne" to writing over a changed file, the answer said it) and gives
    // false, the database staying changed.
    [[nodiscard]] bool commitShown();
    // Drops the unsaved changes: reads the file again.
    void rollback();
    // Moves the songs of another database file into this one.
    void importFile(const char* fileName);

    bool inDbFolder = false;
    btkStrings customCols;
    int highestLocid = 0;
    bool isinetdb = false;
    // Renewed and saved before every synchronisation run, so that the
    // record of a run names the state of the file it was written for: a
    // file restored from a backup or replaced by another database no longer
    // carries it. Empty for a database that never took part in a run.
    btkstring syncId;
    KxSongTable songTable;
    btkCntVec<KxSong*> songs;

private:
    // Reads the file into a fresh song list (the caller shows the busy
    // notice): on failure an error box names the file and the database stays
    // empty and marked as failed, so nothing writes over the unread file.
    void readFile();
    // Takes every song out of use: no database, released to the queue.
    void dropSongs();
    void clearChangeMarks();
    // True when the file on disk is no longer the one read or saved here
    // (a file that has gone holds nothing to lose).
    bool changedOnDisk() const;

    bool loaded;
    bool changedFlag = false;
    bool failedLoad = false;
    btkstring fileName;
    btkFileStamp diskStamp;  // the file as read or last saved here
};
