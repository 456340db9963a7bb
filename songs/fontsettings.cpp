#include "songs/fontsettings.h"

#include "foundation/btkcolor.h"

void KxFont::saveXML(const KxFont& font, btkXMLNode element) {
    element.setIntAttr("size", font.size);
    element.setAttr("name", font.name);
    element.setIntAttr("underline", font.underline ? 1 : 0);
    element.setIntAttr("bold", font.bold ? 1 : 0);
    element.setIntAttr("italic", font.italic ? 1 : 0);
    element.setIntAttr("strikeout", font.strikeout ? 1 : 0);
    element.setAttr("color", colorToName(static_cast<btkColor>(font.color)));
}

void KxFont::loadXML(KxFont& font, const btkXMLNode& element) {
    font.size = element.intAttr("size");
    font.name = element.attr("name");
    font.underline = element.intAttr("underline") != 0;
    font.bold = element.intAttr("bold") != 0;
    font.italic = element.intAttr("italic") != 0;
    font.strikeout = element.intAttr("strikeout") != 0;
    font.color = static_cast<int>(colorFromName(element.attr("color")));
}
