// Song comparators: the fixed orders by one field, the order by a user
// column, user-defined orders of several keys, and the locale text order
// that all of them use for texts. Sorting helpers for song lists.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkdatetime.h"
#include "foundation/btkxml.h"
#include "songs/kxsong.h"

// -1, 0 or 1 by the locale's text order (Czech: "ch" after "h"). Two empty
// texts are equal.
int LocaleCompare(const char* a, const char* b);

// A date and time read from "d.m.yyyy h:mm:ss" (later parts may be missing).
btkDateTime ParseDateTime(const char* text);
// Seconds since the epoch for the local time; 0 for an invalid value, -1
// for times before 1970 or after 19.1.2038 03:14:07 UTC (32-bit seconds).
long long DateTimeToTime(const btkDateTime& value);

class SongCompare {
public:
    virtual ~SongCompare() = default;
    // Negative when a sorts before b, 0 when equal, positive after.
    virtual int compare(const AbstractSongData* a, const AbstractSongData* b) const;
};

// Title, group, local id.
class TitleCompare : public SongCompare {
public:
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override;
};
// Group, title, local id.
class GroupCompare : public SongCompare {
public:
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override;
};
// Author, group, title, local id.
class AuthorCompare : public SongCompare {
public:
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override;
};
// Remark, group, title, local id.
class RemarkCompare : public SongCompare {
public:
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override;
};
class LOCIDCompare : public SongCompare {
public:
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override;
};
class NETIDCompare : public SongCompare {
public:
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override;
};
// A user column (song variable) by name, then the group order.
class CustomColCompare : public SongCompare {
public:
    explicit CustomColCompare(const char* variable) : variable(variable) {}
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override;

    btkstring variable;
};

// The program-wide instances of the fixed orders.
extern TitleCompare gTitleCompare;
extern GroupCompare gGroupCompare;
extern AuthorCompare gAuthorCompare;
extern RemarkCompare gRemarkCompare;
extern LOCIDCompare gLOCIDCompare;
extern NETIDCompare gNETIDCompare;

// The fixed order of a column (1 title, 2 group, 3 author, 5 remark,
// 8 local id, 9 internet id); null for every other column.
SongCompare* StandardColumnCompare(int column);

// One key of a user-defined order.
struct CustomCompareItem {
    int colid = -1;       // column id; negative: the user column named custom
    btkstring custom;     // user column (song variable) name
    bool revert = false;  // descending
    int datatype = 0;     // 0 text, 1 number, 2 date and time
};

// A user-defined order of keys, read from an XML element whose children
// (names not looked at) carry the attributes colid, custom, revert and
// datatype.
class CustomCompare : public SongCompare {
public:
    CustomCompare() = default;
    explicit CustomCompare(const btkXMLNode& node);
    int compare(const AbstractSongData* a, const AbstractSongData* b) const override;
    // The result of one key.
    static int compareItem(const CustomCompareItem& item, const AbstractSongData* a, const AbstractSongData* b);

    btkObjArray<CustomCompareItem> items;
};

// Sorts in place by the comparator; nothing happens for a null comparator
// or fewer than two entries. The sort is a merge sort: whatever the
// comparator answers, it never leaves the list.
void SortSongsByCompare(const SongCompare* compare, btkCntVec<KxSong*>& songs);
void SortByCompare(const SongCompare* compare, btkCntVec<AbstractSongData*>& items);
