#include "app/internet/dbsyndialog.h"

#include "app/song/songsubsetfrm.h"
#include "frk/qt/frkctrlitems.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/songclass.h"

namespace {

const char* const LanguageEntries =
    ":Vše;lang='cz':Čeština;lang='sk':Slovenština;lang='cz' or lang='sk':Čeština a Slovenština;"
    "lang='en':Angličtina;lang='de':Němčina;lang='ru':Ruština";

}  // namespace

frkBrowse& addLanguageFilterRow(frkBrowse& dialog, btkstring& condition) {
    frkConstStringSource::create(dialog, "Stahovat jen písně v jazyku:").staticText();
    frkStringVarSource::create(dialog, condition);
    dialog.valueSeparator(':');
    return frkConstStringSource::create(dialog, LanguageEntries).combo();
}

DbSynDialog::DbSynDialog(KxDatabase* database, InetSynProps& props) : database(database), props(props) {
    btkCntVec<KxSong*> songs;
    if (database) database->getSongs(songs);
    for (KxSong* song : songs) {
        if (SongIsNewForNet(*song)) candidates[0].add(song);
        if (SongIsNetChanged(*song)) candidates[1].add(song);
        if (SongIsNetDelete(*song)) candidates[2].add(song);
    }
    updateCounts();

    title("Synchronizace");
    beginTable();
    const char* const labels[] = {"Nové písně:", "Upravené písně:", "Smazané písně:"};
    for (int row = 0; row < 3; ++row) {
        if (row > 0) newRow();
        frkConstStringSource::create(*this, labels[row]).staticText();
        frkIntVarSource::create(*this, chosenCounts[row]);
        frkIntVarSource::create(*this, candidateCounts[row]);
        format("%d/%d").staticText();
        frkCommandEvent::create(*this, row + 1);
        frkConstStringSource::create(*this, "Seznam...").button();
    }
    endTable();

    beginTable();
    const struct {
        const char* caption;
        bool* field;
    } checks[] = {
        {"Přenést změny z lokální databáze do internetové (upload)", &props.upload},
        {"Přenést změny z internetové databáze do lokální (download)", &props.download},
        {"Stáhnout z internetu všechny písně, které nejsou v lokální databázi", &props.downloadMissing},
        {"Smazat z lokální databáze všechny písně, které nejsou na internetu", &props.deleteLocalMissing},
    };
    for (int row = 0; row < 4; ++row) {
        if (row > 0) newRow();
        frkBoolVarSource::create(*this, *checks[row].field);
        frkConstStringSource::create(*this, checks[row].caption).check();
    }
    endTable();

    addLanguageFilterRow(*this, props.condition);
    addStandardOkCommand("Provést synchronizaci");
    addStandardCancelCommand("Storno");
}

btkCntVec<KxSong*>& DbSynDialog::chosen(int row) {
    return row == 0 ? props.newSongs : row == 1 ? props.changedSongs : props.deletedSongs;
}

void DbSynDialog::updateCounts() {
    for (int row = 0; row < 3; ++row) {
        chosenCounts[row] = chosen(row).count();
        candidateCounts[row] = candidates[row].count();
    }
}

void DbSynDialog::onCommand(int id) {
    if (id < 1 || id > 3) return;
    // A cancelled choice leaves the list as it was.
    (void)selectSongSubset(candidates[id - 1], chosen(id - 1), nullptr);
    updateCounts();
    // Only the texts: reloading the check boxes and the language would
    // throw away what the user set there before choosing songs.
    for (frkVCLItem* item : impl()->items)
        if (dynamic_cast<frkStaticTextItem*>(item)) item->load();
}

bool runSyncOptionsDialog(KxDatabase* database, InetSynProps& props) {
    DbSynDialog dialog(database, props);
    return dialog.execute() == -1;
}
