#include "app/song/songvfrm.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkqtcanvas.h"
#include "songbook/kxformat.h"
#include "songs/uibridge.h"

SongPaintBox::SongPaintBox(Tsongvfrm* frame, QWidget* parent) : QWidget(parent), frame(frame) {}

void SongPaintBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    btkVCLCanvas canvas(&painter);
    btkGuardPaint(this, [&] { frame->drawing().play(btkCanvas(0, 0, canvas.sp())); });
}

Tsongvfrm::Tsongvfrm(QWidget* parent) : QWidget(parent), commonHandler(this) {
    setObjectName("songv");
    scr = new QScrollArea(this);
    scr->setObjectName("scr");
    scr->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scr->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scr->setWidgetResizable(false);
    // The paint box sits at (8, 8) on a page of the window colour.
    auto* page = new QWidget;
    page->setObjectName("page");
    pp = new SongPaintBox(this, page);
    pp->setObjectName("pp");
    pp->move(8, 8);
    pp->resize(1, 1);
    scr->setWidget(page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scr);
    fntext.font = font();
    fnacs.font = font();
    fnlab.font = font();
    loadSettings();
}

Tsongvfrm::~Tsongvfrm() = default;

void Tsongvfrm::setSongText(const char* newText) {
    text = newText;
    layOut();
}

void Tsongvfrm::loadSettings() {
    const btkXMLNode fonts = OptionsRoot().childByName("view").childByName("fonts");
    LoadTFontXML(fonts.childByName("fntext"), fntext);
    LoadTFontXML(fonts.childByName("fnacs"), fnacs);
    LoadTFontXML(fonts.childByName("fnlab"), fnlab);
}

void Tsongvfrm::layOut() {
    recording.clear();
    const btkXMLNode view = OptionsRoot().childByName("view");
    const bool outacs = view.intAttr("outacs") != 0;
    const bool inacs = view.intAttr("inacs") != 0;
    const int slspacehi = view.intAttr("slspacehi");
    const int width = scr->width() - 16;
    height = 0;
    if (!text.empty() && width > 0) {
        // The recording measures on the paint box only while it is made.
        btkVCLCanvas measure(nullptr, pp);
        recording.setMeasureTarget(measure.sp());
        height = buildScreenSongPanes(btkCanvas(0, 0, measure.sp()), btkCanvas(0, 0, recording.sp()), text, &fntext,
                                      &fnlab, &fnacs, width, slspacehi, inacs, outacs);
        recording.setMeasureTarget(btkSPCanvas());
    }
    pp->resize(std::max(scr->width() - 32, 1), std::max(height, 1));
    scr->widget()->resize(pp->width() + 16, pp->height() + 16);
    pp->update();
}

void Tsongvfrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    btkGuard([this] { layOut(); });
}

void Tsongvfrm::commonEvent(KxCommonEvent& event) {
    if (event.code == KX_EVENT_OPTIONS_CHANGED) loadSettings();
    layOut();
}
