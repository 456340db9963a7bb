#include "app/song/groupviewfrm.h"

#include <QAbstractListModel>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QSplitter>

#include "app/song/songdrag.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxsong.h"
#include "songs/kxview.h"

// ---- the two list models

// The group names of the frame's group list, read when painted.
class GroupNamesModel final : public QAbstractListModel {
public:
    GroupNamesModel(const SongGroupList& list, QObject* parent) : QAbstractListModel(parent), list(list) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : list.groups.count();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= list.groups.count()) return {};
        return btkToQString(list.groups[index.row()]->name);
    }
    void reset(const std::function<void()>& change) {
        beginResetModel();
        change();
        endResetModel();
    }

private:
    const SongGroupList& list;
};

// The songs of the selected group: titles with the stack as check marks.
// It keeps its own copy of the songs, so a group that drops a removed song
// on its own never changes the rows behind the view's back.
class GroupSongsModel final : public QAbstractListModel {
public:
    GroupSongsModel(Tgroupviewfrm* frame, QObject* parent) : QAbstractListModel(parent), frame(frame) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : songs.count();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        KxSong* song = songAt(index.row());
        if (!index.isValid() || !song) return {};
        if (role == Qt::DisplayRole) return btkToQString(song->title);
        if (role == Qt::CheckStateRole) return song->onStack ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled;
    }
    // Songs drag out into song books.
    QStringList mimeTypes() const override { return {QString::fromLatin1(SongDragMimeType)}; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override {
        btkCntVec<KxSong*> songs;
        for (const QModelIndex& index : indexes)
            if (KxSong* song = songAt(index.row())) songs.add(song);
        return MakeSongDragData(songs);
    }
    // The view asks for the other mark: the frame toggles the song.
    bool setData(const QModelIndex& index, const QVariant& /*value*/, int role) override {
        if (role != Qt::CheckStateRole || !songAt(index.row())) return false;
        btkGuard([&] { frame->songsClickCheck(index.row()); });
        return true;
    }

    KxSong* songAt(int row) const { return row >= 0 && row < songs.count() ? songs[row] : nullptr; }
    void fill(const btkCntVec<KxSong*>* groupSongs) {
        beginResetModel();
        songs.clear();
        if (groupSongs) songs = *groupSongs;
        rows.clear();
        endResetModel();
    }
    int rowOf(const KxSong* song) const {
        if (rows.empty() && !songs.empty()) {
            rows.reserve(songs.count());
            for (int i = 0; i < songs.count(); ++i) rows.emplace(songs[i], i);
        }
        auto it = rows.find(song);
        return it == rows.end() ? -1 : it->second;
    }
    void repaint(int row) {
        const QModelIndex i = index(row);
        emit dataChanged(i, i, {Qt::CheckStateRole});
    }
    void remove(int row) {
        beginRemoveRows(QModelIndex(), row, row);
        songs.removeItems(row, 1);
        rows.clear();
        endRemoveRows();
    }

private:
    Tgroupviewfrm* frame;
    btkCntVec<KxSong*> songs;
    // Song -> row, built on demand after the list changed.
    mutable std::unordered_map<const KxSong*, int> rows;
};

// ---- the frame

GroupSongsView::GroupSongsView(Tgroupviewfrm* frame, QWidget* parent) : QListView(parent), frame(frame) {}

void GroupSongsView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        btkGuard([&] { frame->songsMouseDown(index.row(), shift); });
    }
    QListView::mousePressEvent(event);
}

Tgroupviewfrm::Tgroupviewfrm(QWidget* parent) : SongListFrame(parent), queueHandler(this) {
    setObjectName("grpv");
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName("Splitter1");
    groups = new QListView(Splitter1);
    groups->setObjectName("groups");
    groups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    groups->setUniformItemSizes(true);
    songs = new GroupSongsView(this, Splitter1);
    songs->setDragDropMode(QAbstractItemView::DragOnly);
    songs->setObjectName("songs");
    songs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    songs->setUniformItemSizes(true);
    Splitter1->addWidget(groups);
    Splitter1->addWidget(songs);
    Splitter1->setSizes({150, 250});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);

    groupModel = new GroupNamesModel(groupList, this);
    songModel = new GroupSongsModel(this, this);
    groups->setModel(groupModel);
    songs->setModel(songModel);
    QObject::connect(groups->selectionModel(), &QItemSelectionModel::currentChanged, this,
                     btkGuarded([this](const QModelIndex&, const QModelIndex&) { fillSongs(); }));
    // A song made current by a click or by the keys shows in the song view.
    QObject::connect(songs->selectionModel(), &QItemSelectionModel::currentChanged, this,
                     btkGuarded([this](const QModelIndex&, const QModelIndex&) {
                         if (controlHandler) controlHandler->redrawSongView();
                     }));
}

