#include "songs/internalsync.h"

#include "songs/appservices.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

namespace {

btkstring reportLines(const btkCntVec<KxSong*>& songs) {
    btkstring lines;
    for (const KxSong* song : songs)
        lines += btkFormat("%5d # %30s %30s\n", song->locid, song->title.c_str(), song->group.c_str());
    return lines;
}

}  // namespace

KxSong* findSongByNetId(const btkCntVec<KxSong*>& songs, int id) {
    // Id 0 means "not in the internet database": it identifies nothing.
    if (id == 0) return nullptr;
    for (KxSong* song : songs)
        if (song->netid == id) return song;
    return nullptr;
}

bool songsDiffer(const KxSong* a, const KxSong* b) {
    return a->title != b->title || a->author != b->author || a->group != b->group || a->remark != b->remark ||
           a->text != b->text;
}

void copySongFields(KxSong* to, const KxSong* from) {
    to->title = from->title;
    to->remark = from->remark;
    to->group = from->group;
    to->author = from->author;
    to->text = from->text;
    to->changed();
    to->setModified(true);
}

btkstring SkippedSongsText(const InternalSyncPlan& plan) {
    if (plan.skippedSource == 0 && plan.skippedTarget == 0) return btkstring();
    return btkFormat(
        "Písně bez internetového ID vynechané ze synchronizace: ve zdrojové databázi %d, v cílové "
        "databázi %d\n",
        plan.skippedSource, plan.skippedTarget);
}

void PrepareInternalSync(InternalSyncPlan& plan) {
    KxBusy busy("Zjištuji informace o požadované synchronizaci");
    plan.sourceSongs.clear();
    plan.targetSongs.clear();
    if (plan.source) plan.source->getSongs(plan.sourceSongs);
    if (plan.target) plan.target->getSongs(plan.targetSongs);
    plan.newCandidates.clear();
    plan.deleteCandidates.clear();
    plan.changedCandidates.clear();
    plan.changedTargets.clear();
    plan.skippedSource = plan.skippedTarget = 0;
    // A source song without an id would be added again by every run, and a
    // target song without one is the target's own.
    for (KxSong* song : plan.sourceSongs)
        if (song->netid == 0)
            ++plan.skippedSource;
        else if (!findSongByNetId(plan.targetSongs, song->netid))
            plan.newCandidates.add(song);
    for (KxSong* song : plan.targetSongs)
        if (song->netid == 0)
            ++plan.skippedTarget;
        else if (!findSongByNetId(plan.sourceSongs, song->netid))
            plan.deleteCandidates.add(song);
    for (KxSong* song : plan.sourceSongs) {
        KxSong* match = findSongByNetId(plan.targetSongs, song->netid);
        if (match && songsDiffer(song, match)) {
            plan.changedCandidates.add(song);
            plan.changedTargets.add(match);
        }
    }
    plan.newSongs = plan.newCandidates;
    plan.deleteSongs = plan.deleteCandidates;
    plan.changedSongs = plan.changedCandidates;
}

btkstring RunInternalSync(InternalSyncPlan& plan) {
    KxBusy busy("Probíhá interní synchronizace");
    KxDatabase* target = plan.target;
    btkCntVec<KxSong*> added, changed;
    if (target) {
        for (KxSong* source : plan.newSongs) {
            KxSong* song = target->addNewSong();
            song->locid = target->nextLocalId();
            copySongFields(song, source);
            song->netid = source->netid;
            song->netversion = source->netversion;
            added.add(song);
        }
        for (KxSong* song : plan.deleteSongs) song->release();
        for (KxSong* source : plan.changedSongs)
            if (KxSong* song = findSongByNetId(plan.targetSongs, source->netid)) {
                // The texts are the source's, and so is the row they are based on.
                copySongFields(song, source);
                song->netversion = source->netversion;
                changed.add(song);
            }
    }
    btkstring report = "Zdrojová databáze:";
    if (plan.source) report += plan.source->name();
    report += "\n";
    report += "Přidané písně:\n";
    report += reportLines(added);
    report += "Upravené písně:\n";
    report += reportLines(changed);
    report += "Smazané písně:\n";
    report += reportLines(plan.deleteSongs);
    report += SkippedSongsText(plan);
    OpenLogWindow("internalsyn", "Interní synchronizace", target ? target->name() : btkstring())->write(report);
    return report;
}
