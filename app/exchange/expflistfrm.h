// Texpflistfrm: the export filter list "Exportovací filtry". Lists the
// stored filters (data/expf/*.exp), creates a filter of a chosen kind under
// a new name, deletes one and opens a filter's own property dialog.
#pragma once

#include <functional>

#include "export/exportfilter.h"
#include "foundation/btkstrings.h"
#include "foundation/qt/btkform.h"

class QComboBox;
class QLineEdit;
class QListWidget;

class Texpflistfrm : public btkDialogForm {
public:
    Texpflistfrm();

    // Makes the filter folder, fills the list and shows the dialog.
    void Execute();

    void Button1Click();  // Upravit
    void Button2Click();  // Vymazat
    void Button3Click();  // Nový

    QListWidget* expfs = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLineEdit* newexpfname = nullptr;
    QComboBox* newexpftype = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;            // Zavřít
    std::function<int(Texpflistfrm&)> runner;  // tests: runs the filled dialog

private:
    void fillList();
    btkstring selectedName() const;

    btkStrings kinds;
    btkStrings captions;
};

extern Texpflistfrm* expflistfrm;

// After loadExportFilter gave no filter: tells the user, unless the export
// library has named the reason in an error box already.
void RefuseUnloadedFilter(const char* name, FilterLoadFailure failure);
