#include "songs/syncrecord.h"

#include <charconv>
#include <cinttypes>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "dbw/dbwstoredconnection.h"
#include "dbw/dbwsynchronize.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstream.h"
#include "foundation/btkstrings.h"
#include "songs/inetconnection.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/songclass.h"

namespace {

const char* const Head = "kx6 sync record 2";
const char* const FirstHead = "kx6 sync record 1";

const char* kindName(char kind) {
    switch (kind) {
    case 'n': return "new";
    case 'c': return "changed";
    default: return "deleted";
    }
}

// The words of a record line, split at single spaces; an empty word (two
// spaces, a space at either end) makes the line damaged.
bool splitWords(const btkstring& line, std::vector<std::string_view>& words) {
    words.clear();
    std::string_view rest(line.c_str(), line.length());
    for (;;) {
        std::size_t space = rest.find(' ');
        words.push_back(rest.substr(0, space));
        if (words.back().empty()) return false;
        if (space == std::string_view::npos) return true;
        rest.remove_prefix(space + 1);
    }
}

// The whole word as a number of that type and base; false when it holds
// anything else or does not fit.
template <class Number> bool readNumber(std::string_view word, Number& number, int base = 10) {
    const char* end = word.data() + word.size();
    auto [stop, error] = std::from_chars(word.data(), end, number, base);
    return error == std::errc() && stop == end;
}

// "<name> <value>", the value being the rest of the line (an internet
// database's name may hold spaces); "-" stands for none.
bool readNamed(const btkstring& line, const char* name, btkstring& value) {
    const std::string head = std::string(name) + " ";
    if (!btkStartsWith(head.c_str(), line) || line.length() == static_cast<int>(head.size())) return false;
    const char* rest = line.c_str() + head.size();
    value = std::strcmp(rest, "-") == 0 ? btkstring() : btkstring(rest);
    return true;
}

bool readNamedNumber(const btkstring& line, const char* name, std::int32_t& number) {
    std::vector<std::string_view> words;
    return splitWords(line, words) && words.size() == 2 && words[0] == name && readNumber(words[1], number);
}

// One row line into row; false when the line is none.
bool parseRow(const btkstring& line, SyncRecordRow& row) {
    std::vector<std::string_view> words;
    if (!splitWords(line, words)) return false;
    for (char kind : {'n', 'c', 'd'})
        if (words[0] == kindName(kind)) {
            row.kind = kind;
            if (words.size() != (kind == 'd' ? 3u : 4u)) return false;
            if (kind != 'd' && (words[3].size() != 16 || !readNumber(words[3], row.fingerprint, 16))) return false;
            return readNumber(words[1], row.locid) && readNumber(words[2], row.netid) && row.netid > 0;
        }
    return false;
}

// The song takes what the server holds of it since the run. A song that no
// longer holds the uploaded text was edited after the run (the record
// applies only to the file state the run started from, and what came of
// it): a marked edit goes up at the next run without a conflict, anything
// else waits for the next run's download.
void settleSong(KxSong* song, int version, const SyncRecordRow& row, SyncSettled& settled) {
    bool uploaded = SongFingerprint(song) == row.fingerprint;
    if (!uploaded && !song->netmodified) return;
    // A later run may have written the row again since.
    if (song->netversion < version) song->netversion = version;
    if (uploaded) song->netmodified = false;
    song->setModified(false);
    song->changed();
    settled.updated.add(song);
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
    // Local ids are reused: another song may have the new row's id by now.
    if (row.kind == 'n' && song->netid == 0 && SongFingerprint(song) == row.fingerprint) song->netid = row.netid;
    if (song->netid == row.netid) settleSong(song, version, row, settled);
}

// The name of the internet database the program is connected to; "" when
// none is configured. The address it is reached by may change.
btkstring serverName() {
    dbwStoredConnection* stored = StoredConnection();
    return stored ? stored->dbname : btkstring();
}

const char* orNone(const btkstring& value) { return value.empty() ? "-" : value.c_str(); }

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
    btkstring text = btkFormat("%s\ndatabase %s\nserver %s\nversion %d\nuser %d\n", Head, orNone(database->syncId),
                               orNone(serverName()), run.version, run.userId);
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
    if (lines.count() < 4 || lines[lines.count() - 1] != "end") return false;
    int i = 1;
    if (lines[0] == Head) {
        if (lines.count() < 6 || !readNamed(lines[1], "database", record.database) ||
            !readNamed(lines[2], "server", record.server))
            return false;
        i = 3;
    } else if (lines[0] != FirstHead) {
        return false;
    }
    if (!readNamedNumber(lines[i], "version", record.version) ||
        !readNamedNumber(lines[i + 1], "user", record.userId) || record.version <= 0)
        return false;
    for (i += 2; i < lines.count() - 1; ++i) {
        SyncRecordRow row;
        if (!parseRow(lines[i], row)) return false;
        record.rows.add(row);
    }
    return true;
}

btkstring NewDatabaseSyncId() {
    std::random_device random;
    std::uint64_t id = (std::uint64_t{random()} << 32) ^ random();
    return btkFormat("%016" PRIx64, id);
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
        btkstring question = btkFormat(
            "Záznam o předchozí synchronizaci v souboru %s je poškozený, a tak nelze zjistit, co z ní internetová "
            "databáze uložila.\n\nSmazat záznam a pokračovat? Písně té synchronizace se pak mohou do internetové "
            "databáze nahrát podruhé. Při odpovědi Ne synchronizace neproběhne; záznam můžete také smazat sami.",
            path.c_str());
        if (QuestionBox(question, "yn") != 1) return false;
        if (!RemoveSyncRecord(database)) {
            ErrorBox(btkFormat("Soubor %s se nepodařilo smazat, synchronizace neproběhla", path.c_str()));
            return false;
        }
        return true;
    }
    database->ensureLoaded();
    // The box of the failed load said why; the record waits for a file
    // that can be read.
    if (database->loadFailed()) return false;
    if (record.database != database->syncId || (!record.server.empty() && record.server != serverName())) {
        // Applied to another file state its keys would give server rows to
        // songs the run never sent.
        RemoveSyncRecord(database);
        InfoBox(
            btkFormat("Záznam o předchozí synchronizaci v souboru %s nepatří k tomuto stavu souboru databáze "
                      "(soubor byl mezitím například obnoven ze zálohy nebo nahrazen jinou databází) nebo k "
                      "připojené internetové databázi, a proto nebyl použit. O písních, které ta synchronizace "
                      "nahrála, rozhodne příští synchronizace jako o ostatních (stažení, konflikt).",
                      path.c_str()));
        return true;
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
    ApplySyncRecord(database, record, settled);
    // After "Ne" to writing over a file changed on disk the record waits.
    if (!database->commitShown()) return false;
    RemoveSyncRecord(database);
    return true;
}
