#include "songs/inetsync.h"

#include "dbw/dbwsession.h"
#include "dbw/dbwsynchronize.h"
#include "foundation/btkmessagebox.h"
#include "songs/appservices.h"
#include "songs/dailylog.h"
#include "songs/inetconnection.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/syncrecord.h"

namespace {

const char* const UnknownText =
    "Lokální databáze zůstává ve stavu před synchronizací. Zda server synchronizaci uložil, se zjistí při příští "
    "synchronizaci této databáze a lokální databáze se podle toho doplní.\n";

const char* const ServerFailureText = "Při komunikaci se serverem internetové databáze došlo k chybě:\n";

// A right the planned changes need, and what the refusal names for it.
struct RightNeed {
    const char* right;
    const char* text;
    bool (*needed)(const SyncOptions& options);
};

const RightNeed RightNeeds[] = {
    {"ddadd", "Přidávánání neomezeně mnoha písní Kantorixem",
     [](const SyncOptions& o) { return o.newSongs.count() > 100; }},
    {"dbadd", "Přidávánání písní Kantorixem", [](const SyncOptions& o) { return o.newSongs.count() >= 1; }},
    {"dbdel", "Mazání písní Kantorixem", [](const SyncOptions& o) { return o.deletedSongs.count() >= 1; }},
    {"dbchg", "Úprava písní Kantorixem", [](const SyncOptions& o) { return o.changedSongs.count() >= 1; }},
};

// The texts of the rights the user lacks, run together; "" when none.
btkstring MissingRights(const SyncOptions& options) {
    btkstring list;
    for (const RightNeed& need : RightNeeds)
        if (need.needed(options) && !hasRight(need.right)) list += need.text;
    return list;
}

void AddCount(btkstring& report, const char* label, int value) {
    report += label;
    report += btkIntToStr(value);
    report += "\n";
}

// Leaves out of the queues what a settled record of an earlier run did
// already: songs it deleted, new songs that got their key, and changed
// songs whose change is on the server.
void DropSettled(SyncOptions& options, const SyncSettled& settled) {
    auto drop = [&](btkCntVec<KxSong*>& list, auto done) {
        btkCntVec<KxSong*> kept;
        for (KxSong* song : list)
            if (settled.removed.find(song) < 0 && !done(song)) kept.add(song);
        list = kept;
    };
    drop(options.newSongs, [](KxSong* song) { return song->netid != 0; });
    drop(options.changedSongs, [&](KxSong* song) { return settled.updated.find(song) >= 0 && !song->netmodified; });
    drop(options.deletedSongs, [](KxSong*) { return false; });
}

}  // namespace

btkstring SyncReport(KxDatabase* database, dbwSynchronize& run) {
    const dbwSyncCounters& c = run.counters();
    btkstring report = "UPLOAD:\n";
    // A failed run's version was rolled back with it.
    if (run.succeeded() && run.versionId() != 0) AddCount(report, "Nová verze internetové databáze:", run.versionId());
    AddCount(report, "Počet polí upravených v internetové databázi:", c.changedFields);
    AddCount(report, "Počet písní upravených v internetové databázi:", c.updatedNet);
    AddCount(report, "Počet nových písní přenesených na server:", c.uploadedNew);
    AddCount(report, "Počet písní smazaných z internetové databáze:", c.deletedNet);
    report += "DOWNLOAD:\n";
    AddCount(report, "Nová verze lokální databáze:", database->version);
    AddCount(report, "Počet písní smazaných z lokální databáze:", c.deletedLocal);
    AddCount(report, "Počet písní, u kterých nastal konflikt při přenosu ze serveru:", c.conflicts);
    AddCount(report, "Počet písní upravených v lokální databázi:", c.updatedLocal);
    AddCount(report, "Počet písní přidaných do lokální databáze:", c.downloadedNew);
    report += "====\n";
    report += "Podrobné informace o synchronizaci byly napsány do logovacího souboru ";
    report += LogFileName();
    return report;
}

