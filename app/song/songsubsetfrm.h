// Tsongsubsetfrm ("Seznam písní"): lets the user tick a subset of a list of
// songs in a song grid, look at a song (F3) and compare it with its partner
// song (F4). The synchronisation dialogs choose their new, changed and
// deleted songs with it. Ticking never touches the song stack.
#pragma once

#include <functional>
#include <unordered_set>

#include "app/main/songgridfrm.h"
#include "foundation/qt/btkform.h"

class QKeyEvent;
class QPushButton;
class Tsongsubsetfrm;

// Paints ticked rows yellow.
class SubSetSongCellPainter final : public CustomSongCellPainter {
public:
    explicit SubSetSongCellPainter(Tsongsubsetfrm* form) : form(form) {}
    void background(KxSong* song, btkColor& color, bool& set) override;
    void textColor(KxSong*, btkColor&, bool&) override {}

private:
    Tsongsubsetfrm* form;
};

// Takes the grid's marking (Insert, Shift-click) instead of the stack.
class SubSetSongSelector final : public CustomSongSelector {
public:
    explicit SubSetSongSelector(Tsongsubsetfrm* form) : form(form) {}
    void put(KxSong* song) override;
    void take(KxSong* song) override;
    void toggle(KxSong* song) override;
    bool marked(KxSong* song) override;
    btkstring markCaption() override;

private:
    Tsongsubsetfrm* form;
};

class Tsongsubsetfrm final : public btkDialogForm {
public:
    Tsongsubsetfrm();
    ~Tsongsubsetfrm() override;

    // Shows the songs with the caller's ticked songs ticked. partners, when
    // given, runs parallel to songs (a null entry: no partner). On OK the
    // ticked songs (in the order they were ticked) replace the caller's
    // list and the result is true; otherwise the list is left alone.
    [[nodiscard]] bool selectSongSubset(const btkCntVec<KxSong*>& songs, btkCntVec<KxSong*>& ticked,
                                        const btkCntVec<KxSong*>* partners);

    bool isTicked(const KxSong* song) const { return tickedSet.count(song) != 0; }
    void tick(KxSong* song);
    void untick(KxSong* song);
    const btkCntVec<KxSong*>& tickedSongs() const { return ticked; }
    // "Vybrat vše" and "Odebrat vše".
    void selectAll();
    void removeAll();
    // F3: the grid's current song in the view-song window.
    void viewSong();
    // F4: the grid's current song and its partner in the difference window;
    // nothing without partners or without a partner for the song.
    void diffSong();

    Tsonggridfrm* list = nullptr;
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // "Storno"
    QPushButton* btselall = nullptr;
    QPushButton* btremoveall = nullptr;
    QPushButton* btview = nullptr;
    QPushButton* btdiff = nullptr;

    // Tests: called with the filled window instead of running it; returns
    // the window's result.
    std::function<int(Tsongsubsetfrm&)> runner;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SubSetSongCellPainter painter;
    SubSetSongSelector selector;
    // Set only while the window is shown.
    const btkCntVec<KxSong*>* offered = nullptr;
    const btkCntVec<KxSong*>* partnerSongs = nullptr;
    btkCntVec<KxSong*> ticked;
    std::unordered_set<const KxSong*> tickedSet;
};

extern Tsongsubsetfrm* songsubsetfrm;

// The subset selection of the window songsubsetfrm; false when it does not
// exist.
[[nodiscard]] bool selectSongSubset(const btkCntVec<KxSong*>& songs, btkCntVec<KxSong*>& ticked,
                                    const btkCntVec<KxSong*>* partners);
