#include "app/book/kxtypefrm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/settings/customsortfrm.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkxmltree.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "songbook/kxtype.h"

Tkxtypefrm* kxtypefrm = nullptr;

namespace {

// Font buttons in the order of KxTypeFontNames.
const struct {
    const char* control;
    const char* caption;
} FontButtons[9] = {
    {"fprinttext", "Text"},
    {"fprintlabel", "Návěští"},
    {"fprintacs", "Akordy"},
    {"fprinttitle", "Název"},
    {"fprintauthor", "Autor"},
    {"fprintoutlinetitle", "Název písně v obsahu"},
    {"fprintoutlinenumber", "Čislo stránky v obsahu"},
    {"fprintheader", "Záhlaví"},
    {"fprintfooter", "Zápatí"},
};

// The ranges a type file is clamped to on reading.
constexpr int MaxMillimetres = KxTypeLimits::MaxMillimetres;
constexpr int MaxPercent = KxTypeLimits::MaxPercent;
constexpr int MaxGrid = KxTypeLimits::MaxGrid;

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(btkToQString(caption), parent);
    box->setObjectName(name);
    return box;
}

void setBox(QCheckBox* box, const btkXMLNode& node, const char* attr) { box->setChecked(node.intAttr(attr) != 0); }

}  // namespace

QSpinBox* MakeSpinBox(QWidget* parent, const char* name, int minimum, int maximum) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    return spin;
}

