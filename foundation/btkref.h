// Counted objects, counted handles and the single owning pointer.
#pragma once

// Base of objects with an intrusive reference count; deleted through the
// virtual destructor when the last reference goes.
class btkRCObject {
public:
    btkRCObject() = default;
    btkRCObject(const btkRCObject&) : refcount(0) {}
    btkRCObject& operator=(const btkRCObject&) { return *this; }
    virtual ~btkRCObject() = default;

    btkRCObject* addRef() {
        ++refcount;
        return this;
    }
    void release() {
        if (--refcount == 0) delete this;
    }
    int refCount() const { return refcount; }

private:
    int refcount = 0;
};

template <class T> class btkRef {
public:
    btkRef() = default;
    btkRef(T* p) : ptr(p) {
        if (ptr) ptr->addRef();
    }
    btkRef(const btkRef& other) : btkRef(other.ptr) {}
    btkRef(btkRef&& other) noexcept : ptr(other.ptr) { other.ptr = nullptr; }
    ~btkRef() {
        if (ptr) ptr->release();
    }
    // The new target gains its reference before the old one loses its own,
    // so assigning a handle to itself is safe.
    btkRef& operator=(const btkRef& other) { return *this = other.ptr; }
    btkRef& operator=(btkRef&& other) noexcept {
        if (this != &other) {
            if (ptr) ptr->release();
            ptr = other.ptr;
            other.ptr = nullptr;
        }
        return *this;
    }
    btkRef& operator=(T* p) {
        if (p) p->addRef();
        if (ptr) ptr->release();
        ptr = p;
        return *this;
    }

    T* get() const { return ptr; }
    T* operator->() const { return ptr; }
    T& operator*() const { return *ptr; }
    bool isSet() const { return ptr != nullptr; }

private:
    T* ptr = nullptr;
};

// Single owning pointer. It cannot be copied: two owners would delete twice.
template <class T> class btkAutoPtr {
public:
    btkAutoPtr() : ptr(nullptr) {}
    // Takes ownership of p; explicit, so a raw pointer never becomes an owner
    // unnoticed (a call or a return would delete it).
    explicit btkAutoPtr(T* p) : ptr(p) {}
    btkAutoPtr(const btkAutoPtr&) = delete;
    btkAutoPtr& operator=(const btkAutoPtr&) = delete;
    btkAutoPtr(btkAutoPtr&& other) noexcept : ptr(other.ptr) { other.ptr = nullptr; }
    btkAutoPtr& operator=(btkAutoPtr&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~btkAutoPtr() { delete ptr; }

    // Deletes the held object and takes p (keeps it when p is the same).
    void reset(T* p = nullptr) {
        if (p == ptr) return;
        delete ptr;
        ptr = p;
    }
    // Gives up ownership without deleting.
    T* release() {
        T* p = ptr;
        ptr = nullptr;
        return p;
    }
    T* get() const { return ptr; }
    T* operator->() const { return ptr; }
    T& operator*() const { return *ptr; }
    bool isSet() const { return ptr != nullptr; }

private:
    T* ptr;
};
