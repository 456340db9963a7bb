#include "foundation/qt/btkapplication.h"

#include <cassert>
#include <clocale>
#include <exception>

#include <QAbstractEventDispatcher>
#include <QByteArray>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include "foundation/btkerror.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstring.h"
#include "foundation/qt/btkprinter.h"
#include "foundation/qt/btkscreenfit.h"

const char* const btkUnexpectedErrorText = "Došlo k neočekávané chybě, operace nebyla dokončena";

namespace {

int gIdleHolds = 0;

}  // namespace

btkIdleHold::btkIdleHold() { ++gIdleHolds; }

btkIdleHold::~btkIdleHold() { --gIdleHolds; }

bool btkIdleHold::held() { return gIdleHolds > 0; }

bool btkGuard(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const btkPrinterError&) {
        // The printer has shown its failure already.
    } catch (const btkDeclinedError&) {
        // The user has just answered the question that ended the handler.
    } catch (const btkError& e) {
        ErrorBox(e.message());
    } catch (...) {
        ErrorBox(btkUnexpectedErrorText);
    }
    return false;
}

bool btkGuardPaint(QObject* owner, const std::function<void()>& paint) {
    assert(owner);
    if (!owner) return false;
    // The message last shown for this owner's paint, kept with the owner so
    // that it goes with it; a paint that succeeds forgets it.
    static const char* const shownProperty = "btkPaintErrorShown";
    btkstring message;
    try {
        paint();
        owner->setProperty(shownProperty, QVariant());
        return true;
    } catch (const btkError& e) {
        message = e.message();
    } catch (...) {
        message = btkUnexpectedErrorText;
    }
    const QByteArray bytes(message.c_str(), message.length());
    if (owner->property(shownProperty).toByteArray() == bytes) return false;
    owner->setProperty(shownProperty, bytes);
    QMetaObject::invokeMethod(
        owner, [message] { ErrorBox(message); }, Qt::QueuedConnection);
    return false;
}

btkApplication::btkApplication(int& argc, char** argv) : QApplication(argc, argv) {
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_CTYPE, "C");
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    QObject::connect(m_timer, &QTimer::timeout, this, [this] { runIdleWork(); });
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                     [this] { aboutToWait(); });
}

btkApplication::~btkApplication() = default;

btkApplication* btkApplication::instance() { return dynamic_cast<btkApplication*>(QCoreApplication::instance()); }

void btkApplication::setIdleWork(std::function<bool()> pending, std::function<void()> run) {
    m_pending = std::move(pending);
    m_run = std::move(run);
}

bool btkApplication::idleArmed() const { return m_timer->isActive(); }

void btkApplication::aboutToWait() {
    if (m_running || btkIdleHold::held() || m_timer->isActive()) return;
    if (m_pending && m_run && m_pending()) m_timer->start();
}

bool btkApplication::runIdleWork() {
    if (m_running || btkIdleHold::held() || !m_run) return false;
    m_timer->stop();
    m_running = true;
    btkGuard(m_run);
    m_running = false;
    return true;
}

bool btkApplication::notify(QObject* receiver, QEvent* event) {
    // A window's first show is the moment before the window manager places
    // it: from then on the place is the user's.
    if (event->type() == QEvent::Show && receiver->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(receiver);
        if (widget->isWindow() && !widget->property("btkFitted").toBool()) {
            widget->setProperty("btkFitted", true);
            btkGuard([widget] { btkFitOnScreen(widget); });
        }
    }
    bool result = false;
    btkGuard([&] { result = QApplication::notify(receiver, event); });
    return result;
}
