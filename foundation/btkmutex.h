// btkMutex, a re-entrant critical section, and btkLock, its scoped holder.
#pragma once

#include <mutex>

class btkMutex {
public:
    btkMutex() = default;
    btkMutex(const btkMutex&) = delete;
    btkMutex& operator=(const btkMutex&) = delete;
    void lock() { m.lock(); }
    void unlock() { m.unlock(); }

private:
    std::recursive_mutex m;
};

class btkLock {
public:
    explicit btkLock(btkMutex& mutex) : held(&mutex) { held->lock(); }
    btkLock(const btkLock&) = delete;
    btkLock& operator=(const btkLock&) = delete;
    ~btkLock() { held->unlock(); }

private:
    btkMutex* held;
};
