#include "foundation/qt/btkdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>

#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkfiledialogs.h"
#include "foundation/qt/btkqstring.h"

bool btkQtDialogs::openFile(const char* filter, const char* initialDir, btkstring& path) {
    return btkQtOpenFileDialog(filter, initialDir, path);
}

bool btkDialogBackend::openFiles(const char* filter, const char* initialDir, btkStrings& paths) {
    btkstring path;
    if (!openFile(filter, initialDir, path)) return false;
    paths.clear();
    paths.add(path);
    return true;
}

bool btkDialogBackend::pageSetup(QPrinter& printer) {
    QPageSetupDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool btkDialogBackend::printDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool btkQtDialogs::openFiles(const char* filter, const char* initialDir, btkStrings& paths) {
    return btkQtOpenFilesDialog(filter, initialDir, paths);
}

bool btkDialogBackend::saveFile(const char* filter, const char* initialDir, const char* defaultExt, btkstring& path) {
    btkstring chosen = path;
    for (;;) {
        if (!chooseSaveFile(filter, initialDir, chosen)) return false;
        chosen = btkWithDefaultExt(chosen, defaultExt);
        if (chosen.empty() || !btkFileExists(chosen)) break;
        if (QuestionBox(btkFormat("Soubor %s už existuje. Přepsat?", chosen.c_str()), "yn") == 1) break;
    }
    path = chosen;
    return true;
}

bool btkQtDialogs::chooseSaveFile(const char* filter, const char* initialDir, btkstring& path) {
    return btkQtSaveFileDialog(filter, initialDir, path);
}

bool btkQtDialogs::chooseDirectory(const char* initialDir, btkstring& path) {
    const QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(), QString(),
                                                             btkToQString(path.empty() ? initialDir : path.c_str()));
    if (chosen.isEmpty()) return false;
    path = btkFromQString(chosen);
    return true;
}

namespace {

// Runs the font dialog on the font; on OK the font is the one chosen.
// The program's fonts come from stored attributes (family, weight, slant)
// and have no style name: QFontDialog then selects the first style its list
// holds, for some families an oblique one, and OK would change the font.
// So the dialog is shown the face the font is drawn in, and a dialog
// confirmed as it was shown gives the font back as it came (a family
// missing here is not replaced by the one drawn in its place).
bool runFontDialog(QFontDialog& dialog, QFont& font) {
    const QFontInfo drawn(font);
    QFont shown = font;
    if (!QFontDatabase::hasFamily(shown.family())) shown.setFamily(drawn.family());
    if (shown.styleName().isEmpty()) shown.setStyleName(drawn.styleName());
    dialog.setCurrentFont(shown);
    const QFont offered = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted) return false;
    if (dialog.selectedFont() != offered) font = dialog.selectedFont();
    return true;
}

}  // namespace

bool btkQtDialogs::chooseFixedFont(QFont& font, QColor& color) {
    QFontDialog dialog(QApplication::activeWindow());
    // The family list is filtered when the font is set, so the option comes
    // first; set in the other order every family is offered.
    dialog.setOption(QFontDialog::MonospacedFonts);
    if (!runFontDialog(dialog, font)) return false;
    chooseColor(color);
    return true;
}

bool btkQtDialogs::chooseFont(QFont& font, QColor& color) {
    QFontDialog dialog(QApplication::activeWindow());
    if (!runFontDialog(dialog, font)) return false;
    // QFontDialog has no colour: it follows in its own chooser, whose
    // cancel keeps the colour.
    chooseColor(color);
    return true;
}

bool btkQtDialogs::chooseColor(QColor& color) {
    const QColor chosen = QColorDialog::getColor(color, QApplication::activeWindow());
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
}

bool btkScriptedDialogs::openFile(const char*, const char*, btkstring& path) {
    ++asked;
    if (files.empty()) return false;
    path = files.front();
    files.pop_front();
    return true;
}

bool btkScriptedDialogs::openFiles(const char*, const char*, btkStrings& paths) {
    ++asked;
    if (files.empty()) return false;
    paths.clear();
    for (const btkstring& path : files) paths.add(path);
    files.clear();
    return true;
}

bool btkScriptedDialogs::chooseSaveFile(const char*, const char* initialDir, btkstring& path) {
    proposed = path;
    saveFolders.push_back(initialDir ? initialDir : "");
    return openFile(nullptr, nullptr, path);
}

bool btkScriptedDialogs::chooseDirectory(const char*, btkstring& path) { return openFile(nullptr, nullptr, path); }

bool btkScriptedDialogs::chooseFont(QFont& font, QColor& color) {
    ++asked;
    if (fonts.empty()) return false;
    font = fonts.front().first;
    color = fonts.front().second;
    fonts.pop_front();
    return true;
}

bool btkScriptedDialogs::pageSetup(QPrinter& printer) { return printDialog(printer); }

bool btkScriptedDialogs::printDialog(QPrinter& printer) {
    ++asked;
    if (printers.empty()) return false;
    const std::function<bool(QPrinter&)> choice = std::move(printers.front());
    printers.pop_front();
    return choice(printer);
}

bool btkScriptedDialogs::chooseColor(QColor& color) {
    ++asked;
    if (colors.empty()) return false;
    color = colors.front();
    colors.pop_front();
    return true;
}

namespace {

btkQtDialogs& qtDialogs() {
    static btkQtDialogs dialogs;
    return dialogs;
}

btkDialogBackend* current = nullptr;

}  // namespace

btkDialogBackend& btkDialogs() { return current ? *current : qtDialogs(); }

btkDialogBackend* btkSetDialogBackend(btkDialogBackend* backend) {
    btkDialogBackend* previous = &btkDialogs();
    current = backend;
    return previous;
}
