// Tkxtypefrm ("Typ melodaru"): edits one song-book type on five pages:
// base type and difference storage, table of contents, automatic
// distribution and its order; the nine print fonts; the page grid, margins,
// orientation and imposition; header, footer, first page number, song
// spacing and chord options.
//
// The controls are filled from the type's whole element. On OK only what
// the user changed in the controls is written over the element they were
// filled from (a value the controls cannot show exactly, such as a font
// never chosen, stays as stored), and the type reads the result. Cancel
// changes nothing, whatever was done in the dialog.
#pragma once

#include <functional>

#include <QSpinBox>

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "foundation/btkxml.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqtfont.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class KxTypeWithBase;

class Tkxtypefrm final : public btkDialogForm {
public:
    Tkxtypefrm();

    // Runs the dialog on the type; on OK the type takes the edited values
    // and true is returned. May throw btkXMLLoadError when the type's base
    // cannot be read.
    [[nodiscard]] bool EditKxType(KxTypeWithBase& type);

    // ---- handlers
    void fontbuttonclick(int font);
    void basetypeChange();
    void Button2Click();
    void Button3Click();
    void margintypeClick();
    void createmarginedit();

    // The controls as a `kxtype` element (root attributes, every child).
    btkXMLNode controlsToXML() const;

    QTabWidget* PageControl1 = nullptr;
    QComboBox* basetype = nullptr;
    QLineEdit* kxtypename = nullptr;
    QCheckBox* savediff = nullptr;
    QSpinBox* outlinecolcnt = nullptr;
    QCheckBox* autodistrib = nullptr;
    QPushButton* Button2 = nullptr;  // "Řazení..."
    QPushButton* Button3 = nullptr;  // "Zkopírovat"
    // In the order of KxTypeFontNames.
    QPushButton* fontButtons[9] = {};
    btkVCLFont fonts[9];
    QSpinBox* hcnt = nullptr;
    QSpinBox* vcnt = nullptr;
    QSpinBox* leftsp = nullptr;
    QSpinBox* rightsp = nullptr;
    QSpinBox* topsp = nullptr;
    QSpinBox* bottomsp = nullptr;
    QRadioButton* orientation[2] = {};
    QComboBox* a4distrib = nullptr;
    QCheckBox* margintype = nullptr;
    QGroupBox* grpmargin = nullptr;
    QScrollArea* hscr = nullptr;
    QScrollArea* vscr = nullptr;
    QLineEdit* header = nullptr;
    QLineEdit* footer = nullptr;
    QSpinBox* pagenumstart = nullptr;
    QCheckBox* songlines = nullptr;
    QSpinBox* slspacehi = nullptr;
    QSpinBox* songspacehi = nullptr;
    QCheckBox* outacs = nullptr;
    QCheckBox* inacs = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // The margins per column and row being edited (never shortened, so
    // values beyond the grid survive a later enlargement).
    btkCntVec<int> mleft, mright, mtop, mbottom;
    // The margin grid's spin boxes: columns (left, right), rows (top,
    // bottom).
    btkCntVec<QSpinBox*> columnEdits, rowEdits;

    // Tests: called with the filled dialog instead of running it.
    std::function<int(Tkxtypefrm&)> runner;

private:
    QWidget* buildGeneralPage();
    QWidget* buildFontPage();
    QWidget* buildPagePage();
    QWidget* buildHeadFootPage();
    // Fills the controls from the element; with the base-type part also the
    // base combo, the form's base name and savediff. The element becomes
    // the one that OK writes the changes over.
    void fillControls(const btkXMLNode& element, bool withBase);
    void fillMarginColumn(QWidget* area, int count, btkCntVec<int>& first, btkCntVec<int>& second,
                          btkCntVec<QSpinBox*>& edits);

    btkstring formBasetype;
    btkXMLNode order;
    btkXMLNode source;  // the element the controls were filled from
    btkXMLNode filled;  // the controls right after that filling
};

// A spin box with its range set explicitly (Qt's 0..99 would clamp).
QSpinBox* MakeSpinBox(QWidget* parent, const char* name, int minimum, int maximum);

extern Tkxtypefrm* kxtypefrm;
