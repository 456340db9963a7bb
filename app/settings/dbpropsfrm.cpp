#include "app/settings/dbpropsfrm.h"

#include <charconv>
#include <cmath>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxdatabase.h"

bool ParseDecimalText(const char* text, float& value) {
    std::string s = text ? text : "";
    const size_t first = s.find_first_not_of(" \t");
    const size_t last = s.find_last_not_of(" \t");
    if (first == std::string::npos) return false;
    s = s.substr(first, last - first + 1);
    for (char& c : s)
        if (c == ',') c = '.';
    float parsed = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), parsed, std::chars_format::fixed);
    if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

void TdbpropsfrmDblTestState::update() {
    form->showProgress(*this);
    QApplication::processEvents();
}

namespace {

QSpinBox* spin(const char* name, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 1000000);
    return s;
}

QLabel* progressLabel(const char* name, QWidget* parent) {
    auto* l = new QLabel(QStringLiteral("???"), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

Tdbpropsfrm::Tdbpropsfrm() {
    setObjectName("dbpropsfrm");
    setWindowTitle(btkToQString("Vlastnosti databáze"));
    pages = new QTabWidget(this);
    pages->addTab(buildColumnsPage(), btkToQString("Vlastní sloupce"));
    pages->addTab(buildTestPage(), btkToQString("Stejné písně"));
    BitBtn1 = btkNamedControl<QPushButton>("BitBtn1", "OK", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(BitBtn1);
    layout->addLayout(bottom);
    QObject::connect(BitBtn1, &QPushButton::clicked, this, [this] { accept(); });
    loadDefaults();
}

QWidget* Tdbpropsfrm::buildColumnsPage() {
    auto* page = new QWidget;
    cols = new QListWidget(page);
    cols->setObjectName("cols");
    colname = new QLineEdit(page);
    colname->setObjectName("colname");
    Button1 = btkNamedControl<QPushButton>("Button1", "Přidat", page);
    Button2 = btkNamedControl<QPushButton>("Button2", "Ubrat", page);
    Button3 = btkNamedControl<QPushButton>("Button3", "<<", page);
    Button4 = btkNamedControl<QPushButton>("Button4", ">>", page);
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(btkToQString("Seznam vlastních sloupců"), page), 0, 0);
    grid->addWidget(cols, 1, 0);
    // The name and the buttons keep together at the top, beside the list.
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(btkToQString("Název"), page));
    side->addWidget(colname);
    for (QPushButton* b : {Button1, Button2, Button3, Button4}) side->addWidget(b);
    side->addStretch(1);
    grid->addLayout(side, 1, 1);
    grid->setColumnStretch(0, 1);
    QObject::connect(cols, &QListWidget::itemClicked, this, btkGuarded([this](QListWidgetItem*) { colsClick(); }));
    QObject::connect(Button1, &QPushButton::clicked, this, btkGuarded([this](bool) { Button1Click(); }));
    QObject::connect(Button2, &QPushButton::clicked, this, btkGuarded([this](bool) { Button2Click(); }));
    QObject::connect(Button3, &QPushButton::clicked, this, btkGuarded([this](bool) { Button3Click(); }));
    QObject::connect(Button4, &QPushButton::clicked, this, btkGuarded([this](bool) { Button4Click(); }));
    return page;
}

QWidget* Tdbpropsfrm::buildTestPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(btkToQString("Parametry testu:"), page));
    auto* top = new QFormLayout;
    MAX_CHAR_DIF = spin("MAX_CHAR_DIF", page);
    top->addRow(btkToQString("maximální rozdíl v početnosti znaků"), MAX_CHAR_DIF);
    whatdelete = new QComboBox(page);
    whatdelete->setObjectName("whatdelete");
    whatdelete->addItem(btkToQString("Nejméně kvalitní"));
    whatdelete->addItem(btkToQString("S nejvštíím LOCID (nově přidané)"));
    top->addRow(btkToQString("Které písně nabízet ke smazání:"), whatdelete);
    layout->addLayout(top);

    dbltestpager = new QTabWidget(page);
    dbltestpager->setObjectName("dbltestpager");
    dbltestpager->addTab(buildComplexTestTab(), btkToQString("Složitý test"));

    dbltestpager->addTab(buildSimpleTestTab(), btkToQString("Jednoduchý test"));
    layout->addWidget(dbltestpager);

    Button5 = btkNamedControl<QPushButton>("Button5", "Spustit test", page);
    Button6 = btkNamedControl<QPushButton>("Button6", "Načíst implicitní hodnoty parametrů", page);
    Button7 = btkNamedControl<QPushButton>("Button7", "Zrušit test", page);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button5, Button6, Button7}) buttons->addWidget(b);
    layout->addLayout(buttons);
    dbltestsum = progressLabel("dbltestsum", page);
    dbltestfinished = progressLabel("dbltestfinished", page);
    dbltestfind = progressLabel("dbltestfind", page);
    auto* progress = new QFormLayout;
    progress->addRow(btkToQString("Testovaný počet písní:"), dbltestsum);
    progress->addRow(btkToQString("Hotovo:"), dbltestfinished);
    progress->addRow(btkToQString("Nalezený počet stejných písní:"), dbltestfind);
    layout->addLayout(progress);

    QObject::connect(testlen, &QSlider::valueChanged, this, [this](int v) { testlenvalue->setNum(v); });
    QObject::connect(Button5, &QPushButton::clicked, this, btkGuarded([this](bool) { Button5Click(); }));
    QObject::connect(Button6, &QPushButton::clicked, this, btkGuarded([this](bool) { Button6Click(); }));
    QObject::connect(Button7, &QPushButton::clicked, this, btkGuarded([this](bool) { Button7Click(); }));
    return page;
}

