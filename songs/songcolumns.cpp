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

void SetSongCellText(KxSong* song, int column, const char* text, const btkStrings& customColumns) {
    if (!text) text = "";
    ChangeMark mark = MARK_NONE;
    switch (column) {
    case COL_STACK:
        if (flagFromText(text))
            song->putOnStack();
        else
            song->takeFromStack();
        break;
    case COL_TITLE:
        song->title = text;
        mark = MARK_NETWORK;
        break;
    case COL_GROUP:
        song->group = text;
        mark = MARK_NETWORK;
        break;
    case COL_AUTHOR:
        song->author = text;
        mark = MARK_NETWORK;
        break;
    case COL_REMARK:
        song->remark = text;
        mark = MARK_NETWORK;
        break;
    case COL_LANG:
        song->lang = text;
        mark = MARK_NETWORK;
        break;
    case COL_LOCID:
        song->setLocid(btkAtoi(text));
        mark = MARK_PLAIN;
        break;
    case COL_NETID:
        song->netid = btkAtoi(text);
        song->nonet = true;
        mark = MARK_PLAIN;
        break;
    case COL_NETMODIFIED:
        song->netmodified = flagFromText(text);
        mark = MARK_PLAIN;
        break;
    case COL_NONET:
        song->nonet = flagFromText(text);
        mark = MARK_PLAIN;
        break;
    case COL_VERSION:
        song->version = btkAtoi(text);
        mark = MARK_PLAIN;
        break;
    case COL_SPECIAL:
        song->special = text;
        mark = MARK_PLAIN;
        break;
    default: {
        int custom = column - COL_FIRST_CUSTOM;
        if (custom >= 0 && custom < customColumns.count()) {
            song->vars.set(customColumns[custom], text);
            mark = MARK_PLAIN;
        }
        break;
    }
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
