#include "frk/frkitem.h"

void frkCell::size(int& w, int& h) const {
    w = 0;
    h = 0;
    item->preferredSize(w, h);
    if (w != 0) w += 10;
    if (h != 0) h += 4;
}

void frkCell::place(int x, int y, int w, int h) const { item->setBounds(x + 5, y + 2, w - 10, h - 4); }

// ---- table

frkTable::frkTable(frkDialog* dialog, frkTable* enclosing)
    : frkVCLItem(dialog, frkKey{}), enclosing(enclosing), current(new frkRow) {}

frkTable::~frkTable() { delete current; }

void frkTable::addItem(frkVCLItem* item) {
    if (!current) return;
    frkCell* cell = current->pending;
    cell->item = item;
    current->cells.add(cell);
    current->pending = new frkCell;
}

void frkTable::newRow() {
    if (!current) return;
    delete current->pending;
    current->pending = nullptr;
    rows.add(current);
    current = new frkRow;
}

void frkTable::finish() {
    if (!current) return;
    newRow();
    delete current;
    current = nullptr;
    for (int r = 0; r < rows.count(); ++r) {
        for (int i = 0; i < rows[r]->cells.count(); ++i) {
            if (i >= cols.count()) cols.add(new frkCol);
            frkCell* cell = rows[r]->cells[i];
            cell->row = r;
            cell->col = i;
            cols[i]->cells.add(cell);
        }
    }
}

int frkTable::rowHeight(const frkRow& row) const {
    int height = 0;
    for (const frkCell* cell : row.cells) {
        if (!cell->item->isVisible()) continue;
        int w, h;
        cell->size(w, h);
        if (h > height) height = h;
    }
    return height;
}

int frkTable::colWidth(const frkCol& col) const {
    int width = 0;
    for (const frkCell* cell : col.cells) {
        if (!cell->item->isVisible()) continue;
        int w, h;
        cell->size(w, h);
        if (w > width) width = w;
    }
    return width;
}

void frkTable::preferredSize(int& w, int& h) {
    w = 0;
    h = 0;
    if (!visible) return;
    for (const frkCol* col : cols) w += colWidth(*col);
    for (const frkRow* row : rows) h += rowHeight(*row);
}

void frkTable::setBounds(int x, int y, int w, int h) {
    int totalW = 0, totalH = 0;
    for (frkCol* col : cols) totalW += col->width = colWidth(*col);
    for (frkRow* row : rows) totalH += row->height = rowHeight(*row);
    if (totalW == 0 || totalH == 0) return;
    // Single precision, as the stretched sizes have always been computed.
    const float sx = static_cast<float>(static_cast<double>(w) / totalW);
    const float sy = static_cast<float>(static_cast<double>(h) / totalH);
    int left = 0;
    for (frkCol* col : cols) {
        col->left = left;
        left = static_cast<int>(static_cast<float>(col->width) * sx + static_cast<float>(left));
    }
    int top = 0;
    for (frkRow* row : rows) {
        row->top = top;
        top = static_cast<int>(static_cast<float>(row->height) * sy + static_cast<float>(top));
    }
    for (const frkRow* row : rows) {
        for (int i = 0; i < row->cells.count(); ++i) {
            const frkCol* col = cols[i];
            row->cells[i]->place(x + col->left, y + row->top, static_cast<int>(static_cast<float>(col->width) * sx),
                                 static_cast<int>(static_cast<float>(row->height) * sy));
        }
    }
}

void frkTable::onNotice(const frkTriggerEvent& notice) {
    for (const frkRow* row : rows)
        for (const frkCell* cell : row->cells) cell->item->onNotice(notice);
}
