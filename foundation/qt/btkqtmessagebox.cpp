#include "foundation/qt/btkqtmessagebox.h"

#include <QApplication>
#include <QMessageBox>

#include "foundation/qt/btkqstring.h"

namespace {

QMessageBox::Icon iconOf(int flags) {
    switch (flags & 0xF0) {
    case btkMB_ICONERROR: return QMessageBox::Critical;
    case btkMB_ICONQUESTION: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case btkMB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttonsOf(int flags) {
    switch (flags & 0x0F) {
    case 1: return QMessageBox::Ok | QMessageBox::Cancel;
    case btkMB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case btkMB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

}  // namespace

int btkQtMessageBoxes::show(const char* text, const char* caption, int flags) {
    QMessageBox box(iconOf(flags), btkToQString(caption), btkToQString(text), buttonsOf(flags),
                    QApplication::activeWindow());
    // Texts are the program's own and may hold '<' (file names, SQL).
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Ok: return btkID_OK;
    case QMessageBox::Yes: return btkID_YES;
    case QMessageBox::No: return btkID_NO;
    default: return btkID_CANCEL;
    }
}

void btkInstallQtMessageBoxes() {
    static btkQtMessageBoxes boxes;
    btkSetMessageBoxBackend(&boxes);
}
