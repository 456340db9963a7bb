// Tcustomexportfrm: the custom export window "Uživatelský export". Runs a
// stored export filter over a chosen set of songs into an output file (one
// stream filters) or an existing output directory (directory filters). The
// window keeps its entries between runs; the filter list is refilled at
// every opening.
#pragma once

#include <functional>

#include "foundation/btkstrings.h"
#include "foundation/qt/btkform.h"

class QLineEdit;
class QListWidget;
class Tsongsetctrlfrm;

class Tcustomexportfrm : public btkDialogForm {
public:
    Tcustomexportfrm();

    // Fills the filter list, shows the window; true when it closed with OK
    // (the export ran).
    bool Execute();
    // The export itself; false, after an error box, when no filter is
    // chosen or loadable, the output cannot be made, or the export failed.
    [[nodiscard]] bool RunExport();

    void expfClick();
    void BitBtn1Click();
    // The file and folder choosers of the output fields.
    void chooseFileClick();
    void chooseDirClick();

    Tsongsetctrlfrm* songset = nullptr;
    QListWidget* expf = nullptr;
    QLineEdit* outfile = nullptr;
    QLineEdit* outdir = nullptr;
    QPushButton* choosefile = nullptr;             // "..." beside outfile
    QPushButton* choosedir = nullptr;              // "..." beside outdir
    QPushButton* BitBtn1 = nullptr;                // OK
    QPushButton* BitBtn2 = nullptr;                // Storno
    std::function<int(Tcustomexportfrm&)> runner;  // tests: runs the filled window

private:
    btkstring selectedName() const;

    btkStrings names;
    btkStrings namesAgain;
};

extern Tcustomexportfrm* customexportfrm;
