#include "app/settings/fontrecords.h"

void KxFontToTFont(const KxFont& record, btkVCLFont& font) {
    btkXMLNode element;
    KxFont::saveXML(record, element);
    LoadTFontXML(element, font);
}

void KxFontFromTFont(KxFont& record, const btkVCLFont& font) {
    btkXMLNode element;
    SaveTFontXML(element, font);
    KxFont::loadXML(record, element);
}
