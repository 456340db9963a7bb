#include "app/settings/optionsfrm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/main/mainfrm.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkqtfont.h"
#include "songs/appservices.h"
#include "songs/uibridge.h"

// ---- colour panel

ColorPanel::ColorPanel(const char* name, QWidget* parent) : QFrame(parent) {
    setObjectName(QString::fromLatin1(name));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    setMinimumSize(60, 20);
}

void ColorPanel::setColor(btkColor c) {
    setAbsent(c);
    present = true;
}

void ColorPanel::setAbsent(btkColor c) {
    present = false;
    value = c;
    QPalette p = palette();
    p.setColor(QPalette::Window, btkToQColor(c));
    setPalette(p);
}

void ColorPanel::choose() {
    QColor chosen = btkToQColor(value);
    if (!btkDialogs().chooseColor(chosen)) return;
    setColor(colorMake(chosen.red(), chosen.green(), chosen.blue()));
}

void ColorPanel::mousePressEvent(QMouseEvent* event) {
    QFrame::mousePressEvent(event);
    btkGuard([this] { choose(); });
}

// ---- the dialog

namespace {

QSpinBox* spacing(const char* name, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(0, 1000);
    return spin;
}

// A node under the parent, read only: a missing one reads as empty.
btkXMLNode peek(const btkXMLNode& parent, const char* name) { return parent.childByName(name); }

}  // namespace

Toptionsfrm::Toptionsfrm() {
    setObjectName("optionsfrm");
    setWindowTitle(btkToQString("Nastavení"));
    resize(624, 534);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(buildColorsPage(), btkToQString("Barvy"));
    mainwinkeys = new Tkeyeditfrm(this);
    PageControl1->addTab(mainwinkeys, btkToQString("Klávesové zkratky"));
    PageControl1->addTab(buildPrintPage(), btkToQString("Tisk písně"));
    PageControl1->addTab(buildViewPage(), btkToQString("Prohlížení písně"));
    // The colours are kept and written back, but the user never sees them.
    PageControl1->setTabVisible(0, false);
    PageControl1->setCurrentIndex(1);

    BitBtn2 = btkNamedControl<QPushButton>("BitBtn2", "OK", this);
    BitBtn2->setDefault(true);
    BitBtn1 = btkNamedControl<QPushButton>("BitBtn1", "Storno", this);
    QHBoxLayout* buttons = btkButtonRow({BitBtn2, BitBtn1});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { reject(); });
}

QWidget* Toptionsfrm::buildColorsPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    const struct {
        ColorPanel** panel;
        const char* name;
        const char* label;
    } rows[] = {{&ctoolbar, "ctoolbar", "Toolbar"},  {&cgrid, "cgrid", "Tabulka"},
                {&cgroups, "cgroups", "Skupiny"},    {&csongs, "csongs", "Písně ve skupině"},
                {&cedits, "cedits", "Textová pole"}, {&csongv, "csongv", "Text písně"}};
    for (const auto& r : rows) {
        *r.panel = new ColorPanel(r.name, page);
        form->addRow(btkToQString(r.label), *r.panel);
    }
    return page;
}

QWidget* Toptionsfrm::buildPrintPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    fprinttext = new FontButton("fprinttext", "Text", page);
    fprintlabel = new FontButton("fprintlabel", "Návěští", page);
    fprintacs = new FontButton("fprintacs", "Akordy", page);
    fprinttitle = new FontButton("fprinttitle", "Název", page);
    fprintauthor = new FontButton("fprintauthor", "Autor", page);
    int row = 0;
    for (FontButton* b : {fprinttext, fprintlabel, fprintacs, fprinttitle, fprintauthor}) grid->addWidget(b, row++, 0);
    pslspacehi = spacing("pslspacehi", page);
    grid->addWidget(new QLabel(btkToQString("Mezera mezi slokami (% z výšky řádky):"), page), row, 0);
    grid->addWidget(pslspacehi, row++, 1);
    poutacs = btkNamedControl<QCheckBox>("poutacs", "Netisknout akordy", page);
    pinacs = btkNamedControl<QCheckBox>("pinacs", "Akordy uvnitř textu", page);
    grid->addWidget(poutacs, row++, 0);
    grid->addWidget(pinacs, row++, 0);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* Toptionsfrm::buildViewPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    fsongvtext = new FontButton("fsongvtext", "Text", page);
    fsongvlabel = new FontButton("fsongvlabel", "Návěští", page);
    fsongvacs = new FontButton("fsongvacs", "Akordy", page);
    int row = 0;
    for (FontButton* b : {fsongvtext, fsongvlabel, fsongvacs}) grid->addWidget(b, row++, 0);
    vslspacehi = spacing("vslspacehi", page);
    grid->addWidget(new QLabel(btkToQString("Mezera mezi slokami (% z výšky řádky):"), page), row, 0);
    grid->addWidget(vslspacehi, row++, 1);
    voutacs = btkNamedControl<QCheckBox>("voutacs", "Netisknout akordy", page);
    vinacs = btkNamedControl<QCheckBox>("vinacs", "Akordy uvnitř textu", page);
    grid->addWidget(voutacs, row++, 0);
    grid->addWidget(vinacs, row++, 0);
    grid->setRowStretch(row, 1);
    return page;
}

