#include "app/book/melodarfrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragMoveEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/book/kxtypefrm.h"
#include "app/main/mainactions.h"
#include "app/main/mainfrm.h"
#include "app/settings/customsortfrm.h"
#include "app/song/songdrag.h"
#include "app/song/songvfrm.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkqstring.h"
#include "songbook/logpagepreview.h"
#include "songs/chorddifficulty.h"
#include "songs/uibridge.h"

namespace {

const char* const CloseQuestion = "Opravdu zavřít tento melodar bez uložení změn?";
const char* const BookFilter = "Melodary (*.kx)|*.kx";

// A book file chosen by the user: its name (the part after the last folder)
// must be a plain file name.
bool isUsableBookFile(const btkstring& path) { return btkIsPlainFileName(btkFile(path).fileName()); }

}  // namespace

// ---- the item list

MelodarItemList::MelodarItemList(Tmelodarfrm* frame, QWidget* parent) : QListWidget(parent), frame(frame) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // Copy: the entries are moved by the book, never removed by Qt.
    setDefaultDropAction(Qt::CopyAction);
}

void MelodarItemList::dragEnterEvent(QDragEnterEvent* event) {
    // Entering decides nothing yet: the move over an entry does.
    event->acceptProposedAction();
}

void MelodarItemList::dragMoveEvent(QDragMoveEvent* event) {
    const int row = indexAt(event->position().toPoint()).row();
    if (frame->acceptsDrop(event->mimeData(), event->source() == this, row))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MelodarItemList::dropEvent(QDropEvent* event) {
    const int row = indexAt(event->position().toPoint()).row();
    const bool fromList = event->source() == this;
    if (!frame->acceptsDrop(event->mimeData(), fromList, row)) {
        event->ignore();
        return;
    }
    // The list is refilled from the book: Qt must not move entries itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    btkGuard([&] { frame->drop(event->mimeData(), fromList, row); });
}

void MelodarItemList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        btkGuard([this] { frame->deleteSelected(); });
        return;
    }
    QListWidget::keyPressEvent(event);
}

void MelodarPaintBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    btkGuardPaint(this, [&] { painter(p); });
}

// ---- the window

Tmelodarfrm::Tmelodarfrm() {
    setObjectName("melodarfrm");
    setWindowTitle(btkToQString("Melodar"));
    resize(900, 640);
    buildControls();
    buildActions();
    UpdatePageCounts();
}

Tmelodarfrm::~Tmelodarfrm() { deleteBook(); }

void Tmelodarfrm::deleteBook() {
    // The book may reach the window while it goes.
    Melodar* owned = book;
    book = nullptr;
    if (owned) owned->window = nullptr;
    delete owned;
}

void Tmelodarfrm::buildControls() {
    auto* central = new QWidget(this);
    QWidget* left = buildItemPanel(central);

    pager = new QTabWidget(central);
    pager->setObjectName("pager");
    songv = new Tsongvfrm(pager);
    pager->addTab(songv, btkToQString("Text písně"));
    pager->addTab(buildPreviewPage(false), btkToQString("Náhled"));
    pager->addTab(buildPreviewPage(true), btkToQString("Logické stránky"));

    auto* splitter = new QSplitter(central);
    splitter->addWidget(left);
    splitter->addWidget(pager);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(splitter);
    setCentralWidget(central);
    connectControls();
}

