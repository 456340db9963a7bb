#include "app/exchange/expfpropsframes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "songs/lineends.h"

namespace {

QPlainTextEdit* memo(const char* name, QWidget* parent) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromLatin1(name));
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    return m;
}

QLineEdit* edit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

// Memos keep line feeds only, whatever was typed or pasted.
void toMemo(QPlainTextEdit* m, const btkstring& text) { m->setPlainText(btkToQString(StripCR(text))); }
btkstring fromMemo(const QPlainTextEdit* m) { return StripCR(btkFromQString(m->toPlainText())); }

}  // namespace

// ---- text options

Texpfpropstextfrm::Texpfpropstextfrm(QWidget* parent) : QWidget(parent) {
    setObjectName("text");
    inacs = btkNamedControl<QCheckBox>("inacs", "Akordy uvnitř textu", this);
    outacs = btkNamedControl<QCheckBox>("outacs", "Bez akordů", this);
    textlab = btkNamedControl<QCheckBox>("textlab", "Návěští v textu", this);
    auto* layout = new QVBoxLayout(this);
    for (QCheckBox* b : {inacs, outacs, textlab}) layout->addWidget(b);
    layout->addStretch();
}

void Texpfpropstextfrm::loadProps(const TextExporterProps& props) {
    inacs->setChecked(props.inacs);
    outacs->setChecked(props.outacs);
    textlab->setChecked(props.textlab);
}

void Texpfpropstextfrm::saveProps(TextExporterProps& props) const {
    props.inacs = inacs->isChecked();
    props.outacs = outacs->isChecked();
    props.textlab = textlab->isChecked();
}

// ---- RTF fonts

Texpfpropsrtftextfrm::Texpfpropsrtftextfrm(QWidget* parent) : QWidget(parent) {
    setObjectName("rtftext");
    ftext = new FontButton("ftext", "Text", this);
    facs = new FontButton("facs", "Akordy", this);
    flab = new FontButton("flab", "Návěští", this);
    // The song text is set in columns: its chooser offers fixed-pitch fonts.
    for (FontButton* b : {ftext, facs, flab}) b->fixedPitch = true;
    auto* layout = new QVBoxLayout(this);
    for (FontButton* b : {ftext, facs, flab}) layout->addWidget(b);
    auto* note = new QLabel(btkToQString("Jméno a velikost fontu se pro akordy i návěští bere z fontu pro text"), this);
    note->setWordWrap(true);
    // A wrapped label asks for one line only: room for two keeps its first
    // line in sight in a dialog of the default width.
    note->setMinimumHeight(2 * note->fontMetrics().lineSpacing() + 2);
    layout->addWidget(note);
}

void Texpfpropsrtftextfrm::loadProps(const RTFSongExporterProps& props) {
    ftext->setRecord(props.fntext);
    flab->setRecord(props.fnlab);
    facs->setRecord(props.fnacs);
}

void Texpfpropsrtftextfrm::saveProps(RTFSongExporterProps& props) const {
    props.fntext = ftext->record();
    props.fnlab = flab->record();
    props.fnacs = facs->record();
}

Texpfpropsrtffrm::Texpfpropsrtffrm(QWidget* parent) : QWidget(parent) {
    setObjectName("rtf");
    ftitle = new FontButton("ftitle", "Název", this);
    fauthor = new FontButton("fauthor", "Autor", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ftitle);
    layout->addWidget(fauthor);
}

void Texpfpropsrtffrm::loadProps(const RTFExporterProps& props) {
    ftitle->setRecord(props.fntitle);
    fauthor->setRecord(props.fnauthor);
}

void Texpfpropsrtffrm::saveProps(RTFExporterProps& props) const {
    props.fntitle = ftitle->record();
    props.fnauthor = fauthor->record();
}

// ---- templates

