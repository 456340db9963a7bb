// The song commands of the main window and the transpositions of the current
// song (its display transposition: the stored text stays as it is).
#include <QAction>

#include "app/main/mainactions.h"
#include "app/main/mainfrm.h"
#include "app/song/editsongfrm.h"
#include "app/song/songsetfrm.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkprinter.h"
#include "foundation/qt/btkprintersetup.h"
#include "songbook/kxformat.h"
#include "songs/chorddifficulty.h"
#include "songs/chords.h"
#include "songs/kxdatabase.h"
#include "songs/kxobject.h"
#include "songs/kxsong.h"
#include "songs/mainwinmsgs.h"
#include "songs/uibridge.h"

namespace {

// Sets the current song's display transposition and shows it.
void transposeCurrent(Tmainfrm& window, const std::function<int(KxSong&)>& next) {
    KxSong* song = gMainWin->getActSong();
    if (!song) return;
    song->transposition = next(*song);
    window.redrawSongView();
}

// The two best shifts of the song's text by the chord difficulties of the
// options: the least total and the least maximal difficulty.
void bestShifts(const KxSong& song, int& leastTotal, int& leastMaximum) {
    const ChordDifTable table = LoadChordDifficulties(OptionsRoot().childByName("chorddifs"));
    SongChordDifficulty(song.text, table, leastTotal, leastMaximum);
}

void newSong() {
    KxDatabase* db = gMainWin->getActDatabaseMsg();
    if (!db) return;
    KxSong* song = db->addNewSong();
    song->title = "Nazev?";
    song->group = "Skupina?";
    song->lang = "cz";
    song->setLocid(db->nextLocalId());
    db->setChanged();
    db->changed();
    if (gKxSystem) gKxSystem->postMessage(new M_SetActSong(song));
    // A song never saved in the editor leaves the database again.
    if (!editsongfrm || !editsongfrm->Execute(song)) song->release();
}

void printCurrentSong() {
    KxSong* song = gMainWin->getActSongMsg();
    if (!song) return;
    // The printer dialog first (the PDF file choice without a printer, in
    // the user's home folder at first); cancel ends silently. The printer
    // chosen stays shared, the PDF file is this job's.
    btkstring file;
    if (!btkRunPrintDialog(song->title, "", file)) return;
    btkRef<btkPrinterProps> props = new btkPrinterProps(*getPrinterProps());
    props->setOutputFile(file);
    btkWinPrinter printer(props.get());
    // A job that cannot start is reported by the printer itself.
    (void)printSong(*song, printer, OptionsRoot());
}

void eraseSongs() {
    btkCntVec<KxSong*> songs;
    if (!AskSongSet("Které písně se mají vymazat?", songs)) return;
    if (QuestionBox(btkFormat("Opravdu úplně vymazat %d písní ze všech databází?", songs.count()), "yn") != 1) return;
    for (KxSong* song : songs) song->release();
}

}  // namespace

void ConnectSongActions(Tmainfrm& window) {
    window.setActionHandler("a_newsong", newSong);
    window.setActionHandler("a_editsong", [] {
        if (KxSong* song = gMainWin->getActSongMsg(); song && editsongfrm) (void)editsongfrm->Execute(song);
    });
    window.setActionHandler("a_erasesong", eraseSongs);
    window.setActionHandler("a_printsong", printCurrentSong);

    const struct {
        const char* name;
        int step;
    } steps[] = {{"a_trnext", 1}, {"a_trprev", -1}, {"a_trnext5", 7}, {"a_trprev5", -7}};
    for (const auto& s : steps)
        window.setActionHandler(s.name, [&window, step = s.step] {
            transposeCurrent(window, [step](KxSong& song) { return StepTransposition(song.transposition, step); });
        });
    window.setActionHandler("a_trorig", [&window] { transposeCurrent(window, [](KxSong&) { return 0; }); });
    window.setActionHandler("a_trsimple", [&window] {
        transposeCurrent(window, [](KxSong& song) {
            int leastTotal = 0, leastMaximum = 0;
            bestShifts(song, leastTotal, leastMaximum);
            return leastTotal;
        });
    });
    window.setActionHandler("a_treasy", [&window] {
        transposeCurrent(window, [](KxSong& song) {
            int leastTotal = 0, leastMaximum = 0;
            bestShifts(song, leastTotal, leastMaximum);
            return leastMaximum;
        });
    });
}
