// The exporter framework: how an export filter's exporter is run over a list
// of songs. A file filter's stream exporter writes every song, one after the
// other, into one output; a directory filter's exporter writes a set of
// files into a folder. The formats themselves live in the *exporter.h files
// beside this one.
//
// Writes are checked: a run whose output could not be written whole reports
// failure, never success with an empty or partial file.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstream.h"
#include "foundation/btkstring.h"

class AbstractSongData;
class KxSong;
class KxProgress;
class FileExportFilter;
class DirectoryExportFilter;

// Root of every exporter. An exporter is made for one run and holds copies
// of its filter's settings, never the filter itself.
class KxExporter {
public:
    KxExporter() = default;
    KxExporter(const KxExporter&) = delete;
    KxExporter& operator=(const KxExporter&) = delete;
    virtual ~KxExporter() = default;

    // The progress window of a directory run (not owned); null otherwise.
    KxProgress* progress = nullptr;
};

// Writes one song.
class SongExporter : public KxExporter {
public:
    virtual void exportSong(const AbstractSongData& song, btkWriteStream& out) = 0;
};

// Writes many songs into one stream; the base writes nothing around them.
class StreamSongExporter : public KxExporter {
public:
    virtual void header(btkWriteStream& /*out*/) {}
    virtual void footer(btkWriteStream& /*out*/) {}
    virtual void beginSong(const AbstractSongData& /*song*/, btkWriteStream& /*out*/) {}
    virtual void endSong(const AbstractSongData& /*song*/, btkWriteStream& /*out*/) {}
    // Between two songs, never before the first or after the last.
    virtual void separator(btkWriteStream& /*out*/) {}

    // The per-song exporter, a member of the concrete class; null: the songs
    // themselves write nothing.
    SongExporter* songExporter = nullptr;
};

// Writes a set of files into an existing folder.
class DirectorySongExporter : public KxExporter {
public:
    // True when every file was written. False when the user cancelled in
    // the progress window or a file could not be written; errorText then
    // names the file ("" for a cancel). Files already written stay. The
    // base writes nothing and fails.
    [[nodiscard]] virtual bool exportSongs(const btkCntVec<KxSong*>& songs, const btkstring& folder);

    btkstring errorText;
};

// Header, the songs in array order with separators between them, footer;
// a busy notice while more than 32 songs are written.
void runStreamExport(StreamSongExporter& exporter, const btkCntVec<AbstractSongData*>& songs, btkWriteStream& out);
// Runs the directory exporter under a progress window; on failure shows
// "Export se nezdařil" (followed by the reason when a file could not be
// written) and returns false.
[[nodiscard]] bool runDirectoryExport(DirectorySongExporter& exporter, const btkCntVec<KxSong*>& songs,
                                      const btkstring& folder);

// The filter's export into a stream the caller opened and closes. False when
// a write to the stream failed; the caller reports it.
[[nodiscard]] bool exportToStream(const FileExportFilter& filter, const btkCntVec<AbstractSongData*>& songs,
                                  btkWriteStream& out);
// The filter's export into a file, bytes exactly as composed. The file is
// replaced only when it was written whole; otherwise an error box names the
// file, the old file stays and the result is false.
[[nodiscard]] bool exportToFile(const FileExportFilter& filter, const btkCntVec<AbstractSongData*>& songs,
                                const char* fileName);
// The filter's export into an existing folder (runDirectoryExport).
[[nodiscard]] bool exportToDirectory(const DirectoryExportFilter& filter, const btkCntVec<KxSong*>& songs,
                                     const btkstring& folder);
