#include "app/main/songgridfrm.h"

#include <algorithm>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "app/main/songgridmodel.h"
#include "app/settings/columnfrm.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/mainwinmsgs.h"
#include "songs/songcolumns.h"
#include "songs/uibridge.h"

void SongGridSearchControl::search(const char* text, int direction) { grid->search(text, direction); }

SongGridView::SongGridView(Tsonggridfrm* frame, QWidget* parent) : QTableView(parent), frame(frame) {}

void SongGridView::keyPressEvent(QKeyEvent* event) {
    bool taken = false;
    btkGuard([&] { taken = frame->gridKeyPress(event); });
    if (!taken) QTableView::keyPressEvent(event);
}

void SongGridView::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    btkGuard([&] { frame->gridMousePressed(event); });
}

Tsonggridfrm::Tsonggridfrm(QWidget* parent)
    : SongListFrame(parent), queueHandler(this), commonHandler(this), searchControl(this) {
    setObjectName("list");
    MakeStandardColProps(colProps);
    VisibleColumnIds(colProps, StandardColumnCount, visibleIds);

    model = new SongGridModel(this);
    grid = new SongGridView(this, this);
    grid->setObjectName("grid");
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setDragDropMode(QAbstractItemView::DragOnly);  // songs into song books
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);
    grid->setIconSize(QSize(16, 16));
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(0);
    header->hide();
    // Default widths show the whole caption and the sort mark.
    for (ColProp* prop : colProps)
        prop->width = std::max(prop->width, header->fontMetrics().horizontalAdvance(btkToQString(prop->caption)) + 28);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Viditelnsloupce1 = PopupMenu1->addAction(btkToQString("Viditelné sloupce"));
    Viditelnsloupce1->setObjectName("Viditelnsloupce1");
    grid->setContextMenuPolicy(Qt::CustomContextMenu);

    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
                     btkGuarded([this](const QModelIndex& current, const QModelIndex& previous) {
                         currentCellChanged(current, previous);
                     }));
    QObject::connect(header, &QHeaderView::sectionClicked, this, btkGuarded([this](int section) {
                         if (section >= 0 && section < visibleIds.count()) sortBy(visibleIds[section]);
                     }));
    QObject::connect(header, &QHeaderView::sectionResized, this, btkGuarded([this](int section, int, int size) {
                         if (!applyingWidths && section >= 0 && section < visibleIds.count())
                             colProps[visibleIds[section]]->width = size;
                     }));
    QObject::connect(grid, &QWidget::customContextMenuRequested, this,
                     btkGuarded([this](const QPoint& pos) { PopupMenu1->popup(grid->viewport()->mapToGlobal(pos)); }));
    QObject::connect(Viditelnsloupce1, &QAction::triggered, this, btkGuarded([this](bool) { showColumnDialog(); }));
    applyColumnProps();
}

Tsonggridfrm::~Tsonggridfrm() {
    // The table and its model go while the list they show still exists,
    // and nobody hears of the current cell any more.
    cellSelected = nullptr;
    controlHandler = nullptr;
    delete grid;
    grid = nullptr;
    delete model;
    model = nullptr;
    // The list must not sort with a comparator that goes first.
    songList.compare = nullptr;
}

// ---- songs and rows

KxSong* Tsonggridfrm::songAt(int row) const {
    return row >= 0 && row < songList.songs.count() ? songList.songs[row] : nullptr;
}

int Tsonggridfrm::rowOf(const KxSong* song) const {
    if (!song) return -1;
    if (rowsDirty) {
        rows.clear();
        rows.reserve(songList.songs.count());
        for (int i = 0; i < songList.songs.count(); ++i) rows.emplace(songList.songs[i], i);
        rowsDirty = false;
    }
    auto it = rows.find(song);
    return it == rows.end() ? -1 : it->second;
}

int Tsonggridfrm::currentRow() const {
    const QModelIndex index = grid->currentIndex();
    return index.isValid() ? index.row() : -1;
}

int Tsonggridfrm::currentColumn() const {
    const QModelIndex index = grid->currentIndex();
    return index.isValid() ? index.column() : -1;
}

KxSong* Tsonggridfrm::currentSong() const { return songAt(currentRow()); }

void Tsonggridfrm::selectSong(KxSong* song) {
    const int row = rowOf(song);
    if (row >= 0) selectRow(row);
}

void Tsonggridfrm::selectRow(int row) {
    if (row < 0 || row >= songCount()) return;
    const int column = currentColumn();
    selectCell(row, column >= 0 ? column : 0);
}

