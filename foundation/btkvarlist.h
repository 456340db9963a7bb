// btkVarList: named text variables (for example a song's user columns).
// Setting a variable to "" removes it.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

struct btkVarListItem {
    btkstring name;
    btkstring value;
};

class btkVarList : public btkObjArray<btkVarListItem> {
public:
    // The value of the first variable of that name, or "".
    btkstring get(const char* name) const;
    void set(const char* name, const btkstring& value);
    btkVarListItem& item(int i) { return *at(i); }
    const btkVarListItem& item(int i) const { return *at(i); }
};
