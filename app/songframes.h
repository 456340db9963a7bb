// The three frames of the main window: the song grid (list), the group view
// (grpv) and the song view (songv). For now each is an empty frame that
// keeps what the main window gives it: the grid and the group view their
// view and current song, the song view its text.
#pragma once

#include <QWidget>

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

class KxSong;
class KxView;

// Told when the user makes another song current in a frame.
class SongControlHandler {
public:
    virtual void redrawSongView() = 0;

protected:
    ~SongControlHandler() = default;
};

// Common part of the grid and the group view.
class SongListFrame : public QWidget {
public:
    explicit SongListFrame(QWidget* parent);
    void setSongControlHandler(SongControlHandler* handler) { controlHandler = handler; }
    // Shows the view's songs (null: none); the view loads on first use.
    void setView(KxView* view);
    KxView* getView() const { return view; }
    KxSong* getActSong() const { return actSong; }
    // Makes the song current when the frame shows it.
    void setActSong(KxSong* song);
    // The songs in display order.
    void getSongs(btkCntVec<KxSong*>& list) const { list = songs; }
    // A song deleted by the queue is no longer shown.
    void songRemoved(KxSong* song);

protected:
    SongControlHandler* controlHandler = nullptr;
    KxView* view = nullptr;
    KxSong* actSong = nullptr;
    btkCntVec<KxSong*> songs;
};

class Tsonggridfrm : public SongListFrame {
public:
    explicit Tsonggridfrm(QWidget* parent);
};

class Tgroupviewfrm : public SongListFrame {
public:
    explicit Tgroupviewfrm(QWidget* parent);
};

class Tsongvfrm : public QWidget {
public:
    explicit Tsongvfrm(QWidget* parent);
    void setSongText(const char* text) { songText = text; }
    const btkstring& getSongText() const { return songText; }

private:
    btkstring songText;
};