Texpfpropscustomfrm::Texpfpropscustomfrm(QWidget* parent) : QWidget(parent) {
    setObjectName("custom");
    auto* grid = new QGridLayout(this);
    int row = 0;
    const struct {
        QPlainTextEdit** field;
        const char* name;
        const char* label;
    } memos[] = {{&begindoc, "begindoc", "Začátek dokumentu"},
                 {&enddoc, "enddoc", "Konec dokumentu"},
                 {&beginsong, "beginsong", "Začátek písně"},
                 {&endsong, "endsong", "Konec písně"}};
    for (const auto& m : memos) {
        *m.field = memo(m.name, this);
        grid->addWidget(new QLabel(btkToQString(m.label), this), row, 0);
        grid->addWidget(*m.field, row++, 1, 1, 2);
    }
    grid->addWidget(new QLabel(btkToQString("Začátek"), this), row, 1);
    grid->addWidget(new QLabel(btkToQString("Konec"), this), row++, 2);
    const struct {
        QLineEdit** begin;
        QLineEdit** end;
        const char* beginName;
        const char* endName;
        const char* label;
    } pairs[] = {{&begintextline, &endtextline, "begintextline", "endtextline", "Textová řádka"},
                 {&beginmixedline, &endmixedline, "beginmixedline", "endmixedline", "Smíšená řádka"},
                 {&beginchord, &endchord, "beginchord", "endchord", "Akord"},
                 {&beginlabel, &endlabel, "beginlabel", "endlabel", "Návěští"},
                 {&beginacline, &endacline, "beginacline", "endacline", "Akordová řádka"}};
    for (const auto& p : pairs) {
        *p.begin = edit(p.beginName, this);
        *p.end = edit(p.endName, this);
        grid->addWidget(new QLabel(btkToQString(p.label), this), row, 0);
        grid->addWidget(*p.begin, row, 1);
        grid->addWidget(*p.end, row++, 2);
    }
    songsep = memo("songsep", this);
    grid->addWidget(new QLabel(btkToQString("Separátor písní"), this), row, 0);
    grid->addWidget(songsep, row++, 1, 1, 2);
    auto* help = new QLabel(btkToQString("Parametry šablon:\n[#TITLE] - název písně\n[#AUTHOR] - autor písně\n"
                                         "[#GROUP] - skupina písně\n[#REMARK] - poznámka písně\n"
                                         "[#NL] - přechod na novou řádku"),
                            this);
    grid->addWidget(help, 0, 3, row, 1, Qt::AlignTop);
}

void Texpfpropscustomfrm::loadProps(const CustomExporterProps& p) {
    toMemo(begindoc, p.begindoc);
    toMemo(enddoc, p.enddoc);
    toMemo(beginsong, p.beginsong);
    toMemo(endsong, p.endsong);
    toMemo(songsep, p.songsep);
    const std::pair<QLineEdit*, const btkstring*> lines[] = {
        {begintextline, &p.begintextline}, {endtextline, &p.endtextline}, {beginmixedline, &p.beginmixedline},
        {endmixedline, &p.endmixedline},   {beginchord, &p.beginchord},   {endchord, &p.endchord},
        {beginlabel, &p.beginlabel},       {endlabel, &p.endlabel},       {beginacline, &p.beginacline},
        {endacline, &p.endacline}};
    for (const auto& [e, value] : lines) e->setText(btkToQString(*value));
}

void Texpfpropscustomfrm::saveProps(CustomExporterProps& p) const {
    p.begindoc = fromMemo(begindoc);
    p.enddoc = fromMemo(enddoc);
    p.beginsong = fromMemo(beginsong);
    p.endsong = fromMemo(endsong);
    p.songsep = fromMemo(songsep);
    const std::pair<const QLineEdit*, btkstring*> lines[] = {
        {begintextline, &p.begintextline}, {endtextline, &p.endtextline}, {beginmixedline, &p.beginmixedline},
        {endmixedline, &p.endmixedline},   {beginchord, &p.beginchord},   {endchord, &p.endchord},
        {beginlabel, &p.beginlabel},       {endlabel, &p.endlabel},       {beginacline, &p.beginacline},
        {endacline, &p.endacline}};
    for (const auto& [e, value] : lines) *value = btkFromQString(e->text());
}
