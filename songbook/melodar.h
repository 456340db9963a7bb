// A song book (Melodar): an ordered list of items (songs and tables of
// contents) printed one after the other on logical pages, its song-book
// type, the page format and print formatting built from the type, the
// result of its last layout, its printer and its file.
//
// The book reaches its window (Tmelodarfrm) only through MelodarWindow,
// made by the registered factory when the book is made; without one (tests,
// kxtool) a book has no window. The window owns the book and deletes it
// when it closes. Every change of the items ends with a refill of the
// window's item list and a new layout (relayout, booklayout.cpp).
//
// Files: melodar.cpp (the book and its items), melodarfile.cpp (the .kx
// file), booklayout.cpp (layout and automatic distribution).
#pragma once

#include <memory>
#include <vector>

#include "foundation/btkarray.h"
#include "foundation/btkimposition.h"
#include "foundation/btkpane.h"
#include "foundation/btkprintdevice.h"
#include "foundation/btkstring.h"
#include "songbook/kxformat.h"
#include "songbook/kxitems.h"
#include "songbook/kxtype.h"
#include "songs/appservices.h"

class KxPageFormat;
class Melodar;
class SongCompare;

// What the book needs of its window.
class MelodarWindow {
public:
    // Refills the item list from the book.
    virtual void FillItemList() = 0;
    // The type was applied: the previews are to be made again.
    virtual void typeApplied() = 0;
    virtual void showWindow() = 0;
    // A layout finished: the page counts and page labels are to be shown
    // anew.
    virtual void UpdatePageCounts() = 0;
    // Deletes the window at once, and with it the book it owns.
    virtual void deleteWithBook() = 0;
    // Type files were made, renamed or deleted: the type choice is offered
    // anew.
    virtual void typeFilesChanged() = 0;

protected:
    ~MelodarWindow() = default;
};

// Makes the window of a new book (registered by the program at start-up).
class MelodarWindowFactory {
public:
    // A new window for the book, shown; it owns the book from now on.
    virtual MelodarWindow* create(Melodar* book) = 0;

protected:
    ~MelodarWindowFactory() = default;
};
extern MelodarWindowFactory* gMelodarWindowFactory;

class Melodar : public CommonHandler {
public:
    // A book without items and without a type; appended to the open books
    // and given its window. Follow with initType or load.
    Melodar();
    ~Melodar() override;

    // A new default type, applied.
    void initType();
    // Drops the layout and the printer, gets the printer again in the
    // type's orientation, makes the page format, lets the window renew its
    // previews and lays out again.
    void applyType();
    // The printer in the type's orientation, made on first use; null where
    // there is none (no printer maker registered, or nothing to print on).
    btkPrintDevice* printer();
    // The book's name: its file name without folder and extension, or
    // DefaultName for a book never saved. It names the book's print jobs
    // (the PDF's title), its entry in window lists and its PDF files.
    btkstring name() const;
    static constexpr const char* DefaultName = "melodar";
    void showWindow();

    int GetItemCount() const { return static_cast<int>(items.size()); }
    // The item at i; null outside the list.
    KxData* GetItem(int i) const;
    int indexOf(const KxData* item) const;

    // ---- item operations; each refills the window's list and lays out
    // Appends a copy of the song.
    void dropSong(const KxSong& song);
    // Appends the songs of the song stack in stack order.
    void addStack();
    // Nothing when an index is outside the list.
    void swapItems(int i, int j);
    // Takes the item out at from and inserts it at to (clamped to the
    // list); nothing when from is outside the list or equals to.
    void moveItem(int from, int to);
    // Drops the pages first (they point into the item's panes); nothing
    // outside the list.
    void deleteItem(int i);
    // Inserts the table of contents (owned from now on) first, bound to the
    // beginning.
    void insertOutline(std::unique_ptr<KxOutline> outline);
    // Songs sorted by the comparator; the other items that lead the book
    // bound to its beginning stay in front, the rest go behind the songs.
    void sortSongs(const SongCompare* compare);
    // Appends an item (owned from now on) without layout: the file reader.
    void appendItem(std::unique_ptr<KxData> item);
    // A flag or other look of an item changed in the window.
    void itemChanged() {
        setChanged();
        relayout();
    }
    // The book differs from its file (a change made by the user, not one a
    // layout makes); save and load clear it.
    void setChanged() {
        if (!layingOut) changed = true;
    }
    bool isChanged() const { return changed; }

    // ---- layout (booklayout.cpp)
    // Lays the book out: items drawn where needed, pages, numbers, sheets.
    // Returns at once while a layout runs or when there is no type.
    void relayout();
    // Reorders the items by the type's order and distributes them.
    void autoDistribute();
    // Frees the sheets and the logical pages (before items or panes go).
    void dropPages();

    // ---- file (melodarfile.cpp)
    // Writes the book to the file through the checked save. On failure an
    // error box names the file, the old file and the book's file name stay,
    // and false is returned.
    [[nodiscard]] bool save(const char* file);
    // Reads the book from the file, replacing type and items, then applies
    // the type. Throws btkXMLLoadError (book unchanged) when the file or
    // the base type cannot be read.
    void load(const char* file);
    // The book as the file's root element `melodar`.
    void toXML(btkXMLNode root) const;

    // Result of the last layout; null before it and after a change.
    std::unique_ptr<btkLogPages> logPages;
    std::unique_ptr<btkPageDistribution> sheets;
    std::unique_ptr<KxPageFormat> pageFormat;
    std::unique_ptr<KxFormatProps> formatProps;
    std::unique_ptr<MelodarKxType> type;
    bool layingOut = false;
    btkstring fileName;  // "" for a book never saved
    MelodarWindow* window = nullptr;
    std::unique_ptr<btkPrintDevice> printerDevice;

private:
    // Refills the window's list and lays out again.
    void itemsChanged();
    // Drops every item's panes and the layout built from the type.
    void dropLayout();

    std::vector<std::unique_ptr<KxData>> items;
    bool changed = false;
};

// The open song books in order of creation (not owned).
const btkCntVec<Melodar*>& OpenMelodars();