Tgroupviewfrm::~Tgroupviewfrm() {
    controlHandler = nullptr;
    // The views go while the groups they show still exist.
    delete songs;
    songs = nullptr;
    delete groups;
    groups = nullptr;
}

void Tgroupviewfrm::setView(KxView* newView) {
    if (newView == view) return;
    view = newView;
    rebuild();
}

int Tgroupviewfrm::selectedGroup() const {
    const QModelIndex index = groups->currentIndex();
    return index.isValid() && index.row() < groupList.groups.count() ? index.row() : -1;
}

int Tgroupviewfrm::songCount() const { return songModel->rowCount(); }

KxSong* Tgroupviewfrm::songAt(int line) const { return songModel->songAt(line); }

KxSong* Tgroupviewfrm::getActSong() const {
    if (selectedGroup() < 0) return nullptr;
    const QModelIndex index = songs->currentIndex();
    return index.isValid() ? songModel->songAt(index.row()) : nullptr;
}

void Tgroupviewfrm::setActSong(KxSong* song) {
    if (!song) return;
    for (int g = 0; g < groupList.groups.count(); ++g) {
        const int line = groupList.groups[g]->songs.find(song);
        if (line < 0) continue;
        selectGroup(g);
        const QModelIndex index = songModel->index(songModel->rowOf(song));
        songs->setCurrentIndex(index);
        songs->scrollTo(index);
        return;
    }
}

int Tgroupviewfrm::GetAllSongs(btkCntVec<KxSong*>& list) const {
    list.clear();
    for (const SongGroup* group : groupList.groups) list.append(group->songs);
    return groupList.groups.count();
}

void Tgroupviewfrm::selectGroup(int index) {
    if (index < 0 || index >= groupList.groups.count()) {
        groups->setCurrentIndex(QModelIndex());
        fillSongs();
        return;
    }
    const QModelIndex row = groupModel->index(index);
    if (groups->currentIndex() == row) return;
    groups->setCurrentIndex(row);  // fills the song list
    groups->scrollTo(row);
}

void Tgroupviewfrm::fillSongs() {
    const int g = selectedGroup();
    songModel->fill(g >= 0 ? &groupList.groups[g]->songs : nullptr);
    lastClicked = -1;
}

void Tgroupviewfrm::rebuild() {
    KxSong* current = getActSong();
    groupModel->reset([this] { groupList.setView(view); });
    songModel->fill(nullptr);
    lastClicked = -1;
    setActSong(current);
    if (current && getActSong() != current && controlHandler) controlHandler->redrawSongView();
}

void Tgroupviewfrm::songRemoved(KxSong* song) {
    const int row = songModel->rowOf(song);
    if (row < 0) return;
    songModel->remove(row);
    if (lastClicked >= songCount()) lastClicked = -1;
}

// ---- checking

void Tgroupviewfrm::songsClickCheck(int line) {
    if (KxSong* song = songAt(line)) {
        song->toggleStack();
        songModel->repaint(line);
    }
}

void Tgroupviewfrm::songsMouseDown(int line, bool shift) {
    if (shift && lastClicked >= 0 && lastClicked < songCount() && line < songCount()) {
        if (line > lastClicked) {
            for (int i = lastClicked; i <= line; ++i) songAt(i)->putOnStack();
        } else {
            for (int i = line; i <= lastClicked; ++i) songAt(i)->takeFromStack();
        }
        emit songModel->dataChanged(songModel->index(std::min(line, lastClicked)),
                                    songModel->index(std::max(line, lastClicked)), {Qt::CheckStateRole});
    }
    lastClicked = line;
}

// ---- the queue

void Tgroupviewfrm::objectChanged(KxObject* object) {
    if (rebuildCovers(object)) return;
    KxSong* song = object->asSong();
    if (!song) return;
    if ((song->changeBits & ~KX_STACK_CHANGED) != 0) {
        rebuildPending = true;
        return;
    }
    const int row = songModel->rowOf(song);
    if (row >= 0) songModel->repaint(row);
}

void Tgroupviewfrm::queueDone() {
    if (!rebuildPending) return;
    rebuildPending = false;
    rebuild();
}
