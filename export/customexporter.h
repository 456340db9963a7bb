// Template export ("custom", "Šablona"): fifteen user templates around the
// document, each song, each kind of line, each chord and each label, and
// between songs. "[#NAME]" in a template is a placeholder: TITLE, AUTHOR,
// GROUP and REMARK give the song's field where a song is at hand (the song
// templates), NL a line feed anywhere; any other name gives nothing. The
// output is written as composed, without escaping.
#pragma once

#include "export/songtextexporter.h"

// The template with its placeholders filled from the song (null: none).
btkstring expandTemplate(const char* templ, const AbstractSongData* song);

class CustomSongTextExporter final : public SongTextExporter {
public:
    CustomSongTextExporter(const TextExporterProps& text, const CustomExporterProps& templates)
        : SongTextExporter(text), templates(templates) {}

protected:
    void chord(const btkstring& chord, btkWriteStream& out, int& width) override;
    void label(const btkstring& text, btkWriteStream& out) override;
    void beginLine(const btkstring& prefix, btkWriteStream& out, int type) override;
    void endLine(btkWriteStream& out, int type) override;

private:
    CustomExporterProps templates;
};

class CustomSongExporter final : public SongExporter {
public:
    CustomSongExporter(const CustomExporterProps& templates, const TextExporterProps& text)
        : templates(templates), text(text) {}
    void exportSong(const AbstractSongData& song, btkWriteStream& out) override;

private:
    CustomExporterProps templates;
    TextExporterProps text;
};

class CustomStreamSongExporter final : public StreamSongExporter {
public:
    CustomStreamSongExporter(const CustomExporterProps& templates, const TextExporterProps& text)
        : templates(templates), song(templates, text) {
        songExporter = &song;
    }
    void header(btkWriteStream& out) override;
    void footer(btkWriteStream& out) override;
    void separator(btkWriteStream& out) override;

private:
    CustomExporterProps templates;
    CustomSongExporter song;
};
