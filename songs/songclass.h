// The song's synchronisation class: which song fields travel to and from
// the internet database, and how each is read and written as text.
#pragma once

#include "dbw/dbwsync.h"

class KxSong;

class SongClass : public dbwSynClass {
public:
    // The program's one instance.
    static SongClass& instance();

    int classId() override { return 1; }
    int fieldCount() override { return 7; }
    // The definition id of field i (0..6); 0 outside that range.
    int fieldId(int i) override;
    // The netid in decimal, the text fields trimmed of codes below 33, ""
    // for any other id.
    btkstring fieldText(dbwSynObject* object, int fieldId) override;
    // The netid from its number, the text fields unchanged; sets no mark.
    void setField(dbwSynObject* object, int fieldId, const btkstring& text) override;

    // Field ids of the song table's definition.
    enum { NETID = 23, TITLE = 27, GROUP = 29, AUTHOR = 31, REMARK = 33, TEXT = 35, LANG = 184 };
};

// The proposals of the synchronisation options dialog.
bool SongIsNewForNet(const KxSong& song);
bool SongIsNetChanged(const KxSong& song);
bool SongIsNetDelete(const KxSong& song);
