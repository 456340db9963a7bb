// Views: the collections of songs shown in windows. The song stack holds
// the songs the user put aside; a custom view lists songs that belong
// elsewhere (query and filter results) or that an import filter made.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstrings.h"
#include "songs/kxobject.h"

class KxSong;

class KxView : public KxObject {
public:
    // The global root becomes the view's parent.
    KxView();
    KxView* asView() override { return this; }
    virtual btkstring name() { return "???"; }
    virtual btkstring caption() { return "???"; }
    // Replaces the list's content with the view's songs, in order.
    virtual void getSongs(btkCntVec<KxSong*>& /*songs*/) {}
    // The user-defined column names, each followed by ";".
    virtual btkstring customColumns() { return btkstring(); }
};

// The songs the user put aside, in the order they were put there. The root
// takes a released song off the stack before it is deleted.
class KxStack : public KxView {
public:
    void getSongs(btkCntVec<KxSong*>& list) override { list = songs; }

    btkCntVec<KxSong*> songs;
};

class KxCustomView : public KxView, public KxHandler {
public:
    // An empty view; the songs made in it with addNewSong are its own.
    KxCustomView();
    // A view over a copy of the list (the songs are not owned).
    explicit KxCustomView(const btkCntVec<KxSong*>& songs);
    ~KxCustomView() override = default;

    KxCustomView* asCustomView() override { return this; }
    // The view's own songs go with it.
    void release() override;
    btkstring name() override { return viewName; }
    btkstring caption() override { return viewName; }
    void getSongs(btkCntVec<KxSong*>& list) override { list = songs; }
    btkstring customColumns() override;

    // A new empty song owned by this view; it has no database.
    KxSong* addNewSong();
    // Replaces the songs and posts the view changed.
    void setSongs(const btkCntVec<KxSong*>& list);
    // Takes a removed song out and posts the view changed.
    void removeSong(KxObject* object);
    void objectRemoved(KxObject* object) override { removeSong(object); }

    btkStrings customCols;
    btkstring viewName;
    btkCntVec<KxSong*> songs;
};

// The user-defined column names each followed by ";".
btkstring JoinCustomColumns(const btkStrings& names);
