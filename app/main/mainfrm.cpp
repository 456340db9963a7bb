#include "app/main/mainfrm.h"

#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/main/mainactions.h"
#include "app/main/startfrm.h"
#include "app/modelservices.h"
#include "app/program.h"
#include "app/settings/customsortfrm.h"
#include "app/settings/keyeditfrm.h"
#include "app/version.h"
#include "app/windows.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"
#include "songs/inetconnection.h"
#include "songs/kxdatabase.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/uibridge.h"

Tmainfrm* mainfrm = nullptr;

const char* const NoSongText = "Není vybrána žádná píseň";
const char* const NoViewText = "Není otevřen pohled";
const char* const NoDatabaseText = "Není otevřena databáze";

namespace {

// The model's bridge: every operation goes to the window in mainfrm.
class MainWinMainWinBase : public MainWinBase {
public:
    KxSong* getActSong() override { return mainfrm ? mainfrm->getActSong() : nullptr; }
    KxSong* getActSongMsg() override { return mainfrm ? mainfrm->getActSongMsg() : nullptr; }
    KxView* getActView() override { return mainfrm ? mainfrm->getActView() : nullptr; }
    KxView* getActViewMsg() override { return mainfrm ? mainfrm->getActViewMsg() : nullptr; }
    KxDatabase* getActDatabase() override { return mainfrm ? mainfrm->getActDatabase() : nullptr; }
    KxDatabase* getActDatabaseMsg() override { return mainfrm ? mainfrm->getActDatabaseMsg() : nullptr; }
    KxDatabase* getActInetDatabase() override { return mainfrm ? mainfrm->getActInetDatabase() : nullptr; }
    void setActSong(KxSong* song) override {
        if (mainfrm) mainfrm->setActSong(song);
    }
    void selectView(int index) override {
        if (mainfrm) mainfrm->selectView(index);
    }
    void setStatusText(const char* text) override {
        if (mainfrm) mainfrm->setStatusText(text);
    }
    void showLoginState() override {
        if (mainfrm) mainfrm->showLoginState();
    }
    void selectSongById(int locid) override {
        if (mainfrm) mainfrm->selectSongById(locid);
    }
    void closeMain() override {
        if (mainfrm) mainfrm->closeMain();
    }
    void getListSongs(btkCntVec<KxSong*>& songs) override {
        songs.clear();
        if (mainfrm) mainfrm->getListSongs(songs);
    }
};

}  // namespace

void MainWinSongControlHandler::redrawSongView() {
    if (mainfrm) mainfrm->redrawSongView();
}

Tmainfrm::Tmainfrm() : queueHandler(this), commonHandler(this) {
    mainfrm = this;
    setObjectName("mainfrm");
    resize(870, 640);

    buildToolBars();
    buildCentralArea();
    buildActions();
    buildMenus();

    // A combo filled by code does not run its change handler: the code that
    // fills it holds a QSignalBlocker.
    QObject::connect(dbs, &QComboBox::currentIndexChanged, this, btkGuarded([this](int) { applySelection(); }));
    QObject::connect(pager, &QTabWidget::currentChanged, this, btkGuarded([this](int page) { pagerChange(page); }));

    btkstring title = btkstring("Kantorix ") + KX_VERSION;
    btkstring connectionCaption = ConnectionCaption();
    if (connectionCaption.startsWith("!")) title = connectionCaption;
    setWindowTitle(btkToQString(title));

    list->setSongControlHandler(&songControlHandler);
    grpv->setSongControlHandler(&songControlHandler);
    list->grid->setFont(QFont(QStringLiteral("Arial"), list->grid->font().pointSize()));
    list->cellSelected = [this](int row, int gridColumn, bool byUser) { gridCellSelected(row, gridColumn, byUser); };
    list->applyOptionsNode(OptionsRoot().getChild("mainwin.list"));
    QObject::connect(cell, &QLineEdit::returnPressed, this, btkGuarded([this] { cellConfirmed(); }));
    cell->installEventFilter(this);

    static MainWinMainWinBase bridge;
    gMainWin = &bridge;
    showLoginState();
}

