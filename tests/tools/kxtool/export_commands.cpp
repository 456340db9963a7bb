// kxtool subcommands of the export: a stored filter run over every song of a
// database file, into one file or a web directory.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "export/exportfilter.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "kxtool.h"
#include "song_model.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

namespace {

// Takes PROGRAMDIR as the program folder, reads its options (when there are
// any) and loads the filter; null after a message on stderr.
std::unique_ptr<ExportFilter> prepare(const std::string& programFolder, const std::string& filterName) {
    setProgramDir(programFolder.c_str());
    const btkFile options = btkFile(programFolder.c_str()).join("options.xml");
    OptionsRoot().clear();
    if (btkFileExists(options)) OptionsRoot().load(options);
    std::unique_ptr<ExportFilter> filter = loadExportFilter(filterName.c_str());
    if (!filter) std::fprintf(stderr, "kxtool: no export filter %s\n", exportFilterPath(filterName.c_str()).c_str());
    return filter;
}

int exportCommand(const kxtool::Args& a) {
    if (a.size() != 4) return kxtool::usageError("export PROGRAMDIR FILTERNAME DBFILE OUT");
    kxtool::SongModel model;
    std::unique_ptr<ExportFilter> filter = prepare(a[0], a[1]);
    if (!filter) return 1;
    const FileExportFilter* fileFilter = filter->asFileFilter();
    if (!fileFilter) {
        std::fprintf(stderr, "kxtool: %s writes a directory (use webdir)\n", a[1].c_str());
        return 1;
    }
    KxDatabase* db = model.open(a[2].c_str());
    if (db->loadFailed()) return 1;
    btkCntVec<AbstractSongData*> songs;
    for (KxSong* song : db->songs) songs.add(song);
    return exportToFile(*fileFilter, songs, a[3].c_str()) ? 0 : 1;
}

int webdirCommand(const kxtool::Args& a) {
    if (a.size() != 4) return kxtool::usageError("webdir PROGRAMDIR FILTERNAME DBFILE OUTDIR");
    kxtool::SongModel model;
    std::unique_ptr<ExportFilter> filter = prepare(a[0], a[1]);
    if (!filter) return 1;
    const DirectoryExportFilter* dirFilter = filter->asDirectoryFilter();
    if (!dirFilter) {
        std::fprintf(stderr, "kxtool: %s writes one file (use export)\n", a[1].c_str());
        return 1;
    }
    KxDatabase* db = model.open(a[2].c_str());
    if (db->loadFailed()) return 1;
    btkMakeDirs(a[3].c_str());
    return exportToDirectory(*dirFilter, db->songs, a[3].c_str()) ? 0 : 1;
}

KXTOOL_COMMAND("export", "export PROGRAMDIR FILTERNAME DBFILE OUT", exportCommand);
KXTOOL_COMMAND("webdir", "webdir PROGRAMDIR FILTERNAME DBFILE OUTDIR", webdirCommand);

}  // namespace
