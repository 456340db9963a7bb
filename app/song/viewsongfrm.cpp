#include "app/song/viewsongfrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxsong.h"

Tviewsongfrm* viewsongfrm = nullptr;

namespace {

QLabel* heading(QWidget* parent, const char* name, int pixels, bool bold, bool italic) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    return label;
}

}  // namespace

Tviewsongfrm::Tviewsongfrm() {
    setObjectName("viewsongfrm");
    setWindowTitle(btkToQString("Prohlížení písně"));
    resize(520, 640);
    title = heading(this, "title", 23, true, false);
    title->setAlignment(Qt::AlignCenter);
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    author = heading(Panel1, "author", 16, false, true);
    group = heading(Panel1, "group", 16, true, false);
    auto* line = new QHBoxLayout(Panel1);
    line->setContentsMargins(5, 0, 5, 0);
    line->addWidget(author, 1);
    line->addWidget(group);
    remark = new QLabel(this);
    remark->setObjectName("remark");
    remark->setContentsMargins(5, 5, 5, 5);
    remark->setWordWrap(true);
    songv = new Tsongvfrm(this);
    BitBtn1 = btkNamedControl<QPushButton>("BitBtn1", "OK", this);
    BitBtn2 = btkNamedControl<QPushButton>("BitBtn2", "Storno", this);
    QHBoxLayout* buttons = btkButtonRow({BitBtn1, BitBtn2});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(Panel1);
    layout->addWidget(remark);
    layout->addWidget(songv, 1);
    layout->addLayout(buttons);
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
}

int Tviewsongfrm::Execute(const AbstractSongData& song) {
    title->setText(btkToQString(song.getTitle()));
    author->setText(btkToQString(song.getAuthor()));
    group->setText(btkToQString(song.getGroup()));
    const btkstring remarkText = song.getRemark();
    remark->setText(btkToQString(remarkText));
    remark->setVisible(!remarkText.empty());
    songv->setSongText(song.getText());
    return runner ? runner(*this) : exec();
}
