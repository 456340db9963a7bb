#include "app/songframes.h"

#include "songs/kxsong.h"
#include "songs/kxview.h"

SongListFrame::SongListFrame(QWidget* parent) : QWidget(parent) {}

void SongListFrame::setView(KxView* newView) {
    view = newView;
    songs.clear();
    if (view) view->getSongs(songs);
    if (actSong && songs.find(actSong) < 0) actSong = nullptr;
}

void SongListFrame::setActSong(KxSong* song) {
    if (!song || songs.find(song) >= 0) actSong = song;
}

void SongListFrame::songRemoved(KxSong* song) {
    songs.remove(song);
    if (actSong == song) actSong = nullptr;
}

Tsonggridfrm::Tsonggridfrm(QWidget* parent) : SongListFrame(parent) { setObjectName("list"); }

Tgroupviewfrm::Tgroupviewfrm(QWidget* parent) : SongListFrame(parent) { setObjectName("grpv"); }

Tsongvfrm::Tsongvfrm(QWidget* parent) : QWidget(parent) { setObjectName("songv"); }
