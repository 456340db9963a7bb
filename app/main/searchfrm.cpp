#include "app/main/searchfrm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main/songcondfrm.h"
#include "app/song/songsetfrm.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/appservices.h"
#include "songs/kxspace.h"
#include "songs/kxview.h"
#include "songs/mainwinmsgs.h"

Tsearchfrm* searchfrm = nullptr;

Tsearchfrm::Tsearchfrm() : btkDialogForm(nullptr, Qt::Tool) {
    setObjectName("searchfrm");
    setWindowTitle(btkToQString("Hledání písní"));
    cond = new Tsongcondfrm(this);
    cond->setObjectName("cond");
    ssc = new Tsongsetctrlfrm(this);
    ssc->setObjectName("ssc");
    ssc->setChoice(2);
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(btkToQString(caption), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    btnext = button("btnext", "Vyhledat další");
    btprev = button("btprev", "Vyhledat předchozí");
    Button3 = button("Button3", "Vytvořit databázi");
    Button4 = button("Button4", "Zavřít");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {btnext, btprev, Button3, Button4}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(ssc);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(cond, 1);
    layout->addLayout(right);
    QObject::connect(btnext, &QPushButton::clicked, this, btkGuarded([this](bool) { btnextClick(); }));
    QObject::connect(btprev, &QPushButton::clicked, this, btkGuarded([this](bool) { btprevClick(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { Button3Click(); }));
    QObject::connect(Button4, &QPushButton::clicked, this, [this] { close(); });
}

void Tsearchfrm::ShowSearch() {
    cond->ResetSwitches();
    show();
    raise();
    activateWindow();
}

void Tsearchfrm::btnextClick() { step(1); }

void Tsearchfrm::btprevClick() { step(-1); }

void Tsearchfrm::step(int direction) {
    if (!gMainWin) return;
    btkCntVec<KxSong*> songs;
    gMainWin->getListSongs(songs);
    const int n = songs.count();
    KxSong* current = gMainWin->getActSong();
    const int start = current ? songs.find(current) : -1;
    // After the start to the end, then from the other end back to the
    // start itself; without a start the whole list once.
    for (int k = 1; k <= n; ++k) {
        const int from = start < 0 && direction < 0 ? n : start;
        const int i = ((from + direction * k) % n + n) % n;
        if (cond->Matches(songs[i])) {
            gMainWin->setActSong(songs[i]);
            return;
        }
    }
    InfoBox("Hledání nebylo úspěšné");
}

void Tsearchfrm::Button3Click() {
    btkCntVec<KxSong*> songs, matching;
    CollectSongSet(ssc->choice(), songs);
    for (KxSong* song : songs)
        if (cond->Matches(song)) matching.add(song);
    if (gKxSpace) {
        gKxSpace->addView(new KxCustomView(matching));
        if (gKxSystem) gKxSystem->postMessage(new M_LastDB);
    }
    close();
}
