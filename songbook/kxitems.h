// The items of a song book: songs copied out of song databases (SongData)
// and tables of contents (KxOutline). Each item carries four page flags
// that steer the layout, and the panes of its last drawing; a song item
// also its own transposition. Items are written to and read from the
// children of the book file's `items` element.
#pragma once

#include <functional>
#include <memory>

#include "foundation/btkcanvas.h"
#include "foundation/btkpane.h"
#include "foundation/btkstring.h"
#include "foundation/btkvarlist.h"
#include "foundation/btkxml.h"
#include "songs/kxsong.h"

class Melodar;
class KxFormatProps;

class KxData {
public:
    explicit KxData(Melodar* owner) : book(owner) {}
    KxData(const KxData&) = delete;
    KxData& operator=(const KxData&) = delete;
    virtual ~KxData() = default;

    // The element name of the kind: "song", "outline".
    virtual const char* kind() const = 0;
    // The entry of the book window's item list.
    virtual btkstring displayText() const { return ""; }
    // Draws the item into fresh panes (replacing panes) with the book's
    // format properties, measuring on measure. Items whose drawing needs
    // the whole layout (a table of contents) are drawn by the layout.
    virtual void drawPanes(const KxFormatProps& /*props*/, btkCanvas /*measure*/) {}
    virtual btkstring secondText() const { return ""; }
    // Names the element after the kind and writes the flags and the item's
    // own attributes and children into it.
    virtual void writeXML(btkXMLNode element) const = 0;
    // The item's song data; null for items that are no song.
    virtual AbstractSongData* asSongData() { return nullptr; }
    // Lets the user edit the item with the order editor (true when it
    // changed and the book was laid out again); most items have nothing
    // to edit.
    virtual bool editProperties(const std::function<bool(btkXMLNode)>& /*orderEditor*/) { return false; }

    std::unique_ptr<btkPaneGrp> panes;  // null until drawn; dropped when the look changes
    bool newpage = false;
    bool skippage = false;
    bool fixtobegin = false;
    bool fixtoend = false;
    Melodar* book;

protected:
    // The four flags as attributes newpage, skippage, fixtobegin, fixtoend.
    void writeFlags(btkXMLNode element) const;
    void readFlags(const btkXMLNode& element);
};

// A song item: a snapshot of the song (later changes of the song do not
// reach the book) with its own transposition.
class SongData : public KxData, public AbstractSongData {
public:
    // An empty item (filled by readXML).
    explicit SongData(Melodar* owner) : KxData(owner) {}
    // Copies title, author, group, the text as the song shows it (moved by
    // its display transposition), the ids, its database's name and its
    // variables; remark empty, transposition 0.
    SongData(Melodar* owner, const KxSong& song);

    const char* kind() const override { return "song"; }
    // Title followed by " (", the group and ")".
    btkstring displayText() const override;
    // The head, the text transposed by the item's transposition, and the
    // space after the song.
    void drawPanes(const KxFormatProps& props, btkCanvas measure) override;
    void writeXML(btkXMLNode element) const override;
    // Reads a `song` element: missing attributes read as 0 or "", a
    // variable with an empty value is not kept.
    void readXML(const btkXMLNode& element);
    AbstractSongData* asSongData() override { return this; }

    // The text with every chord moved by the transposition (as stored when
    // it is 0).
    btkstring transposedText() const;
    // Stores t, drops the panes and lays the book out again.
    void setTransposition(int t);

    btkstring getVar(const char* name) const override { return vars.get(name); }
    btkstring getTitle() const override { return title; }
    btkstring getAuthor() const override { return author; }
    btkstring getGroup() const override { return group; }
    btkstring getText() const override { return text; }
    btkstring getRemark() const override { return remark; }
    int getLocid() const override { return locid; }
    int getNetid() const override { return netid; }

    btkstring title, author, group, text, remark;
    int locid = 0;
    int netid = 0;
    btkstring db;  // name of the database the song came from
    btkVarList vars;
    int transposition = 0;  // semitones, handed to the transposition as stored
};

// A table of contents: the songs it lists are sorted by its order.
class KxOutline : public KxData {
public:
    explicit KxOutline(Melodar* owner);

    const char* kind() const override { return "outline"; }
    btkstring displayText() const override { return "Obsah"; }
    void writeXML(btkXMLNode element) const override;
    // Reads an `outline` element: the flags and a copy of its first
    // `order` child (an empty `order` when there is none).
    void readXML(const btkXMLNode& element);
    // Runs the editor on the order itself; on OK lays the book out again.
    bool editProperties(const std::function<bool(btkXMLNode)>& orderEditor) override;

    btkXMLNode order;  // named "order": the custom sort order's element
};
