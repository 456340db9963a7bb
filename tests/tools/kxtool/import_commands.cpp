// kxtool import: text files through one import filter into a new database
// file, as the text import window's "Vyexportovat do XML" writes it.
#include <cstdio>
#include <cstdlib>

#include "export/importfilter.h"
#include "foundation/btkerror.h"
#include "kxtool.h"
#include "song_model.h"
#include "songs/dbfile.h"
#include "songs/kxspace.h"

namespace {

int importCommand(const kxtool::Args& a) {
    const char* usage = "import FILTERNO OUT.xml FILE...  (FILTERNO 0-2)";
    if (a.size() < 3) return kxtool::usageError(usage);
    registerImportFilters();
    const int index = std::atoi(a[0].c_str());
    if (a[0].find_first_not_of("0123456789") != std::string::npos || index >= importFilters.count())
        return kxtool::usageError(usage);
    kxtool::SongModel model;
    auto* view = new KxCustomView;
    model.space->addView(view);
    int status = 0;
    for (size_t i = 2; i < a.size(); ++i)
        if (!importFilters[index]->import(a[i].c_str(), *view)) status = 1;
    try {
        WriteDatabaseFile(a[1].c_str(), view->songs, nullptr);
    } catch (const btkError& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.message().c_str());
        return 1;
    }
    return status;
}

KXTOOL_COMMAND("import", "import FILTERNO OUT.xml FILE...  (FILTERNO 0-2)", importCommand);

}  // namespace
