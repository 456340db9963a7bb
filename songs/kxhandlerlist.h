// A registry of receivers (queue handlers, common handlers) that may change
// while it is being walked: a receiver added during a walk is called in the
// same walk, and one removed during a walk makes no other receiver skipped.
#pragma once

#include "foundation/btkarray.h"

template <class T> class KxHandlerList {
public:
    KxHandlerList() = default;
    KxHandlerList(const KxHandlerList&) = delete;
    KxHandlerList& operator=(const KxHandlerList&) = delete;

    void add(T* item) { items.add(item); }
    // Removes the first entry of the item; the walks in progress keep their
    // place.
    void remove(T* item) {
        int i = items.find(item);
        if (i < 0) return;
        items.removeItems(i, 1);
        for (int* cursor : cursors)
            if (i <= *cursor) --*cursor;
    }
    int count() const { return items.count(); }
    T* at(int i) const { return items.at(i); }

    // Calls f on every item in order; the count is read again before each
    // call.
    template <class F> void forEach(F f) {
        int i = 0;
        cursors.add(&i);
        struct Pop {
            btkCntVec<int*>& cursors;
            ~Pop() { cursors.removeItems(cursors.count() - 1, 1); }
        } pop{cursors};
        for (; i < items.count(); ++i) f(items[i]);
    }

private:
    btkCntVec<T*> items;
    btkCntVec<int*> cursors;
};
