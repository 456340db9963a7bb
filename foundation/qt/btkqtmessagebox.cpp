#include "foundation/qt/btkqtmessagebox.h"

#include <QAbstractButton>
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

// A button's Czech name; a text that names its buttons at the start of a line
// ("ANO = ...", "Storno = ...") gives them exactly as it writes them, so the
// user finds on the buttons the words the question explains.
QString buttonName(const QString& text, const char* name) {
    const QString wanted = btkToQString(name);
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString named = line.left(eq).trimmed();
        if (named.compare(wanted, Qt::CaseInsensitive) == 0) return named;
    }
    return wanted;
}

void nameButtons(QMessageBox& box) {
    const struct {
        QMessageBox::StandardButton button;
        const char* name;
    } names[] = {
        {QMessageBox::Yes, "Ano"}, {QMessageBox::No, "Ne"}, {QMessageBox::Cancel, "Storno"}, {QMessageBox::Ok, "OK"}};
    for (const auto& n : names)
        if (QAbstractButton* button = box.button(n.button)) button->setText(buttonName(box.text(), n.name));
}

}  // namespace

int btkQtMessageBoxes::show(const char* text, const char* caption, int flags) {
    QMessageBox box(iconOf(flags), btkToQString(caption), btkToQString(text), buttonsOf(flags),
                    QApplication::activeWindow());
    // Texts are the program's own and may hold '<' (file names, SQL).
    box.setTextFormat(Qt::PlainText);
    nameButtons(box);
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
