#include "app/main/progressfrm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/qt/btkqstring.h"

Tprogressfrm::Tprogressfrm()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName("progressfrm");
    setWindowModality(Qt::ApplicationModal);
    label = new QLabel(this);
    label->setObjectName("label");
    label->setWordWrap(true);
    progress = new QProgressBar(this);
    progress->setObjectName("progress");
    progress->setRange(0, 100);
    btcancel = new QPushButton(btkToQString("Storno"), this);
    btcancel->setObjectName("btcancel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(progress);
    layout->addWidget(btcancel, 0, Qt::AlignHCenter);
    resize(400, 130);
    QObject::connect(btcancel, &QPushButton::clicked, this, [this] { cancelPressed = true; });
    gProgressWindow = this;
}

Tprogressfrm::~Tprogressfrm() {
    if (gProgressWindow == this) gProgressWindow = nullptr;
}

void Tprogressfrm::Start(const char* caption, const char* text, int maximum, bool cancelVisible) {
    if (!hold) hold = std::make_unique<btkIdleHold>();
    setWindowTitle(btkToQString(caption));
    label->setText(btkToQString(text));
    cancelPressed = false;
    progress->setRange(0, maximum > 0 ? maximum : 0);
    progress->setValue(0);
    btcancel->setVisible(cancelVisible);
    show();
    raise();
    QApplication::processEvents();
}

bool Tprogressfrm::Step(int position, const char* text) {
    label->setText(btkToQString(text));
    if (position >= progress->minimum() && position <= progress->maximum()) progress->setValue(position);
    QApplication::processEvents();
    return !cancelPressed;
}

void Tprogressfrm::Close() {
    hide();
    hold.reset();
}
