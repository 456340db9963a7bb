#include "songs/syncrecord.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "dbw/dbwsynchronize.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstream.h"
#include "foundation/btkstrings.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/songclass.h"

namespace {

const char* const Head = "kx6 sync record 1";

const char* kindName(char kind) {
    switch (kind) {
    case 'n': return "new";
    case 'c': return "changed";
    default: return "deleted";
    }
}

// One row line into row; false when the line is none.
bool parseRow(const char* line, SyncRecordRow& row) {
    char word[16] = {};
    unsigned long long fingerprint = 0;
    int n = std::sscanf(line, "%15s %" SCNd32 " %" SCNd32 " %llx", word, &row.locid, &row.netid, &fingerprint);
    row.fingerprint = fingerprint;
    for (char kind : {'n', 'c', 'd'})
        if (std::strcmp(word, kindName(kind)) == 0) {
            row.kind = kind;
            return n == (kind == 'd' ? 3 : 4) && row.netid > 0;
        }
    return false;
}

// Gives the song what the server holds of it since the run.
void applyRow(KxDatabase* database, int version, const SyncRecordRow& row, SyncSettled& settled) {
    KxSong* song = database->findSongByLocid(row.locid);
    if (!song) return;
    if (row.kind == 'd') {
        if (song->netid != row.netid) return;
        settled.removed.add(song);
        database->songTable.deleteObject(song);
        return;
    }
    if (row.kind == 'n' && song->netid == 0) song->netid = row.netid;
    if (song->netid != row.netid) return;
    // A later run may have written the row again since.
    if (song->netversion < version) song->netversion = version;
    // Edited after the run: the edit still has to go up.
    song->netmodified = SongFingerprint(song) != row.fingerprint;
    song->setModified(false);
    song->changed();
    settled.updated.add(song);
}

}  // namespace

btkstring SyncRecordFile(const KxDatabase* database) {
    btkstring file = database->getFileName();
    if (file.empty()) return file;
    return file + ".sync";
}

std::uint64_t SongFingerprint(KxSong* song) {
    // FNV-1a over the texts, each ended by a zero byte.
    std::uint64_t hash = 14695981039346656037ull;
    SongClass& cls = SongClass::instance();
    for (int i = 0; i < cls.fieldCount(); ++i) {
        if (cls.fieldId(i) == SongClass::NETID) continue;
        btkstring text = cls.fieldText(song, cls.fieldId(i));
        for (const char* p = text.c_str();; ++p) {
            hash = (hash ^ static_cast<unsigned char>(*p)) * 1099511628211ull;
            if (!*p) break;
        }
    }
    return hash;
}

void WriteSyncRecord(KxDatabase* database, const dbwRunRecord& run) {
    btkstring path = SyncRecordFile(database);
    if (path.empty()) return;
    btkstring text = btkFormat("%s\nversion %d\nuser %d\n", Head, run.version, run.userId);
    for (const dbwRunRow& row : run.rows) {
        text += btkFormat("%s %d %d", kindName(row.kind), row.locid, row.netid);
        if (row.kind != 'd') {
            KxSong* song = database->findSongByLocid(row.locid);
            text += btkFormat(" %016" PRIx64, song ? SongFingerprint(song) : std::uint64_t{0});
        }
        text += "\n";
    }
    text += "end\n";
    btkSaveFile(path, btkSaveFormat::Binary, [&](btkWriteStream& out) { out << text.c_str(); });
}

bool ReadSyncRecord(const char* path, SyncRecord& record) {
    if (!btkFileExists(path)) return false;
    btkStrings lines;
    btkSplit(lines, btkReadTextFile(path), '\n', false);
    if (lines.count() < 4 || lines[0] != Head || lines[lines.count() - 1] != "end") return false;
    if (std::sscanf(lines[1].c_str(), "version %" SCNd32, &record.version) != 1 ||
        std::sscanf(lines[2].c_str(), "user %" SCNd32, &record.userId) != 1 || record.version <= 0)
        return false;
    for (int i = 3; i < lines.count() - 1; ++i) {
        SyncRecordRow row;
        if (!parseRow(lines[i].c_str(), row)) return false;
        record.rows.add(row);
    }
    return true;
}

bool RemoveSyncRecord(const KxDatabase* database) {
    btkstring path = SyncRecordFile(database);
    return path.empty() || !btkFileExists(path) || btkRemoveFile(path);
}

void ApplySyncRecord(KxDatabase* database, const SyncRecord& record, SyncSettled& settled) {
    for (const SyncRecordRow& row : record.rows) applyRow(database, record.version, row, settled);
    database->setChanged();
    database->changed();
}

bool SettleSyncRecord(KxDatabase* database, dbwAdapter* adapter, SyncSettled& settled) {
    btkstring path = SyncRecordFile(database);
    if (path.empty() || !btkFileExists(path)) return true;
    SyncRecord record;
    if (!ReadSyncRecord(path, record)) {
        ErrorBox(btkFormat("Záznam o předchozí synchronizaci v souboru %s je poškozený, synchronizace neproběhla",
                           path.c_str()));
        return false;
    }
    switch (dbwSynchronize::findRun(adapter, record.version, record.userId)) {
    case dbwSynchronize::RunFound::Absent:
        // The server rolled that run back: the saved database is right. A
        // record that stays is only asked about again.
        RemoveSyncRecord(database);
        return true;
    case dbwSynchronize::RunFound::Unknown:
        ErrorBox(btkstring("Nepodařilo se zjistit, zda internetová databáze uložila předchozí synchronizaci, "
                           "synchronizace neproběhla:\n") +
                 adapter->errorText(true).trimmed());
        return false;
    case dbwSynchronize::RunFound::Kept: break;
    }
    database->ensureLoaded();
    ApplySyncRecord(database, record, settled);
    try {
        database->commit();
    } catch (const btkError& e) {
        ErrorBox(e.message());
        return false;
    }
    RemoveSyncRecord(database);
    return true;
}
