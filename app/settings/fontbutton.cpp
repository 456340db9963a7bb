#include "app/settings/fontbutton.h"

#include "app/settings/fontrecords.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkqstring.h"

FontButton::FontButton(const char* name, const char* caption, QWidget* parent)
    : QPushButton(btkToQString(caption), parent), value(font()) {
    setObjectName(QString::fromLatin1(name));
    QObject::connect(this, &QPushButton::clicked, this, btkGuarded([this](bool) { choose(); }));
}

void FontButton::show() { setFont(value.font); }

void FontButton::setRecord(const KxFont& r) {
    KxFontToTFont(r, value);
    show();
}

KxFont FontButton::record() const {
    KxFont r;
    KxFontFromTFont(r, value);
    return r;
}

void FontButton::load(const btkXMLNode& element) {
    LoadTFontXML(element, value);
    show();
}

void FontButton::save(btkXMLNode element) const { SaveTFontXML(element, value); }

void FontButton::choose() {
    QFont chosen = value.font;
    QColor chosenColor = btkToQColor(value.color);
    const bool chosenOk =
        fixedPitch ? btkDialogs().chooseFixedFont(chosen, chosenColor) : btkDialogs().chooseFont(chosen, chosenColor);
    if (!chosenOk) return;
    value.font = chosen;
    value.color = colorMake(chosenColor.red(), chosenColor.green(), chosenColor.blue());
    show();
}