QWidget* Tdbpropsfrm::buildComplexTestTab() {
    auto* complex = new QWidget;
    auto* form = new QFormLayout(complex);
    MAX_LEN_DIF = spin("MAX_LEN_DIF", complex);
    MAX_DIF_LEN = spin("MAX_DIF_LEN", complex);
    MAX_DIF_TEST_LEN = spin("MAX_DIF_TEST_LEN", complex);
    MAX_TEXT_DIFF_KOEF = new QLineEdit(complex);
    MAX_TEXT_DIFF_KOEF->setObjectName("MAX_TEXT_DIFF_KOEF");
    MAX_TEXT_DIFF_LEN = new QLineEdit(complex);
    MAX_TEXT_DIFF_LEN->setObjectName("MAX_TEXT_DIFF_LEN");
    form->addRow(btkToQString("maximální rozdíl v délce textu"), MAX_LEN_DIF);
    form->addRow(btkToQString("maximální délka rozdílného kusu textu"), MAX_DIF_LEN);
    form->addRow(btkToQString("délka shody, která stačí"), MAX_DIF_TEST_LEN);
    form->addRow(btkToQString("kolik toho může být rozdílného (poměr stejné/různé)"), MAX_TEXT_DIFF_KOEF);
    form->addRow(btkToQString("maximální délka rozdílného textu (celého)"), MAX_TEXT_DIFF_LEN);
    return complex;
}

QWidget* Tdbpropsfrm::buildSimpleTestTab() {
    auto* simple = new QWidget;
    auto* row = new QHBoxLayout(simple);
    testlen = new QSlider(Qt::Horizontal, simple);
    testlen->setObjectName("testlen");
    testlen->setRange(5, 100);
    testlen->setValue(50);
    testlenvalue = new QLabel(QStringLiteral("50"), simple);
    testlenvalue->setObjectName("testlenvalue");
    row->addWidget(new QLabel(btkToQString("Citlivost:"), simple));
    row->addWidget(new QLabel(btkToQString("Malá (hodně stejných písní)"), simple));
    row->addWidget(testlen);
    row->addWidget(new QLabel(btkToQString("Velká (málo stejných písní)"), simple));
    row->addWidget(testlenvalue);
    return simple;
}

void Tdbpropsfrm::Execute(KxDatabase* db) {
    if (!db) return;
    db->ensureLoaded();
    database = db;
    edited = -1;
    cols->setCurrentRow(-1);
    refill();
    closed = false;
    const int result = runner ? runner(*this) : exec();
    // A scripted run may end without closing: closing is what counts.
    if (!closed) done(result);
    database = nullptr;
}

// ---- user columns

void Tdbpropsfrm::refill() {
    const int selected = cols->currentRow();
    const QSignalBlocker blocker(cols);
    cols->clear();
    for (int i = 0; i < database->customCols.count(); ++i) cols->addItem(btkToQString(database->customCols[i]));
    cols->setCurrentRow(selected < cols->count() ? selected : -1);
    load();
}

void Tdbpropsfrm::load() {
    edited = cols->currentRow();
    if (edited >= 0) colname->setText(btkToQString(database->customCols[edited]));
}

void Tdbpropsfrm::commit() {
    if (!database || edited < 0 || edited >= database->customCols.count()) return;
    const btkstring name = btkFromQString(colname->text());
    // Two columns of one name would share their values.
    for (int i = 0; i < database->customCols.count(); ++i)
        if (i != edited && database->customCols[i] == name) {
            colname->setText(btkToQString(database->customCols[edited]));
            ErrorBox(btkFormat("Sloupec s názvem \"%s\" už existuje, název sloupce se nezměnil", name.c_str()));
            return;
        }
    database->customCols[edited] = name;
}

