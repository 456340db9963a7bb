// Tmelodarfrm: the window of one song book. The book's item list with the
// selected item's page flags, the selected song's text, the preview of one
// sheet side and of the logical pages, and the book's commands (save,
// print, type, sort, automatic distribution, table of contents, paging,
// transposition of an item). Songs dragged from the song grid or the group
// view are appended to the book; entries dragged within the list move.
//
// The window owns its book: closing the window (after the question) deletes
// the book and then the window. Files: melodarfrm.cpp (the window, its
// items and commands), melodarpreview.cpp (previews, paging and printing).
#pragma once

#include <functional>
#include <memory>

#include <QListWidget>

#include "foundation/qt/btkactionlist.h"
#include "foundation/qt/btkform.h"
#include "songbook/melodar.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QMimeData;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class LogPagePreview;
class Tmelodarfrm;
class Tsongvfrm;

// The item list: drops of songs and moves of its own entries go to the
// window.
class MelodarItemList final : public QListWidget {
public:
    MelodarItemList(Tmelodarfrm* frame, QWidget* parent);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Tmelodarfrm* frame;
};

// A paint box that hands its painting to a function.
class MelodarPaintBox final : public QWidget {
public:
    MelodarPaintBox(QWidget* parent, std::function<void(QPainter&)> paint)
        : QWidget(parent), painter(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(QPainter&)> painter;
};

class Tmelodarfrm final : public btkMainForm, public MelodarWindow {
public:
    Tmelodarfrm();
    // Deletes the book when the window still holds it.
    ~Tmelodarfrm() override;

    // The book stores itself here right after the window is made.
    void setBook(Melodar* owned) { book = owned; }
    Melodar* getBook() const { return book; }

    // MelodarWindow.
    void FillItemList() override;
    void typeApplied() override { UpdateLayout(); }
    void showWindow() override;
    // The counts of the last layout ("???" without one), the page labels
    // and the song view.
    void UpdatePageCounts() override;
    void deleteWithBook() override { delete this; }
    void typeFilesChanged() override { refillTypeCombo(); }
    // Sizes the previews for the printer, the type and the zooms, makes the
    // logical page preview, refills the type combo and enables the controls
    // that the automatic distribution decides.
    void UpdateLayout();

    // The selected item's index, -1 for none.
    int selectedIndex() const;
    void selectIndex(int i);

    // ---- handlers
    void listClick();
    void flagClicked(QCheckBox* box);
    void fixToBeginClick();
    void fixToEndClick();
    void deleteSelected();
    void movePrev();
    void moveNext();
    void editProperties();
    void kxtypeChange();
    // Drag and drop: whether the list takes the data over the row (-1: no
    // entry); the drop itself.
    bool acceptsDrop(const QMimeData* data, bool fromList, int row) const;
    void drop(const QMimeData* data, bool fromList, int row);
    // Sheet sides and logical preview pages, by one within their range.
    void stepSheetSide(int by);
    void stepLogPage(int by);
    int sheetSide() const { return curSide; }
    int logPage() const { return curLogPage; }
    int sheetSideCount() const;
    // Saves under the file name, or asks for one; false when not saved.
    bool save();
    bool saveAs();
    // "Melodar - <file name>", or "Melodar" for a book never saved.
    void showTitle();
    // Prints the chosen sides in one job (all sides: the print range
    // dialog; else only the current one).
    void print(bool all);
    void editType();
    void transpose(const std::function<int(int current, const btkstring& text)>& next);

    QComboBox* qkxtype = nullptr;
    MelodarItemList* list = nullptr;
    QCheckBox* chnewpage = nullptr;
    QToolButton* btadvancedalign = nullptr;
    QWidget* advancedalign = nullptr;
    QCheckBox* chskippage = nullptr;
    QCheckBox* chfixtobegin = nullptr;
    QCheckBox* chfixtoend = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* btmoveprev = nullptr;
    QPushButton* btmovenext = nullptr;
    QPushButton* btdelete = nullptr;
    QLabel* logpagescnt = nullptr;
    QLabel* fpagescnt = nullptr;
    QLabel* freepagescnt = nullptr;
    QTabWidget* pager = nullptr;
    Tsongvfrm* songv = nullptr;
    QScrollArea* ppscroll = nullptr;
    MelodarPaintBox* pp = nullptr;
    QScrollArea* pplogscroll = nullptr;
    MelodarPaintBox* pplog = nullptr;
    QPushButton* btprevfpage = nullptr;
    QPushButton* btnextfpage = nullptr;
    QLabel* curpagelabel = nullptr;
    QComboBox* scale = nullptr;
    QPushButton* btprevlogpage = nullptr;
    QPushButton* btnextlogpage = nullptr;
    QLabel* curlogpagelabel = nullptr;
    QComboBox* logscale = nullptr;
    btkActionList actionlist;

protected:
    void FormCloseQuery(bool& canClose) override;
    void FormClose() override;

private:
    void buildControls();
    // Parts of buildControls: the item list with its controls (left of the
    // pages), and the controls' handlers.
    QWidget* buildItemPanel(QWidget* parent);
    void connectControls();
    void buildActions();
    // The transposition menu and the tool bar (with the save, print and
    // close commands).
    void buildTranspositionActions(QMenuBar* bar);
    QWidget* buildPreviewPage(bool logical);
    void addAction(QMenu* menu, const char* name, const char* caption, const QKeySequence& key,
                   std::function<void()> handler);
    void refillTypeCombo();
    void updatePageLabels();
    void showSelectedSong();
    // Screen pixels per printer pixel at the zoom of the combo.
    double zoomFactor(const QComboBox* combo) const;
    void paintSheetSide(QPainter& painter);
    void paintLogPage(QPainter& painter);
    // Without a system printer asks for the PDF file of this print and
    // gives it to the book's printer; false when the user cancelled.
    bool choosePrintFile();
    // Deletes the book the window holds (destructor and close).
    void deleteBook();

    Melodar* book = nullptr;
    // The item whose flags and text are shown; compared by address only
    // (it may be gone when the list is filled again).
    const KxData* shownItem = nullptr;
    int curSide = 0;
    int curLogPage = 0;
    std::unique_ptr<LogPagePreview> logPreview;
};

// The song-book windows of new books from now on (null: books get none).
void InstallMelodarWindowFactory(bool install);
// Offers the type files anew in every open book's window.
void RefreshMelodarTypeChoices();
// Deletes the book with its window, when it has one, without asking.
void DeleteMelodar(Melodar* book);
// Closes every open book's window without asking (program end).
void CloseAllMelodarWindows();
// The folder of books and their types, melodary/ in the program directory,
// made when it is missing (a fresh or an older program folder), so the file
// dialogs open it instead of proposing its name in the program folder.
btkstring BookFolder();
