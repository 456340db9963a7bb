// The table model of the song grid: one row per song of the grid's sorted
// list, one column per visible column. It holds no data of its own: every
// cell is read from the grid when the view paints it, so a list of any
// size costs nothing until it is shown.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

class Tsonggridfrm;

class SongGridModel : public QAbstractTableModel {
public:
    explicit SongGridModel(Tsonggridfrm* grid);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Rows drag out as their songs (app/song/songdrag.h).
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // The list or the columns change as a whole.
    void beginChange() { beginResetModel(); }
    void endChange() { endResetModel(); }
    void beginRemoveRow(int row) { beginRemoveRows(QModelIndex(), row, row); }
    void endRemoveRow() { endRemoveRows(); }
    // The row's cells show new values.
    void repaintRow(int row);
    // The header shows another sort column.
    void repaintHeader();

    // The grid's images: 0 a song on the stack, 1 a song off it, 2 the
    // sort mark.
    QIcon images[3];

private:
    Tsonggridfrm* grid;
};
