#include "export/exporter.h"

#include <optional>

#include "export/exportfilter.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "songs/appservices.h"
#include "songs/kxsong.h"

namespace {

// Above this many songs a stream export shows the busy notice.
constexpr int busySongCount = 32;

const char* const exportFailedText = "Export se nezdařil";

// Sets the exporter's progress window for the length of a run.
class ProgressScope {
public:
    ProgressScope(KxExporter& exporter, KxProgress& progress) : exporter(exporter) { exporter.progress = &progress; }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    ~ProgressScope() { exporter.progress = nullptr; }

private:
    KxExporter& exporter;
};

}  // namespace

bool DirectorySongExporter::exportSongs(const btkCntVec<KxSong*>& /*songs*/, const btkstring& /*folder*/) {
    return false;
}

void runStreamExport(StreamSongExporter& exporter, const btkCntVec<AbstractSongData*>& songs, btkWriteStream& out) {
    std::optional<KxBusy> busy;
    if (songs.count() > busySongCount) busy.emplace("Kantorix exportuje písničky...");
    exporter.header(out);
    for (int i = 0; i < songs.count(); ++i) {
        const AbstractSongData& song = *songs[i];
        if (i > 0) exporter.separator(out);
        exporter.beginSong(song, out);
        if (exporter.songExporter) exporter.songExporter->exportSong(song, out);
        exporter.endSong(song, out);
    }
    exporter.footer(out);
}

bool runDirectoryExport(DirectorySongExporter& exporter, const btkCntVec<KxSong*>& songs, const btkstring& folder) {
    KxProgress progress("Export", "Probíhá export...", 100, true);
    ProgressScope scope(exporter, progress);
    exporter.errorText = btkstring();
    if (exporter.exportSongs(songs, folder)) return true;
    btkstring message = exportFailedText;
    if (!exporter.errorText.empty()) message += btkstring("\n") + exporter.errorText;
    ErrorBox(message);
    return false;
}

bool exportToStream(const FileExportFilter& filter, const btkCntVec<AbstractSongData*>& songs, btkWriteStream& out) {
    if (std::unique_ptr<StreamSongExporter> exporter = filter.createStreamExporter())
        runStreamExport(*exporter, songs, out);
    return !out.failed();
}

bool exportToFile(const FileExportFilter& filter, const btkCntVec<AbstractSongData*>& songs, const char* fileName) {
    try {
        btkSaveFile(fileName, btkSaveFormat::Binary, [&](btkWriteStream& out) {
            (void)exportToStream(filter, songs, out);  // btkSaveFile checks the stream itself
        });
    } catch (const btkError& e) {
        ErrorBox(e.message());
        return false;
    }
    return true;
}

bool exportToDirectory(const DirectoryExportFilter& filter, const btkCntVec<KxSong*>& songs, const btkstring& folder) {
    std::unique_ptr<DirectorySongExporter> exporter = filter.createDirectoryExporter();
    if (!exporter) return true;
    return runDirectoryExport(*exporter, songs, folder);
}
