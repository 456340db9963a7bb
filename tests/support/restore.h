// A program-wide setting (a timeout, a wait bound) changed for the length of
// a test scope and put back when the scope ends, also when a fatal assertion
// leaves the test early: later tests of the same process see the value they
// would see alone.
#pragma once

namespace kx6test {

template <class T> class Restore {
public:
    Restore(T& setting, T value) : setting(setting), saved(setting) { setting = value; }
    ~Restore() { setting = saved; }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    T& setting;
    T saved;
};

}  // namespace kx6test
