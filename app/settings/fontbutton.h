// A font button of the settings dialogs: it keeps a font with its colour,
// shows its caption in that font, and a click lets the user choose another
// in the program's font chooser (btkDialogs).
#pragma once

#include <QPushButton>

#include "foundation/btkcolor.h"
#include "foundation/btkxml.h"
#include "songs/fontsettings.h"

class FontButton : public QPushButton {
public:
    FontButton(const char* name, const char* caption, QWidget* parent = nullptr);

    // The element's font attributes over the button's font: an empty name or
    // a size of 0 or less keeps the button's own family or size.
    void load(const btkXMLNode& element);
    // Writes every font attribute into the element.
    void save(btkXMLNode element) const;
    // The same through a font record.
    void setRecord(const KxFont& record);
    KxFont record() const;

    QFont value;
    btkColor color = 0;

private:
    void choose();
};
