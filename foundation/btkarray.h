// The array templates of the program: one growable memory array with an
// element policy (copy values, own pointers, count references, hold objects).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "foundation/btkref.h"

// Types whose objects may be moved by a byte copy (the arrays then grow with
// realloc); every trivially copyable type is.
template <class T> struct btkRelocatable { static constexpr bool value = std::is_trivially_copyable_v<T>; };

// Writes the bounds message to stderr and throws the integer 0.
[[noreturn]] void btkArrayIndexError(int index, int count);

// Non-virtual base: the elements and their number.
template <class T> class btkArray {
public:
    int count() const noexcept { return m_count; }
    bool empty() const noexcept { return m_count == 0; }
    T* data() noexcept { return m_data; }
    const T* data() const noexcept { return m_data; }
    // Unchecked access.
    T& operator[](int i) noexcept { return m_data[i]; }
    const T& operator[](int i) const noexcept { return m_data[i]; }
    // Checked access: an index outside 0..count-1 is reported and thrown.
    T& at(int i) {
        if (i < 0 || i >= m_count) btkArrayIndexError(i, m_count);
        return m_data[i];
    }
    const T& at(int i) const { return const_cast<btkArray*>(this)->at(i); }
    T* begin() noexcept { return m_data; }
    T* end() noexcept { return m_data + m_count; }
    const T* begin() const noexcept { return m_data; }
    const T* end() const noexcept { return m_data + m_count; }

protected:
    T* m_data = nullptr;
    int m_count = 0;
};

template <class T, class Base> class btkMemoryArray : public btkArray<T> {
    using btkArray<T>::m_data;
    using btkArray<T>::m_count;

public:
    btkMemoryArray() = default;
    btkMemoryArray(const btkMemoryArray& other) { append(other); }
    btkMemoryArray(btkMemoryArray&& other) noexcept { swap(other); }
    btkMemoryArray& operator=(const btkMemoryArray& other) {
        if (this != &other) {
            clear();
            append(other);
        }
        return *this;
    }
    btkMemoryArray& operator=(btkMemoryArray&& other) noexcept {
        if (this != &other) {
            clear();
            swap(other);
        }
        return *this;
    }
    virtual ~btkMemoryArray() {
        clear();
        std::free(m_data);
    }

    int capacity() const noexcept { return m_capacity; }

    // Grows to max(n * 3 / 2, n + 8) places when n does not fit.
    void reserve(int n) {
        if (n <= m_capacity) return;
        int cap = n * 3 / 2 > n + 8 ? n * 3 / 2 : n + 8;
        T* block;
        if constexpr (btkRelocatable<T>::value) {
            block = static_cast<T*>(std::realloc(static_cast<void*>(m_data), sizeof(T) * static_cast<size_t>(cap)));
            if (!block) throw std::bad_alloc();
        } else {
            block = static_cast<T*>(std::malloc(sizeof(T) * static_cast<size_t>(cap)));
            if (!block) throw std::bad_alloc();
            for (int i = 0; i < m_count; ++i) {
                new (block + i) T(std::move(m_data[i]));
                m_data[i].~T();
            }
            std::free(m_data);
        }
        m_data = block;
        m_capacity = cap;
    }

    void add(const T& x) {
        if (m_count >= m_capacity) {
            // x may live in this array: copy it before the buffer moves.
            T copy(x);
            reserve(m_count + 1);
            Base::construct(m_data + m_count, copy);
        } else {
            Base::construct(m_data + m_count, x);
        }
        ++m_count;
    }

    // Copies of other's elements first..last-1 (clipped to other's range).
    void append(const btkMemoryArray& other, int first, int last) {
        if (first < 0) first = 0;
        if (last > other.m_count) last = other.m_count;
        if (last <= first) return;
        if (&other == this) {
            btkMemoryArray copy(other);
            append(copy, first, last);
            return;
        }
        reserve(m_count + (last - first));
        for (int i = first; i < last; ++i) add(other.m_data[i]);
    }
    void append(const btkMemoryArray& other) { append(other, 0, other.m_count); }

    // Index of the first element from start on equal to x; -1 when none.
    int find(const T& x, int start = 0) const {
        if (start < 0) start = 0;
        for (int i = start; i < m_count; ++i)
            if (Base::equal(m_data[i], x)) return i;
        return -1;
    }

    // Destroys n elements from index i (clipped to the array) and closes the gap.
    void removeItems(int i, int n) {
        if (i < 0 || i >= m_count || n <= 0) return;
        if (n > m_count - i) n = m_count - i;
        for (int k = i; k < i + n; ++k) Base::destroy(m_data + k);
        int tail = m_count - i - n;
        if constexpr (btkRelocatable<T>::value) {
            std::memmove(static_cast<void*>(m_data + i), static_cast<const void*>(m_data + i + n),
                         sizeof(T) * static_cast<size_t>(tail));
        } else {
            for (int k = 0; k < tail; ++k) {
                new (m_data + i + k) T(std::move(m_data[i + n + k]));
                m_data[i + n + k].~T();
            }
        }
        m_count -= n;
    }

    void clear() {
        for (int i = 0; i < m_count; ++i) Base::destroy(m_data + i);
        m_count = 0;
    }

protected:
    void swap(btkMemoryArray& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_count, other.m_count);
        std::swap(m_capacity, other.m_capacity);
    }

private:
    int m_capacity = 0;
};

// Element policies: construct a place from a value, destroy an element,
// compare two elements.
template <class T> struct btkCntVecBase {
    static void construct(T* place, const T& x) { std::memcpy(static_cast<void*>(place), &x, sizeof(T)); }
    static void destroy(T*) {}
    static bool equal(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }
};

template <class T> struct btkObjArrayBase {
    static void construct(T** place, T* const& x) { *place = x; }
    static void destroy(T** place) { delete *place; }
    static bool equal(T* a, T* b) { return a == b; }
};

template <class T> struct btkRefArrayBase {
    static void construct(T** place, T* const& x) {
        *place = x;
        if (x) x->addRef();
    }
    static void destroy(T** place) {
        if (*place) (*place)->release();
    }
    static bool equal(T* a, T* b) { return a == b; }
};

template <class T> struct btkObjVecBase {
    static void construct(T* place, const T& x) { new (place) T(x); }
    static void destroy(T* place) { place->~T(); }
    static bool equal(const T& a, const T& b) { return a == b; }
};

// Values, or pointers the array does not own.
template <class T> class btkCntVec : public btkMemoryArray<T, btkCntVecBase<T>> {
    static_assert(std::is_trivially_copyable_v<T>, "btkCntVec holds plain values only");

public:
    // Removes the first element equal to x; false when there is none.
    bool remove(const T& x) {
        int i = this->find(x);
        if (i < 0) return false;
        this->removeItems(i, 1);
        return true;
    }
};

// Pointers the array owns and deletes. It cannot be copied: two owners would
// delete the same objects.
template <class T> class btkObjArray : public btkMemoryArray<T*, btkObjArrayBase<T>> {
public:
    btkObjArray() = default;
    btkObjArray(const btkObjArray&) = delete;
    btkObjArray& operator=(const btkObjArray&) = delete;
    btkObjArray(btkObjArray&&) noexcept = default;
    btkObjArray& operator=(btkObjArray&&) noexcept = default;
};

// Counted references to btkRCObject-derived objects.
template <class T> class btkTRefArray : public btkMemoryArray<T*, btkRefArrayBase<T>> {};

// Objects held by value.
template <class T> class btkObjVec : public btkMemoryArray<T, btkObjVecBase<T>> {};
