#include "app/settings/fontbutton.h"

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkqtfont.h"

FontButton::FontButton(const char* name, const char* caption, QWidget* parent)
    : QPushButton(btkToQString(caption), parent), value(font()) {
    setObjectName(QString::fromLatin1(name));
    QObject::connect(this, &QPushButton::clicked, this, btkGuarded([this](bool) { choose(); }));
}

void FontButton::setRecord(const KxFont& r) {
    if (!r.name.empty()) value.setFamily(btkToQString(r.name));
    if (r.size > 0) value.setPointSize(r.size);
    value.setBold(r.bold);
    value.setItalic(r.italic);
    value.setUnderline(r.underline);
    value.setStrikeOut(r.strikeout);
    color = static_cast<btkColor>(r.color);
    setFont(value);
}

KxFont FontButton::record() const {
    KxFont r;
    r.name = btkFromQString(value.family());
    r.size = value.pointSize() > 0 ? value.pointSize() : 10;
    r.bold = value.bold();
    r.italic = value.italic();
    r.underline = value.underline();
    r.strikeout = value.strikeOut();
    r.color = static_cast<int>(color);
    return r;
}

void FontButton::load(const btkXMLNode& element) {
    KxFont r;
    KxFont::loadXML(r, element);
    setRecord(r);
}

void FontButton::save(btkXMLNode element) const { KxFont::saveXML(record(), element); }

void FontButton::choose() {
    QFont chosen = value;
    QColor chosenColor = btkToQColor(color);
    if (!btkDialogs().chooseFont(chosen, chosenColor)) return;
    value = chosen;
    color = static_cast<btkColor>(chosenColor.red() | (chosenColor.green() << 8) | (chosenColor.blue() << 16));
    setFont(value);
}