QWidget* Tmelodarfrm::buildItemPanel(QWidget* parent) {
    auto* left = new QWidget(parent);
    qkxtype = new QComboBox(left);
    qkxtype->setObjectName("qkxtype");
    list = new MelodarItemList(this, left);
    list->setObjectName("list");
    chnewpage = new QCheckBox(btkToQString("Začít na nové stránce"), left);
    chnewpage->setObjectName("chnewpage");
    btadvancedalign = new QToolButton(left);
    btadvancedalign->setObjectName("btadvancedalign");
    btadvancedalign->setText(btkToQString("Pokročilé nastavení"));
    btadvancedalign->setCheckable(true);
    advancedalign = new QWidget(left);
    advancedalign->setObjectName("advancedalign");
    advancedalign->hide();
    chskippage = new QCheckBox(btkToQString("Vynechat stránku"), advancedalign);
    chskippage->setObjectName("chskippage");
    chfixtobegin = new QCheckBox(btkToQString("Připoutat k začátku"), advancedalign);
    chfixtobegin->setObjectName("chfixtobegin");
    chfixtoend = new QCheckBox(btkToQString("Připoutat ke konci"), advancedalign);
    chfixtoend->setObjectName("chfixtoend");
    Button1 = new QPushButton(btkToQString("Vlastnosti"), advancedalign);
    Button1->setObjectName("Button1");
    auto* advanced = new QVBoxLayout(advancedalign);
    for (QWidget* w : std::initializer_list<QWidget*>{chskippage, chfixtobegin, chfixtoend, Button1})
        advanced->addWidget(w);
    btmoveprev = new QPushButton(btkToQString("Dopředu"), left);
    btmoveprev->setObjectName("btmoveprev");
    btmovenext = new QPushButton(btkToQString("Dozadu"), left);
    btmovenext->setObjectName("btmovenext");
    btdelete = new QPushButton(btkToQString("Vymazat"), left);
    btdelete->setObjectName("btdelete");
    auto* moves = new QHBoxLayout;
    moves->addWidget(btmoveprev);
    moves->addWidget(btmovenext);
    moves->addWidget(btdelete);

    auto* counts = new QGridLayout;
    const char* countCaptions[] = {"Logických stránek:", "Fyzických stránek:", "Nevyužitých stránek"};
    QLabel** countLabels[] = {&logpagescnt, &fpagescnt, &freepagescnt};
    const char* countNames[] = {"logpagescnt", "fpagescnt", "freepagescnt"};
    for (int i = 0; i < 3; ++i) {
        counts->addWidget(new QLabel(btkToQString(countCaptions[i]), left), i, 0);
        *countLabels[i] = new QLabel(left);
        (*countLabels[i])->setObjectName(countNames[i]);
        counts->addWidget(*countLabels[i], i, 1);
    }

    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(new QLabel(btkToQString("Typ melodaru:"), left));
    leftLayout->addWidget(qkxtype);
    leftLayout->addWidget(list, 1);
    leftLayout->addWidget(chnewpage);
    leftLayout->addWidget(btadvancedalign);
    leftLayout->addWidget(advancedalign);
    leftLayout->addLayout(moves);
    leftLayout->addLayout(counts);
    return left;
}

void Tmelodarfrm::connectControls() {
    // The selection, not the current row: a click makes the row current first.
    QObject::connect(list, &QListWidget::itemSelectionChanged, this, btkGuarded([this] { listClick(); }));
    QObject::connect(list, &QListWidget::itemDoubleClicked, this,
                     btkGuarded([this](QListWidgetItem*) { editProperties(); }));
    QObject::connect(pager, &QTabWidget::currentChanged, this, btkGuarded([this](int) { listClick(); }));
    QObject::connect(chnewpage, &QCheckBox::clicked, this, btkGuarded([this](bool) { flagClicked(chnewpage); }));
    QObject::connect(chskippage, &QCheckBox::clicked, this, btkGuarded([this](bool) { flagClicked(chskippage); }));
    QObject::connect(chfixtobegin, &QCheckBox::clicked, this, btkGuarded([this](bool) { fixToBeginClick(); }));
    QObject::connect(chfixtoend, &QCheckBox::clicked, this, btkGuarded([this](bool) { fixToEndClick(); }));
    QObject::connect(btadvancedalign, &QToolButton::toggled, advancedalign, &QWidget::setVisible);
    QObject::connect(Button1, &QPushButton::clicked, this, btkGuarded([this](bool) { editProperties(); }));
    QObject::connect(btmoveprev, &QPushButton::clicked, this, btkGuarded([this](bool) { movePrev(); }));
    QObject::connect(btmovenext, &QPushButton::clicked, this, btkGuarded([this](bool) { moveNext(); }));
    QObject::connect(btdelete, &QPushButton::clicked, this, btkGuarded([this](bool) { deleteSelected(); }));
    QObject::connect(qkxtype, &QComboBox::currentIndexChanged, this, btkGuarded([this](int) { kxtypeChange(); }));
}

