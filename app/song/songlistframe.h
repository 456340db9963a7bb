// SongListFrame: what the main window asks of the frames that list songs
// (the song grid and the group view), and SongControlHandler, through which
// such a frame tells its owner that another song became current.
#pragma once

#include <QWidget>

#include "foundation/btkarray.h"

class KxObject;
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
    // The queue deleted an object: the shown view leaves the frame (which
    // then shows nothing), a song leaves the list.
    void objectRemoved(KxObject* object);

protected:
    // Fills the frame again from view.
    virtual void rebuild() = 0;
    // A changed object that a rebuild takes care of: any object while one is
    // pending or when there is no view, and the view itself (which asks for
    // the rebuild). False for a song the frame has to look at.
    bool rebuildCovers(KxObject* object);

    SongControlHandler* controlHandler = nullptr;
    KxView* view = nullptr;
    // A change seen by the queue handler that needs a rebuild when the
    // queue pass is done.
    bool rebuildPending = false;
};