Tkxtypefrm::Tkxtypefrm() {
    setObjectName("kxtypefrm");
    setWindowTitle(btkToQString("Typ melodaru"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(buildGeneralPage(), btkToQString("Obecné"));
    PageControl1->addTab(buildFontPage(), btkToQString("Fonty"));
    PageControl1->addTab(buildPagePage(), btkToQString("Vzhled stránky"));
    PageControl1->addTab(buildHeadFootPage(), btkToQString("Záhlaví a zápatí"));
    BitBtn1 = btkNamedControl<QPushButton>("BitBtn1", "OK", this);
    BitBtn2 = btkNamedControl<QPushButton>("BitBtn2", "Storno", this);
    QHBoxLayout* buttons = btkButtonRow({BitBtn1, BitBtn2});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
}

QWidget* Tkxtypefrm::buildGeneralPage() {
    auto* page = new QWidget(PageControl1);
    basetype = new QComboBox(page);
    basetype->setObjectName("basetype");
    kxtypename = new QLineEdit(page);
    kxtypename->setObjectName("kxtypename");
    kxtypename->setReadOnly(true);
    savediff = checkBox(page, "savediff", "Ukládat jen rozdíl oproti bázovému typu melodaru");
    outlinecolcnt = MakeSpinBox(page, "outlinecolcnt", 1, KxTypeLimits::MaxOutlineColumns);
    autodistrib = checkBox(page, "autodistrib", "Automatické rozmístění");
    Button2 = new QPushButton(btkToQString("Řazení..."), page);
    Button2->setObjectName("Button2");
    Button3 = new QPushButton(btkToQString("Zkopírovat"), page);
    Button3->setObjectName("Button3");
    // Read-only, and looking so: the window's background, no frame.
    kxtypename->setFrame(false);
    kxtypename->setBackgroundRole(QPalette::Window);
    QPalette readOnly = kxtypename->palette();
    readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Window));
    kxtypename->setPalette(readOnly);
    // Wide enough for long type names.
    basetype->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    basetype->setMinimumContentsLength(24);
    auto* baseRow = new QHBoxLayout;
    baseRow->addWidget(basetype, 1);
    baseRow->addWidget(Button3);
    auto* form = new QFormLayout(page);
    form->addRow(btkToQString("Název typu:"), kxtypename);
    form->addRow(btkToQString("Bázový typ:"), baseRow);
    form->addRow(savediff);
    form->addRow(btkToQString("Počet sloupců v obsahu:"), outlinecolcnt);
    form->addRow(autodistrib, Button2);
    QObject::connect(basetype, &QComboBox::currentIndexChanged, this, btkGuarded([this](int) { basetypeChange(); }));
    QObject::connect(Button2, &QPushButton::clicked, this, btkGuarded([this](bool) { Button2Click(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { Button3Click(); }));
    return page;
}

QWidget* Tkxtypefrm::buildFontPage() {
    auto* page = new QWidget(PageControl1);
    auto* layout = new QVBoxLayout(page);
    for (int i = 0; i < 9; ++i) {
        fontButtons[i] = new QPushButton(btkToQString(FontButtons[i].caption), page);
        fontButtons[i]->setObjectName(FontButtons[i].control);
        layout->addWidget(fontButtons[i]);
        QObject::connect(fontButtons[i], &QPushButton::clicked, this,
                         btkGuarded([this, i](bool) { fontbuttonclick(i); }));
    }
    layout->addStretch(1);
    return page;
}

QWidget* Tkxtypefrm::buildPagePage() {
    auto* page = new QWidget(PageControl1);
    hcnt = MakeSpinBox(page, "hcnt", 1, MaxGrid);
    vcnt = MakeSpinBox(page, "vcnt", 1, MaxGrid);
    leftsp = MakeSpinBox(page, "leftsp", -MaxMillimetres, MaxMillimetres);
    rightsp = MakeSpinBox(page, "rightsp", -MaxMillimetres, MaxMillimetres);
    topsp = MakeSpinBox(page, "topsp", -MaxMillimetres, MaxMillimetres);
    bottomsp = MakeSpinBox(page, "bottomsp", -MaxMillimetres, MaxMillimetres);
    auto* orientationBox = new QGroupBox(btkToQString("Orientace"), page);
    orientationBox->setObjectName("orientation");
    orientation[0] = new QRadioButton(btkToQString("Na výšku (portrét)"), orientationBox);
    orientation[1] = new QRadioButton(btkToQString("Na šířku (krajina)"), orientationBox);
    auto* group = new QButtonGroup(orientationBox);
    auto* orientationLayout = new QVBoxLayout(orientationBox);
    for (QRadioButton* r : orientation) {
        group->addButton(r);
        orientationLayout->addWidget(r);
    }
    a4distrib = new QComboBox(page);
    a4distrib->setObjectName("a4distrib");
    a4distrib->addItem(btkToQString("Sešit"));
    a4distrib->addItem(btkToQString("Do řádků"));
    margintype = checkBox(page, "margintype", "Použít složité odsazení");
    grpmargin = new QGroupBox(btkToQString("Složité odsazení v mm"), page);
    grpmargin->setObjectName("grpmargin");
    hscr = new QScrollArea(grpmargin);
    hscr->setObjectName("hscr");
    vscr = new QScrollArea(grpmargin);
    vscr->setObjectName("vscr");
    for (QScrollArea* area : {hscr, vscr}) {
        area->setWidget(new QWidget(area));
        area->setWidgetResizable(true);
    }
    auto* grid = new QGridLayout(grpmargin);
    grid->addWidget(new QLabel(btkToQString("Zleva"), grpmargin), 0, 0);
    grid->addWidget(new QLabel(btkToQString("Zprava"), grpmargin), 0, 1);
    grid->addWidget(hscr, 1, 0, 1, 2);
    grid->addWidget(new QLabel(btkToQString("Zezhora"), grpmargin), 0, 2);
    grid->addWidget(new QLabel(btkToQString("Zezdola"), grpmargin), 0, 3);
    grid->addWidget(vscr, 1, 2, 1, 2);

    auto* form = new QFormLayout(page);
    form->addRow(btkToQString("Počet malých stránek horizontálně:"), hcnt);
    form->addRow(btkToQString("Počet malých stránek vertikálně:"), vcnt);
    form->addRow(btkToQString("Odsazení zleva (mm):"), leftsp);
    form->addRow(btkToQString("Odsazení zprava (mm):"), rightsp);
    form->addRow(btkToQString("Odsazení zezhora (mm):"), topsp);
    form->addRow(btkToQString("Odsazení zdola (mm):"), bottomsp);
    form->addRow(orientationBox);
    form->addRow(btkToQString("Rozdělení malých stránek na A4:"), a4distrib);
    form->addRow(margintype);
    form->addRow(grpmargin);
    QObject::connect(margintype, &QCheckBox::toggled, this, btkGuarded([this](bool) { margintypeClick(); }));
    for (QSpinBox* count : {hcnt, vcnt})
        QObject::connect(count, &QSpinBox::valueChanged, this, btkGuarded([this](int) { createmarginedit(); }));
    return page;
}

QWidget* Tkxtypefrm::buildHeadFootPage() {
    auto* page = new QWidget(PageControl1);
    header = new QLineEdit(page);
    header->setObjectName("header");
    footer = new QLineEdit(page);
    footer->setObjectName("footer");
    pagenumstart = MakeSpinBox(page, "pagenumstart", -KxTypeLimits::MaxPageNumber, KxTypeLimits::MaxPageNumber);
    songlines = checkBox(page, "songlines", "Tisknout čáry mezi písněmi");
    slspacehi = MakeSpinBox(page, "slspacehi", -MaxPercent, MaxPercent);
    songspacehi = MakeSpinBox(page, "songspacehi", -MaxPercent, MaxPercent);
    outacs = checkBox(page, "outacs", "Netisknout akordy");
    inacs = checkBox(page, "inacs", "Akordy uvnitř textu");
    auto* form = new QFormLayout(page);
    form->addRow(btkToQString("Záhlaví:"), header);
    form->addRow(btkToQString("Zápatí:"), footer);
    form->addRow(new QLabel(btkToQString("$c - číslo stránky"), page));
    form->addRow(btkToQString("Stránky číslovat od:"), pagenumstart);
    form->addRow(songlines);
    form->addRow(btkToQString("Mezera mezi slokami (% z výšky řádky):"), slspacehi);
    form->addRow(btkToQString("Mezera mezi písněmi (% z výšky řádky)"), songspacehi);
    form->addRow(outacs);
    form->addRow(inacs);
    return page;
}

// ---- the element and the controls

btkXMLNode Tkxtypefrm::controlsToXML() const {
    btkXMLNode e;
    e.setName("kxtype");
    btkXMLNode fontNode = e.getChild("fonts");
    for (int i = 0; i < 9; ++i) SaveTFontXML(fontNode.getChild(KxTypeFontNames[i]), fonts[i]);
    btkXMLNode page = e.getChild("page");
    const struct {
        const char* name;
        int value;
    } pageValues[] = {{"hcnt", hcnt->value()},
                      {"vcnt", vcnt->value()},
                      {"leftsp", leftsp->value()},
                      {"rightsp", rightsp->value()},
                      {"topsp", topsp->value()},
                      {"bottomsp", bottomsp->value()},
                      {"a4distrib", a4distrib->currentIndex()},
                      {"landscape", orientation[1]->isChecked() ? 1 : 0},
                      {"autodistrib", autodistrib->isChecked()},
                      {"margintype", margintype->isChecked()}};
    for (const auto& v : pageValues) page.setIntAttr(v.name, v.value);
    KxTypeWithBase::writeMargins(page, mleft, mright, mtop, mbottom);
    e.setAttr("basetype", btkFromQString(basetype->currentText()));
    e.setIntAttr("savediff", savediff->isChecked());
    e.getChild("outline").setIntAttr("colcnt", outlinecolcnt->value());
    btkXMLNode headfoot = e.getChild("headfoot");
    headfoot.setAttr("header", btkFromQString(header->text()));
    headfoot.setAttr("footer", btkFromQString(footer->text()));
    headfoot.setIntAttr("pagenumstart", pagenumstart->value());
    btkXMLNode orderNode = e.getChild("order");
    orderNode.assign(order);
    orderNode.setName("order");
    btkXMLNode format = e.getChild("format");
    format.setIntAttr("slspacehi", slspacehi->value());
    format.setIntAttr("songspacehi", songspacehi->value());
    format.setIntAttr("songlines", songlines->isChecked());
    format.setIntAttr("inacs", inacs->isChecked());
    format.setIntAttr("outacs", outacs->isChecked());
    return e;
}

void Tkxtypefrm::fillControls(const btkXMLNode& element, bool withBase) {
    const QSignalBlocker blockBase(basetype);
    const QSignalBlocker blockH(hcnt);
    const QSignalBlocker blockV(vcnt);
    const btkXMLNode fontNode = element.childByName("fonts");
    for (int i = 0; i < 9; ++i) {
        fonts[i] = btkVCLFont();
        LoadTFontXML(fontNode.childByName(KxTypeFontNames[i]), fonts[i]);
        fontButtons[i]->setFont(fonts[i].font);
    }
    const btkXMLNode page = element.childByName("page");
    const struct {
        QSpinBox* box;
        const char* name;
    } spins[] = {{hcnt, "hcnt"},       {vcnt, "vcnt"},   {leftsp, "leftsp"},
                 {rightsp, "rightsp"}, {topsp, "topsp"}, {bottomsp, "bottomsp"}};
    for (const auto& s : spins) s.box->setValue(page.intAttr(s.name));
    a4distrib->setCurrentIndex(page.intAttr("a4distrib") == 1 ? 1 : 0);
    orientation[page.intAttr("landscape") == 1 ? 1 : 0]->setChecked(true);
    setBox(autodistrib, page, "autodistrib");
    setBox(margintype, page, "margintype");
    mleft.clear(), mright.clear(), mtop.clear(), mbottom.clear();
    KxTypeWithBase::readMargins(page, mleft, mright, mtop, mbottom);
    outlinecolcnt->setValue(element.childByName("outline").intAttr("colcnt"));
    const btkXMLNode headfoot = element.childByName("headfoot");
    header->setText(btkToQString(headfoot.attr("header")));
    footer->setText(btkToQString(headfoot.attr("footer")));
    pagenumstart->setValue(headfoot.intAttr("pagenumstart"));
    order = btkXMLNode();
    order.assign(element.childByName("order"));
    order.setName("order");
    const btkXMLNode format = element.childByName("format");
    slspacehi->setValue(format.intAttr("slspacehi"));
    songspacehi->setValue(format.intAttr("songspacehi"));
    setBox(songlines, format, "songlines");
    setBox(inacs, format, "inacs");
    setBox(outacs, format, "outacs");
    if (withBase) {
        formBasetype = element.attr("basetype");
        basetype->setCurrentIndex(basetype->findText(btkToQString(formBasetype)));
        savediff->setChecked(element.intAttr("savediff") != 0);
    }
    createmarginedit();
    margintypeClick();
    source = btkXMLNode();
    source.assign(element);
    filled = controlsToXML();
}

bool Tkxtypefrm::EditKxType(KxTypeWithBase& type) {
    btkXMLNode e;
    type.toXML(e, true);
    kxtypename->setText(btkToQString(type.name()));
    {
        const QSignalBlocker blocker(basetype);
        basetype->clear();
        const btkFileList files(KxTypeWithBase::typeFilePath("*"));
        const btkstring own = type.name();
        for (int i = 0; i < files.count(); ++i) {
            const btkstring name = files[i].substr(0, files[i].length() - 4);  // without ".kxt"
            if (name != own) basetype->addItem(btkToQString(name));
        }
    }
    PageControl1->setCurrentIndex(0);
    fillControls(e, true);
    if ((runner ? runner(*this) : exec()) != QDialog::Accepted) return false;

    // What the user changed, written over the element the controls came
    // from; the root attributes always as the controls show them.
    const btkXMLNode now = controlsToXML();
    btkXMLNode changes;
    XMLDiffTree(now, filled, changes);
    btkXMLNode result;
    result.assign(source);
    XMLMergeTree(result, changes);
    result.setName("kxtype");
    result.setAttr("basetype", now.attr("basetype"));
    result.setAttr("savediff", now.attr("savediff"));
    type.fromXML(result);
    return true;
}

// ---- handlers

void Tkxtypefrm::fontbuttonclick(int i) {
    if (i < 0 || i >= 9) return;
    QFont font = fonts[i].font;
    QColor color = btkToQColor(fonts[i].color);
    if (!btkDialogs().chooseFont(font, color)) return;
    fonts[i].font = font;
    fonts[i].color = btkColor(color.red() | (color.green() << 8) | (color.blue() << 16));
    fontButtons[i]->setFont(font);
}

void Tkxtypefrm::basetypeChange() {
    const btkstring chosen = btkFromQString(basetype->currentText());
    if (QuestionBox("Byl změněn bázový typ melodaru, změnit nezměněná pole?", "yn") != 1) {
        formBasetype = chosen;
        return;
    }
    // The controls' values rebased: what differs from the old base stays,
    // the rest takes the new base's values.
    MelodarKxType values;
    KxTypeWithBase::readKxtype(values, controlsToXML());
    values.basetype = formBasetype;
    values.changeBaseType(chosen);
    btkXMLNode rebased;
    KxTypeWithBase::writeKxtype(values, rebased);
    rebased.setAttr("basetype", chosen);
    rebased.setIntAttr("savediff", savediff->isChecked());
    fillControls(rebased, true);
}

void Tkxtypefrm::Button2Click() {
    if (customsortfrm) (void)customsortfrm->EditOrder(order);
}

void Tkxtypefrm::Button3Click() {
    std::unique_ptr<BaseKxType> base = KxTypeWithBase::loadBase(formBasetype);
    btkXMLNode values;
    KxTypeWithBase::writeKxtype(*base, values);
    fillControls(values, false);
}

void Tkxtypefrm::margintypeClick() {
    const bool complex = margintype->isChecked();
    EnableControlTree(grpmargin, complex);
    for (QSpinBox* box : {leftsp, rightsp, topsp, bottomsp}) box->setEnabled(!complex);
}

void Tkxtypefrm::fillMarginColumn(QWidget* area, int count, btkCntVec<int>& first, btkCntVec<int>& second,
                                  btkCntVec<QSpinBox*>& edits) {
    edits.clear();
    while (first.count() < count) first.add(0);
    while (second.count() < count) second.add(0);
    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    for (int i = 0; i < count; ++i) {
        grid->addWidget(new QLabel(btkToQString(btkFormat("Strana %d", i + 1)), inner), i, 0);
        btkCntVec<int>* lists[2] = {&first, &second};
        for (int k = 0; k < 2; ++k) {
            QSpinBox* spin = MakeSpinBox(inner, "", -MaxMillimetres, MaxMillimetres);
            spin->setValue((*lists[k])[i]);
            btkCntVec<int>* list = lists[k];
            QObject::connect(spin, &QSpinBox::valueChanged, this, [list, i](int v) { (*list)[i] = v; });
            grid->addWidget(spin, i, k + 1);
            edits.add(spin);
        }
    }
    grid->setRowStretch(count, 1);
    static_cast<QScrollArea*>(area)->setWidget(inner);  // frees the old grid
}

void Tkxtypefrm::createmarginedit() {
    fillMarginColumn(hscr, hcnt->value(), mleft, mright, columnEdits);
    fillMarginColumn(vscr, vcnt->value(), mtop, mbottom, rowEdits);
    margintypeClick();
}
