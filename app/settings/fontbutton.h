// A font button of the settings dialogs: it keeps a font with its colour,
// shows its caption in that font, and a click lets the user choose another
// in the program's font chooser (btkDialogs).
#pragma once

#include <QPushButton>

#include "foundation/btkxml.h"
#include "foundation/qt/btkqtfont.h"
#include "songs/fontsettings.h"

class FontButton : public QPushButton {
public:
    FontButton(const char* name, const char* caption, QWidget* parent = nullptr);

    // The element's font attributes over the button's font (LoadTFontXML).
    void load(const btkXMLNode& element);
    // Writes every font attribute into the element (SaveTFontXML).
    void save(btkXMLNode element) const;
    // The same through a font record.
    void setRecord(const KxFont& record);
    KxFont record() const;

    // The font with its colour.
    btkVCLFont value;
    // The chooser offers fixed-pitch fonts only.
    bool fixedPitch = false;

private:
    void choose();
    void show();
};
