// The two font families of the Qt canvases: screen fonts (a Qt font in
// points with its colour, accepted by btkVCLCanvas) and device fonts (a Qt
// font already sized in the device's pixels, accepted by btkDCCanvas; the
// printer's scaleFont makes them).
#pragma once

#include <QColor>
#include <QFont>

#include "foundation/btkcanvas.h"
#include "foundation/btkxml.h"

// A colour value (red in the low byte) as Qt paints it.
inline QColor btkToQColor(btkColor c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

// A screen font: size in points, and the colour its text is drawn in.
class btkVCLFont : public btkFont {
public:
    btkVCLFont() = default;
    explicit btkVCLFont(const QFont& f, btkColor c = 0) : font(f), color(c) {}

    int size() const override { return font.pointSize(); }
    // Sizes of zero or less leave the size unchanged (Qt has no such size).
    void setSize(int size) override {
        if (size > 0) font.setPointSize(size);
    }
    btkFont* clone() const override { return new btkVCLFont(font, color); }

    QFont font;
    btkColor color = 0;
};

// A font prepared for one device (its size in that device's pixels). Its
// size is not meant to change: size answers 1 and setSize does nothing.
class btkDCFont : public btkFont {
public:
    explicit btkDCFont(const QFont& f) : font(f) {}

    int size() const override { return 1; }
    void setSize(int) override {}
    btkFont* clone() const override { return new btkDCFont(font); }

    QFont font;
};

// ---- a screen font as the settings store it: the attributes size, name,
// underline, bold, italic, strikeout and color of one element

// Reads the attributes into the font. A missing name keeps the family, a
// size of 0 or less keeps the size; the styles are replaced as a whole
// (missing or 0 is off); the colour goes through the colour names.
void LoadTFontXML(const btkXMLNode& element, btkVCLFont& font);
// Writes every attribute of the font.
void SaveTFontXML(btkXMLNode element, const btkVCLFont& font);
