// A queue and a root for one kxtool command that works on song databases;
// the destructor releases the root and runs the final queue pass.
#pragma once

#include "songs/kxdatabase.h"
#include "songs/kxobject.h"
#include "songs/kxspace.h"

namespace kxtool {

struct SongModel {
    SongModel() : space(new KxSpace) {}
    SongModel(const SongModel&) = delete;
    SongModel& operator=(const SongModel&) = delete;
    ~SongModel() {
        space->release();
        queue.processQueue();
    }
    // Adds the database file to the root and loads it.
    KxDatabase* open(const char* file) {
        KxDatabase* db = new KxDatabase(file);
        space->addView(db);
        db->ensureLoaded();
        return db;
    }
    KxSystem queue;
    KxSpace* space;
};

}  // namespace kxtool
