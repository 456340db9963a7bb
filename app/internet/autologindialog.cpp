#include "app/internet/autologindialog.h"

#include <cstdio>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkscramble.h"
#include "foundation/btkstream.h"
#include "foundation/btkstrings.h"
#include "frk/qt/frkbrowse.h"
#include "songs/appservices.h"
#include "songs/inetconnection.h"

btkstring AutologinText(const char* login, const char* password) {
    btkstring text = login;
    text += '\n';
    text += btkScramblePassword(password);
    text += '\n';
    return text;
}

void SaveAutologinFile(const char* path, const char* text) {
    btkMakeDirs(btkFile(path).dirPart());
    btkSaveFile(
        path, btkSaveFormat::Text, [text](btkWriteStream& out) { out << text; }, btkFileAccess::OwnerOnly);
}

bool runAutologinDialog() {
    const btkFile path = programDir().join("cfg/autologin.txt");
    // The first two non-empty lines; missing ones are empty.
    btkStrings lines;
    btkSplit(lines, btkReadTextFile(path), '\n', false);
    btkstring login = lines.count() > 0 ? lines[0] : btkstring();
    btkstring password = lines.count() > 1 ? btkUnscramblePassword(lines[1]) : btkstring();

    frkBrowse dlg;
    dlg.title("Automatické přihlášení");
    frkConstStringSource::create(dlg, "Přihlašovací jméno (login)").staticText();
    frkStringVarSource::create(dlg, login).edit();
    frkConstStringSource::create(dlg, "Heslo").staticText();
    dlg.password();
    frkStringVarSource::create(dlg, password).edit();
    dlg.addStandardOkCommand("OK");
    dlg.closeWith(1).command("Smazat", "");
    dlg.addStandardCancelCommand("Storno");
    switch (dlg.execute()) {
    case -1:
        LoginUser(login, password);
        try {
            SaveAutologinFile(path, AutologinText(login, password));
        } catch (const btkError& e) {
            ErrorBox(e.message());
        }
        UpdateLoginStatus();
        return true;
    case 1: btkRemoveFile(path); return true;
    default: return false;
    }
}
