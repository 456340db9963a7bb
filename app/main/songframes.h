// The frames of the main window beside the song grid (songgridfrm.h): the
// group view (grpv) and the song view (songv), and the interface the main
// window uses for the grid and the group view alike. The group view and
// the song view are still empty frames that keep what the main window
// gives them: the group view its view and current song, the song view its
// text.
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

// What the main window asks of the grid and of the group view.
class SongListFrame : public QWidget {
public:
    explicit SongListFrame(QWidget* parent) : QWidget(parent) {}
    void setSongControlHandler(SongControlHandler* handler) { controlHandler = handler; }
    // Shows the view's songs (null: none); the view loads on first use.
    virtual void setView(KxView* view) = 0;
    virtual KxView* getView() const = 0;
    virtual KxSong* getActSong() const = 0;
    // Makes the song current when the frame shows it.
    virtual void setActSong(KxSong* song) = 0;
    // The songs in display order.
    virtual void getSongs(btkCntVec<KxSong*>& list) const = 0;
    // A song deleted by the queue is no longer shown.
    virtual void songRemoved(KxSong* song) = 0;

protected:
    SongControlHandler* controlHandler = nullptr;
};

class Tgroupviewfrm : public SongListFrame {
public:
    explicit Tgroupviewfrm(QWidget* parent);
    void setView(KxView* view) override;
    KxView* getView() const override { return view; }
    KxSong* getActSong() const override { return actSong; }
    void setActSong(KxSong* song) override;
    void getSongs(btkCntVec<KxSong*>& list) const override { list = songs; }
    void songRemoved(KxSong* song) override;

private:
    KxView* view = nullptr;
    KxSong* actSong = nullptr;
    btkCntVec<KxSong*> songs;
};

class Tsongvfrm : public QWidget {
public:
    explicit Tsongvfrm(QWidget* parent);
    void setSongText(const char* text) { songText = text; }
    const btkstring& getSongText() const { return songText; }

private:
    btkstring songText;
};
