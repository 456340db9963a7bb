// Tprintrangefrm: the choice of the pages to print.
#pragma once

#include <functional>

#include "foundation/btkarray.h"
#include "foundation/qt/btkform.h"

class QListWidget;
class QPushButton;

class Tprintrangefrm : public btkDialogForm {
public:
    Tprintrangefrm();

    // Fills the list with pages 1 to pageCount, all selected, and runs the
    // dialog; on "Tisk" the vector receives the zero-based index of every
    // selected page in order and the result is true.
    bool Execute(int pageCount, btkCntVec<int>& pagesOut);

    // "Liché": deselects the even pages; "Sudé": the odd pages; "Všechny":
    // selects every page.
    void oddPages();
    void evenPages();
    void allPages();
    // The zero-based indexes of the selected lines.
    void selectedPages(btkCntVec<int>& out) const;

    QListWidget* pages = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // Tests: called with the filled dialog instead of running it; returns
    // the dialog's result.
    std::function<int(Tprintrangefrm&)> runner;
};

extern Tprintrangefrm* printrangefrm;
