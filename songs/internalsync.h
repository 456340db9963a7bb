// Synchronisation between two local databases: the target follows a source
// collection of songs, matched by internet id. Source songs missing in the
// target are added, target songs missing in the source are deleted, and
// matched songs whose texts differ are overwritten from the source. Songs
// without an internet id take no part on either side: they can be matched
// with nothing, so they are neither added, changed nor deleted, only
// counted.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

class KxDatabase;
class KxSong;
class KxView;

struct InternalSyncPlan {
    btkCntVec<KxSong*> newSongs, newCandidates;
    btkCntVec<KxSong*> deleteSongs, deleteCandidates;
    btkCntVec<KxSong*> changedSongs, changedCandidates;  // source songs
    btkCntVec<KxSong*> changedTargets;                   // the target song of each changed candidate
    btkCntVec<KxSong*> sourceSongs, targetSongs;
    int skippedSource = 0, skippedTarget = 0;  // songs without an internet id
    KxView* source = nullptr;
    KxDatabase* target = nullptr;
};

// The line that counts the songs left out, "" when none were.
btkstring SkippedSongsText(const InternalSyncPlan& plan);
// Fills the candidate lists and makes every candidate chosen.
void PrepareInternalSync(InternalSyncPlan& plan);
// Applies the chosen lists to the target, shows the report in a log window
// and returns it.
btkstring RunInternalSync(InternalSyncPlan& plan);

// The first song with that internet id; songs without one (id 0) are
// never matched.
KxSong* findSongByNetId(const btkCntVec<KxSong*>& songs, int id);
// Title, author, group, remark or text differ.
bool songsDiffer(const KxSong* a, const KxSong* b);
// Copies title, remark, group, author and text, posts the change and marks
// the song modified (for the internet database too when it has an id).
void copySongFields(KxSong* to, const KxSong* from);
