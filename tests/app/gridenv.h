// Helpers of the song grid tests: database files with chosen songs, and
// the main window's grid driven through the mouse and the keyboard.
#pragma once

#include <string>
#include <vector>

#include "app/main/mainfrm.h"
#include "appenv.h"

struct SongSpec {
    const char* title;
    const char* group = "";
    const char* author = "";
    const char* tempo = "";  // the user column "tempo"
};

// A database file of the songs (local ids from 1) with the user columns.
btkstring GridDatabaseXml(const std::vector<SongSpec>& songs, const char* customcols = "");
// A database of count generated songs whose titles are in no order.
btkstring GeneratedDatabaseXml(int count);

class GridTest : public AppTest {
protected:
    void SetUp() override;

    Tsonggridfrm* grid() const { return mainfrm->list; }
    // The grid column that shows the column id (-1 when hidden).
    int gridColumn(int id) const { return grid()->visibleIds.find(id); }
    // The titles in display order.
    std::vector<std::string> titles() const;
    std::string currentTitle() const;
    void clickHeader(int id);
    void clickCell(int row, int id, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void selectDatabase(int index);
};
