#include "songs/inetsync.h"

#include "dbw/dbwsession.h"
#include "dbw/dbwsynchronize.h"
#include "foundation/btkerror.h"
#include "foundation/btkmessagebox.h"
#include "songs/appservices.h"
#include "songs/dailylog.h"
#include "songs/inetconnection.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"

namespace {

const char* const UnsavedText =
    "Změny, které synchronizace provedla v lokální databázi, nebyly uloženy ani zahozeny, databáze zůstává "
    "označená jako změněná.\n";

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

// Writes the database, naming it in an error box when that fails; the
// database then keeps its change marks.
bool CommitShown(KxDatabase* database) {
    try {
        database->commit();
        return true;
    } catch (const btkError& e) {
        ErrorBox(e.message());
        return false;
    }
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
    if (database->isChanged() && !CommitShown(database)) return false;

    dbwSynchronize run(adapter, database, LoginRef::get()->userId());
    run.setCondition(1, options.condition);
    run.setUpload(options.upload);
    run.setDownload(options.download);
    run.setDownloadMissing(options.downloadMissing);
    run.setDeleteLocalMissing(options.deleteLocalMissing);
    for (KxSong* song : options.newSongs) run.addNew(song);
    for (KxSong* song : options.changedSongs) run.addChanged(song);
    for (KxSong* song : options.deletedSongs) run.addDeleted(song);

    bool ok;
    {
        KxProgress progress("Synchronizace", "Inicializace...", 100, true);
        run.setProgress(&progress);
        ok = run.synchronize();
        run.setProgress(nullptr);
    }
    btkstring report = SyncReport(database, run);

    if (ok) {
        // Saved before any message: the server has the run for good, and
        // the file must hold the new internet ids even if the program ends
        // while the box is open.
        database->setChanged();
        database->changed();
        CommitShown(database);
        InfoBox(btkstring("Synchronizace proběhla úspěšně\n") + report);
    } else if (run.outcomeUnknown()) {
        // Neither the saved file nor the synchronised state is known to
        // match the server: the changes stay in memory, unsaved.
        database->setChanged();
        database->changed();
        ErrorBox(run.errorText(true) + "\n" + UnsavedText + report);
    } else {
        btkstring error = run.errorText(true);
        ErrorBox(btkstring("Synchronizace se nepovedla, v internetové ani lokální databázi nebyly provedené žádné "
                           "změny:\nVýpis níže ukazuje změny, o které se synchronizace pokoušela\n") +
                 error + "\n" + report);
        database->rollback();
    }
    return ok;
}