void Tsonggridfrm::selectCell(int row, int gridColumn) {
    const QModelIndex index = model->index(row, gridColumn);
    if (!index.isValid()) return;
    grid->scrollTo(index);
    const bool was = programSelection;
    programSelection = true;
    grid->setCurrentIndex(index);
    programSelection = was;
}

void Tsonggridfrm::currentCellChanged(const QModelIndex& current, const QModelIndex& previous) {
    anchorRow = previous.isValid() ? previous.row() : -1;
    if (cellSelected) {
        if (current.isValid())
            cellSelected(current.row(), current.column(), !programSelection);
        else
            cellSelected(-1, -1, false);
    }
    tellClickHandler();
}

void Tsonggridfrm::tellClickHandler() {
    if (controlHandler) controlHandler->redrawSongView();
}

void Tsonggridfrm::songRemoved(KxSong* song) {
    const int row = songList.songs.find(song);
    if (row < 0) return;
    const bool was = programSelection;
    programSelection = true;
    model->beginRemoveRow(row);
    songList.songs.removeItems(row, 1);
    rowsDirty = true;
    model->endRemoveRow();
    programSelection = was;
    grid->horizontalHeader()->setVisible(songCount() > 0);
}

// ---- rebuilding

void Tsonggridfrm::setView(KxView* newView) {
    if (newView == view) return;
    view = newView;
    rebuild();
}

void Tsonggridfrm::changeModel(const std::function<void()>& change) {
    KxSong* keep = currentSong();
    const int keepColumn =
        currentColumn() >= 0 && currentColumn() < visibleIds.count() ? visibleIds[currentColumn()] : -1;
    const bool was = programSelection;
    programSelection = true;
    // The reset lays the header out afresh: its sizes are not the user's.
    applyingWidths = true;
    model->beginChange();
    change();
    rowsDirty = true;
    model->endChange();
    applyingWidths = false;
    applyWidths();
    showSortMark();
    grid->horizontalHeader()->setVisible(songCount() > 0);
    const int row = rowOf(keep);
    if (row >= 0) {
        int column = visibleIds.find(keepColumn);
        selectCell(row, column >= 0 ? column : 0);
    }
    programSelection = was;
    if (keep && row < 0) {
        // The current song left the list: nobody may keep its cell.
        if (cellSelected) cellSelected(-1, -1, false);
        tellClickHandler();
    }
}

void Tsonggridfrm::rebuild() {
    changeModel([this] {
        SplitCustomColumns(view ? view->customColumns() : btkstring(), userColumns);
        const int count = StandardColumnCount + userColumns.count();
        while (colProps.count() < count) colProps.add(new ColProp);
        for (int i = 0; i < userColumns.count(); ++i) colProps[StandardColumnCount + i]->caption = userColumns[i];
        VisibleColumnIds(colProps, count, visibleIds);
        // A custom order lasts until a header click: a cell edit that
        // rebuilds the grid must not drop it silently.
        if (!customOrderActive())
            if (SongCompare* compare = compareFor(sortColumn)) songList.compare = compare;
        songList.fill(view);
    });
}

SongCompare* Tsonggridfrm::compareFor(int column) {
    if (SongCompare* standard = StandardColumnCompare(column)) return standard;
    const int custom = column - StandardColumnCount;
    if (custom < 0 || custom >= userColumns.count()) return nullptr;
    if (!customColCompare || customColCompare->variable != userColumns[custom]) {
        // The list may still sort with the old one: it goes only after the
        // list took the new one.
        auto fresh = std::make_unique<CustomColCompare>(userColumns[custom]);
        if (songList.compare == customColCompare.get()) songList.compare = fresh.get();
        customColCompare.swap(fresh);
    }
    return customColCompare.get();
}

void Tsonggridfrm::sortBy(int column) {
    sortColumn = column;
    changeModel([this] {
        if (SongCompare* compare = compareFor(sortColumn)) songList.setCompare(compare);
    });
    model->repaintHeader();
}

bool Tsonggridfrm::customOrderActive() const { return customOrder && songList.compare == customOrder.get(); }

void Tsonggridfrm::showSortMark() {
    // The mark stands on the sorted column, ascending (there is no reversed
    // column order); a custom order is no column's, so the mark goes.
    const int section = customOrderActive() ? -1 : visibleIds.find(sortColumn);
    QHeaderView* header = grid->horizontalHeader();
    header->setSortIndicatorShown(section >= 0);
    header->setSortIndicator(section, Qt::AscendingOrder);
}

