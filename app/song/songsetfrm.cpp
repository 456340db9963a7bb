#include "app/song/songsetfrm.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "songs/appservices.h"

Tsongsetfrm* songsetfrm = nullptr;

Tsongsetctrlfrm::Tsongsetctrlfrm(QWidget* parent) : QWidget(parent) {
    setObjectName("setctrl");
    songsrc = new QGroupBox(btkToQString("Množina písní"), this);
    songsrc->setObjectName("songsrc");
    buttons = new QButtonGroup(this);
    const char* const captions[4] = {"Aktuální píseň", "Zásobník", "Aktuální databáze", "Všechny databáze"};
    auto* column = new QVBoxLayout(songsrc);
    for (int i = 0; i < 4; ++i) {
        choices[i] = new QRadioButton(btkToQString(captions[i]), songsrc);
        choices[i]->setObjectName(QStringLiteral("songsrc%1").arg(i));
        buttons->addButton(choices[i], i);
        column->addWidget(choices[i]);
    }
    choices[0]->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(songsrc);
}

int Tsongsetctrlfrm::choice() const { return std::max(buttons->checkedId(), 0); }

void Tsongsetctrlfrm::setChoice(int newChoice) {
    if (newChoice >= 0 && newChoice < 4) choices[newChoice]->setChecked(true);
}

Tsongsetfrm::Tsongsetfrm() {
    setObjectName("songsetfrm");
    setWindowTitle(btkToQString("Výběr písní"));
    label = new QLabel(this);
    label->setObjectName("label");
    label->setWordWrap(true);
    setctrl = new Tsongsetctrlfrm(this);
    BitBtn1 = btkNamedControl<QPushButton>("BitBtn1", "OK", this);
    BitBtn1->setDefault(true);
    BitBtn2 = btkNamedControl<QPushButton>("BitBtn2", "Storno", this);
    QHBoxLayout* buttons = btkButtonRow({BitBtn1, BitBtn2});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(setctrl);
    layout->addLayout(buttons);
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
}

bool Tsongsetfrm::ask(const char* question, int& choice) {
    const QString text = btkToQString(question);
    label->setText(text);
    // Wide enough for the question on one line.
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 8);
    adjustSize();
    const int confirmed = setctrl->choice();
    if ((runner ? runner(*this) : exec()) != QDialog::Accepted) {
        setctrl->setChoice(confirmed);
        return false;
    }
    choice = setctrl->choice();
    return true;
}

bool AskSongSet(const char* question, btkCntVec<KxSong*>& songs) {
    int choice = 0;
    if (!songsetfrm || !songsetfrm->ask(question, choice)) return false;
    CollectSongSet(choice, songs);
    return true;
}
