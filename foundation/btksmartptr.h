// Counted references to an object through a proxy that the object clears
// when it dies: a reference that outlives its object sees null instead of a
// dangling pointer.
#pragma once

#include "foundation/btkref.h"

// Stands for one object; the object sets `object` to null in its destructor.
template <class T> class btkProxyObject : public btkRCObject {
public:
    explicit btkProxyObject(T* o) : object(o) {}
    T* object;
};

// One counted reference to a proxy. Copies share the proxy; assignment takes
// the new reference before it lets the old one go.
template <class T> class btkSmartPtr {
public:
    btkSmartPtr() = default;
    explicit btkSmartPtr(btkProxyObject<T>* p) : ref(p) {}

    // The object, or null when the pointer is empty or the object is gone.
    T* get() const { return ref.isSet() ? ref->object : nullptr; }
    T* operator->() const { return get(); }
    btkProxyObject<T>* proxy() const { return ref.get(); }
    bool isSet() const { return get() != nullptr; }
    // Same proxy (an empty pointer equals only an empty one).
    bool operator==(const btkSmartPtr& other) const { return ref.get() == other.ref.get(); }

private:
    btkRef<btkProxyObject<T>> ref;
};
