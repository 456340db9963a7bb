#include "app/main/vcllogwinfrm.h"

#include <algorithm>
#include <vector>

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main/mainfrm.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstrings.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/dailylog.h"

namespace {

std::vector<Tvcllogwinfrm*>& openWindows() {
    static std::vector<Tvcllogwinfrm*> windows;
    return windows;
}

// The writer of one window; once the window is gone, writes are dropped.
class LogWinIntf : public LogWindow {
public:
    explicit LogWinIntf(Tvcllogwinfrm* window) : window(window) {}
    void write(const char* text) override {
        if (window) window->writeText(text);
    }

private:
    QPointer<Tvcllogwinfrm> window;
};

class LogWindowFactory : public KxLogWindowFactory {
public:
    btkRef<LogWindow> open(const char* logName, const char* caption, const char* dbFileName) override {
        auto* window = new Tvcllogwinfrm(logName, dbFileName, caption);
        KeepAboveMainWindow(window);
        window->show();
        return window->writer();
    }
};

}  // namespace

Tvcllogwinfrm::Tvcllogwinfrm(const char* logName, const char* dbFileName, const char* caption)
    : dbFile(dbFileName), argument(caption), recordName(logName) {
    setObjectName("vcllogwinfrm");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(btkToQString(caption));
    resize(870, 640);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(btkToQString("Uložit do souboru"));
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setText(btkToQString("Zavřít"));
    btreadonly = new QToolButton(this);
    btreadonly->setText(btkToQString("Jen pro čtení"));
    btreadonly->setCheckable(true);
    btreadonly->setChecked(true);
    logctrl = new Tlogctrlfrm(this);
    logctrl->SetLog("", dbFileName);

    auto* panel = new QHBoxLayout;
    panel->addWidget(SpeedButton1);
    panel->addWidget(SpeedButton2);
    panel->addWidget(btreadonly);
    panel->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panel);
    layout->addWidget(logctrl, 1);

    QObject::connect(SpeedButton1, &QToolButton::clicked, this, btkGuarded([this](bool) { saveToLog(); }));
    QObject::connect(SpeedButton2, &QToolButton::clicked, this, [this] { close(); });
    QObject::connect(btreadonly, &QToolButton::toggled, this, [this](bool down) { logctrl->setReadOnly(down); });

    intf = new LogWinIntf(this);
    openWindows().push_back(this);
}

Tvcllogwinfrm::~Tvcllogwinfrm() {
    auto& windows = openWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

void Tvcllogwinfrm::writeText(const char* text) {
    btkStrings lines;
    btkSplit(lines, text, '\n', false);
    for (const btkstring& line : lines) logctrl->memo->appendPlainText(btkToQString(line));
}

void Tvcllogwinfrm::saveToLog() {
    LogHoldFlush();
    LogBegin(recordName, argument);
    LogTag("DBFILE", dbFile);
    LogWriteLine(logctrl->text());
    LogEnd(recordName);
    LogFlush();
    InfoBox(btkFormat("Informace byly zapsány do souboru %s", LogFileName().c_str()));
}

void InstallLogWindowFactory() {
    static LogWindowFactory factory;
    gLogWindowFactory = &factory;
}

void CloseAllLogWindows() {
    std::vector<Tvcllogwinfrm*> windows = openWindows();
    for (Tvcllogwinfrm* window : windows) delete window;
}

int OpenLogWindowCount() { return static_cast<int>(openWindows().size()); }

Tvcllogwinfrm* OpenLogWindowAt(int i) { return openWindows().at(i); }