void Tmelodarfrm::buildTranspositionActions(QMenuBar* bar) {
    QMenu* transp = bar->addMenu(btkToQString("Transpozice"));
    auto by = [](int step) { return [step](int t, const btkstring&) { return (t + step + 48) % 12; }; };
    auto best = [](bool leastMaximum) {
        return [leastMaximum](int, const btkstring& text) {
            int leastTotal = 0, leastMax = 0;
            SongChordDifficulty(text, LoadChordDifficulties(OptionsRoot().childByName("chorddifs")), leastTotal,
                                leastMax);
            return leastMaximum ? leastMax : leastTotal;
        };
    };
    // The captions are the main window's: one command, one name everywhere.
    const struct {
        const char* name;
        QKeySequence key;
        std::function<int(int, const btkstring&)> next;
    } steps[] = {
        {"a_trprev", QKeySequence(Qt::Key_F5), by(-1)},
        {"a_trnext", QKeySequence(Qt::Key_F6), by(1)},
        {"a_trprev5", {}, by(-7)},
        {"a_trnext5", {}, by(7)},
        {"a_trsimple", {}, best(false)},
        {"a_treasy", {}, best(true)},
        {"a_trorig", {}, [](int, const btkstring&) { return 0; }},
    };
    QToolBar* tools = addToolBar(btkToQString("Melodar"));
    for (const char* name : {"a_save", "a_printpage", "a_close"}) tools->addAction(actionlist.find(name));
    for (const auto& s : steps) {
        addAction(transp, s.name, MainActionCaption(s.name), s.key, [this, next = s.next] { transpose(next); });
        tools->addAction(actionlist.find(s.name));
    }
}

void Tmelodarfrm::addAction(QMenu* menu, const char* name, const char* caption, const QKeySequence& key,
                            std::function<void()> handler) {
    QAction* a = actionlist.add(this, name, caption, btkFromQString(menu->title()));
    a->setShortcut(key);
    menu->addAction(a);
    QMainWindow::addAction(a);
    QObject::connect(a, &QAction::triggered, this, btkGuarded([handler](bool) { handler(); }));
}

void Tmelodarfrm::buildActions() {
    QMenuBar* bar = menuBar();
    QMenu* kx = bar->addMenu(btkToQString("Melodar"));
    addAction(kx, "a_save", "Uložit", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { (void)save(); });
    addAction(kx, "a_saveas", "Uložit na", {}, [this] { (void)saveAs(); });
    addAction(kx, "a_close", "Zavřít", QKeySequence(Qt::Key_Escape), [this] { close(); });
    QMenu* song = bar->addMenu(btkToQString("Píseň"));
    addAction(song, "a_addstack", "Přidat obsah zásobníku", {}, [this] {
        if (book) book->addStack();
    });
    QMenu* printing = bar->addMenu(btkToQString("Tisk"));
    addAction(printing, "a_printpage", "Vytisknout aktuální stránku", QKeySequence(Qt::CTRL | Qt::Key_P),
              [this] { print(false); });
    addAction(printing, "a_printall", "Vytisknout celý melodar", {}, [this] { print(true); });
    QMenu* settings = bar->addMenu(btkToQString("Nastavení"));
    addAction(settings, "a_editkxtype", "Upravit typ melodaru", QKeySequence(Qt::CTRL | Qt::Key_Y),
              [this] { editType(); });
    QMenu* sorting = bar->addMenu(btkToQString("Řazení"));
    addAction(sorting, "a_songsort", "Podle písně", {}, [this] {
        if (!book || !customsortfrm) return;
        if (std::unique_ptr<CustomCompare> order = customsortfrm->Execute()) book->sortSongs(order.get());
    });
    addAction(sorting, "a_autodistrib", "Automatické rozmístění písní", {}, [this] {
        if (book) book->autoDistribute();
    });
    QMenu* insert = bar->addMenu(btkToQString("Vložit"));
    addAction(insert, "a_insertoutline", "Vložit obsah", {}, [this] {
        if (book) book->insertOutline(std::make_unique<KxOutline>(book));
    });
    QMenu* paging = bar->addMenu(btkToQString("Stránkování"));
    addAction(paging, "a_nextpage", "Další strana", QKeySequence(Qt::Key_PageDown), [this] {
        if (pager->currentIndex() == 1) stepSheetSide(1);
        if (pager->currentIndex() == 2) stepLogPage(1);
    });
    addAction(paging, "a_prevpage", "Předchozí strana", QKeySequence(Qt::Key_PageUp), [this] {
        if (pager->currentIndex() == 1) stepSheetSide(-1);
        if (pager->currentIndex() == 2) stepLogPage(-1);
    });
    buildTranspositionActions(bar);
}

void Tmelodarfrm::showWindow() {
    show();
    raise();
    activateWindow();
}

// ---- items

