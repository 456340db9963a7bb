// One song: its texts, its numbers for the internet database, its user
// variables and its view state (display transposition, song stack).
//
// Comparators, exporters and the song-book layout read songs only through
// AbstractSongData; the synchronisation engine sees them as dbwSynObjects.
#pragma once

#include "dbw/dbwsync.h"
#include "foundation/btkstring.h"
#include "foundation/btkvarlist.h"
#include "songs/kxobject.h"

class KxDatabase;

// The read interface of a song (and of a song-book item). Every operation
// has a harmless default.
class AbstractSongData {
public:
    // The named variable, "" when there is none.
    virtual btkstring getVar(const char* name) const;
    virtual btkstring getTitle() const;
    virtual btkstring getAuthor() const;
    virtual btkstring getGroup() const;
    // The stored text: chords in brackets, not transposed.
    virtual btkstring getText() const;
    virtual btkstring getRemark() const;
    virtual int getLocid() const;
    virtual int getNetid() const;
    virtual bool isOnStack() const;
    // A yes/no query that every implementation answers with no.
    virtual bool isFlagged() const;
    virtual bool getNetmodified() const;
    virtual bool getNonet() const;
    virtual int getVersion() const;
    virtual btkstring getSpecial() const;
    virtual btkstring getLang() const;

protected:
    AbstractSongData() = default;
    ~AbstractSongData() = default;
};

// Change bit: only the stack membership changed.
constexpr int KX_STACK_CHANGED = 2;

// The fields locid, netid, netmodified, nonet and special, and the song's
// version, live in the dbwSynObject base.
class KxSong : public KxObject, public AbstractSongData, public dbwSynObject {
public:
    KxSong() = default;
    // A song that still names its database leaves its list and marks it
    // changed.
    ~KxSong() override;

    KxSong* asSong() override { return this; }
    // Sets every change bit and posts the song changed.
    void changed() override;
    // Clears the change bits after the pass.
    void afterNotify() override;

    // The synchronisation face.
    dbwSynClass* synClass() override;
    void changed(bool forInternet) override { setModified(forInternet); }
    btkstring description() override { return syncLogLine(); }

    // Marks the database changed and the song modified; with forInternet
    // and an internet id also marks it changed for the internet database.
    // Posts nothing.
    virtual void setModified(bool forInternet);
    bool isOnStack() const override { return onStack; }
    // "%5d (netid=%5d)# %30s %30s" of locid, netid, title and group.
    virtual btkstring syncLogLine() const;

    btkstring getVar(const char* name) const override { return vars.get(name); }
    btkstring getTitle() const override { return title; }
    btkstring getAuthor() const override { return author; }
    btkstring getGroup() const override { return group; }
    btkstring getText() const override { return text; }
    btkstring getRemark() const override { return remark; }
    int getLocid() const override { return locid; }
    int getNetid() const override { return netid; }
    bool getNetmodified() const override { return netmodified; }
    bool getNonet() const override { return nonet; }
    int getVersion() const override { return version; }
    btkstring getSpecial() const override { return special; }
    btkstring getLang() const override { return lang; }

    // Sets the local id; one above the database's highest becomes the
    // highest.
    void setLocid(int id);

    // The song stack of the root.
    void putOnStack();
    void takeFromStack();
    void toggleStack();
    // The folded phrase search in title, author, remark, group and text.
    bool containsText(const char* phrase) const;
    // The text shown: transposed by the display transposition.
    btkstring displayText() const;
    // Copies transposition, text, title, author, group and remark.
    void copyFrom(const KxSong& other);
    // Leaves the current database's list (its last song takes the place)
    // and joins the new database (null: none).
    void moveToDatabase(KxDatabase* newDatabase);

    KxDatabase* database = nullptr;
    btkstring title, author, group, text, remark, lang;
    btkVarList vars;
    int transposition = 0;  // 0..11, never saved
    bool onStack = false;
    int changeBits = 0;
    bool modified = false;  // changed since the database was last committed
};

// The column captions of ids 0 to 15.
extern const char* const SongColumnCaptions[16];
