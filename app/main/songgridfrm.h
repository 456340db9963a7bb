// Tsonggridfrm: the songs of one view as a table, one row per song and one
// column per visible song column, sorted by one column. It follows the
// model through the queue (one rebuild at the end of a pass), marks songs
// for the song stack, offers quick cell editing, filling a column,
// filtering by a cell value and the quick search, and keeps its column
// layout in an options node.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>

#include <QTableView>

#include "app/main/qsearchfrm.h"
#include "app/main/songgridcolumns.h"
#include "app/song/songlistframe.h"
#include "foundation/btkcolor.h"
#include "foundation/btkstrings.h"
#include "foundation/btkxml.h"
#include "songs/appservices.h"
#include "songs/songlists.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class SongGridModel;
class Tsonggridfrm;

// Colours rows of a grid for another window: each operation sets the
// colour and the flag when it decides about the song.
class CustomSongCellPainter {
public:
    virtual void background(KxSong* song, btkColor& color, bool& set) = 0;
    virtual void textColor(KxSong* song, btkColor& color, bool& set) = 0;

protected:
    ~CustomSongCellPainter() = default;
};

// Takes the place of the song stack as the target of marking songs; the
// stack column then shows the selector's marks under its caption.
class CustomSongSelector {
public:
    virtual void put(KxSong* song) = 0;
    virtual void take(KxSong* song) = 0;
    virtual void toggle(KxSong* song) = 0;
    virtual bool marked(KxSong* song) = 0;
    virtual btkstring markCaption() = 0;

protected:
    ~CustomSongSelector() = default;
};

// A cell's text and its image (-1 for none).
struct CellData {
    btkstring text;
    int image = -1;
};

// The grid's side of the quick search box.
class SongGridSearchControl : public SearchControl {
public:
    explicit SongGridSearchControl(Tsonggridfrm* grid) : grid(grid) {}
    void search(const char* text, int direction) override;

private:
    Tsonggridfrm* grid;
};

// The table itself: its keys and mouse presses go to the frame first.
class SongGridView : public QTableView {
public:
    SongGridView(Tsonggridfrm* frame, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Tsonggridfrm* frame;
};

class Tsonggridfrm : public SongListFrame {
public:
    explicit Tsonggridfrm(QWidget* parent);
    ~Tsonggridfrm() override;

    // SongListFrame.
    // A different view is stored and the grid rebuilt.
    void setView(KxView* view) override;
    KxView* getView() const override { return view; }
    KxSong* getActSong() const override { return currentSong(); }
    void setActSong(KxSong* song) override { selectSong(song); }
    void getSongs(btkCntVec<KxSong*>& list) const override { list = songList.songs; }
    void songRemoved(KxSong* song) override;

    // The song of the current row; null without one.
    KxSong* currentSong() const;
    // Makes the song's row current when the list holds it.
    void selectSong(KxSong* song);
    // Scrolls row i into sight and makes it current.
    void selectRow(int row);
    int currentRow() const;
    // The grid column of the current cell, -1 without one.
    int currentColumn() const;

    // The cell of a song row (from 0) and a grid column.
    CellData cellText(int row, int gridColumn) const;
    // Writes the text into the song's field of the grid column.
    void setCellText(int row, int gridColumn, const char* text);
    // Writes the text into the current column's field of every song.
    void fillColumn(const char* text);
    // A new virtual database of the active view's songs whose cell in the
    // current column equals the text exactly; it becomes selected.
    void filterCell(const char* text);
    // Sorts by a column id: the standard orders of title, group, author,
    // remark, local and internet id, or the order of a user column; any
    // other id keeps the current order.
    void sortBy(int column);
    int sortColumnId() const { return sortColumn; }
    // A custom order set with setCustomOrder sorts the rows (until a header
    // click sorts by a column again).
    bool customOrderActive() const;
    // Sorts by a user-defined order (held by the grid) until the next
    // rebuild.
    void setCustomOrder(std::unique_ptr<SongCompare> compare);
    // Stores the node, loads the column layout from it and applies it.
    void applyOptionsNode(btkXMLNode node);
    // The quick search: direction 1 forward, -1 backward, 0 from the
    // current row.
    void search(const char* text, int direction);
    void addCellPainter(CustomSongCellPainter* painter) { painters.add(painter); }
    void setSongSelector(CustomSongSelector* newSelector) { selector = newSelector; }
    // "Viditelné sloupce": the column dialog on the column properties.
    void showColumnDialog();

    // Each visible column's width back into its property.
    void captureWidths();
    // The visible column ids and their widths from the properties.
    void applyColumnProps();
    // Captures the widths and writes the layout into the options node.
    void saveLayout();

    int songCount() const { return songList.songs.count(); }
    KxSong* songAt(int row) const;
    btkstring columnCaption(int column) const;
    // The cell painters' colours of a row; false when none decides.
    bool rowBackground(int row, btkColor& color) const;
    bool rowTextColor(int row, btkColor& color) const;

    // The queue handler (objectRemoved: SongListFrame).
    void objectChanged(KxObject* object);
    void objectNotice(KxObject* /*object*/) {}
    void queueDone();
    // The common handler.
    void commonEvent(KxCommonEvent& event);

    // From the table: true when the frame took the key.
    bool gridKeyPress(QKeyEvent* event);
    // After the table handled a press.
    void gridMousePressed(QMouseEvent* event);

    // Told after every change of the current cell: the song row (-1 for
    // none), the grid column, and whether the user moved there (mouse or
    // keys) rather than the program (rebuild, search, selection by song).
    std::function<void(int row, int gridColumn, bool byUser)> cellSelected;

    SongGridView* grid = nullptr;
    SongGridModel* model = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Viditelnsloupce1 = nullptr;

    btkObjArray<ColProp> colProps;
    // Grid column c shows the column id visibleIds[c].
    btkCntVec<int> visibleIds;
    btkStrings userColumns;

private:
    void rebuild() override;
    // Runs a change of the list or the columns: the table is reset, the
    // widths applied, the song that was current selected again.
    void changeModel(const std::function<void()>& change);
    // The comparator of a column id; null keeps the current order.
    SongCompare* compareFor(int column);
    void applyWidths();
    void showSortMark();  // the header's sort indicator follows the order
    int rowOf(const KxSong* song) const;
    void currentCellChanged(const QModelIndex& current, const QModelIndex& previous);
    void putSong(KxSong* song);
    void takeSong(KxSong* song);
    void toggleSong(KxSong* song);
    // Makes a row current as the program, not the user.
    void selectCell(int row, int gridColumn);
    void tellClickHandler();
    // True when the point lies on the stack mark of the cell.
    bool onMark(const QModelIndex& index, QPointF at) const;

    TPrivateHandler<Tsonggridfrm> queueHandler;
    TPrivateCommonHandler<Tsonggridfrm> commonHandler;
    // Registered after the queue handler, so the grid hears of a removed
    // song while the list still holds it.
    SortedSongList songList;
    btkXMLNode options;
    SongGridSearchControl searchControl;
    btkCntVec<CustomSongCellPainter*> painters;
    int sortColumn = 1;
    int anchorRow = -1;
    std::unique_ptr<CustomColCompare> customColCompare;
    std::unique_ptr<SongCompare> customOrder;
    CustomSongSelector* selector = nullptr;

    // Song -> row, rebuilt on demand after the list changed.
    mutable std::unordered_map<const KxSong*, int> rows;
    mutable bool rowsDirty = true;
    bool programSelection = false;
    // The text of the last quick search.
    btkstring lastSearch;
    bool applyingWidths = false;
};
