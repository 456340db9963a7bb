#include "app/qtfiledialogs.h"

#include "foundation/qt/btkdialogs.h"
#include "songs/uibridge.h"

namespace {

class QtFileDialogs : public KxFileDialogs {
public:
    bool openFile(const char* filter, const char* initialDir, btkstring& path) override {
        return btkDialogs().openFile(filter, initialDir, path);
    }
    bool saveFile(const char* filter, const char* initialDir, const char* defaultExt, btkstring& path) override {
        return btkDialogs().saveFile(filter, initialDir, defaultExt, path);
    }
};

}  // namespace

void InstallQtFileDialogs() {
    static QtFileDialogs dialogs;
    gFileDialogs = &dialogs;
}
