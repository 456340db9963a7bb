// Song columns: every table of songs addresses a field by a column id.
// Ids 0 to 15 are the song's own fields; 16 + i is the i-th user-defined
// column of the view (a named song variable).
#pragma once

#include "foundation/btkstrings.h"
#include "songs/kxsong.h"

enum SongColumn {
    COL_STACK = 0,
    COL_TITLE = 1,
    COL_GROUP = 2,
    COL_AUTHOR = 3,
    COL_SOURCE = 4,
    COL_REMARK = 5,
    COL_EXPORTED = 6,
    COL_CREATED = 7,
    COL_LOCID = 8,
    COL_NETID = 9,
    COL_SRC = 10,
    COL_NETMODIFIED = 11,
    COL_NONET = 12,
    COL_VERSION = 13,
    COL_SPECIAL = 14,
    COL_LANG = 15,
    COL_FIRST_CUSTOM = 16,
};

// The cell text of a song; user columns are read by their names.
btkstring SongCellText(const KxSong* song, int column, const btkStrings& customColumns);
// The cell text of ids 0 to 15 read through the song data alone; "???" for
// any other id.
btkstring SongDataCellText(const AbstractSongData* song, int column);
// Writes a cell into the song, posts the song changed and marks it modified
// as the column asks (network fields also for the internet database).
void SetSongCellText(KxSong* song, int column, const char* text, const btkStrings& customColumns);
// The stack check box of column 0: 0 on the stack, 1 off; -1 for every
// other column.
int SongStackCellState(const AbstractSongData* song, int column);
// The column's name in stored settings; "" for ids without one.
btkstring SongColumnKey(int column);
// The id of an exact, case-sensitive key; -1 for anything else.
int SongColumnId(const char* key);
// Splits a view's user column text ("a;b;") into the names.
void SplitCustomColumns(const char* text, btkStrings& names);
