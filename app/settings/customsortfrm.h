// Tcustomsortfrm: the user-defined song order of up to three keys, and the
// named orders kept under custom_order in the options.
#pragma once

#include <functional>
#include <memory>

#include "app/settings/customsortctrl.h"
#include "foundation/qt/btkform.h"
#include "songs/songcompare.h"

class QLineEdit;
class QListWidget;
class QPushButton;

extern const char* const NoOrderNameText;
extern const char* const OverwriteOrderText;

class Tcustomsortfrm : public btkDialogForm {
public:
    Tcustomsortfrm();

    // Runs the dialog; on OK the comparator of the keys chosen (the caller
    // owns it), null when cancelled.
    std::unique_ptr<CustomCompare> Execute();
    // Loads the keys from the element and runs the dialog; on OK writes
    // the keys back into it and returns true. On cancel the element stays
    // as it was.
    bool EditOrder(btkXMLNode element);

    // Refills the list from the name of each saved order.
    void refillList();
    // "Načíst": loads the selected saved order and its name.
    void loadSelected();
    // "Uložit pod názvem:": saves the keys under the name in savename.
    void saveNamed();
    // "Vymazat": removes the selected saved order.
    void deleteSelected();

    Tcustomsortctrl* sortctrl = nullptr;
    QListWidget* list = nullptr;
    QPushButton* Button1 = nullptr;  // Načíst
    QPushButton* Button2 = nullptr;  // Uložit pod názvem:
    QLineEdit* savename = nullptr;
    QPushButton* Button3 = nullptr;  // Vymazat
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // Storno

    // Tests: called with the prepared dialog instead of running it.
    std::function<int(Tcustomsortfrm&)> runner;

private:
    int run();
    // The saved order of the list's selection; false without one.
    bool selectedOrder(btkXMLNode& order) const;
};

// The element custom_order of the options (appended when missing).
btkXMLNode CustomOrdersNode();

extern Tcustomsortfrm* customsortfrm;
