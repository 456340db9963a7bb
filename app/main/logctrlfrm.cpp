#include "app/main/logctrlfrm.h"

#include <QEvent>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include "app/main/logfile.h"
#include "foundation/btkfile.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "songs/kxspace.h"
#include "songs/uibridge.h"

Tlogctrlfrm::Tlogctrlfrm(QWidget* parent) : QWidget(parent) {
    memo = new QPlainTextEdit(this);
    memo->setObjectName("memo");
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Log lines pad their columns with blanks (the synchronisation's song
    // lines): only a fixed-pitch font lines them up.
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->viewport()->setMouseTracking(true);
    memo->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo);
}

void Tlogctrlfrm::SetLog(const char* text, const char* logName) {
    memo->setPlainText(btkToQString(text));
    name = logName;
}

btkstring Tlogctrlfrm::text() const { return btkFromQString(memo->toPlainText()); }

void Tlogctrlfrm::setReadOnly(bool readOnly) { memo->setReadOnly(readOnly); }

bool Tlogctrlfrm::isReadOnly() const { return memo->isReadOnly(); }

int Tlogctrlfrm::numberAt(int position) const {
    const QTextBlock block = memo->document()->findBlock(position);
    if (!block.isValid()) return 0;
    return LogNumberAt(btkFromQString(block.text()), position - block.position());
}

bool Tlogctrlfrm::selectNumberAtCaret() {
    const int number = numberAt(memo->textCursor().position());
    if (number == 0 || !gKxSpace || !gMainWin) return false;
    // The log names its database by the file it was written for; a view
    // of that name or of that file is the one.
    for (int i = 0; i < gKxSpace->viewCount(); ++i) {
        KxView* view = gKxSpace->getView(i);
        bool same = view->name() == name;
        if (KxDatabase* db = view->asDatabase())
            same = same || db->getFileName() == name || btkFile(db->getFileName()).fileName() == name;
        if (same) {
            gMainWin->selectView(i);
            gMainWin->selectSongById(number);
            return true;
        }
    }
    return false;
}

bool Tlogctrlfrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            const bool link = !name.empty() && numberAt(memo->cursorForPosition(pos).position()) > 0;
            memo->viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::IBeamCursor);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            btkGuard([this] { selectNumberAtCaret(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}
