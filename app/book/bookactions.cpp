// The main window's song-book commands: a new book, loading a book, the
// song-book types.
#include "app/book/kxtypesfrm.h"
#include "app/book/melodarfrm.h"
#include "app/main/mainactions.h"
#include "app/main/mainfrm.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkdialogs.h"
#include "songs/kxspace.h"

namespace {

bool stackHoldsSongs() {
    if (!gKxSpace || !gKxSpace->getStack()) return false;
    btkCntVec<KxSong*> songs;
    gKxSpace->getStack()->getSongs(songs);
    return songs.count() > 0;
}

void newBook() {
    auto* book = new Melodar();  // owned by its window from now on
    try {
        if (stackHoldsSongs() && QuestionBox("Naplnit melodar písněmi ze zásobníku?", "yn") == 1) book->addStack();
        book->initType();
    } catch (...) {
        DeleteMelodar(book);
        throw;  // the guard shows why
    }
    book->showWindow();
}

void loadBook() {
    btkstring path;
    if (!btkDialogs().openFile("Melodary (*.kx)|*.kx", BookFolder(), path) || path.empty()) return;
    auto* book = new Melodar();
    try {
        book->load(path);
    } catch (...) {
        DeleteMelodar(book);
        throw;  // the guard shows why
    }
    book->showWindow();
}

}  // namespace

void ConnectBookActions(Tmainfrm& window) {
    window.setActionHandler("a_kxnew", [] { newBook(); });
    window.setActionHandler("a_kxload", [] { loadBook(); });
    window.setActionHandler("a_kxtypes", [] {
        if (kxtypesfrm) (void)kxtypesfrm->Execute();
    });
}
