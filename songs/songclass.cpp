#include "songs/songclass.h"

#include "songs/kxsong.h"

namespace {

const int fieldIds[7] = {SongClass::NETID,  SongClass::TITLE, SongClass::AUTHOR, SongClass::GROUP,
                         SongClass::REMARK, SongClass::TEXT,  SongClass::LANG};

btkstring* textField(KxSong* song, int id) {
    switch (id) {
    case SongClass::TITLE: return &song->title;
    case SongClass::AUTHOR: return &song->author;
    case SongClass::GROUP: return &song->group;
    case SongClass::REMARK: return &song->remark;
    case SongClass::TEXT: return &song->text;
    case SongClass::LANG: return &song->lang;
    default: return nullptr;
    }
}

}  // namespace

SongClass& SongClass::instance() {
    static SongClass songClass;
    return songClass;
}

int SongClass::fieldId(int i) { return i >= 0 && i < 7 ? fieldIds[i] : 0; }

btkstring SongClass::fieldText(dbwSynObject* object, int id) {
    KxSong* song = static_cast<KxSong*>(object);
    if (id == NETID) return btkIntToStr(song->netid);
    if (btkstring* field = textField(song, id)) return field->trimmed();
    return btkstring();
}

void SongClass::setField(dbwSynObject* object, int id, const btkstring& text) {
    KxSong* song = static_cast<KxSong*>(object);
    if (id == NETID) {
        song->netid = text.toInt();
        return;
    }
    if (btkstring* field = textField(song, id)) *field = text;
}

bool SongIsNewForNet(const KxSong& song) {
    return song.netid == 0 && song.special.empty() && !song.nonet && song.title != "Nazev?" &&
           song.group != "Skupina?" && !song.text.empty();
}

bool SongIsNetChanged(const KxSong& song) {
    return song.special.empty() && song.netmodified && song.netid != 0 && !song.nonet;
}

bool SongIsNetDelete(const KxSong& song) { return song.netid != 0 && song.special == "netdelete" && !song.nonet; }
