// One synchronisation of a local song database with the internet database:
// the rights check, the run of the database library inside the progress
// window, the report, and the commit or rollback of the local database.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

class KxDatabase;
class KxSong;
class dbwSynchronize;

// What one synchronisation does. The song lists do not own their songs.
struct SyncOptions {
    bool upload = true;               // send local new, changed and deleted songs
    bool download = true;             // take the server's changes and deletions
    bool downloadMissing = false;     // fetch server songs the local database lacks
    bool deleteLocalMissing = false;  // delete local songs without a server row
    // SQL condition on the server's song rows limiting the download, such
    // as lang='cz'; empty for all songs.
    btkstring condition;
    btkCntVec<KxSong*> newSongs;
    btkCntVec<KxSong*> changedSongs;
    btkCntVec<KxSong*> deletedSongs;
};
// The name the windows know the record by.
using InetSynProps = SyncOptions;

// Runs the synchronisation and shows its outcome; true when the run
// succeeded. A changed database is committed before the run, so a failed
// run, which reloads the database from its file, loses nothing.
bool SynchronizeDatabase(KxDatabase* database, const SyncOptions& options);
// The counts of the run, one labelled line each, and the daily log's name.
btkstring SyncReport(KxDatabase* database, dbwSynchronize& run);