namespace {

// Shows the run's outcome and saves the database after success, or drops
// its unsaved changes after a failure.
void FinishRun(KxDatabase* database, dbwSynchronize& run, bool ok) {
    btkstring report = SyncReport(database, run);
    if (ok) {
        // Saved before any message: the server has the run for good, and
        // the file must hold the new internet ids even if the program ends
        // while the box is open.
        database->setChanged();
        database->changed();
        // A record that stays settles the same outcome again later.
        if (database->commitShown()) RemoveSyncRecord(database);
        InfoBox(btkstring("Synchronizace proběhla úspěšně\n") + report);
    } else if (run.outcomeUnknown()) {
        // The record written before the commit settles it at the next run;
        // until then the file holds the state before the run.
        ErrorBox(run.errorText(true) + "\n" + UnknownText + report);
        database->rollback();
    } else {
        RemoveSyncRecord(database);
        btkstring error = run.errorText(true);
        // The server's and libpq's texts are English: a Czech sentence
        // says first what happened.
        if (run.failedOnServer()) error = btkstring(ServerFailureText) + error;
        ErrorBox(btkstring("Synchronizace se nepovedla, v internetové ani lokální databázi nebyly provedené žádné "
                           "změny:\nVýpis níže ukazuje změny, o které se synchronizace pokoušela\n") +
                 error + "\n" + report);
        database->rollback();
    }
}

}  // namespace

bool SynchronizeDatabase(KxDatabase* database, const SyncOptions& options) {
    // Rights that cannot be read are a failed connection, not missing rights.
    if (LoginRef::isSet() && !LoginRef::get()->loadRights()) {
        ErrorBox(SessionManager()->takeLastError());
        return false;
    }
    btkstring missing = MissingRights(options);
    if (!missing.empty()) {
        ErrorBox(btkstring("Abyste mohli tuto operaci provést, potřebujete navíc tato oprávnění\n(některá se dají "
                           "naklikat v Nastavení na adrese ") +
                 KxWebAddress + ", pokud jste přihlášeni) :\n" + missing);
        return false;
    }
    if (!LoginRef::isSet()) return false;
    dbwAdaRef adapter = OpenInternetDatabase();
    if (!adapter.isSet()) return false;

    // A failed run reloads the database from its file; unsaved edits made
    // before the run would go with it, so they are written first.
    if (database->isChanged() && !database->commitShown()) return false;
    // An earlier run the program could not save is settled first, so that
    // nothing of it goes up again.
    SyncSettled settled;
    if (!SettleSyncRecord(database, adapter.get(), settled)) return false;
    SyncOptions queued = options;
    DropSettled(queued, settled);
    // A run that sends songs keeps a record naming the file state it starts
    // from (a run that sends nothing writes none and leaves the file alone).
    bool sends = !queued.newSongs.empty() || !queued.changedSongs.empty() || !queued.deletedSongs.empty();
    if (sends && !database->getFileName().empty()) {
        database->syncId = NewDatabaseSyncId();
        database->setChanged();
        if (!database->commitShown()) return false;
    }

    dbwSynchronize run(adapter, database, LoginRef::get()->userId());
    run.setCondition(1, queued.condition);
    run.setUpload(queued.upload);
    run.setDownload(queued.download);
    run.setDownloadMissing(queued.downloadMissing);
    run.setDeleteLocalMissing(queued.deleteLocalMissing);
    for (KxSong* song : queued.newSongs) run.addNew(song);
    for (KxSong* song : queued.changedSongs) run.addChanged(song);
    for (KxSong* song : queued.deletedSongs) run.addDeleted(song);

    bool ok;
    {
        KxProgress progress("Synchronizace", "Inicializace...", 100, true);
        run.setProgress(&progress);
        ok = run.synchronize();
        run.setProgress(nullptr);
    }
    FinishRun(database, run, ok);
    return ok;
}
