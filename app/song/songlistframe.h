// SongListFrame: what the main window asks of the frames that list songs
// (the song grid and the group view), and SongControlHandler, through which
// such a frame tells its owner that another song became current.
#pragma once

#include <QWidget>

#include "foundation/btkarray.h"

class KxSong;
class KxView;

// Told when the user makes another song current in a frame.
class SongControlHandler {
public:
    virtual void redrawSongView() = 0;

protected:
    ~SongControlHandler() = default;
};

class SongListFrame : public QWidget {
public:
    explicit SongListFrame(QWidget* parent) : QWidget(parent) {}
    // The handler is not owned; null tells nobody.
    void setSongControlHandler(SongControlHandler* handler) { controlHandler = handler; }
    // Shows the view's songs (null: none); the view loads on first use.
    virtual void setView(KxView* view) = 0;
    virtual KxView* getView() const = 0;
    // The current song; null when there is none.
    virtual KxSong* getActSong() const = 0;
    // Makes the song current when the frame shows it; otherwise nothing.
    virtual void setActSong(KxSong* song) = 0;
    // The songs in display order.
    virtual void getSongs(btkCntVec<KxSong*>& list) const = 0;
    // A song deleted by the queue is no longer shown.
    virtual void songRemoved(KxSong* song) = 0;

protected:
    SongControlHandler* controlHandler = nullptr;
};
