// The page format of a song book: a sheet side is a grid of hcnt x vcnt
// cells, one logical page each. From the song-book type and the printer it
// gives the size of one logical page and where each cell lies, with simple
// margins or margins per column and row (whole millimetres, converted with
// the printer's whole pixels per millimetre), and it draws each logical
// page's header and footer when a sheet side is drawn. Previews draw no
// headers or footers: only sheet drawing calls the page format.
#pragma once

#include <memory>

#include "foundation/btkimposition.h"
#include "foundation/btkstring.h"

class BaseKxType;
class btkFont;
class btkPrintDevice;

// The cell geometry for one type and printer. The printable width and
// height and the pixels per millimetre are taken when it is made.
class PageMarginProvider {
public:
    PageMarginProvider(const PageMarginProvider&) = delete;
    PageMarginProvider& operator=(const PageMarginProvider&) = delete;
    virtual ~PageMarginProvider() = default;

    // Margins per column and row for margintype 1, simple margins for any
    // other value (a type edited or stored with an unknown margin type
    // still gets pages).
    static std::unique_ptr<PageMarginProvider> create(const BaseKxType& type, const btkPrintDevice& printer);

    // The size of every cell; zero or negative when the margins take more
    // than the cell (nothing is clipped).
    virtual void cellSize(int* width, int* height) const = 0;
    // The top-left corner of cell (col, row); the same on every sheet side
    // (margins are not mirrored on back sides).
    virtual void cellPosition(int sheet, int side, int col, int row, int* x, int* y) const = 0;

protected:
    PageMarginProvider(const BaseKxType& pageType, const btkPrintDevice& printer);

    const BaseKxType& type;
    int W;
    int H;
    int sx;  // pixels per millimetre, whole
    int sy;
};

// The size of one logical page for the type on the printer.
void logicalPageSize(const BaseKxType& type, const btkPrintDevice& printer, int* width, int* height);

// The header or footer template expanded for the page numbered pageNumber:
// "$c" gives the number, "$$" one "$", "$" before any other character is
// dropped (the character stays), a "$" at the end is dropped.
btkstring expandHeadFoot(const char* templ, int pageNumber);

// The song book's page format: cells from the margin provider; after each
// cell its header (bottom on the cell's top edge) and footer (top on the
// cell's bottom edge), centred, in the given fonts. The type, the printer
// and the fonts are not owned and must outlive the format.
class KxPageFormat final : public btkPageFormat {
public:
    KxPageFormat(const BaseKxType& pageType, const btkPrintDevice& printer);

    // The fonts of the header and footer (null: the canvas's current font);
    // the book's format properties hold them once a layout has made them.
    void setFonts(btkFont* header, btkFont* footer) {
        headerFont = header;
        footerFont = footer;
    }

    void cellPosition(int sheet, int side, int col, int row, int* x, int* y) override;
    void endCell(btkCanvas canvas, btkLogPage* page) override;

private:
    void drawCentred(btkCanvas& canvas, btkFont* font, const btkstring& text, bool above);

    const BaseKxType& type;
    std::unique_ptr<PageMarginProvider> provider;
    btkFont* headerFont = nullptr;
    btkFont* footerFont = nullptr;
};