void Tmainfrm::buildToolBars() {
    toolbar_base = new QToolBar(this);
    toolbar_base->setObjectName("toolbar_base");
    addToolBar(toolbar_base);
    // The combo and the cell edit sit in tool bars of their own, so that
    // each tool-bar toggle shows or hides exactly one part.
    toolbar_dbs = new QToolBar(this);
    toolbar_dbs->setObjectName("toolbar_dbs");
    dbs = new QComboBox(toolbar_dbs);
    dbs->setObjectName("dbs");
    dbs->setMinimumWidth(200);
    dbs->setToolTip(btkToQString("Databáze"));
    dbs->setStatusTip(btkToQString("Databáze"));
    toolbar_dbs->addWidget(dbs);
    addToolBar(toolbar_dbs);
    toolbar_qedit = new QToolBar(this);
    toolbar_qedit->setObjectName("toolbar_qedit");
    addToolBar(toolbar_qedit);
    toolbar_cell = new QToolBar(this);
    toolbar_cell->setObjectName("toolbar_cell");
    cell = new QLineEdit(toolbar_cell);
    cell->setObjectName("cell");
    cell->setStatusTip(btkToQString("Hodnota buňky, potvrdit-ENTER, stornovat ESC"));
    toolbar_cell->addWidget(cell);
    addToolBar(toolbar_cell);
    toolbar_transp = new QToolBar(this);
    toolbar_transp->setObjectName("toolbar_transp");
    // The transpositions get a row of their own, so none hides behind the
    // tool bar's overflow button in a window of the default width.
    addToolBarBreak();
    addToolBar(toolbar_transp);
}

void Tmainfrm::buildCentralArea() {
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName("Splitter1");
    pager = new QTabWidget(Splitter1);
    pager->setObjectName("pager");
    list = new Tsonggridfrm(pager);
    grpv = new Tgroupviewfrm(pager);
    pager->addTab(list, btkToQString("Písničky"));
    pager->addTab(grpv, btkToQString("Skupiny"));
    songv = new Tsongvfrm(Splitter1);
    Splitter1->addWidget(pager);
    Splitter1->addWidget(songv);
    Splitter1->setSizes({425, 445});
    // A larger window widens the song list and the song view alike.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);
    setCentralWidget(Splitter1);

    statusPanels[0] = new QLabel(this);
    statusPanels[0]->setObjectName("status0");
    statusPanels[0]->setMinimumWidth(300);
    statusPanels[1] = new QLabel(this);
    statusPanels[1]->setObjectName("status1");
    statusPanels[1]->setMinimumWidth(50);
    statusBar()->setObjectName("status");
    statusBar()->addWidget(statusPanels[0], 1);
    statusBar()->addPermanentWidget(statusPanels[1]);
}

Tmainfrm::~Tmainfrm() {
    if (mainfrm == this) mainfrm = nullptr;
}

void KeepAboveMainWindow(QWidget* window) {
    if (!mainfrm || !window || window == mainfrm) return;
    Qt::WindowFlags flags = window->windowFlags() | Qt::Window;
    // X11 window managers keep only dialogs and tool windows above the
    // window they are transient for (Qt does not mark a plain window as
    // transient there): a plain window becomes a dialog that keeps its
    // buttons.
    if ((flags & Qt::WindowType_Mask) == Qt::Window)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    window->setParent(mainfrm, flags);
}

void Tmainfrm::buildActions() {
    // Every command exists from the start, disabled until its handler is
    // connected.
    for (int i = 0; i < MainActionCount; ++i)
        actionlist.add(this, MainActions[i].name, MainActions[i].caption, MainActions[i].category)->setEnabled(false);
    ConnectWindowActions(*this);
    ConnectDatabaseActions(*this);
    ConnectSongActions(*this);
    ConnectInternetActions(*this);
    ConnectSettingsActions(*this);
    ConnectExchangeActions(*this);
    ConnectBookActions(*this);
}

void Tmainfrm::setActionHandler(const char* name, std::function<void()> handler) {
    QAction* action = actionlist.find(name);
    if (!action) return;
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    QObject::connect(action, &QAction::triggered, this, btkGuarded([run = std::move(handler)](bool) { run(); }));
    action->setEnabled(true);
}

