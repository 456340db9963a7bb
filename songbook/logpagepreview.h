// Previews of a song book's logical pages as the song-book window shows
// them, one preview page at a time: facing pairs for booklets (a right-hand
// page alone first), single pages, or whole rows of a sheet. A preview reads
// the book's logical pages at every call and holds no copy of them; it is
// remade whenever the book's type is applied. Headers and footers belong to
// sheet drawing and are not part of a preview.
#pragma once

#include <functional>
#include <memory>

#include "foundation/btkcanvas.h"
#include "foundation/btkpane.h"
#include "foundation/btkstring.h"

class BaseKxType;
class Melodar;
class btkPrintDevice;

class LogPagePreview {
public:
    // The book's logical pages of the last layout; null when there are none.
    using Pages = std::function<const btkLogPages*()>;

    LogPagePreview(Pages pages, int pageWidth, int pageHeight) : book(std::move(pages)), w(pageWidth), h(pageHeight) {}
    LogPagePreview(const LogPagePreview&) = delete;
    LogPagePreview& operator=(const LogPagePreview&) = delete;
    virtual ~LogPagePreview() = default;

    // The number of preview pages.
    virtual int count() const = 0;
    // The label of preview page index (from 0); logical pages are counted
    // from 1 in layout order, whatever the first page number.
    virtual btkstring caption(int index) const = 0;
    // The size of one preview page in printer pixels.
    virtual void size(int* width, int* height) const = 0;
    // Draws preview page index with its top-left at the canvas's origin;
    // nothing for an index outside the preview.
    virtual void draw(int index, btkCanvas canvas) const = 0;

protected:
    // The number of logical pages (0 without a layout).
    int pageCount() const;
    // Replays logical page i at (x, y) when it exists.
    void drawPage(int i, const btkCanvas& canvas, int x, int y) const;

    Pages book;
    int w;
    int h;
};

// Pairs as a booklet is read: page 0 alone on the right, then (1, 2), ...
class BookLogPagePreview final : public LogPagePreview {
public:
    using LogPagePreview::LogPagePreview;
    int count() const override;
    btkstring caption(int index) const override;
    void size(int* width, int* height) const override;
    void draw(int index, btkCanvas canvas) const override;
};

// One logical page at a time.
class SimpleLogPagePreview final : public LogPagePreview {
public:
    using LogPagePreview::LogPagePreview;
    int count() const override;
    btkstring caption(int index) const override;
    void size(int* width, int* height) const override;
    void draw(int index, btkCanvas canvas) const override;
};

// A row of hcnt logical pages side by side (below 1 counts as 1).
class LineLogPagePreview final : public LogPagePreview {
public:
    LineLogPagePreview(Pages pages, int pageWidth, int pageHeight, int hcnt)
        : LogPagePreview(std::move(pages), pageWidth, pageHeight), across(hcnt < 1 ? 1 : hcnt) {}
    int count() const override;
    btkstring caption(int index) const override;
    void size(int* width, int* height) const override;
    void draw(int index, btkCanvas canvas) const override;

private:
    int across;
};

// The preview for the type: rows when its a4distrib is 1, else booklet
// pairs for an even hcnt and single pages for an odd one. Logical pages have
// the type's size on the printer.
std::unique_ptr<LogPagePreview> MakeLogPagePreview(const BaseKxType& type, const btkPrintDevice& printer,
                                                   LogPagePreview::Pages pages);
