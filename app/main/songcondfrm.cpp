#include "app/main/songcondfrm.h"

#include <climits>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

#include "foundation/btkfold.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "query/sqlparser.h"
#include "songs/kxsong.h"

namespace {

const char* const languageCodes[5] = {"cz", "sk", "en", "de", "ru"};

QComboBox* newCombo(QWidget* parent, const QString& name, std::initializer_list<const char*> items) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (const char* item : items) combo->addItem(btkToQString(item));
    return combo;
}

// The texts of the field list in its order: title, author, group, remark,
// text.
btkstring songField(const KxSong* song, int field) {
    switch (field) {
    case 1: return song->title;
    case 2: return song->author;
    case 3: return song->group;
    case 4: return song->remark;
    default: return song->text;
    }
}

// Operator 0 present, 1 equal (2 and 3 are their negations, given by the
// caller).
bool fieldTest(int op, const btkstring& searched, const btkstring& field) {
    return op == 0 ? btkFoldedFind(searched, field) : field == searched;
}

}  // namespace

Tsongcondfrm::Tsongcondfrm(QWidget* parent) : QWidget(parent) {
    setObjectName("songcondfrm");
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 8; ++i) {
        sw[i] = new QToolButton(this);
        sw[i]->setObjectName(QStringLiteral("sw%1").arg(i + 1));
        sw[i]->setCheckable(true);
        sw[i]->setText(QString::number(i + 1));
        grid->addWidget(sw[i], i, 0);
    }
    auto switchOn = [this](int i) { return btkGuarded([this, i](auto&&...) { sw[i]->setChecked(true); }); };
    for (int i = 0; i < 3; ++i) {
        text[i] = new QLineEdit(this);
        text[i]->setObjectName(QStringLiteral("text%1").arg(i + 1));
        op[i] = newCombo(this, QStringLiteral("op%1").arg(i + 1),
                         {"je přítomen", "je roven", "není přítomen", "není roven"});
        fld[i] = newCombo(this, QStringLiteral("fld%1").arg(i + 1),
                          {"Libovolné", "Název", "Autor", "Skupina", "Poznámka", "Text"});
        grid->addWidget(text[i], i, 1);
        grid->addWidget(op[i], i, 2);
        grid->addWidget(fld[i], i, 3);
        QObject::connect(text[i], &QLineEdit::textChanged, this, switchOn(i));
    }
    expr4 = new QLineEdit(this);
    expr4->setObjectName("expr4");
    expr4->setToolTip(btkToQString("Podmínka"));
    grid->addWidget(expr4, 3, 1, 1, 3);
    QObject::connect(expr4, &QLineEdit::textChanged, this, btkGuarded([this](const QString&) {
                         exprModified = true;
                         sw[3]->setChecked(true);
                     }));
    for (int i = 0; i < 2; ++i) {
        num[i] = new QSpinBox(this);
        num[i]->setObjectName(QStringLiteral("num%1").arg(i + 5));
        num[i]->setRange(INT_MIN, INT_MAX);
        numop[i] = newCombo(this, QStringLiteral("op%1").arg(i + 5), {"=", "<>", "<", ">", "<=", ">="});
        numfld[i] = newCombo(this, QStringLiteral("fld%1").arg(i + 5), {"LOCID", "NETID", "Verze"});
        grid->addWidget(num[i], i + 4, 1);
        grid->addWidget(numop[i], i + 4, 2);
        grid->addWidget(numfld[i], i + 4, 3);
        QObject::connect(num[i], &QSpinBox::valueChanged, this, switchOn(i + 4));
    }
    acs7 = newCombo(this, "acs7", {"Jen písně bez akordů", "Jen písně s akordy"});
    grid->addWidget(acs7, 6, 1, 1, 3);
    QObject::connect(acs7, &QComboBox::currentIndexChanged, this, switchOn(6));
    auto* languages = new QHBoxLayout;
    const char* const captions[5] = {"česky", "slovensky", "anglicky", "německy", "rusky"};
    for (int i = 0; i < 5; ++i) {
        lang[i] = new QCheckBox(btkToQString(captions[i]), this);
        lang[i]->setObjectName(QStringLiteral("lang") + QLatin1String(languageCodes[i]));
        languages->addWidget(lang[i]);
        QObject::connect(lang[i], &QCheckBox::clicked, this, switchOn(7));
    }
    grid->addLayout(languages, 7, 1, 1, 3);
    {
        const QSignalBlocker block(acs7);  // the first items are no edit
        SelectFirstComboItems(this);
    }
}

void Tsongcondfrm::ResetSwitches() {
    sw[0]->setChecked(false);
    sw[1]->setChecked(false);
}

bool Tsongcondfrm::Matches(const KxSong* song) {
    for (int i = 0; i < 3; ++i)
        if (sw[i]->isChecked() && !textMatches(i, song)) return false;
    if (sw[3]->isChecked() && !exprMatches(song)) return false;
    for (int i = 0; i < 2; ++i)
        if (sw[i + 4]->isChecked() && !numberMatches(i, song)) return false;
    if (sw[6]->isChecked()) {
        const bool chords = std::strchr(song->text.c_str(), '[') != nullptr;
        if (chords != (acs7->currentIndex() == 1)) return false;
    }
    return !sw[7]->isChecked() || languageMatches(song);
}

bool Tsongcondfrm::textMatches(int i, const KxSong* song) const {
    const btkstring searched = btkFromQString(text[i]->text());
    const int o = op[i]->currentIndex();
    const int f = fld[i]->currentIndex();
    if (o < 0 || o > 3 || f < 0 || f > 5) return false;
    const bool negated = o >= 2;
    if (f > 0) return fieldTest(o % 2, searched, songField(song, f)) != negated;
    // Any field: one match is enough, a negated test must hold for all.
    for (int field = 1; field <= 5; ++field)
        if (fieldTest(o % 2, searched, songField(song, field))) return !negated;
    return negated;
}

bool Tsongcondfrm::exprMatches(const KxSong* song) {
    if (exprModified) {
        exprModified = false;
        expression = parseQueryCondition(btkFromQString(expr4->text()));
    }
    return !expression.isSet() || queryValueIsTrue(expression->evaluate(song));
}

bool Tsongcondfrm::numberMatches(int i, const KxSong* song) const {
    int value;
    switch (numfld[i]->currentIndex()) {
    case 0: value = song->locid; break;
    case 1: value = song->netid; break;
    case 2: value = song->getVersion(); break;
    default: return false;
    }
    const int limit = num[i]->value();
    switch (numop[i]->currentIndex()) {
    case 0: return value == limit;
    case 1: return value != limit;
    case 2: return value < limit;
    case 3: return value > limit;
    case 4: return value <= limit;
    case 5: return value >= limit;
    default: return false;
    }
}

bool Tsongcondfrm::languageMatches(const KxSong* song) const {
    for (int i = 0; i < 5; ++i)
        if (lang[i]->isChecked() && song->lang == languageCodes[i]) return true;
    return false;
}
