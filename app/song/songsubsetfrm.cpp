#include "app/song/songsubsetfrm.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/song/songdifffrm.h"
#include "app/song/viewsongfrm.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxsong.h"
#include "songs/kxview.h"
#include "songs/uibridge.h"

Tsongsubsetfrm* songsubsetfrm = nullptr;

void SubSetSongCellPainter::background(KxSong* song, btkColor& color, bool& set) {
    if (!form->isTicked(song)) return;
    color = 65535;  // yellow
    set = true;
}

void SubSetSongSelector::put(KxSong* song) { form->tick(song); }

void SubSetSongSelector::take(KxSong* song) { form->untick(song); }

void SubSetSongSelector::toggle(KxSong* song) {
    if (form->isTicked(song))
        form->untick(song);
    else
        form->tick(song);
}

bool SubSetSongSelector::marked(KxSong* song) { return form->isTicked(song); }

btkstring SubSetSongSelector::markCaption() { return "Vybráno"; }

Tsongsubsetfrm::Tsongsubsetfrm() : painter(this), selector(this) {
    setObjectName("songsubsetfrm");
    setWindowTitle(btkToQString("Seznam písní"));
    resize(640, 480);
    list = new Tsonggridfrm(this);
    list->addCellPainter(&painter);
    list->setSongSelector(&selector);
    list->applyOptionsNode(OptionsRoot().getChild("songsubsetlist"));
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton(btkToQString("Storno"), this);
    BitBtn2->setObjectName("BitBtn2");
    btselall = new QPushButton(btkToQString("Vybrat vše"), this);
    btselall->setObjectName("btselall");
    btremoveall = new QPushButton(btkToQString("Odebrat vše"), this);
    btremoveall->setObjectName("btremoveall");
    btview = new QPushButton(btkToQString("Prohlédnout (F3)"), this);
    btview->setObjectName("btview");
    btdiff = new QPushButton(btkToQString("Rozdíl (F4)"), this);
    btdiff->setObjectName("btdiff");
    for (QPushButton* button : {BitBtn1, BitBtn2, btselall, btremoveall, btview, btdiff}) button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {btselall, btremoveall, btview, btdiff}) buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
    QObject::connect(btselall, &QPushButton::clicked, this, btkGuarded([this](bool) { selectAll(); }));
    QObject::connect(btremoveall, &QPushButton::clicked, this, btkGuarded([this](bool) { removeAll(); }));
    QObject::connect(btview, &QPushButton::clicked, this, btkGuarded([this](bool) { viewSong(); }));
    QObject::connect(btdiff, &QPushButton::clicked, this, btkGuarded([this](bool) { diffSong(); }));
}

Tsongsubsetfrm::~Tsongsubsetfrm() {
    // The grid must not ask a painter or a selector that is gone.
    delete list;
    list = nullptr;
}

bool Tsongsubsetfrm::selectSongSubset(const btkCntVec<KxSong*>& songs, btkCntVec<KxSong*>& callerTicked,
                                      const btkCntVec<KxSong*>* partners) {
    // The temporary view goes when the window closes, whichever way.
    KxPtr<KxCustomView> view(new KxCustomView(songs));
    ticked.clear();
    tickedSet.clear();
    for (KxSong* song : callerTicked) tick(song);
    offered = &songs;
    partnerSongs = partners;
    btdiff->setEnabled(partners != nullptr);
    list->setView(view.get());
    struct Forget {
        Tsongsubsetfrm* form;
        ~Forget() {
            form->list->saveLayout();
            form->list->setView(nullptr);
            form->offered = nullptr;
            form->partnerSongs = nullptr;
        }
    } forget{this};
    if ((runner ? runner(*this) : exec()) != QDialog::Accepted) return false;
    callerTicked = ticked;
    return true;
}

void Tsongsubsetfrm::tick(KxSong* song) {
    if (song && tickedSet.insert(song).second) ticked.add(song);
}

void Tsongsubsetfrm::untick(KxSong* song) {
    if (tickedSet.erase(song)) ticked.remove(song);
}

void Tsongsubsetfrm::selectAll() {
    ticked.clear();
    tickedSet.clear();
    if (offered)
        for (KxSong* song : *offered) tick(song);
    list->grid->viewport()->update();
}

void Tsongsubsetfrm::removeAll() {
    ticked.clear();
    tickedSet.clear();
    list->grid->viewport()->update();
}

void Tsongsubsetfrm::viewSong() {
    KxSong* song = list->currentSong();
    if (song && viewsongfrm) (void)viewsongfrm->Execute(*song);
}

void Tsongsubsetfrm::diffSong() {
    KxSong* song = list->currentSong();
    if (!song || !offered || !partnerSongs || !songdifffrm) return;
    const int index = offered->find(song);
    if (index < 0 || index >= partnerSongs->count()) return;
    if (KxSong* partner = (*partnerSongs)[index]) songdifffrm->Execute(*song, *partner);
}

void Tsongsubsetfrm::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier && (event->key() == Qt::Key_F3 || event->key() == Qt::Key_F4)) {
        btkGuard([&] { event->key() == Qt::Key_F3 ? viewSong() : diffSong(); });
        return;
    }
    btkDialogForm::keyPressEvent(event);
}

bool selectSongSubset(const btkCntVec<KxSong*>& songs, btkCntVec<KxSong*>& ticked, const btkCntVec<KxSong*>* partners) {
    return songsubsetfrm && songsubsetfrm->selectSongSubset(songs, ticked, partners);
}
