// Teditsongfrm ("Editace písně"): the modal editor of one song: title,
// group, author, remark and text on their pages, a preview of the laid-out
// text, and transpositions of the text being edited. Nothing reaches the
// song before "Uložit" (or yes to the close question); nothing reaches the
// disk before the database is committed.
#pragma once

#include <functional>

#include "app/song/songvfrm.h"
#include "foundation/qt/btkactionlist.h"
#include "foundation/qt/btkform.h"

class QLineEdit;
class QMenuBar;
class QPlainTextEdit;
class QTabWidget;
class KxSong;

class Teditsongfrm final : public btkDialogForm {
public:
    Teditsongfrm();

    // Edits the song modally. True when its fields were written back at
    // least once while the window was open; a null song gives false.
    [[nodiscard]] bool Execute(KxSong* song);

    // "Uložit": writes the fields into the song and posts it changed; the
    // window stays open.
    void SaveSong();
    // "Stornovat změny": the song's stored fields again, edits dropped.
    void LoadSong();
    // The text being edited, line feeds only.
    btkstring editedText() const;
    // Moves the chords of the edited text by the shift (semitones, may be
    // negative) and marks the text modified.
    void transposeText(int shift);
    // Any field changed since the last load or save.
    bool isModified() const;

    QTabWidget* pager = nullptr;
    QLineEdit* title = nullptr;
    QLineEdit* group = nullptr;
    QLineEdit* author = nullptr;
    QLineEdit* remark = nullptr;
    QPlainTextEdit* text = nullptr;
    Tsongvfrm* songv = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    btkActionList actionlist;  // the six transpositions
    QAction* Uloit1 = nullptr;
    QAction* Stornovatzmny1 = nullptr;
    QAction* Konec1 = nullptr;

    // Tests: called with the loaded window instead of running it; returns
    // the window's result.
    std::function<int(Teditsongfrm&)> runner;

protected:
    void FormCloseQuery(bool& canClose) override;

private:
    // The constructor's parts: the tab pages, the song menu, and the
    // transposition menu with its actions.
    void buildPages();
    void buildSongMenu();
    void buildTranspositions();
    void pagerChange(int page);
    void showPreview();

    KxSong* editedSong = nullptr;
    bool songSaved = false;
};

extern Teditsongfrm* editsongfrm;
