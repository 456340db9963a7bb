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

QString startPath(const char* initialDir, const btkstring& path) {
    if (!initialDir) initialDir = "";
    // A folder alone ends in '/': the dialog opens it with an empty name
    // instead of proposing the folder's name in its parent.
    if (path.empty()) {
        QString dir = btkToQString(initialDir);
        if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
        return dir;
    }
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

// The extension the filter names, as "(*.xml)" at its end; "" for "(*.*)",
// several patterns or none.
QString filterExt(const QString& filter) {
    const int open = filter.lastIndexOf(QLatin1Char('('));
    const int close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open) return QString();
    const QString pattern = filter.mid(open + 1, close - open - 1).trimmed();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.contains(QLatin1Char(' '))) return QString();
    const QString ext = pattern.mid(2);
    return ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')) ? QString() : ext;
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

bool btkQtSaveFileDialog(const char* filter, const char* initialDir, btkstring& path) {
    QString selected;
    QString chosen =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), startPath(initialDir, path),
                                     btkQtFileFilter(filter), &selected, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) return false;
    const QString ext = filterExt(selected);
    if (QFileInfo(chosen).suffix().isEmpty() && !ext.isEmpty()) chosen += QLatin1Char('.') + ext;
    return programPath(chosen, path);
}

btkstring btkWithDefaultExt(const btkstring& path, const char* ext) {
    if (!ext || !*ext || *ext == '*') return path;
    if (!btkFile(path).ext().empty()) return path;
    btkstring withExt = path;
    withExt += ".";
    withExt += ext;
    return withExt;
}
