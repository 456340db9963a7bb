// The root of all open views: it owns every view and database and the song
// stack. One instance, made at start-up; the constructor makes it the
// global root.
#pragma once

#include "songs/kxdatabase.h"
#include "songs/kxview.h"

class KxSpace : public KxObject, public KxHandler {
public:
    KxSpace();
    ~KxSpace() override;

    // Releases every view and the stack with the root (the end of the
    // program; a final pass deletes them).
    void release() override;

    // Appends the view (owned from now on) and posts the root changed.
    void addView(KxView* view);
    // Adds one database (not loaded yet) per "*.xml" file of the folder,
    // then one per "*.xgz" file, each list sorted by name.
    void loadDatabaseFolder(const char* dir);
    void getViews(btkCntVec<KxView*>& list) const;
    void getDatabases(btkCntVec<KxDatabase*>& list) const;
    // The first view whose name equals the text ignoring ASCII case; a
    // database is also found by its file name with extension.
    KxView* findView(const char* name) const;
    int viewCount() const { return views.count(); }
    KxView* getView(int i) const { return views.at(i); }
    KxView* GetView(int i) const { return getView(i); }
    KxStack* getStack() const { return stack; }

    // Drops a removed view; takes a removed song off the stack.
    void objectRemoved(KxObject* object) override;

    KxStack* stack;
    btkCntVec<KxView*> views;
};

// The program's root of views (null before it is made and after it is gone).
extern KxSpace* gKxSpace;
