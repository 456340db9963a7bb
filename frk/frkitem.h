// The items of a run-time dialog and the tables that arrange them, with the
// measuring and placing of tables in pixels. Items that wrap a control are
// in frk/qt/frkctrlitems.h; tables hold only other items and need no widget.
//
// The dialog owns every item (frkBrowseImpl keeps them in creation order);
// tables point at the items of their cells.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "frk/frkbase.h"

class frkDataSource;

class frkItem {
public:
    frkItem(frkDialog* dialog, frkKey key) : dialog(dialog), key(key) {}
    frkItem(const frkItem&) = delete;
    frkItem& operator=(const frkItem&) = delete;
    virtual ~frkItem() = default;

    // Control into the bound source(s).
    virtual void save() {}
    // Bound source(s) into the control.
    virtual void load() {}
    // Control value into the given source, or the source into the control;
    // what the mode means depends on the kind of item.
    virtual void store(frkDataSource* /*source*/, int /*mode*/) {}
    virtual void fetch(frkDataSource* /*source*/, int /*mode*/) {}
    virtual void onNotice(const frkTriggerEvent& /*notice*/) {}

    frkDialog* dialog;
    frkKey key;
};

// An item that takes part in the layout. At the root it stands either as
// a label (left column) or as a control (right column); inside a table it
// is neither.
class frkVCLItem : public frkItem {
public:
    using frkItem::frkItem;
    // Leaves w and h alone when the item has no size of its own.
    virtual void preferredSize(int& /*w*/, int& /*h*/) {}
    virtual void setBounds(int /*x*/, int /*y*/, int /*w*/, int /*h*/) {}
    // Puts the control onto the dialog's form.
    virtual void setParent() {}
    virtual void setEnabled(bool /*enabled*/) {}
    virtual void setVisible(bool /*visible*/) {}
    virtual bool isExcluded() { return false; }
    virtual bool isVisible() { return true; }

    bool label = false;
    bool control = false;
};

struct frkCell {
    frkVCLItem* item = nullptr;
    int row = 0;
    int col = 0;
    // The item's preferred size with 5 px each side and 2 px above and
    // below; a zero side stays zero.
    void size(int& w, int& h) const;
    // The item gets the box less those margins.
    void place(int x, int y, int w, int h) const;
};

struct frkRow {
    frkRow() : pending(new frkCell) {}
    ~frkRow() { delete pending; }
    frkRow(const frkRow&) = delete;
    frkRow& operator=(const frkRow&) = delete;

    frkCell* pending;  // the cell the next item fills; null once closed
    btkObjArray<frkCell> cells;
    int height = 0;
    int top = 0;
};

struct frkCol {
    btkCntVec<frkCell*> cells;
    int width = 0;
    int left = 0;
};

// A grid of cells filled row by row. A row's height is its tallest visible
// cell, a column's width its widest visible cell; placed into a box, the
// rows and columns are stretched in proportion to fill it. Hidden items
// count for nothing but are still given bounds.
class frkTable final : public frkVCLItem {
public:
    frkTable(frkDialog* dialog, frkTable* enclosing);
    ~frkTable() override;

    // The item fills the next cell of the current row.
    void addItem(frkVCLItem* item);
    // Closes the current row (kept even when empty) and starts a new one.
    void newRow();
    // Closes the last row and sorts the cells into columns: column i holds
    // the i-th cell of every row long enough to have one.
    void finish();

    int rowHeight(const frkRow& row) const;
    int colWidth(const frkCol& col) const;

    // 0 x 0 when the table is hidden.
    void preferredSize(int& w, int& h) override;
    void setBounds(int x, int y, int w, int h) override;
    void setEnabled(bool enabled) override { this->enabled = enabled; }
    // Only the flag: the table's items keep their own visibility.
    void setVisible(bool visible) override { this->visible = visible; }
    bool isVisible() override { return visible; }
    // Passes the notice to every cell's item, row by row.
    void onNotice(const frkTriggerEvent& notice) override;

    btkObjArray<frkRow> rows;
    btkObjArray<frkCol> cols;
    frkTable* enclosing;
    bool enabled = true;
    bool visible = true;

private:
    frkRow* current;  // owned until closed
};

struct frkRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