void Tmainfrm::buildMenus() {
    for (int m = 0; m < MainMenuCount; ++m) {
        QMenu* menu = menuBar()->addMenu(btkToQString(MainMenus[m].title));
        for (const char* name : MainMenus[m].actions) {
            if (name[0] == '-')
                menu->addSeparator();
            else if (QAction* action = actionlist.find(name))
                menu->addAction(action);
        }
    }
    // The base tool bar shows the style's standard icons (their captions are
    // the tool tips), which keeps it short beside the combo.
    const struct {
        const char* name;
        QStyle::StandardPixmap icon;
    } baseButtons[] = {{"a_quit", QStyle::SP_DialogCloseButton},
                       {"a_dbremove", QStyle::SP_TrashIcon},
                       {"a_synchronize", QStyle::SP_BrowserReload},
                       {"a_dbsearch", QStyle::SP_FileDialogContentsView},
                       {"a_about", QStyle::SP_MessageBoxInformation}};
    for (const auto& b : baseButtons) {
        QAction* action = actionlist.find(b.name);
        action->setIcon(style()->standardIcon(b.icon));
        toolbar_base->addAction(action);
    }
    toolbar_base->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const char* name : {"a_allowquickedit", "a_fillcolumn", "a_autofill", "a_filtercell"})
        toolbar_qedit->addAction(actionlist.find(name));
    for (const char* name : {"a_trnext", "a_trprev", "a_trnext5", "a_trprev5", "a_trsimple", "a_treasy", "a_trorig"})
        toolbar_transp->addAction(actionlist.find(name));
    toolbars_menu = new QMenu(this);
    toolbars_menu->setObjectName("toolbars_menu");
    for (const char* name : {"a_active_db", "a_base_toolbar", "a_celledit", "a_qedit", "a_transp"})
        toolbars_menu->addAction(actionlist.find(name));
}

QMenu* Tmainfrm::createPopupMenu() {
    // The tool bar area's pop-up: a copy, since Qt deletes what it shows.
    auto* menu = new QMenu(this);
    menu->addActions(toolbars_menu->actions());
    return menu;
}

void Tmainfrm::FormCreate() {
    refillCombo();
    {
        const QSignalBlocker blocker(dbs);
        dbs->setCurrentIndex(storedDatabaseIndex());
    }
    applySelection();
    // The user starts with a song to look at, not an empty song view.
    if (!list->currentSong()) list->selectRow(0);
    restoreWindowLayout();
    Tstartfrm::freeSplash();
}

int Tmainfrm::storedDatabaseIndex() const {
    if (!gKxSpace) return -1;
    const btkXMLNode options = OptionsRoot();
    int index = -1;
    if (options.hasAttr("dbfile")) {
        // The database of that file name, when it is still there.
        const btkstring file = options.attr("dbfile");
        for (int i = 0; i < gKxSpace->viewCount() && index < 0 && !file.empty(); ++i) {
            KxDatabase* db = gKxSpace->getView(i)->asDatabase();
            if (db && btkFile(db->getFileName()).fileName() == file) index = i;
        }
    } else {
        // Options of an older program hold the index alone.
        const int stored = options.intAttr("db");
        if (stored >= 0 && stored < gKxSpace->viewCount() && gKxSpace->getView(stored)->asDatabase()) index = stored;
    }
    for (int i = 0; i < gKxSpace->viewCount() && index < 0; ++i)
        if (gKxSpace->getView(i)->asDatabase()) index = i;
    return index < dbs->count() ? index : -1;
}

// ---- window size and splitter, kept in the options as mainwin.window

void Tmainfrm::restoreWindowLayout() {
    if (OptionsRoot().indexOfChild("mainwin.window") < 0) {
        // First start: a comfortable part of the screen, in its middle.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            QRect frame(0, 0, area.width() * 4 / 5, area.height() * 4 / 5);
            frame.moveCenter(area.center());
            setGeometry(frame);
        }
        return;
    }
    const btkXMLNode node = OptionsRoot().childByName("mainwin.window");
    // Qt's own geometry record knows the frame and the screens: a window
    // left off a screen that is gone comes back onto a visible one.
    restoreGeometry(QByteArray::fromHex(QByteArray(node.attr("geometry").c_str())));
    const int left = node.intAttr("split0"), right = node.intAttr("split1");
    if (left > 0 && right > 0) Splitter1->setSizes({left, right});
}

void Tmainfrm::saveWindowLayout() {
    btkXMLNode node = OptionsRoot().getChild("mainwin.window");
    node.setAttr("geometry", saveGeometry().toHex().constData());
    const QList<int> sizes = Splitter1->sizes();
    node.setIntAttr("split0", sizes.value(0));
    node.setIntAttr("split1", sizes.value(1));
}

SongListFrame* Tmainfrm::currentFrame() const {
    switch (pager->currentIndex()) {
    case 0: return list;
    case 1: return grpv;
    default: return nullptr;
    }
}