void Tsonggridfrm::setCustomOrder(std::unique_ptr<SongCompare> compare) {
    if (!compare) return;
    changeModel([&] {
        songList.setCompare(compare.get());
        customOrder = std::move(compare);
    });
}

// ---- columns

void Tsonggridfrm::applyWidths() {
    applyingWidths = true;
    for (int c = 0; c < visibleIds.count(); ++c) grid->setColumnWidth(c, std::max(colProps[visibleIds[c]]->width, 0));
    applyingWidths = false;
}

void Tsonggridfrm::captureWidths() {
    for (int c = 0; c < visibleIds.count() && c < model->columnCount(); ++c)
        colProps[visibleIds[c]]->width = grid->columnWidth(c);
}

void Tsonggridfrm::applyColumnProps() {
    changeModel([this] { VisibleColumnIds(colProps, StandardColumnCount + userColumns.count(), visibleIds); });
}

void Tsonggridfrm::applyOptionsNode(btkXMLNode node) {
    options = node;
    LoadColumnLayout(options, colProps);
    applyColumnProps();
}

void Tsonggridfrm::saveLayout() {
    captureWidths();
    SaveColumnLayout(options, colProps);
}

void Tsonggridfrm::showColumnDialog() {
    captureWidths();
    if (columnfrm && columnfrm->Execute(colProps, userColumns.count())) applyColumnProps();
}

btkstring Tsonggridfrm::columnCaption(int column) const {
    if (selector && column == COL_STACK) return selector->markCaption();
    return column >= 0 && column < colProps.count() ? colProps[column]->caption : btkstring();
}

// ---- cells

CellData Tsonggridfrm::cellText(int row, int gridColumn) const {
    CellData cell;
    KxSong* song = songAt(row);
    if (!view || !song || gridColumn < 0 || gridColumn >= visibleIds.count()) return cell;
    const int column = visibleIds[gridColumn];
    if (selector && column == COL_STACK) {
        const bool on = selector->marked(song);
        cell.text = on ? "ano" : "ne";
        cell.image = on ? 0 : 1;
        return cell;
    }
    cell.text = SongCellText(song, column, userColumns);
    cell.image = SongStackCellState(song, column);
    return cell;
}

void Tsonggridfrm::setCellText(int row, int gridColumn, const char* text) {
    KxSong* song = songAt(row);
    if (!view || !song || gridColumn < 0 || gridColumn >= visibleIds.count()) return;
    SetSongCellText(song, visibleIds[gridColumn], text, userColumns);
}

void Tsonggridfrm::fillColumn(const char* text) {
    const int gridColumn = currentColumn();
    if (!view || gridColumn < 0 || gridColumn >= visibleIds.count()) return;
    const int column = visibleIds[gridColumn];
    // The songs stay in the list until the pass: walk a copy all the same.
    const btkCntVec<KxSong*> songs = songList.songs;
    for (KxSong* song : songs) SetSongCellText(song, column, text, userColumns);
}

void Tsonggridfrm::filterCell(const char* text) {
    const int gridColumn = currentColumn();
    if (gridColumn < 0 || gridColumn >= visibleIds.count() || !gMainWin || !gKxSpace) return;
    KxView* active = gMainWin->getActView();
    if (!active) return;
    const int column = visibleIds[gridColumn];
    btkStrings columns;
    SplitCustomColumns(active->customColumns(), columns);
    btkCntVec<KxSong*> songs, found;
    active->getSongs(songs);
    for (KxSong* song : songs)
        if (SongCellText(song, column, columns) == text) found.add(song);
    auto* filtered = new KxCustomView(found);
    filtered->customCols = columns;
    filtered->changed();
    gKxSpace->addView(filtered);
    if (gKxSystem) gKxSystem->postMessage(new M_LastDB);
}

bool Tsonggridfrm::rowBackground(int row, btkColor& color) const {
    KxSong* song = songAt(row);
    if (!song) return false;
    for (CustomSongCellPainter* painter : painters) {
        bool set = false;
        painter->background(song, color, set);
        if (set) return true;
    }
    return false;
}

bool Tsonggridfrm::rowTextColor(int row, btkColor& color) const {
    KxSong* song = songAt(row);
    if (!song) return false;
    for (CustomSongCellPainter* painter : painters) {
        bool set = false;
        painter->textColor(song, color, set);
        if (set) return true;
    }
    return false;
}

// ---- marking

void Tsonggridfrm::putSong(KxSong* song) {
    if (selector)
        selector->put(song);
    else
        song->putOnStack();
}

void Tsonggridfrm::takeSong(KxSong* song) {
    if (selector)
        selector->take(song);
    else
        song->takeFromStack();
}

