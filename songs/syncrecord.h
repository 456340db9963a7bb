// The record of a synchronisation run that a song database keeps next to its
// file, so that a run whose commit reached the server but whose outcome was
// never saved locally (the program ended, or the commit's answer was lost)
// is settled by the next run instead of being uploaded a second time.
//
// The record is written durably just before the server's commit and removed
// once the database was saved with the run's outcome, or once the run failed
// on the server. It is a text file "<database file>.sync" of ASCII lines:
//
//   kx6 sync record 2
//   database <the database's sync id, "-" for none>
//   server <the internet database's name (the rest of the line), "-" for none>
//   version <the run's version id>
//   user <the id of the user who ran it>
//   new <locid> <netid> <fingerprint>       a new row and its key
//   changed <locid> <netid> <fingerprint>   a changed row
//   deleted <locid> <netid>                 a deleted row
//   end
//
// The sync id is renewed and saved just before each run, so a record
// applies only to its database file and the saves that followed it, never
// to a backup restored from before the run or to another database put in
// its place. Local ids are reused, so a song takes a new row's key only
// while it holds the text the run uploaded; the fingerprint (16 hexadecimal
// digits) is a hash of the song's synchronised texts as uploaded. Records of
// the first form (without the database and server lines) are still read.
#pragma once

#include <cstdint>

#include "dbw/dbwsync.h"
#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

class KxDatabase;
class KxSong;
class dbwAdapter;

struct SyncRecordRow {
    char kind = 0;  // 'n' new, 'c' changed, 'd' deleted
    std::int32_t locid = 0;
    std::int32_t netid = 0;
    std::uint64_t fingerprint = 0;
};

struct SyncRecord {
    btkstring database;  // the database's sync id; "" for none
    btkstring server;    // the internet database's name; "" when not known
    std::int32_t version = 0;
    std::int32_t userId = 0;
    btkCntVec<SyncRecordRow> rows;
};

// "<database file>.sync"; "" for a database without a file.
btkstring SyncRecordFile(const KxDatabase* database);
// The hash of the song's synchronised texts, its internet id left out.
std::uint64_t SongFingerprint(KxSong* song);
// Writes the record of a run on the database's songs through a checked,
// synced save. Throws btkError naming the file when that fails.
void WriteSyncRecord(KxDatabase* database, const dbwRunRecord& run);
// Reads a record file; false when it is missing or not a whole record
// (a number out of range or a word too many counts as damage).
[[nodiscard]] bool ReadSyncRecord(const char* path, SyncRecord& record);
// A new random sync id for a database about to take part in a run.
btkstring NewDatabaseSyncId();
// Removes the database's record file; false when one stays.
bool RemoveSyncRecord(const KxDatabase* database);

// What settling a record did to the database's songs.
struct SyncSettled {
    btkCntVec<KxSong*> updated;  // got their key, lost their change mark or were raised to the run's version
    btkCntVec<KxSong*> removed;  // deleted (released to the queue)
};

// Applies a record of a run the server kept to the database file it was
// written for: a new row's key goes to the song of its local id only while
// that song has no key and holds the uploaded text; a song that holds the
// uploaded text takes the run's row version and loses its change mark; a
// song edited since keeps its mark and takes the row version, so the edit
// goes up without a conflict; an unmarked song that differs is left to the
// next run's download; deleted rows delete the song of that key. Marks the
// database changed.
void ApplySyncRecord(KxDatabase* database, const SyncRecord& record, SyncSettled& settled);
// Settles the database's record, if any, over an open internet database:
// applied and saved when the server holds the run's version row, dropped
// when it does not. A record written for another file state (a restored
// backup, another database) or another internet database is dropped with a
// notice, and the next run's ordinary rules decide. A damaged record is
// removed only when the user agrees. False after a box when it cannot be
// settled now (the run must not start).
[[nodiscard]] bool SettleSyncRecord(KxDatabase* database, dbwAdapter* adapter, SyncSettled& settled);