KxSong* Tmainfrm::getActSong() {
    SongListFrame* frame = currentFrame();
    return frame ? frame->getActSong() : nullptr;
}

KxSong* Tmainfrm::getActSongMsg() {
    KxSong* song = getActSong();
    if (!song) ErrorBox(NoSongText);
    return song;
}

KxView* Tmainfrm::getActView() {
    const int index = dbs->currentIndex();
    if (index < 0 || !gKxSpace || index >= gKxSpace->viewCount()) return nullptr;
    return gKxSpace->getView(index);
}

KxView* Tmainfrm::getActViewMsg() {
    KxView* view = getActView();
    if (!view) ErrorBox(NoViewText);
    return view;
}

KxDatabase* Tmainfrm::getActDatabase() {
    KxView* view = getActView();
    return view ? view->asDatabase() : nullptr;
}

KxDatabase* Tmainfrm::getActDatabaseMsg() {
    KxDatabase* db = getActDatabase();
    if (!db) ErrorBox(NoDatabaseText);
    return db;
}

KxDatabase* Tmainfrm::getActInetDatabase() {
    KxDatabase* db = getActDatabaseMsg();
    if (!db) return nullptr;
    if (!db->isinetdb) {
        ErrorBox("Otevřena databáze není internetovou databází");
        return nullptr;
    }
    if (db->isChanged()) {
        if (QuestionBox("Před napojením databáze na internetovou databázi je potřeba ji mít uloženou, uložit?", "yn") !=
            1)
            return nullptr;
        // A database whose commit failed is not handed out: the internet
        // side would work on a file that does not hold its songs.
        if (!db->commitShown()) return nullptr;
    }
    return db;
}

void Tmainfrm::setActSong(KxSong* song) {
    if (SongListFrame* frame = currentFrame()) frame->setActSong(song);
    redrawSongView();
}

void Tmainfrm::selectView(int index) {
    {
        const QSignalBlocker blocker(dbs);
        dbs->setCurrentIndex(index >= 0 && index < dbs->count() ? index : -1);
    }
    applySelection();
}

void Tmainfrm::setStatusText(const char* text) { statusPanels[0]->setText(btkToQString(text)); }

btkstring Tmainfrm::statusText(int panel) const { return btkFromQString(statusPanels[panel]->text()); }

void Tmainfrm::showLoginState() {
    btkstring login, name;
    const bool loggedIn = CurrentLogin(login, name);
    if (loggedIn)
        statusPanels[1]->setText(btkToQString(btkFormat("Přihlášen %s [%s]", login.c_str(), name.c_str())));
    else
        statusPanels[1]->setText(btkToQString("Nepřihlášen"));
    if (QAction* a = actionlist.find("a_login")) a->setEnabled(!loggedIn);
    if (QAction* a = actionlist.find("a_logout")) a->setEnabled(loggedIn);
}

void Tmainfrm::selectSongById(int locid) {
    KxDatabase* db = getActDatabase();
    if (!db) return;
    if (KxSong* song = db->findSongByLocid(locid)) setActSong(song);
}

void Tmainfrm::closeMain() { close(); }

void Tmainfrm::getListSongs(btkCntVec<KxSong*>& songs) {
    songs.clear();
    if (SongListFrame* frame = currentFrame()) frame->getSongs(songs);
}

void Tmainfrm::redrawSongView() {
    KxSong* song = getActSong();
    songv->setSongText(song ? song->displayText() : btkstring());
}

void Tmainfrm::refillCombo() {
    const QSignalBlocker blocker(dbs);
    const int index = dbs->currentIndex();
    dbs->clear();
    if (gKxSpace)
        for (KxView* view : gKxSpace->views) dbs->addItem(btkToQString(view->caption()));
    dbs->setCurrentIndex(index < dbs->count() ? index : -1);
}

void Tmainfrm::applySelection() {
    selRow = -1;
    cell->clear();
    KxView* view = getActView();
    list->setView(view);
    grpv->setView(view);
    if (view) {
        const QSignalBlocker blocker(dbs);
        const int index = dbs->currentIndex();
        dbs->setItemText(index, btkToQString(view->caption()));
        dbs->setCurrentIndex(index);
    }
}