const btkActionList* Toptionsfrm::actions() const {
    if (actionList) return actionList;
    return mainfrm ? &mainfrm->actionlist : nullptr;
}

void Toptionsfrm::LoadOptions() {
    const btkXMLNode& root = OptionsRoot();
    const btkXMLNode settings = peek(peek(root, "settings"), "mainwin");
    const struct {
        ColorPanel* panel;
        const char* attr;
    } colors[] = {{ctoolbar, "toolbar.color"}, {cgroups, "groups.color"}, {csongs, "songs.color"},
                  {csongv, "songv.color"},     {cedits, "edits.color"},   {cgrid, "grid.color"}};
    for (const auto& c : colors) {
        if (settings.hasAttr(c.attr))
            c.panel->setColor(ColorFromText(settings.attr(c.attr)));
        else
            c.panel->setAbsent(ColorFromText(""));
    }

    const btkXMLNode view = peek(root, "view");
    const btkXMLNode viewFonts = peek(view, "fonts");
    fsongvtext->load(peek(viewFonts, "fntext"));
    fsongvlabel->load(peek(viewFonts, "fnlab"));
    fsongvacs->load(peek(viewFonts, "fnacs"));
    vinacs->setChecked(view.intAttr("inacs") != 0);
    voutacs->setChecked(view.intAttr("outacs") != 0);
    vslspacehi->setValue(view.intAttr("slspacehi"));

    if (const btkActionList* list = actions()) mainwinkeys->LoadActions(peek(settings, "actions"), *list);

    const btkXMLNode print = peek(root, "print");
    const btkXMLNode printFonts = peek(print, "fonts");
    fprinttext->load(peek(printFonts, "fntext"));
    fprintlabel->load(peek(printFonts, "fnlab"));
    fprintacs->load(peek(printFonts, "fnacs"));
    fprinttitle->load(peek(printFonts, "fntitle"));
    fprintauthor->load(peek(printFonts, "fnauthor"));
    pinacs->setChecked(print.intAttr("inacs") != 0);
    poutacs->setChecked(print.intAttr("outacs") != 0);
    pslspacehi->setValue(print.intAttr("slspacehi"));
}

void Toptionsfrm::SaveOptions() {
    btkXMLNode& root = OptionsRoot();
    btkXMLNode settings = root.getChild("settings").getChild("mainwin");
    const struct {
        ColorPanel* panel;
        const char* attr;
    } colors[] = {{ctoolbar, "toolbar.color"}, {cgroups, "groups.color"}, {csongs, "songs.color"},
                  {csongv, "songv.color"},     {cedits, "edits.color"},   {cgrid, "grid.color"}};
    for (const auto& c : colors)
        if (c.panel->hasColor()) settings.setAttr(c.attr, ColorToText(c.panel->color()));

    btkXMLNode view = root.getChild("view");
    btkXMLNode viewFonts = view.getChild("fonts");
    fsongvtext->save(viewFonts.getChild("fntext"));
    fsongvlabel->save(viewFonts.getChild("fnlab"));
    fsongvacs->save(viewFonts.getChild("fnacs"));
    view.setIntAttr("inacs", vinacs->isChecked() ? 1 : 0);
    view.setIntAttr("outacs", voutacs->isChecked() ? 1 : 0);
    view.setIntAttr("slspacehi", vslspacehi->value());

    mainwinkeys->SaveActions(settings.getChild("actions"));

    btkXMLNode print = root.getChild("print");
    btkXMLNode printFonts = print.getChild("fonts");
    fprinttext->save(printFonts.getChild("fntext"));
    fprintlabel->save(printFonts.getChild("fnlab"));
    fprintacs->save(printFonts.getChild("fnacs"));
    fprinttitle->save(printFonts.getChild("fntitle"));
    fprintauthor->save(printFonts.getChild("fnauthor"));
    print.setIntAttr("inacs", pinacs->isChecked() ? 1 : 0);
    print.setIntAttr("outacs", poutacs->isChecked() ? 1 : 0);
    print.setIntAttr("slspacehi", pslspacehi->value());
}

void Toptionsfrm::Execute() {
    LoadOptions();
    if ((runner ? runner(*this) : exec()) != QDialog::Accepted) return;
    SaveOptions();
    KxCommonEvent event{KX_EVENT_OPTIONS_CHANGED};
    BroadcastCommonEvent(event);
}
