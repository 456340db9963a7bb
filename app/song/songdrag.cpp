#include "app/song/songdrag.h"

#include <unordered_set>

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

#include "songs/kxdatabase.h"
#include "songs/kxspace.h"

const char* const SongDragMimeType = "application/x-kx6-songs";

QMimeData* MakeSongDragData(const btkCntVec<KxSong*>& songs) {
    if (songs.count() == 0) return nullptr;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (KxSong* song : songs) out << quint64(reinterpret_cast<quintptr>(song));
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(SongDragMimeType), bytes);
    return data;
}

btkCntVec<KxSong*> DraggedSongs(const QMimeData* data) {
    btkCntVec<KxSong*> songs;
    const QString type = QString::fromLatin1(SongDragMimeType);
    if (!data || !data->hasFormat(type) || !gKxSpace) return songs;
    // Every song of every open database: only these may be dereferenced.
    std::unordered_set<quintptr> alive;
    btkCntVec<KxDatabase*> databases;
    gKxSpace->getDatabases(databases);
    for (KxDatabase* db : databases)
        for (KxSong* song : db->songs) alive.insert(reinterpret_cast<quintptr>(song));
    const QByteArray bytes = data->data(type);
    QDataStream in(bytes);
    while (!in.atEnd()) {
        quint64 address = 0;
        in >> address;
        if (in.status() != QDataStream::Ok) break;
        if (alive.count(quintptr(address))) songs.add(reinterpret_cast<KxSong*>(quintptr(address)));
    }
    return songs;
}
