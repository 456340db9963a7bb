#include "export/txtexporter.h"

#include "songs/kxsong.h"

void TXTSongExporter::exportSong(const AbstractSongData& song, btkWriteStream& out) {
    out << song.getTitle().c_str() << '\n';
    out << song.getAuthor().c_str() << '\n';
    TXTSongTextExporter walker(text);
    walker.exportText(song.getText(), out);
}
