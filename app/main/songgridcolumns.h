// The song grid's column properties: one per column id, the 16 standard song
// columns first and the view's user columns after them, and the column
// layout stored as attributes of an options node (count, visible%d, wi%d).
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

// Number of standard song columns (ids 0 to 15).
constexpr int StandardColumnCount = 16;
// The narrowest stored column width taken as it is (a narrower or negative
// one is raised to it).
constexpr int ColumnMinWidth = 16;

struct ColProp {
    bool visible = true;
    int width = 50;
    btkstring caption;
};

// Empties the list and appends the 16 standard columns (visible, width 50,
// with their captions).
void MakeStandardColProps(btkObjArray<ColProp>& props);
// Reads the layout: for each index below count the existing property or a
// new one captioned "???"; visible%d and wi%d change only what they name
// (a width below ColumnMinWidth reads as ColumnMinWidth).
void LoadColumnLayout(const btkXMLNode& node, btkObjArray<ColProp>& props);
// Writes count and visible%d and wi%d of every property.
void SaveColumnLayout(btkXMLNode& node, const btkArray<ColProp*>& props);
// The ids, in id order below count, whose property is visible.
void VisibleColumnIds(const btkArray<ColProp*>& props, int count, btkCntVec<int>& ids);