void Tsonggridfrm::toggleSong(KxSong* song) {
    if (selector)
        selector->toggle(song);
    else
        song->toggleStack();
}

// ---- keys and mouse

bool Tsonggridfrm::gridKeyPress(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event->key() == Qt::Key_Insert && !modifiers) {
        const int row = currentRow();
        if (KxSong* song = songAt(row)) {
            toggleSong(song);
            model->repaintRow(row);
            if (row + 1 < songCount()) grid->setCurrentIndex(model->index(row + 1, currentColumn()));
        }
        return true;
    }
    if (modifiers) return false;
    const btkstring typed = btkFromQString(event->text());
    if (typed.length() != 1) return false;
    const unsigned char code = static_cast<unsigned char>(typed[0]);
    if (code < 32 || code == 127) return false;
    if (!qsearchfrm) return true;
    // The box opens by the grid's lower left corner, leaving the header and
    // the current rows in sight.
    const QPoint corner = grid->mapToGlobal(QPoint(0, grid->height() - qsearchfrm->sizeHint().height()));
    qsearchfrm->Execute(corner.x(), corner.y(), typed[0], &searchControl);
    // The songs are found by the whole text typed so far.
    search(qsearchfrm->text(), 0);
    return true;
}

void Tsonggridfrm::gridMousePressed(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = grid->indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    if (!(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) && onMark(index, event->position())) {
        // A click on the mark toggles it, as Insert does.
        toggleSong(songAt(index.row()));
        model->repaintRow(index.row());
        return;
    }
    if (!(event->modifiers() & Qt::ShiftModifier) || anchorRow < 0) return;
    const int row = currentRow();
    if (row < 0 || anchorRow >= songCount()) return;
    if (anchorRow < row) {
        for (int r = anchorRow; r <= row; ++r) {
            putSong(songAt(r));
            model->repaintRow(r);
        }
    } else if (anchorRow > row) {
        for (int r = row; r <= anchorRow; ++r) {
            takeSong(songAt(r));
            model->repaintRow(r);
        }
    }
}

bool Tsonggridfrm::onMark(const QModelIndex& index, QPointF at) const {
    if (index.column() >= visibleIds.count() || visibleIds[index.column()] != COL_STACK) return false;
    // The mark is the image at the cell's left edge.
    QRect mark = grid->visualRect(index);
    mark.setWidth(std::min(mark.width(), grid->iconSize().width() + 6));
    return mark.contains(at.toPoint());
}

// ---- quick search

void Tsonggridfrm::search(const char* text, int direction) {
    // The search box searches again from the current row whenever a key
    // goes up, also after Enter or an arrow found the next song: a search
    // for the same text that the current song still matches keeps that
    // result and its status text ("Hledání znova od začátku").
    KxSong* current = currentSong();
    if (direction == 0 && lastSearch == text && current && current->containsText(text)) return;
    lastSearch = text;
    ClearStatusText();
    const int count = songCount();
    const int step = direction < 0 ? -1 : 1;
    int start = currentRow();
    bool testStart = direction == 0;
    if (start < 0 || start >= count) {
        start = step > 0 ? 0 : count - 1;
        testStart = true;
    }
    auto next = [&](int row) {
        row += step;
        if (row >= count) {
            ShowStatusText("Hledání znova od začátku");
            return 0;
        }
        if (row < 0) {
            ShowStatusText("Hledání znova od konce");
            return count - 1;
        }
        return row;
    };
    // Every row once; searching on, the start row comes last.
    int row = testStart ? start : next(start);
    for (int i = 0; i < count; ++i) {
        if (songAt(row)->containsText(text)) {
            selectRow(row);
            tellClickHandler();
            return;
        }
        if (i + 1 < count) row = next(row);
    }
    ShowStatusText(btkstring("Nenalazen řetězec:") + "\"" + text + "\"");
}

// ---- the queue and the options

void Tsonggridfrm::objectChanged(KxObject* object) {
    if (rebuildCovers(object)) return;
    KxSong* song = object->asSong();
    const int row = rowOf(song);
    if (row < 0) return;
    if ((song->changeBits & ~KX_STACK_CHANGED) == 0)
        model->repaintRow(row);
    else
        rebuildPending = true;
}

void Tsonggridfrm::queueDone() {
    if (!rebuildPending) return;
    rebuildPending = false;
    rebuild();
}

void Tsonggridfrm::commonEvent(KxCommonEvent& event) {
    if (event.code == KX_EVENT_OPTIONS_SAVE) saveLayout();
}
