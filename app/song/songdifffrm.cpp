#include "app/song/songdifffrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkqtfont.h"
#include "songs/kxsong.h"

Tsongdifffrm* songdifffrm = nullptr;

namespace {

QLineEdit* fieldEdit(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

QLabel* fieldLabel(QWidget* parent, const char* name, const char* caption, int height) {
    auto* label = new QLabel(btkToQString(caption), parent);
    label->setObjectName(name);
    label->setFixedHeight(height);
    return label;
}

void setLabelColor(QLabel* label, btkColor color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, btkToQColor(color));
    label->setPalette(palette);
}

}  // namespace

Tsongdifffrm::Tsongdifffrm() {
    setObjectName("songdifffrm");
    setWindowTitle(btkToQString("Rozdíl písní"));
    resize(800, 640);
    auto* body = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        Column& c = songs[i];
        const QString n = QString::number(i + 1);
        c.songpanel = new QWidget(this);
        c.songpanel->setObjectName("songpanel" + n);
        c.title = fieldEdit(c.songpanel, "title" + n);
        c.author = fieldEdit(c.songpanel, "author" + n);
        c.group = fieldEdit(c.songpanel, "group" + n);
        c.remark = fieldEdit(c.songpanel, "remark" + n);
        c.songv = new Tsongvfrm(c.songpanel);
        c.songv->setObjectName("songv" + n);
        auto* column = new QVBoxLayout(c.songpanel);
        column->setContentsMargins(0, 0, 0, 0);
        for (QWidget* w :
             {static_cast<QWidget*>(c.title), static_cast<QWidget*>(c.author), static_cast<QWidget*>(c.group)})
            column->addWidget(w);
        column->addWidget(c.songv, 1);
        column->addWidget(c.remark);
    }
    // The labels stand level with the edits of their rows.
    const int row = songs[0].title->sizeHint().height();
    leftpanel = new QWidget(this);
    leftpanel->setObjectName("leftpanel");
    ltitle = fieldLabel(leftpanel, "ltitle", "Název", row);
    lauthor = fieldLabel(leftpanel, "lauthor", "Autor", row);
    lgroup = fieldLabel(leftpanel, "lgroup", "Skupina", row);
    ltext = fieldLabel(leftpanel, "ltext", "Text", row);
    lremark = fieldLabel(leftpanel, "lremark", "Poznámka", row);
    auto* labels = new QVBoxLayout(leftpanel);
    labels->setContentsMargins(0, 0, 0, 0);
    for (QLabel* label : {ltitle, lauthor, lgroup, ltext}) labels->addWidget(label);
    labels->addStretch(1);
    labels->addWidget(lremark);
    body->addWidget(leftpanel);
    body->addWidget(songs[0].songpanel, 1);
    body->addWidget(songs[1].songpanel, 1);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(41);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), Panel1);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton(btkToQString("Storno"), Panel1);
    BitBtn2->setObjectName("BitBtn2");
    auto* buttons = new QHBoxLayout(Panel1);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(Panel1);
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
}

void Tsongdifffrm::Execute(const AbstractSongData& first, const AbstractSongData& second) {
    const AbstractSongData* data[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        Column& c = songs[i];
        c.title->setText(btkToQString(data[i]->getTitle()));
        c.author->setText(btkToQString(data[i]->getAuthor()));
        c.group->setText(btkToQString(data[i]->getGroup()));
        c.remark->setText(btkToQString(data[i]->getRemark()));
        c.songv->setSongText(data[i]->getText());
    }
    const struct {
        QLabel* label;
        btkstring (AbstractSongData::*field)() const;
    } fields[] = {
        {ltitle, &AbstractSongData::getTitle}, {lauthor, &AbstractSongData::getAuthor},
        {lgroup, &AbstractSongData::getGroup}, {lremark, &AbstractSongData::getRemark},
        {ltext, &AbstractSongData::getText},
    };
    for (const auto& f : fields) {
        const bool equal = (first.*f.field)() == (second.*f.field)();
        setLabelColor(f.label, equal ? 0 : 255);
    }
    (void)(runner ? runner(*this) : exec());
}