void Tmelodarfrm::FillItemList() {
    {
        const int keep = list->currentRow();
        const QSignalBlocker blocker(list);
        list->clear();
        if (!book) return;
        // The shown item stays highlighted wherever it moved (a sort, an
        // inserted table of contents); a gone one leaves its row.
        int row = -1;
        for (int i = 0; i < book->GetItemCount(); ++i) {
            list->addItem(btkToQString(book->GetItem(i)->displayText()));
            if (book->GetItem(i) == shownItem) row = i;
        }
        if (row < 0 && keep < list->count()) row = keep;
        if (row >= 0) list->setCurrentRow(row);
    }
    // The flags and the text follow the highlighted item.
    listClick();
    showTitle();
}

int Tmelodarfrm::selectedIndex() const {
    const int row = list->currentRow();
    return book && book->GetItem(row) && list->item(row)->isSelected() ? row : -1;
}

void Tmelodarfrm::selectIndex(int i) {
    if (i < 0 || i >= list->count()) {
        list->setCurrentRow(-1);
        list->clearSelection();
    } else {
        list->setCurrentRow(i);
    }
    listClick();
}

void Tmelodarfrm::listClick() {
    KxData* item = book ? book->GetItem(selectedIndex()) : nullptr;
    shownItem = item;
    if (!item) return;
    const QCheckBox* boxes[] = {chnewpage, chskippage, chfixtobegin, chfixtoend};
    const bool flags[] = {item->newpage, item->skippage, item->fixtobegin, item->fixtoend};
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker blocker(const_cast<QCheckBox*>(boxes[i]));
        const_cast<QCheckBox*>(boxes[i])->setChecked(flags[i]);
    }
    showSelectedSong();
}

void Tmelodarfrm::showSelectedSong() {
    KxData* item = book ? book->GetItem(selectedIndex()) : nullptr;
    if (!item || pager->currentIndex() != 0) return;
    // Another kind of item has no text: no song stays shown beside it.
    auto* song = dynamic_cast<SongData*>(item);
    songv->setSongText(song ? song->transposedText() : btkstring());
}

void Tmelodarfrm::flagClicked(QCheckBox* box) {
    // Only the user's click: setting the box from the list changes nothing.
    KxData* item = book ? book->GetItem(selectedIndex()) : nullptr;
    if (!item || !box->hasFocus()) return;
    (box == chnewpage ? item->newpage : item->skippage) = box->isChecked();
    book->itemChanged();
}

void Tmelodarfrm::fixToBeginClick() {
    if (!book) return;
    const int sel = selectedIndex();
    const bool on = chfixtobegin->isChecked();
    if (KxData* item = book->GetItem(sel)) item->fixtobegin = on;
    // Ticked binds every item before the selected one too; cleared frees
    // every item after it (with no selection: every item).
    for (int i = 0; i < book->GetItemCount(); ++i)
        if (on ? (sel >= 0 && i < sel) : (sel < 0 || i > sel)) book->GetItem(i)->fixtobegin = on;
    book->itemChanged();
}

void Tmelodarfrm::fixToEndClick() {
    if (!book) return;
    const int sel = selectedIndex();
    const bool on = chfixtoend->isChecked();
    if (KxData* item = book->GetItem(sel)) item->fixtoend = on;
    for (int i = 0; i < book->GetItemCount(); ++i)
        if (on ? (sel < 0 || i > sel) : (sel >= 0 && i < sel)) book->GetItem(i)->fixtoend = on;
    book->itemChanged();
}

void Tmelodarfrm::deleteSelected() {
    const int sel = selectedIndex();
    if (sel < 0) return;
    book->deleteItem(sel);
    selectIndex(sel - 1);
}

void Tmelodarfrm::movePrev() {
    const int sel = selectedIndex();
    if (sel > 0) book->swapItems(sel, sel - 1);
    selectIndex(sel - 1);
}

void Tmelodarfrm::moveNext() {
    const int sel = selectedIndex();
    if (sel < 0) return;
    if (sel < book->GetItemCount() - 1) book->swapItems(sel, sel + 1);
    selectIndex(sel + 1);
}

void Tmelodarfrm::editProperties() {
    KxData* item = book ? book->GetItem(selectedIndex()) : nullptr;
    if (!item || !customsortfrm) return;
    (void)item->editProperties([](btkXMLNode order) { return customsortfrm->EditOrder(order); });
}

bool Tmelodarfrm::acceptsDrop(const QMimeData* data, bool fromList, int row) const {
    if (!book) return false;
    if (fromList) return row >= 0 && row != selectedIndex() && selectedIndex() >= 0;
    return DraggedSongs(data).count() > 0;
}

