#include "app/main/qsearchfrm.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"

// A frameless pop-up: it takes the keyboard the moment it shows, so no key
// typed after the first one reaches the grid behind it.
Tqsearchfrm::Tqsearchfrm() : QDialog(nullptr, Qt::Popup | Qt::FramelessWindowHint) {
    setObjectName("qsearchfrm");
    setWindowTitle(btkToQString("Hledání"));
    stext = new QLineEdit(this);
    stext->setObjectName("stext");
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(QStringLiteral(">>"));
    SpeedButton1->setToolTip(btkToQString("Další výskyt (Enter)"));
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setText(QStringLiteral("<<"));
    SpeedButton2->setToolTip(btkToQString("Předchozí výskyt (šipka nahoru)"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(stext, 1);
    layout->addWidget(SpeedButton2);
    layout->addWidget(SpeedButton1);
    stext->installEventFilter(this);
    QObject::connect(SpeedButton1, &QToolButton::clicked, this, btkGuarded([this](bool) { search(1); }));
    QObject::connect(SpeedButton2, &QToolButton::clicked, this, btkGuarded([this](bool) { search(-1); }));
}

void Tqsearchfrm::Execute(int x, int y, char first, SearchControl* searchTarget) {
    const char typed[2] = {first, 0};
    // A key that reached the grid while the box was opening continues the
    // text instead of starting it again.
    if (isVisible() && target == searchTarget) {
        stext->setText(stext->text() + btkToQString(typed));
        stext->setCursorPosition(stext->text().length());
        return;
    }
    target = searchTarget;
    move(x, y);
    stext->setText(btkToQString(typed));
    show();
    raise();
    activateWindow();
    stext->setFocus();
    stext->deselect();
    stext->setCursorPosition(stext->text().length());
}

btkstring Tqsearchfrm::text() const { return btkFromQString(stext->text()); }

void Tqsearchfrm::search(int direction) {
    if (target) target->search(text(), direction);
}

bool Tqsearchfrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == stext && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down: search(1); return true;
        case Qt::Key_Up: search(-1); return true;
        case Qt::Key_Escape: hide(); return true;
        default: break;
        }
    } else if (watched == stext && event->type() == QEvent::KeyRelease) {
        search(0);
    }
    return QDialog::eventFilter(watched, event);
}

void Tqsearchfrm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // The box closes as soon as it loses the focus.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) hide();
}
