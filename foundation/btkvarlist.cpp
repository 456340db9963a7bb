#include "foundation/btkvarlist.h"

#include <cstring>

btkstring btkVarList::get(const char* name) const {
    for (const btkVarListItem* v : *this)
        if (v->name == name) return v->value;
    return btkstring();
}

void btkVarList::set(const char* name, const btkstring& value) {
    for (int i = 0; i < count(); ++i) {
        btkVarListItem* v = (*this)[i];
        if (v->name != name) continue;
        if (value.empty())
            removeItems(i, 1);
        else
            v->value = value;
        return;
    }
    if (!value.empty()) add(new btkVarListItem{btkstring(name), value});
}
