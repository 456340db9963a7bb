// The song-book window's previews, paging and printing.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>

#include "app/book/melodarfrm.h"
#include "app/main/printrangefrm.h"
#include "app/song/songvfrm.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkprintersetup.h"
#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkqtcanvas.h"
#include "songbook/booklayout.h"
#include "songbook/logpagepreview.h"
#include "songbook/pageformat.h"

namespace {

const char* const Zooms[] = {"5%", "10%", "20%", "50%", "80%", "100%", "200%", "300%", "500%"};
const char* const Unknown = "???";

}  // namespace

QWidget* Tmelodarfrm::buildPreviewPage(bool logical) {
    auto* page = new QWidget(pager);
    auto* scroll = new QScrollArea(page);
    scroll->setBackgroundRole(QPalette::Base);
    scroll->setStyleSheet(QStringLiteral("QScrollArea { background: white; }"));
    auto* box = new MelodarPaintBox(scroll, [this, logical](QPainter& p) {
        if (logical)
            paintLogPage(p);
        else
            paintSheetSide(p);
    });
    scroll->setWidget(box);
    auto* prev = new QPushButton(QStringLiteral("<<"), page);
    auto* next = new QPushButton(QStringLiteral(">>"), page);
    auto* label = new QLabel(page);
    auto* zoom = new QComboBox(page);
    for (const char* z : Zooms) zoom->addItem(btkToQString(z));
    zoom->setCurrentIndex(3);  // 50%
    auto* layout = new QGridLayout(page);
    layout->addWidget(prev, 0, 0);
    layout->addWidget(next, 0, 1);
    layout->addWidget(label, 0, 2);
    layout->setColumnStretch(2, 1);
    layout->addWidget(zoom, 0, 3);
    layout->addWidget(scroll, 1, 0, 1, 4);
    const int by = 1;
    if (logical) {
        pplogscroll = scroll, pplog = box, btprevlogpage = prev, btnextlogpage = next;
        curlogpagelabel = label, logscale = zoom;
        pplog->setObjectName("pplog");
        prev->setObjectName("btprevlogpage");
        next->setObjectName("btnextlogpage");
        label->setObjectName("curlogpagelabel");
        zoom->setObjectName("logscale");
        QObject::connect(prev, &QPushButton::clicked, this, btkGuarded([this](bool) { stepLogPage(-by); }));
        QObject::connect(next, &QPushButton::clicked, this, btkGuarded([this](bool) { stepLogPage(by); }));
    } else {
        ppscroll = scroll, pp = box, btprevfpage = prev, btnextfpage = next;
        curpagelabel = label, scale = zoom;
        pp->setObjectName("pp");
        prev->setObjectName("btprevfpage");
        next->setObjectName("btnextfpage");
        label->setObjectName("curpagelabel");
        zoom->setObjectName("scale");
        QObject::connect(prev, &QPushButton::clicked, this, btkGuarded([this](bool) { stepSheetSide(-by); }));
        QObject::connect(next, &QPushButton::clicked, this, btkGuarded([this](bool) { stepSheetSide(by); }));
    }
    QObject::connect(zoom, &QComboBox::currentIndexChanged, this, btkGuarded([this](int) { UpdateLayout(); }));
    return page;
}

double Tmelodarfrm::zoomFactor(const QComboBox* combo) const {
    btkPrintDevice* printer = book && book->printerDevice ? book->printerDevice.get() : nullptr;
    const int percent = btkFromQString(combo->currentText()).toInt();
    if (!printer || printer->pixelsPerMmX() <= 0) return percent / 100.0;
    // At 100% a printed millimetre is a millimetre of the screen.
    return percent / 100.0 * (logicalDpiX() / 25.4) / printer->pixelsPerMmX();
}

int Tmelodarfrm::sheetSideCount() const { return book && book->sheets ? 2 * book->sheets->sheets() : 0; }

void Tmelodarfrm::UpdateLayout() {
    btkPrintDevice* printer = book ? book->printerDevice.get() : nullptr;
    logPreview.reset();
    if (printer && book->type) {
        const double f = zoomFactor(scale);
        pp->resize(int(printer->pageWidth() * f) + 1, int(printer->pageHeight() * f) + 1);
        Melodar* owner = book;
        logPreview = MakeLogPagePreview(*book->type, *printer, [owner] { return owner->logPages.get(); });
        int w = 0, h = 0;
        logPreview->size(&w, &h);
        const double g = zoomFactor(logscale);
        pplog->resize(int(w * g) + 1, int(h * g) + 1);
    } else {
        pp->resize(0, 0);
        pplog->resize(0, 0);
    }
    updatePageLabels();
    refillTypeCombo();
    // With the automatic distribution the layout sets the order and these
    // flags itself.
    const bool manual = book && book->type && !book->type->autodistrib;
    for (QWidget* w : std::initializer_list<QWidget*>{btmoveprev, btmovenext, chnewpage, chskippage})
        w->setEnabled(manual);
    pp->update();
    pplog->update();
}

