// Tmainfrm: the program's main form. The database combo, the page control
// with the song grid and the group view, the song view, the tool bars, the
// status bar and the action list; it follows the model only through the
// message queue. The model reaches it through MainWinBase.
#pragma once

#include <functional>

#include "app/main/songgridfrm.h"
#include "app/song/groupviewfrm.h"
#include "app/song/songvfrm.h"
#include "foundation/qt/btkactionlist.h"
#include "foundation/qt/btkform.h"
#include "songs/appservices.h"
#include "songs/kxobject.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;
class KxDatabase;

class Tmainfrm;

// Redraws the song view of the main window.
class MainWinSongControlHandler : public SongControlHandler {
public:
    void redrawSongView() override;
};

class Tmainfrm : public btkMainForm {
public:
    Tmainfrm();
    ~Tmainfrm() override;

    // The form's creation event: fills the combo, selects the stored index
    // and frees the splash window.
    void FormCreate();

    // MainWinBase, in its order.
    KxSong* getActSong();
    KxSong* getActSongMsg();
    KxView* getActView();
    KxView* getActViewMsg();
    KxDatabase* getActDatabase();
    KxDatabase* getActDatabaseMsg();
    KxDatabase* getActInetDatabase();
    void setActSong(KxSong* song);
    void selectView(int index);
    void setStatusText(const char* text);
    void showLoginState();
    void selectSongById(int locid);
    void closeMain();
    void getListSongs(btkCntVec<KxSong*>& songs);

    void redrawSongView();
    void refillCombo();
    // The combo index to select at start: the database whose file name the
    // options hold, else the first database (-1 when there is none).
    int storedDatabaseIndex() const;
    void applySelection();

    // Quick cell editing: the grid made a cell current (row from the first
    // song, -1 for none); Enter and Esc in the cell edit box.
    void gridCellSelected(int row, int gridColumn, bool byUser);
    void cellConfirmed();
    void cellCancelled();
    // True while a_allowquickedit is checked; otherwise tells the user how
    // to allow quick edits.
    bool quickEditsAllowed();
    int selectedCellRow() const { return selRow; }
    int selectedCellColumn() const { return selCol; }

    // The queue handler.
    void objectRemoved(KxObject* object);
    void objectChanged(KxObject* object);
    void objectNotice(KxObject* /*object*/) {}
    void queueDone();
    // The common handler.
    void commonEvent(KxCommonEvent& event);

    btkstring statusText(int panel) const;

    QComboBox* dbs = nullptr;
    QLineEdit* cell = nullptr;
    QTabWidget* pager = nullptr;
    Tsonggridfrm* list = nullptr;
    Tgroupviewfrm* grpv = nullptr;
    QSplitter* Splitter1 = nullptr;
    Tsongvfrm* songv = nullptr;
    QToolBar* toolbar_base = nullptr;
    QToolBar* toolbar_qedit = nullptr;
    QToolBar* toolbar_transp = nullptr;
    QToolBar* toolbar_dbs = nullptr;   // holds only dbs
    QToolBar* toolbar_cell = nullptr;  // holds only cell
    QMenu* toolbars_menu = nullptr;
    btkActionList actionlist;

    // Connects the action's command (run under the handler guard) and
    // enables it; an earlier command of the action is replaced.
    void setActionHandler(const char* name, std::function<void()> handler);

protected:
    void FormCloseQuery(bool& canClose) override;
    void FormClose() override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    // The constructor's parts: the tool bars with the database combo and the
    // cell edit; the song list, group and song view pages with the status
    // bar.
    void buildToolBars();
    void buildCentralArea();
    void buildActions();
    void buildMenus();
    // The window's size, place, maximised state and splitter are kept in
    // the options (mainwin.window) from one run to the next.
    void restoreWindowLayout();
    void saveWindowLayout();
    void pagerChange(int newPage);
    SongListFrame* currentFrame() const;

    MainWinSongControlHandler songControlHandler;
    int selCol = -1;
    int selRow = -1;
    KxSong* keptSong = nullptr;
    int shownPage = 0;
    QLabel* statusPanels[2] = {nullptr, nullptr};
    TPrivateHandler<Tmainfrm> queueHandler;
    TPrivateCommonHandler<Tmainfrm> commonHandler;
};

extern Tmainfrm* mainfrm;

// Makes a window made without a parent one of the main window's windows
// (a window of its own, with its kind kept): the window manager keeps it
// above the main window, so a click into the main window does not cover it,
// while a modal dialog opened later still comes above it. Call before the
// window is first shown; nothing without a main window.
void KeepAboveMainWindow(QWidget* window);

// The error texts of the MainWinBase operations.
extern const char* const NoSongText;
extern const char* const NoViewText;
extern const char* const NoDatabaseText;
