#include "songs/songcolumns.h"

#include <cstring>

namespace {

const char* const columnKeys[16] = {
    "stack", "title", "group", "author",      "",      "remark",  "",        "",
    "locid", "netid", "",      "netmodified", "nonet", "version", "special", "",
};

const char* yesNo(bool on) { return on ? "ano" : "ne"; }

// A non-zero number or exactly "ano".
bool flagFromText(const char* text) { return btkAtoi(text) != 0 || std::strcmp(text, "ano") == 0; }

enum ChangeMark { MARK_NONE, MARK_PLAIN, MARK_NETWORK };

}  // namespace

btkstring SongDataCellText(const AbstractSongData* song, int column) {
    switch (column) {
    case COL_STACK: return yesNo(song->isOnStack());
    case COL_TITLE: return song->getTitle();
    case COL_GROUP: return song->getGroup();
    case COL_AUTHOR: return song->getAuthor();
    case COL_REMARK: return song->getRemark();
    case COL_LOCID: return btkIntToStr(song->getLocid());
    case COL_NETID: return btkIntToStr(song->getNetid());
    case COL_NETMODIFIED: return song->getNetmodified() ? "1" : "0";
    case COL_NONET: return yesNo(song->getNonet());
    case COL_VERSION: return btkIntToStr(song->getVersion());
    case COL_SPECIAL: return song->getSpecial();
    case COL_LANG: return song->getLang();
    default: return "???";
    }
}

btkstring SongCellText(const KxSong* song, int column, const btkStrings& customColumns) {
    int custom = column - COL_FIRST_CUSTOM;
    if (custom >= 0 && custom < customColumns.count()) return song->getVar(customColumns[custom]);
    return SongDataCellText(song, column);
}

namespace {

// The text field a column of network data edits; null for other columns.
btkstring* networkField(KxSong* song, int column) {
    switch (column) {
    case COL_TITLE: return &song->title;
    case COL_GROUP: return &song->group;
    case COL_AUTHOR: return &song->author;
    case COL_REMARK: return &song->remark;
    case COL_LANG: return &song->lang;
    default: return nullptr;
    }
}

// Writes a column whose change stays local (no network mark); false for a
// column that edits no such field.
bool setLocalField(KxSong* song, int column, const char* text, const btkStrings& customColumns) {
    switch (column) {
    case COL_LOCID: song->setLocid(btkAtoi(text)); return true;
    case COL_NETID:
        song->netid = btkAtoi(text);
        song->nonet = true;
        return true;
    case COL_NETMODIFIED: song->netmodified = flagFromText(text); return true;
    case COL_NONET: song->nonet = flagFromText(text); return true;
    case COL_VERSION: song->version = btkAtoi(text); return true;
    case COL_SPECIAL: song->special = text; return true;
    default: break;
    }
    const int custom = column - COL_FIRST_CUSTOM;
    if (custom < 0 || custom >= customColumns.count()) return false;
    song->vars.set(customColumns[custom], text);
    return true;
}

}  // namespace

void SetSongCellText(KxSong* song, int column, const char* text, const btkStrings& customColumns) {
    if (!text) text = "";
    ChangeMark mark = MARK_NONE;
    if (column == COL_STACK) {
        if (flagFromText(text))
            song->putOnStack();
        else
            song->takeFromStack();
    } else if (btkstring* field = networkField(song, column)) {
        *field = text;
        mark = MARK_NETWORK;
    } else if (setLocalField(song, column, text, customColumns)) {
        mark = MARK_PLAIN;
    }
    song->changed();
    if (mark != MARK_NONE) song->setModified(mark == MARK_NETWORK);
}

int SongStackCellState(const AbstractSongData* song, int column) {
    if (column != COL_STACK) return -1;
    return song->isOnStack() ? 0 : 1;
}

btkstring SongColumnKey(int column) {
    if (column < 0 || column >= 16) return btkstring();
    return columnKeys[column];
}

int SongColumnId(const char* key) {
    if (!key || !*key) return -1;
    for (int i = 0; i < 16; ++i)
        if (std::strcmp(columnKeys[i], key) == 0) return i;
    return -1;
}

void SplitCustomColumns(const char* text, btkStrings& names) { btkSplit(names, text, ';', false); }