void Tmelodarfrm::UpdatePageCounts() {
    const bool laidOut = book && book->logPages && book->sheets && book->type;
    if (laidOut) {
        const int logical = book->logPages->count();
        const int sides = 2 * book->sheets->sheets();
        logpagescnt->setNum(logical);
        fpagescnt->setNum(sides);
        freepagescnt->setNum(book->type->hcnt * book->type->vcnt * sides - logical - book->sheets->lead());
    } else {
        for (QLabel* label : {logpagescnt, fpagescnt, freepagescnt}) label->setText(btkToQString(Unknown));
    }
    updatePageLabels();
    showSelectedSong();
}

void Tmelodarfrm::updatePageLabels() {
    const int sides = sheetSideCount();
    if (curSide >= sides) curSide = sides > 0 ? sides - 1 : 0;
    curpagelabel->setText(sides > 0 ? btkToQString(btkFormat("Strana %d/%d", curSide + 1, sides)) : QString());
    const int logCount = logPreview ? logPreview->count() : 0;
    if (curLogPage >= logCount) curLogPage = logCount > 0 ? logCount - 1 : 0;
    curlogpagelabel->setText(logCount > 0 ? btkToQString(logPreview->caption(curLogPage)) : QString());
    pp->update();
    pplog->update();
}

void Tmelodarfrm::stepSheetSide(int by) {
    const int sides = sheetSideCount();
    if (sides == 0) return;
    curSide = std::clamp(curSide + by, 0, sides - 1);
    updatePageLabels();
}

void Tmelodarfrm::stepLogPage(int by) {
    const int pages = logPreview ? logPreview->count() : 0;
    if (pages == 0) return;
    curLogPage = std::clamp(curLogPage + by, 0, pages - 1);
    updatePageLabels();
}

void Tmelodarfrm::paintSheetSide(QPainter& painter) {
    if (!book || !book->sheets || !book->logPages || !book->pageFormat || !book->printerDevice) return;
    if (curSide < 0 || curSide >= sheetSideCount()) return;
    const double f = zoomFactor(scale);
    const btkPainterState state(painter);
    painter.scale(f, f);
    painter.setPen(Qt::lightGray);
    painter.drawRect(0, 0, book->printerDevice->pageWidth(), book->printerDevice->pageHeight());
    painter.setPen(Qt::black);
    btkDCCanvas canvas(&painter);
    drawSheetSide(*book->sheets, btkCanvas(0, 0, canvas.sp()), *book->pageFormat, curSide);
}

void Tmelodarfrm::paintLogPage(QPainter& painter) {
    if (!book || !book->type || !book->logPages || !logPreview) return;
    const double f = zoomFactor(logscale);
    const btkPainterState state(painter);
    painter.scale(f, f);
    btkDCCanvas canvas(&painter);
    logPreview->draw(curLogPage, btkCanvas(0, 0, canvas.sp()));
}

bool Tmelodarfrm::choosePrintFile() {
    btkPrintDevice* device = book ? book->printer() : nullptr;
    if (!device) return false;
    if (!device->needsOutputFile()) return true;
    // Without a printer every print asks for its PDF file, named after the
    // book by default, at first in the folder of the books.
    btkstring file;
    if (!btkChoosePdfFile(book->name(), programDir().join("melodary"), file)) return false;
    device->setOutputFile(file);
    return true;
}

void Tmelodarfrm::print(bool all) {
    if (!book || !book->sheets || !book->pageFormat || !book->printer()) return;
    btkCntVec<int> sides;
    if (all) {
        if (!printrangefrm || !printrangefrm->Execute(sheetSideCount(), sides)) return;
    } else {
        sides.add(curSide);
    }
    if (!choosePrintFile()) return;
    // A job that cannot start has been reported by the printer; anything
    // else that prints nothing is reported here.
    const bool startable = book->printer()->IsValid() && sides.count() > 0;
    const bool printed = PrintBookSides(*book, sides);
    book->printer()->setOutputFile("");
    if (!printed && !startable) ErrorBox("Melodar nelze vytisknout");
}
