#include "songs/uibridge.h"

MainWinBase* gMainWin = nullptr;
KxProgressWindow* gProgressWindow = nullptr;
KxBusyWindow* gBusyWindow = nullptr;
KxLogWindowFactory* gLogWindowFactory = nullptr;
KxLoginWizard* gLoginWizard = nullptr;
KxFileDialogs* gFileDialogs = nullptr;
bool gAppClosing = false;

namespace {

btkstring& headlessLog() {
    static btkstring text;
    return text;
}

// Collects each write as lines of the headless log.
class StringLogWindow : public LogWindow {
public:
    void write(const char* text) override {
        headlessLog() += text;
        if (*text && headlessLog().c_str()[headlessLog().length() - 1] != '\n') headlessLog() += '\n';
    }
};

}  // namespace

btkRef<LogWindow> OpenLogWindow(const char* logName, const char* caption, const char* dbFileName) {
    if (gLogWindowFactory) return gLogWindowFactory->open(logName, caption, dbFileName);
    return btkRef<LogWindow>(new StringLogWindow);
}

btkstring HeadlessLogText() { return headlessLog(); }

void ClearHeadlessLogText() { headlessLog() = ""; }

void ExecuteLoginWizard() {
    if (gLoginWizard) gLoginWizard->execute();
}

btkXMLNode& OptionsRoot() {
    static btkXMLNode root;
    return root;
}
