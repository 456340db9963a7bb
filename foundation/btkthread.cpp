#include "foundation/btkthread.h"

#include <atomic>
#include <cerrno>
#include <system_error>

namespace {

// Starts left before they fail; negative: none fails.
std::atomic<int> startsLeft{-1};

}  // namespace

void btkThreadStarting() {
    int left = startsLeft.load();
    while (left > 0 && !startsLeft.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0) throw std::system_error(EAGAIN, std::generic_category(), "cannot start a thread");
}

void btkFailThreadStartAfter(int successes) { startsLeft = successes < 0 ? -1 : successes; }
