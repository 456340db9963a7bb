#include "app/song/editsongfrm.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/main/mainactions.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/chorddifficulty.h"
#include "songs/chords.h"
#include "songs/kxsong.h"
#include "songs/lineends.h"
#include "songs/uibridge.h"

Teditsongfrm* editsongfrm = nullptr;

namespace {

constexpr int PreviewPage = 2;

QLineEdit* addField(QFormLayout* form, const char* label, const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    form->addRow(btkToQString(label), edit);
    return edit;
}

}  // namespace

Teditsongfrm::Teditsongfrm() {
    setObjectName("editsongfrm");
    setWindowTitle(btkToQString("Editace písně"));
    resize(870, 640);

    buildPages();
    buildSongMenu();
    buildTranspositions();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(pager);
    QObject::connect(pager, &QTabWidget::currentChanged, this, btkGuarded([this](int page) { pagerChange(page); }));
}

void Teditsongfrm::buildPages() {
    pager = new QTabWidget(this);
    pager->setObjectName("pager");
    auto* songPage = new QWidget;
    songPage->setObjectName("TabSheet1");
    auto* form = new QFormLayout(songPage);
    title = addField(form, "Název", "title");
    group = addField(form, "Skupina", "group");
    author = addField(form, "Autor", "author");
    remark = addField(form, "Poznámka", "remark");
    text = new QPlainTextEdit;
    text->setObjectName("text");
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(13);
    text->setFont(mono);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    songv = new Tsongvfrm(nullptr);
    pager->addTab(songPage, btkToQString("Píseň"));
    pager->addTab(text, btkToQString("Text"));
    pager->addTab(songv, btkToQString("Náhled"));
}

void Teditsongfrm::buildSongMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    QMenu* songMenu = MainMenu1->addMenu(btkToQString("Píseň"));
    Uloit1 = songMenu->addAction(btkToQString("Uložit"));
    Uloit1->setObjectName("Uloit1");
    Uloit1->setShortcut(QKeySequence(Qt::Key_F2));
    Stornovatzmny1 = songMenu->addAction(btkToQString("Stornovat změny"));
    Stornovatzmny1->setObjectName("Stornovatzmny1");
    songMenu->addSeparator();
    Konec1 = songMenu->addAction(btkToQString("Konec"));
    Konec1->setObjectName("Konec1");
    Konec1->setShortcut(QKeySequence(Qt::Key_Escape));
    QObject::connect(Uloit1, &QAction::triggered, this, btkGuarded([this](bool) { SaveSong(); }));
    QObject::connect(Stornovatzmny1, &QAction::triggered, this, btkGuarded([this](bool) { LoadSong(); }));
    QObject::connect(Konec1, &QAction::triggered, this, btkGuarded([this](bool) { close(); }));
}

void Teditsongfrm::buildTranspositions() {
    // The transpositions: fixed steps, and the easiest and simplest keys by
    // the chord difficulties of the options (read anew on every use).
    // The captions are the main window's.
    const struct {
        const char* name;
        QKeySequence key;
        int shift;  // 0: chosen by the chord difficulties
        bool leastMaximum;
    } transpositions[] = {
        {"a_trnext", QKeySequence(Qt::Key_F6), 1, false},
        {"a_trprev", QKeySequence(Qt::Key_F5), -1, false},
        {"a_trnext5", QKeySequence(Qt::SHIFT | Qt::Key_F6), 7, false},
        {"a_trprev5", QKeySequence(Qt::SHIFT | Qt::Key_F5), -7, false},
        {"a_treasy", QKeySequence(), 0, true},
        {"a_trsimple", QKeySequence(), 0, false},
    };
    QMenu* transpMenu = MainMenu1->addMenu(btkToQString("Transpozice"));
    for (const auto& t : transpositions) {
        const char* caption = MainActionCaption(t.name);
        QAction* a = actionlist.add(this, t.name, caption, "Transpozice");
        a->setShortcut(t.key);
        a->setStatusTip(btkToQString(caption));
        transpMenu->addAction(a);
        addAction(a);
        QObject::connect(a, &QAction::triggered, this, btkGuarded([this, shift = t.shift, most = t.leastMaximum](bool) {
                             int by = shift;
                             if (by == 0) {
                                 int leastTotal = 0, leastMaximum = 0;
                                 SongChordDifficulty(editedText(),
                                                     LoadChordDifficulties(OptionsRoot().childByName("chorddifs")),
                                                     leastTotal, leastMaximum);
                                 by = most ? leastMaximum : leastTotal;
                             }
                             transposeText(by);
                         }));
    }
}

bool Teditsongfrm::Execute(KxSong* song) {
    if (!song) return false;
    songSaved = false;
    editedSong = song;
    LoadSong();
    title->setFocus();
    runner ? runner(*this) : exec();
    editedSong = nullptr;
    return songSaved;
}

void Teditsongfrm::LoadSong() {
    if (!editedSong) return;
    title->setText(btkToQString(editedSong->title));
    author->setText(btkToQString(editedSong->author));
    remark->setText(btkToQString(editedSong->remark));
    group->setText(btkToQString(editedSong->group));
    text->setPlainText(btkToQString(editedSong->text));
    for (QLineEdit* edit : {title, author, remark, group}) edit->setModified(false);
    text->document()->setModified(false);
    if (pager->currentIndex() == PreviewPage) showPreview();
}

void Teditsongfrm::SaveSong() {
    if (!editedSong) return;
    songSaved = true;
    editedSong->title = btkFromQString(title->text());
    editedSong->group = btkFromQString(group->text());
    editedSong->author = btkFromQString(author->text());
    editedSong->remark = btkFromQString(remark->text());
    editedSong->text = editedText();
    editedSong->changed();
    editedSong->setModified(true);
    for (QLineEdit* edit : {title, author, remark, group}) edit->setModified(false);
    text->document()->setModified(false);
}

btkstring Teditsongfrm::editedText() const { return StripCR(btkFromQString(text->toPlainText())); }

void Teditsongfrm::transposeText(int shift) {
    text->setPlainText(btkToQString(TransposeText(editedText(), shift)));
    // The transposed text is an edit like any other: closing asks before it
    // is lost.
    text->document()->setModified(true);
    if (pager->currentIndex() == PreviewPage) showPreview();
}

bool Teditsongfrm::isModified() const {
    for (const QLineEdit* edit : {title, author, remark, group})
        if (edit->isModified()) return true;
    return text->document()->isModified();
}

void Teditsongfrm::FormCloseQuery(bool& canClose) {
    canClose = true;
    if (!isModified()) return;
    switch (QuestionBox("Píseň změněna, uložit do databáze?", "ync")) {
    case 1: SaveSong(); break;
    case 2: break;
    default: canClose = false;
    }
}

void Teditsongfrm::pagerChange(int page) {
    if (page == PreviewPage) showPreview();
}

void Teditsongfrm::showPreview() {
    // The preview shows the edits, saved or not.
    songv->setSongText(editedText());
}
