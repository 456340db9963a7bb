// The two queue messages that reach the main window after the action that
// posted them has returned.
#pragma once

#include "songs/kxobject.h"

class KxSong;

// Makes its song the main window's current song. When the song is deleted
// before the message runs, the message does nothing.
class M_SetActSong : public KxMessage {
public:
    explicit M_SetActSong(KxSong* song) : song(song) {}
    void execute() override;
    void objectRemoved(KxObject* object) override;

    KxSong* song;
};

// Selects the newest view of the root in the main window.
class M_LastDB : public KxMessage {
public:
    void execute() override;
};
