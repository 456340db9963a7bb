#include "app/main/showlogfrm.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstream.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"

namespace {

QToolButton* toolButton(QWidget* parent, const char* text, bool checkable) {
    auto* button = new QToolButton(parent);
    button->setText(btkToQString(text));
    button->setCheckable(checkable);
    return button;
}

btkstring withoutCR(const btkstring& text) {
    btkstring out;
    for (const char* p = text.c_str(); *p; ++p)
        if (*p != '\r') out += *p;
    return out;
}

}  // namespace

Tshowlogfrm::Tshowlogfrm() : btkDialogForm(nullptr, Qt::Window) {
    setObjectName("showlogfrm");
    setWindowTitle(btkToQString("Prohlížení logu"));
    resize(800, 600);
    files = new QListWidget(this);
    files->setObjectName("files");
    entries = new QListWidget(this);
    entries->setObjectName("entries");
    SpeedButton1 = toolButton(this, "Bezprizorní text", false);
    btlog1 = toolButton(this, "1", true);
    btlog2 = toolButton(this, "2", true);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(btlog1);
    group->addButton(btlog2);
    btlog1->setChecked(true);
    btreadonly = toolButton(this, "Jen pro čtení", true);
    btreadonly->setChecked(true);
    SpeedButton3 = toolButton(this, "Uložit", false);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    logctrl1 = new Tlogctrlfrm(splitter);
    logctrl2 = new Tlogctrlfrm(splitter);
    splitter->addWidget(logctrl1);
    splitter->addWidget(logctrl2);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(btkToQString("Soubor"), this));
    left->addWidget(files, 1);
    left->addWidget(new QLabel(btkToQString("Akce"), this));
    left->addWidget(entries, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(new QLabel(btkToQString("Aktivní textové pole"), this));
    buttons->addWidget(btlog1);
    buttons->addWidget(btlog2);
    buttons->addWidget(btreadonly);
    buttons->addWidget(SpeedButton3);
    buttons->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addLayout(buttons);
    right->addWidget(splitter, 1);
    auto* layout = new QHBoxLayout(this);
    // The entries show a title and a time: the list gets room for both.
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);

    QObject::connect(files, &QListWidget::itemClicked, this, btkGuarded([this](QListWidgetItem*) { parseLogFile(); }));
    QObject::connect(entries, &QListWidget::currentRowChanged, this, btkGuarded([this](int) { ShowSelectedEntry(); }));
    QObject::connect(SpeedButton1, &QToolButton::clicked, this, btkGuarded([this](bool) { showStrayText(); }));
    auto paneSwitched = [this](bool) { btreadonly->setChecked(activeFrame()->isReadOnly()); };
    QObject::connect(btlog1, &QToolButton::toggled, this, paneSwitched);
    QObject::connect(btlog2, &QToolButton::toggled, this, paneSwitched);
    QObject::connect(btreadonly, &QToolButton::toggled, this, [this](bool down) { activeFrame()->setReadOnly(down); });
    QObject::connect(SpeedButton3, &QToolButton::clicked, this, btkGuarded([this](bool) { saveLogFile(); }));
}

void Tshowlogfrm::showViewer() {
    show();
    raise();
    activateWindow();
}

void Tshowlogfrm::showEvent(QShowEvent* event) {
    btkDialogForm::showEvent(event);
    btkGuard([this] { listLogFiles(); });
}

void Tshowlogfrm::listLogFiles() {
    files->clear();
    btkFileList list(programDir().join("data/*.log"));
    for (int i = 0; i < list.count(); ++i) files->addItem(btkToQString(list[i]));
}

btkstring Tshowlogfrm::selectedFilePath() const {
    QListWidgetItem* item = files->currentItem();
    if (!item) return btkstring();
    return programDir().join("data").join(btkFromQString(item->text()));
}

Tlogctrlfrm* Tshowlogfrm::activeFrame() const { return btlog2->isChecked() ? logctrl2 : logctrl1; }

void Tshowlogfrm::showInPane(Tlogctrlfrm* pane, const char* text, const char* logName, int entry) {
    pane->SetLog(text, logName);
    pane->memo->document()->setModified(false);
    shownEntry(pane) = entry;
}

void Tshowlogfrm::parseLogFile() {
    log.clear();
    // What the panes show belongs to the file read before.
    shown[0] = shown[1] = -1;
    const QSignalBlocker blocker(entries);
    entries->clear();
    const btkstring path = selectedFilePath();
    if (path.empty()) return;
    log.parse(LogReadFile(path));
    for (const LogEntry* entry : log.entries) entries->addItem(btkToQString(LogEntryCaption(*entry)));
    if (entries->count() > 0) entries->setCurrentRow(0);
    ShowSelectedEntry();
}

void Tshowlogfrm::ShowSelectedEntry() {
    const int row = entries->currentRow();
    if (row >= 0 && row < log.entries.count()) {
        const LogEntry* entry = log.entries[row];
        showInPane(activeFrame(), entry->text, entry->dbFile, row);
    } else {
        showInPane(logctrl1, "", "", -1);
        showInPane(logctrl2, "", "", -1);
    }
}

void Tshowlogfrm::showStrayText() { showInPane(activeFrame(), log.stray, "", -1); }

void Tshowlogfrm::saveLogFile() {
    if (QuestionBox(
            "Varování:log je určen primárně jen pro čtení, jeho úprava ho může trochu poškodit, povolit úpravu?",
            "yn") != 1)
        return;
    const btkstring path = selectedFilePath();
    if (path.empty()) return;
    // Only an edit of the selected entry, in a pane that shows it, is
    // written: another pane's text (empty, stray, of another entry) never
    // replaces the entry.
    const int row = entries->currentRow();
    if (row < 0 || row >= log.entries.count()) return;
    Tlogctrlfrm* edited = nullptr;
    for (Tlogctrlfrm* pane : {activeFrame(), activeFrame() == logctrl1 ? logctrl2 : logctrl1})
        if (!edited && shownEntry(pane) == row && pane->memo->document()->isModified()) edited = pane;
    if (!edited) return;
    const btkstring text = withoutCR(edited->text());
    // The program goes on logging while the viewer shows the file: what it
    // appended since the read follows the edited text. A file changed in
    // another way is left alone, so none of its lines is lost.
    btkstring gained;
    if (!log.gainedSince(LogReadFile(path), gained))
        throw btkError(btkFormat("Log nebyl uložen: soubor %s byl od načtení změněn, načtěte ho znovu", path.c_str()));
    const btkstring bytes = log.withEntryText(row, text) + gained;
    // A failed save names the file in the error box; the file and the
    // edited pane stay as they were.
    btkSaveFile(path, btkSaveFormat::Binary, [&](btkWriteStream& out) { out.write(bytes.c_str(), bytes.length()); });
    // The entry's body moved and the file may have grown: read it anew,
    // keep the list and panes.
    log.parse(bytes);
    edited->memo->document()->setModified(false);
    // Head or end lines typed into the text make other entries: list anew.
    if (log.entries.count() != entries->count()) parseLogFile();
}
