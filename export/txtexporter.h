// Plain text export ("txt"): per song its title line, its author line and its
// text in the walker's plain form, songs back to back. Windows-1250 bytes,
// line feeds only, nothing escaped.
#pragma once

#include "export/songtextexporter.h"

class TXTSongTextExporter final : public SongTextExporter {
public:
    using SongTextExporter::SongTextExporter;
};

class TXTSongExporter final : public SongExporter {
public:
    explicit TXTSongExporter(const TextExporterProps& text) : text(text) {}
    void exportSong(const AbstractSongData& song, btkWriteStream& out) override;

    TextExporterProps text;
};

class TXTStreamSongExporter final : public StreamSongExporter {
public:
    explicit TXTStreamSongExporter(const TextExporterProps& text) : song(text) { songExporter = &song; }

private:
    TXTSongExporter song;
};
