#include "foundation/qt/btkqtfont.h"

#include "foundation/btkcolor.h"
#include "foundation/qt/btkqstring.h"

void LoadTFontXML(const btkXMLNode& element, btkVCLFont& font) {
    const btkstring name = element.attr("name");
    if (!name.empty()) font.font.setFamily(btkToQString(name));
    font.setSize(element.intAttr("size"));
    font.font.setUnderline(element.intAttr("underline") != 0);
    font.font.setBold(element.intAttr("bold") != 0);
    font.font.setItalic(element.intAttr("italic") != 0);
    font.font.setStrikeOut(element.intAttr("strikeout") != 0);
    font.color = colorFromName(element.attr("color"));
}

void SaveTFontXML(btkXMLNode element, const btkVCLFont& font) {
    element.setIntAttr("size", font.font.pointSize());
    element.setAttr("name", btkFromQString(font.font.family()));
    element.setIntAttr("underline", font.font.underline() ? 1 : 0);
    element.setIntAttr("bold", font.font.bold() ? 1 : 0);
    element.setIntAttr("italic", font.font.italic() ? 1 : 0);
    element.setIntAttr("strikeout", font.font.strikeOut() ? 1 : 0);
    element.setAttr("color", colorToName(font.color));
}
