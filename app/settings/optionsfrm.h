// Toptionsfrm: the options dialog "Nastavení". It edits the settings the
// options tree keeps: window colours (settings/mainwin), the shortcuts of
// the main window's actions (settings/mainwin/actions), and the fonts,
// chord placement and verse spacing of the song view (view) and of song
// printing (print). Only OK writes the tree, and then every common handler
// hears that the options changed; the tree reaches options.xml at exit.
#pragma once

#include <functional>

#include <QFrame>

#include "app/settings/fontbutton.h"
#include "app/settings/keyeditfrm.h"
#include "foundation/qt/btkform.h"

class QCheckBox;
class QSpinBox;
class QTabWidget;
class btkActionList;

// A colour panel: keeps a colour and lets a click choose another.
class ColorPanel : public QFrame {
public:
    ColorPanel(const char* name, QWidget* parent);
    btkColor color() const { return value; }
    // True once a colour was read or chosen; a colour missing from the
    // options shows the default and is not written back.
    bool hasColor() const { return present; }
    void setColor(btkColor c);
    // Shows the colour as the default for a missing value.
    void setAbsent(btkColor shown);
    void choose();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    btkColor value = 0;
    bool present = false;
};

class Toptionsfrm : public btkDialogForm {
public:
    Toptionsfrm();

    // Loads, shows modally, and on OK saves and broadcasts the change.
    void Execute();
    // Controls from the options tree; reading creates no node.
    void LoadOptions();
    // Controls into the options tree, creating the nodes on the way.
    void SaveOptions();

    // The action list whose shortcuts the keys page edits (the main
    // window's, when null).
    const btkActionList* actionList = nullptr;

    QTabWidget* PageControl1 = nullptr;
    ColorPanel* ctoolbar = nullptr;
    ColorPanel* cgrid = nullptr;
    ColorPanel* cgroups = nullptr;
    ColorPanel* csongs = nullptr;
    ColorPanel* cedits = nullptr;
    ColorPanel* csongv = nullptr;
    Tkeyeditfrm* mainwinkeys = nullptr;
    FontButton* fprinttext = nullptr;
    FontButton* fprintlabel = nullptr;
    FontButton* fprintacs = nullptr;
    FontButton* fprinttitle = nullptr;
    FontButton* fprintauthor = nullptr;
    QSpinBox* pslspacehi = nullptr;
    QCheckBox* poutacs = nullptr;
    QCheckBox* pinacs = nullptr;
    FontButton* fsongvtext = nullptr;
    FontButton* fsongvlabel = nullptr;
    FontButton* fsongvacs = nullptr;
    QSpinBox* vslspacehi = nullptr;
    QCheckBox* voutacs = nullptr;
    QCheckBox* vinacs = nullptr;
    QPushButton* BitBtn2 = nullptr;           // OK
    QPushButton* BitBtn1 = nullptr;           // Storno
    std::function<int(Toptionsfrm&)> runner;  // tests: runs the filled dialog

private:
    QWidget* buildColorsPage();
    QWidget* buildPrintPage();
    QWidget* buildViewPage();
    const btkActionList* actions() const;
};
