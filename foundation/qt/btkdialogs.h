// The modal choosers of the program: open and save file, font, colour, page
// setup and print dialog. They
// are shown by a replaceable backend, like the message boxes: the Qt one by
// default, a scripted one in tests, so no test ever waits for a user.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QColor>
#include <QFont>

#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"

class QPrinter;

class btkDialogBackend {
public:
    virtual ~btkDialogBackend() = default;
    // Filters as btkQtFileFilter takes them. On OK the chosen path is
    // written to path.
    virtual bool openFile(const char* filter, const char* initialDir, btkstring& path) = 0;
    // The save dialog for every caller; path holds the proposed name on
    // entry. A name chosen without an extension gets defaultExt (none for ""
    // or "*"). The question whether to overwrite an existing file comes
    // after that, so it names the file that would be replaced, and comes
    // once: "Soubor ... už existuje. Přepsat?" ("Ne" shows the dialog
    // again).
    bool saveFile(const char* filter, const char* initialDir, const char* defaultExt, btkstring& path);
    // An existing folder; on OK written to path.
    virtual bool chooseDirectory(const char* initialDir, btkstring& path) = 0;
    // Several existing files at once, in the order chosen; on OK they
    // replace the list. By default one file through openFile.
    virtual bool openFiles(const char* filter, const char* initialDir, btkStrings& paths);
    // The font and its colour, changed on OK; OK with nothing changed in the
    // dialog gives the font back equal to what it was.
    virtual bool chooseFont(QFont& font, QColor& color) = 0;
    // The same offering fixed-pitch fonts only; by default chooseFont.
    virtual bool chooseFixedFont(QFont& font, QColor& color) { return chooseFont(font, color); }
    virtual bool chooseColor(QColor& color) = 0;
    // Qt's page setup (paper, orientation, margins) and print dialog
    // (printer, paper, print to file) on the printer; on OK the choice is
    // in the printer. Both are Qt's unless a backend scripts them.
    virtual bool pageSetup(QPrinter& printer);
    virtual bool printDialog(QPrinter& printer);

protected:
    // The save dialog alone: on OK the name as the user chose it, without
    // asking about an existing file.
    virtual bool chooseSaveFile(const char* filter, const char* initialDir, btkstring& path) = 0;
};

// QFileDialog, QFontDialog (with its colour) and QColorDialog.
class btkQtDialogs : public btkDialogBackend {
public:
    bool openFile(const char* filter, const char* initialDir, btkstring& path) override;
    bool openFiles(const char* filter, const char* initialDir, btkStrings& paths) override;
    bool chooseDirectory(const char* initialDir, btkstring& path) override;
    bool chooseFont(QFont& font, QColor& color) override;
    bool chooseFixedFont(QFont& font, QColor& color) override;
    bool chooseColor(QColor& color) override;

protected:
    bool chooseSaveFile(const char* filter, const char* initialDir, btkstring& path) override;
};

// Answers from queues; an empty queue cancels. Counts what was asked.
// openFiles takes every queued path at once. A queued save name is taken
// as typed: without an extension it gets the default one.
class btkScriptedDialogs : public btkDialogBackend {
public:
    bool openFile(const char* filter, const char* initialDir, btkstring& path) override;
    bool openFiles(const char* filter, const char* initialDir, btkStrings& paths) override;
    bool chooseDirectory(const char* initialDir, btkstring& path) override;
    bool chooseFont(QFont& font, QColor& color) override;
    bool chooseColor(QColor& color) override;
    // The next queued choice: it changes the printer as the user would and
    // returns whether the dialog was confirmed.
    bool pageSetup(QPrinter& printer) override;
    bool printDialog(QPrinter& printer) override;

    std::deque<btkstring> files;                          // paths for open, save and folders
    std::deque<std::function<bool(QPrinter&)>> printers;  // page setup and print dialogs
    std::vector<btkstring> saveFolders;                   // the folder each save dialog opened in
    std::deque<std::pair<QFont, QColor>> fonts;
    std::deque<QColor> colors;
    int asked = 0;
    btkstring proposed;  // the path the last save dialog was opened with

protected:
    bool chooseSaveFile(const char* filter, const char* initialDir, btkstring& path) override;
};

// The backend in use (the Qt one until another is set).
btkDialogBackend& btkDialogs();
// Installs a backend (not owned); null restores the Qt one. Returns the
// previous one.
btkDialogBackend* btkSetDialogBackend(btkDialogBackend* backend);