void Tmelodarfrm::drop(const QMimeData* data, bool fromList, int row) {
    if (fromList) {
        const int from = selectedIndex();
        book->moveItem(from, row);
        selectIndex(row);
        return;
    }
    // Dropped songs join the end of the book, wherever they fall.
    for (KxSong* song : DraggedSongs(data)) book->dropSong(*song);
}

void Tmelodarfrm::kxtypeChange() {
    if (!book || !book->type || qkxtype->currentIndex() < 0) return;
    book->type->changeBaseType(btkFromQString(qkxtype->currentText()));
    book->setChanged();
    book->applyType();
}

void Tmelodarfrm::refillTypeCombo() {
    const QSignalBlocker blocker(qkxtype);
    qkxtype->clear();
    // The built-in type first, then every type file.
    qkxtype->addItem(btkToQString("default"));
    const btkFileList files(KxTypeWithBase::typeFilePath("*"));
    for (int i = 0; i < files.count(); ++i) {
        btkstring name = files[i];
        name = name.substr(0, name.length() - 4);  // ".kxt"
        if (name.upper() != btkstring("DEFAULT")) qkxtype->addItem(btkToQString(name));
    }
    int current = -1;
    if (book && book->type) {
        const btkstring& base = book->type->basetype;
        current = qkxtype->findText(btkToQString(base.empty() ? btkstring("default") : base));
    }
    qkxtype->setCurrentIndex(current);
}

void Tmelodarfrm::editType() {
    if (!book || !book->type || !kxtypefrm) return;
    if (!kxtypefrm->EditKxType(*book->type)) return;
    book->setChanged();
    book->applyType();
}

void Tmelodarfrm::transpose(const std::function<int(int, const btkstring&)>& next) {
    auto* song = book ? dynamic_cast<SongData*>(book->GetItem(selectedIndex())) : nullptr;
    if (!song) return;
    song->setTransposition(next(song->transposition, song->text));
    showSelectedSong();
}

// ---- file

bool Tmelodarfrm::save() {
    if (!book) return false;
    if (book->fileName.empty()) return saveAs();
    const bool saved = book->save(book->fileName);
    showTitle();
    return saved;
}

void Tmelodarfrm::showTitle() {
    // The book's file name, once it has one.
    const btkstring name = book ? btkFile(book->fileName).fileName() : btkstring();
    setWindowTitle(btkToQString(name.empty() ? btkstring("Melodar") : btkstring("Melodar - ") + name));
}

bool Tmelodarfrm::saveAs() {
    if (!book) return false;
    btkstring path = book->fileName;
    if (!btkDialogs().saveFile(BookFilter, BookFolder(), "kx", path) || path.empty()) return false;
    if (!isUsableBookFile(path)) {
        ErrorBox(btkFormat("Neplatné jméno souboru melodaru: %s", path.c_str()));
        return false;
    }
    const bool saved = book->save(path);
    showTitle();
    return saved;
}

// ---- closing

void Tmelodarfrm::FormCloseQuery(bool& canClose) {
    // A book as its file holds it closes without a question.
    canClose = !book || !book->isChanged() || QuestionBox(CloseQuestion, "yn") == 1;
}

void Tmelodarfrm::FormClose() {
    deleteBook();
    deleteLater();
}

// ---- the window factory

namespace {

class WindowFactory final : public MelodarWindowFactory {
public:
    MelodarWindow* create(Melodar* owned) override {
        auto* window = new Tmelodarfrm();
        KeepAboveMainWindow(window);
        window->setBook(owned);
        window->show();
        return window;
    }
};

}  // namespace

void InstallMelodarWindowFactory(bool install) {
    static WindowFactory factory;
    gMelodarWindowFactory = install ? &factory : nullptr;
}

btkstring BookFolder() {
    const btkstring folder = programDir().join("melodary");
    // A folder that cannot be made leaves the dialog in its parent.
    (void)btkMakeDir(folder);
    return folder;
}

void DeleteMelodar(Melodar* book) {
    if (!book) return;
    if (book->window)
        book->window->deleteWithBook();
    else
        delete book;
}

void RefreshMelodarTypeChoices() {
    for (Melodar* book : OpenMelodars())
        if (book->window) book->window->typeFilesChanged();
}

void CloseAllMelodarWindows() {
    while (OpenMelodars().count() > 0) DeleteMelodar(OpenMelodars()[OpenMelodars().count() - 1]);
}
