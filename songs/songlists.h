// Song lists kept by windows: the sorted list of a view's songs, the songs
// grouped by their group name, a plain list that forgets deleted songs, and
// the start-up scan of the database folder.
#pragma once

#include "foundation/btkarray.h"
#include "songs/kxspace.h"
#include "songs/songcompare.h"

// A view's songs kept in the order of a comparator. A released song leaves
// the list before it is deleted.
class SortedSongList : public KxHandler {
public:
    SortedSongList() = default;
    ~SortedSongList() = default;

    // Takes the view's songs (none for a null view) and sorts them.
    void fill(KxView* view);
    // Takes a different comparator and sorts again; the same one changes
    // nothing.
    void setCompare(SongCompare* compare);
    void sort() { SortSongsByCompare(compare, songs); }
    void objectRemoved(KxObject* object) override;

    btkCntVec<KxSong*> songs;
    SongCompare* compare = nullptr;
};

// The songs of one group name, in group order.
class SongGroup final : public KxHandler {
public:
    explicit SongGroup(const btkstring& name) : name(name) {}
    ~SongGroup() = default;
    void objectRemoved(KxObject* object) override;

    btkstring name;
    btkCntVec<KxSong*> songs;
};

// A view's songs split into groups by their exact group name (case
// included), in the group order.
class SongGroupList {
public:
    void setView(KxView* view);
    void rebuild();

    btkObjArray<SongGroup> groups;
    KxView* view = nullptr;
};

// A window's list of songs that drops a released song.
class SongListTool : public KxHandler {
public:
    SongListTool() = default;
    ~SongListTool() = default;
    void objectRemoved(KxObject* object) override;

    btkCntVec<KxSong*> songs;
};