bool Tmainfrm::quickEditsAllowed() {
    QAction* allow = actionlist.find("a_allowquickedit");
    if (allow && allow->isChecked()) return true;
    InfoBox("Není povoleno provádět rychlé úpravy, dá se povolit v menu Úpravy");
    return false;
}

void Tmainfrm::gridCellSelected(int row, int gridColumn, bool byUser) {
    // Only a cell the user moves to is filled: a cell the program selects
    // again after a rebuild or a search keeps its value.
    QAction* autofill = actionlist.find("a_autofill");
    if (byUser && row >= 0 && autofill && autofill->isChecked())
        list->setCellText(row, gridColumn, btkFromQString(cell->text()));
    else
        cell->setText(btkToQString(list->cellText(row, gridColumn).text));
    selCol = gridColumn;
    selRow = row;
}

void Tmainfrm::cellConfirmed() {
    if (pager->currentIndex() != 0) return;
    list->setCellText(selRow, selCol, btkFromQString(cell->text()));
    list->grid->setFocus();
}

void Tmainfrm::cellCancelled() {
    cell->setText(btkToQString(list->cellText(selRow, selCol).text));
    list->grid->setFocus();
}

void Tmainfrm::objectRemoved(KxObject* object) {
    // A view deleted in this pass must not stay in the frames.
    if (KxView* view = object->asView()) {
        if (list->getView() == view) list->setView(nullptr);
        if (grpv->getView() == view) grpv->setView(nullptr);
        redrawSongView();
        return;
    }
    if (KxSong* song = object->asSong()) {
        list->songRemoved(song);
        grpv->songRemoved(song);
        if (keptSong == song) keptSong = nullptr;
    }
}

void Tmainfrm::objectChanged(KxObject* object) {
    if (object == static_cast<KxObject*>(gKxSpace)) {
        refillCombo();
        // The frames show what the combo shows, also when the selected view
        // went away and another took its place.
        if (list->getView() != getActView()) applySelection();
        return;
    }
    KxView* active = getActView();
    if (active && object == static_cast<KxObject*>(active)) applySelection();
}

void Tmainfrm::queueDone() {
    // A song change marks its database changed without posting the
    // database: the selected entry's caption follows it here.
    KxView* active = getActView();
    if (!active) return;
    const QString caption = btkToQString(active->caption());
    const int index = dbs->currentIndex();
    if (dbs->itemText(index) != caption) {
        const QSignalBlocker blocker(dbs);
        dbs->setItemText(index, caption);
    }
}

void Tmainfrm::commonEvent(KxCommonEvent& event) {
    if (event.code == KX_EVENT_OPTIONS_SAVE) saveWindowLayout();
    if (event.code != KX_EVENT_OPTIONS_CHANGED) return;
    applyActionSettings(OptionsRoot().childByName("settings").childByName("mainwin").childByName("actions"),
                        actionlist);
}

void Tmainfrm::pagerChange(int newPage) {
    SongListFrame* oldFrame = shownPage == 0 ? static_cast<SongListFrame*>(list) : shownPage == 1 ? grpv : nullptr;
    keptSong = oldFrame ? oldFrame->getActSong() : nullptr;
    shownPage = newPage;
    setActSong(keptSong);
    keptSong = nullptr;
    cell->clear();
    selRow = -1;
    const bool gridPage = newPage == 0;
    if (QAction* a = actionlist.find("a_editcellvalue")) a->setEnabled(gridPage);
    cell->setEnabled(gridPage);
}

void Tmainfrm::FormCloseQuery(bool& canClose) { canClose = ProgramCloseQuery(); }

void Tmainfrm::FormClose() {
    KxView* view = getActView();
    KxDatabase* db = view ? view->asDatabase() : nullptr;
    ProgramClose(dbs->currentIndex(), db ? btkFile(db->getFileName()).fileName().c_str() : "");
}

void Tmainfrm::showEvent(QShowEvent* event) {
    btkMainForm::showEvent(event);
    btkGuard([this] {
        redrawSongView();
        KxCommonEvent e{KX_EVENT_OPTIONS_CHANGED};
        BroadcastCommonEvent(e);
    });
}

bool Tmainfrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cell && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        btkGuard([this] { cellCancelled(); });
        return true;
    }
    return btkMainForm::eventFilter(watched, event);
}

bool Tmainfrm::event(QEvent* event) {
    // The hint hook: hints go to status panel 0.
    if (event->type() == QEvent::StatusTip) {
        statusPanels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return btkMainForm::event(event);
}
