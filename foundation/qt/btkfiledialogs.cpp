#include "foundation/qt/btkfiledialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstrings.h"
#include "foundation/qt/btkqstring.h"

QString btkQtFileFilter(const char* filter) {
    btkStrings parts;
    btkSplit(parts, filter, '|', true);
    QStringList filters;
    for (int i = 0; i + 1 < parts.count(); i += 2) {
        btkStrings patterns;
        btkSplit(patterns, parts[i + 1], ';', false);
        QStringList list;
        for (const btkstring& p : patterns) list << btkToQString(p.trimmed());
        // A caption that names its patterns already ("Melodary (*.kx)") gets
        // them once: Qt reads the patterns from the last parentheses.
        QString caption = btkToQString(parts[i]).trimmed();
        if (caption.endsWith(QLatin1Char(')')) && caption.lastIndexOf(QLatin1Char('(')) > 0)
            caption = caption.left(caption.lastIndexOf(QLatin1Char('('))).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(caption, list.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

bool saveDialogConfirms = true;

QString startPath(const char* initialDir, const btkstring& path) {
    if (path.empty()) return btkToQString(initialDir);
    if (btkIsAbsolute(path) || !*initialDir) return btkToQString(path);
    return btkToQString(btkFile(initialDir).join(path));
}

// The chosen name in the program's Windows-1250 form. A name with a
// character Windows-1250 lacks would lead to another file: it is refused
// with a message, and false returned.
bool programPath(const QString& chosen, btkstring& path) {
    const btkstring converted = btkFromQString(chosen);
    if (btkToQString(converted) != chosen) {
        ErrorBox(btkFormat("Jméno souboru %s obsahuje znaky, se kterými program neumí pracovat. Zvolte jiné jméno.",
                           converted.c_str()));
        return false;
    }
    path = converted;
    return true;
}

}  // namespace

bool btkQtOpenFileDialog(const char* filter, const char* initialDir, btkstring& path) {
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(),
                                                        startPath(initialDir, path), btkQtFileFilter(filter));
    return !chosen.isEmpty() && programPath(chosen, path);
}

bool btkQtOpenFilesDialog(const char* filter, const char* initialDir, btkStrings& paths) {
    btkstring start;
    const QStringList chosen = QFileDialog::getOpenFileNames(QApplication::activeWindow(), QString(),
                                                             startPath(initialDir, start), btkQtFileFilter(filter));
    if (chosen.isEmpty()) return false;
    btkStrings converted;
    for (const QString& name : chosen) {
        btkstring path;
        if (!programPath(name, path)) return false;
        converted.add(path);
    }
    paths.clear();
    for (const btkstring& path : converted) paths.add(path);
    return true;
}

bool btkQtSaveFileDialog(const char* filter, const char* initialDir, const char* defaultExt, btkstring& path) {
    const QFileDialog::Options options =
        saveDialogConfirms ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    QString chosen = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), startPath(initialDir, path),
                                                  btkQtFileFilter(filter), nullptr, options);
    if (chosen.isEmpty()) return false;
    if (QFileInfo(chosen).suffix().isEmpty() && defaultExt && *defaultExt && defaultExt[0] != '*')
        chosen += QLatin1Char('.') + btkToQString(defaultExt);
    return programPath(chosen, path);
}

bool btkSetSaveDialogConfirms(bool confirms) {
    const bool previous = saveDialogConfirms;
    saveDialogConfirms = confirms;
    return previous;
}