void Tdbpropsfrm::colsClick() {
    commit();
    load();
}

void Tdbpropsfrm::Button1Click() {
    commit();
    // A name no other column has: "novy", "novy2", "novy3", ...
    btkstring name = "novy";
    for (int n = 2; database->customCols.find(name) >= 0; ++n) name = btkFormat("novy%d", n);
    database->customCols.add(name);
    refill();
}

void Tdbpropsfrm::Button2Click() {
    commit();
    const int i = cols->currentRow();
    if (i >= 0) {
        database->customCols.removeItems(i, 1);
        // The row below takes the removed one's place; it is not edited yet.
        edited = -1;
    }
    refill();
}

void Tdbpropsfrm::Button3Click() {
    commit();
    const int i = cols->currentRow();
    if (i > 0) std::swap(database->customCols[i], database->customCols[i - 1]);
    refill();
}

void Tdbpropsfrm::Button4Click() {
    commit();
    const int i = cols->currentRow();
    if (i >= 0 && i + 1 < database->customCols.count()) std::swap(database->customCols[i], database->customCols[i + 1]);
    refill();
}

void Tdbpropsfrm::FormClose() {
    closed = true;
    if (!database) return;
    commit();
    database->setChanged();
    database->changed();
}

// ---- duplicate test

void Tdbpropsfrm::loadDefaults() {
    const DuplTestParams d;
    MAX_LEN_DIF->setValue(d.MAX_LEN_DIF);
    MAX_CHAR_DIF->setValue(d.MAX_CHAR_DIF);
    MAX_DIF_LEN->setValue(d.MAX_DIF_LEN);
    MAX_DIF_TEST_LEN->setValue(d.MAX_DIF_TEST_LEN);
    MAX_TEXT_DIFF_KOEF->setText(btkToQString(btkFormat("%g", d.MAX_TEXT_DIFF_KOEF)));
    MAX_TEXT_DIFF_LEN->setText(btkToQString(btkFormat("%g", d.MAX_TEXT_DIFF_LEN)));
    whatdelete->setCurrentIndex(d.keepRule);
}

bool Tdbpropsfrm::readParams(DuplTestParams& params) {
    params.setDefaults();
    params.MAX_LEN_DIF = MAX_LEN_DIF->value();
    params.MAX_CHAR_DIF = MAX_CHAR_DIF->value();
    params.MAX_DIF_LEN = MAX_DIF_LEN->value();
    params.MAX_DIF_TEST_LEN = MAX_DIF_TEST_LEN->value();
    for (auto [edit, field] : {std::pair{MAX_TEXT_DIFF_KOEF, &params.MAX_TEXT_DIFF_KOEF},
                               std::pair{MAX_TEXT_DIFF_LEN, &params.MAX_TEXT_DIFF_LEN}}) {
        const btkstring text = btkFromQString(edit->text());
        if (!ParseDecimalText(text, *field)) {
            ErrorBox(
                btkFormat("%s: \"%s\" není desetinné číslo", edit->objectName().toLatin1().constData(), text.c_str()));
            edit->setFocus();
            return false;
        }
    }
    params.method = dbltestpager->currentIndex();
    params.window = testlen->value();
    params.keepRule = whatdelete->currentIndex();
    return true;
}

void Tdbpropsfrm::showProgress(const DuplTestProgress& state) {
    dbltestsum->setNum(state.total);
    dbltestfinished->setNum(state.done);
    dbltestfind->setNum(state.groups);
}

void Tdbpropsfrm::Button5Click() {
    if (running || !database) return;
    DuplTestParams params;
    if (!readParams(params)) return;
    TdbpropsfrmDblTestState state(this);
    params.progress = &state;
    running = &state;
    struct Forget {
        Tdbpropsfrm* form;
        ~Forget() {
            form->running = nullptr;
            for (QLabel* l : {form->dbltestsum, form->dbltestfinished, form->dbltestfind}) l->setText("???");
        }
    } forget{this};
    {
        // The dialog stays up for "Zrušit test"; the idle pass waits, since
        // the test holds the database's songs.
        const btkIdleHold hold;
        (void)DuplTester::runReportOn(database, params);
    }
    accept();
}

void Tdbpropsfrm::Button6Click() { loadDefaults(); }

void Tdbpropsfrm::Button7Click() {
    if (running) running->cancel = 1;
}
