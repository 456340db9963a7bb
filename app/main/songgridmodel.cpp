#include "app/main/songgridmodel.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

#include "app/main/songgridfrm.h"
#include "app/song/songdrag.h"
#include "foundation/qt/btkqstring.h"

namespace {

QColor toQColor(btkColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

// A check box, ticked or empty, for the stack column.
QIcon stackImage(bool ticked) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(80, 80, 80), 1));
    p.setBrush(Qt::white);
    p.drawRect(2, 2, 11, 11);
    if (ticked) {
        p.setPen(QPen(QColor(0, 120, 0), 2));
        p.drawLine(4, 8, 7, 11);
        p.drawLine(7, 11, 12, 4);
    }
    return QIcon(pixmap);
}

// A downward triangle: the column the songs are sorted by.
QIcon sortImage() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 140));
    const QPointF points[3] = {{3, 5}, {13, 5}, {8, 11}};
    p.drawPolygon(points, 3);
    return QIcon(pixmap);
}

}  // namespace

SongGridModel::SongGridModel(Tsonggridfrm* grid) : QAbstractTableModel(grid), grid(grid) {
    images[0] = stackImage(true);
    images[1] = stackImage(false);
    images[2] = sortImage();
}

int SongGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid->songCount(); }

int SongGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid->visibleIds.count();
}

QVariant SongGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole: return btkToQString(grid->cellText(row, index.column()).text);
    case Qt::DecorationRole: {
        const int image = grid->cellText(row, index.column()).image;
        return image >= 0 && image < 3 ? QVariant(images[image]) : QVariant();
    }
    case Qt::BackgroundRole: {
        btkColor color = 0;
        if (grid->rowBackground(row, color)) return toQColor(color);
        return QVariant();
    }
    case Qt::ForegroundRole: {
        btkColor color = 0;
        if (grid->rowTextColor(row, color)) return toQColor(color);
        return QVariant();
    }
    default: return QVariant();
    }
}

QVariant SongGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= grid->visibleIds.count())
        return QAbstractTableModel::headerData(section, orientation, role);
    const int column = grid->visibleIds[section];
    switch (role) {
    case Qt::DisplayRole: return btkToQString(grid->columnCaption(column));
    default: return QVariant();
    }
}

void SongGridModel::repaintRow(int row) {
    if (row < 0 || row >= rowCount() || columnCount() == 0) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void SongGridModel::repaintHeader() {
    if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

Qt::ItemFlags SongGridModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}

QStringList SongGridModel::mimeTypes() const { return {QString::fromLatin1(SongDragMimeType)}; }

QMimeData* SongGridModel::mimeData(const QModelIndexList& indexes) const {
    btkCntVec<KxSong*> songs;
    for (const QModelIndex& index : indexes)
        if (KxSong* song = grid->songAt(index.row()); song && songs.find(song) < 0) songs.add(song);
    return MakeSongDragData(songs);
}
