#include "app/main/busyfrm.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "foundation/qt/btkqstring.h"

Tbusyfrm::Tbusyfrm() : QDialog(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("busyfrm");
    setWindowModality(Qt::ApplicationModal);
    auto* shape = new QFrame(this);
    shape->setFrameShape(QFrame::Box);
    shape->setLineWidth(2);
    label = new QLabel(shape);
    label->setObjectName("label");
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    auto* inner = new QVBoxLayout(shape);
    inner->addWidget(label);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(shape);
    resize(320, 90);
    gBusyWindow = this;
}

Tbusyfrm::~Tbusyfrm() {
    if (gBusyWindow == this) gBusyWindow = nullptr;
}

void Tbusyfrm::showBusy(const char* text) {
    if (depth++ == 0) hold = std::make_unique<btkIdleHold>();
    label->setText(btkToQString(text));
    show();
    raise();
    QApplication::processEvents();
}

void Tbusyfrm::hideBusy() {
    if (depth == 0) return;
    if (--depth > 0) return;
    hide();
    hold.reset();
}

btkstring Tbusyfrm::text() const { return btkFromQString(label->text()); }
