#include "foundation/qt/btkscreenfit.h"

#include <algorithm>

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace {

// The borders around a framed window: the window's own once known, else
// those of another shown window of the program (one window manager frames
// them alike), else none.
QMargins knownFrame(const QWidget* window) {
    auto margins = [](const QWidget* w) {
        const QRect outer = w->frameGeometry();
        const QRect inner = w->geometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    };
    const QMargins own = margins(window);
    if (!own.isNull()) return own;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isVisible() || other->windowType() == Qt::Popup) continue;
        const QMargins theirs = margins(other);
        if (!theirs.isNull()) return theirs;
    }
    return QMargins();
}

bool isFittedKind(const QWidget* window) {
    switch (window->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool: return true;
    default: return false;
    }
}

}  // namespace

QRect btkFitFrameIntoArea(QRect frameRect, const QRect& area, bool placed, const QMargins& frame,
                          const QSize& minimum) {
    if (area.isEmpty()) return frameRect;
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    // Smaller when larger than the area, never below the window's minimum.
    const int width = std::max(std::min(frameRect.width(), area.width()), minimum.width() + frameWidth);
    const int height = std::max(std::min(frameRect.height(), area.height()), minimum.height() + frameHeight);
    frameRect.setSize(QSize(width, height));
    if (!placed) frameRect.moveCenter(area.center());
    // Right and bottom edges first: a frame larger than the area keeps its
    // title bar on the screen.
    frameRect.moveRight(std::min(frameRect.right(), area.right()));
    frameRect.moveBottom(std::min(frameRect.bottom(), area.bottom()));
    frameRect.moveLeft(std::max(frameRect.left(), area.left()));
    frameRect.moveTop(std::max(frameRect.top(), area.top()));
    return frameRect;
}

void btkFitOnScreen(QWidget* window) {
    if (!window || !window->isWindow() || !isFittedKind(window)) return;
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QMargins frame = knownFrame(window);
    const QRect inner = window->geometry();
    // A window placed by code (or by a dialog over its parent) has its frame
    // at pos(); one never moved has no place yet.
    const bool placed = window->testAttribute(Qt::WA_Moved);
    const QRect outer(window->pos(), inner.size().grownBy(frame));
    const QRect fitted = btkFitFrameIntoArea(outer, screen->availableGeometry(), placed, frame, window->minimumSize());
    if (fitted == outer && placed) return;
    // The window itself is placed: its frame is not known to Qt before the
    // window manager has framed it, so a frame position would land the
    // window, not its frame, there.
    window->setGeometry(fitted.marginsRemoved(frame));
}
