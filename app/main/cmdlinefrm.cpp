#include "app/main/cmdlinefrm.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include "foundation/btkfile.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"

Tcmdlinefrm* cmdlinefrm = nullptr;

namespace {

btkstring historyPath() { return programDir().join("data/cmdline.txt"); }

}  // namespace

Tcmdlinefrm::Tcmdlinefrm() : btkDialogForm(nullptr, Qt::Tool) {
    setObjectName("cmdlinefrm");
    setWindowTitle(btkToQString("Příkazová řádka"));
    setGeometry(472, 498, 558, 424);
    memo = new QPlainTextEdit(this);
    memo->setObjectName("memo");
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    memo->setFont(font);
    memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: yellow; }"));
    memo->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo);

    memo->setPlainText(btkToQString(btkReadTextFile(historyPath())));
    Print("Nápovědu získáte příkazem help");
    gConsole = this;
}

Tcmdlinefrm::~Tcmdlinefrm() {
    if (gConsole == this) gConsole = nullptr;
    FormDestroy();
}

void Tcmdlinefrm::FormDestroy() {
    // A missing data folder means no history: nothing to tell at exit.
    btkWriteTextFile(historyPath(), btkFromQString(memo->toPlainText()));
}

void Tcmdlinefrm::showConsole() {
    show();
    raise();
    activateWindow();
    memo->moveCursor(QTextCursor::End);
    memo->setFocus(Qt::ActiveWindowFocusReason);
}

void Tcmdlinefrm::Print(const char* text) {
    printed = true;
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    // The output takes the empty last line, if there is one.
    if (!cursor.block().text().isEmpty()) cursor.insertBlock();
    cursor.insertText(btkToQString(text));
    cursor.insertBlock();
    memo->setTextCursor(cursor);
}

void Tcmdlinefrm::ClearScreen() {
    printed = true;
    memo->clear();
}

void Tcmdlinefrm::caretBelowText() {
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty()) cursor.insertBlock();
    memo->setTextCursor(cursor);
}

bool Tcmdlinefrm::memoKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Escape) {
        close();
        return true;
    }
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter) return false;
    if (modifiers & Qt::ShiftModifier) {
        // A plain line break (Qt would put a separator inside the line).
        memo->textCursor().insertBlock();
        return true;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const btkstring line = btkFromQString(memo->textCursor().block().text());
    printed = false;
    btkGuard([&] { CmdlineExecute(line); });
    // An error box hands the focus to the window below it (the main
    // window's grid): the next line typed belongs here.
    if (isVisible() && !memo->hasFocus()) {
        activateWindow();
        memo->setFocus();
    }
    // After output the caret already waits below it; otherwise the memo
    // breaks the line as usual.
    if (!printed) return false;
    caretBelowText();
    return true;
}

bool Tcmdlinefrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        return memoKeyDown(key->key(), key->modifiers());
    }
    return btkDialogForm::eventFilter(watched, event);
}
