#include "app/main/songframes.h"

#include "songs/kxsong.h"
#include "songs/kxview.h"

Tgroupviewfrm::Tgroupviewfrm(QWidget* parent) : SongListFrame(parent) { setObjectName("grpv"); }

void Tgroupviewfrm::setView(KxView* newView) {
    view = newView;
    songs.clear();
    if (view) view->getSongs(songs);
    if (actSong && songs.find(actSong) < 0) actSong = nullptr;
}

void Tgroupviewfrm::setActSong(KxSong* song) {
    if (!song || songs.find(song) >= 0) actSong = song;
}

void Tgroupviewfrm::songRemoved(KxSong* song) {
    songs.remove(song);
    if (actSong == song) actSong = nullptr;
}

Tsongvfrm::Tsongvfrm(QWidget* parent) : QWidget(parent) { setObjectName("songv"); }
