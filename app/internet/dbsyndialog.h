// The synchronisation options dialog ("Synchronizace"), assembled at run
// time: which of the new, changed and deleted local songs take part (each
// row chosen through the song subset window, "%d/%d" chosen of offered),
// upload, download, the two clean-up switches and the language filter.
#pragma once

#include "foundation/btkarray.h"
#include "frk/qt/frkbrowse.h"
#include "songs/inetsync.h"

class KxDatabase;
class KxSong;

class DbSynDialog final : public frkBrowse {
public:
    // Sorts the database's songs into the three candidate lists (a song may
    // stand in several) and builds the dialog over the options.
    DbSynDialog(KxDatabase* database, InetSynProps& props);

    // Commands 1, 2, 3: the new, changed or deleted candidates in the song
    // subset window, the options' list as the selection, replaced on OK;
    // then the counts are shown anew (the other items keep what the user
    // set). Other numbers do nothing.
    void onCommand(int id) override;

    btkCntVec<KxSong*> candidates[3];  // new, changed, deleted

private:
    btkCntVec<KxSong*>& chosen(int row);
    void updateCounts();

    KxDatabase* database;
    InetSynProps& props;
    int chosenCounts[3] = {0, 0, 0};
    int candidateCounts[3] = {0, 0, 0};
};

// Builds and runs the dialog; true when the user confirmed with "Provést
// synchronizaci". The song lists of props change as soon as the user picks
// songs; the switches and the language filter only on confirm.
bool runSyncOptionsDialog(KxDatabase* database, InetSynProps& props);

// The label "Stahovat jen písně v jazyku:" and a drop-down list of the
// languages, bound to condition. The list's values are fixed SQL conditions
// on the song's language, so nothing the user types reaches the condition;
// a condition that is none of them shows no choice and stays as it is.
frkBrowse& addLanguageFilterRow(frkBrowse& dialog, btkstring& condition);
