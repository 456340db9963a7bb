#include "foundation/btkthread.h"

#include <atomic>
#include <cerrno>
#include <new>
#include <system_error>

namespace {

// Starts left before they fail; negative: none fails.
std::atomic<int> startsLeft{-1};

}  // namespace

void btkThreadStarting() {
    int left = startsLeft.load();
    while (left > 0 && !startsLeft.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0) throw std::system_error(EAGAIN, std::generic_category());
}

btkstring btkThreadStartFailure(const std::exception& e) {
    if (const auto* system = dynamic_cast<const std::system_error*>(&e))
        return btkstring("systém nedovolil spustit další vlákno (") + system->code().message().c_str() + ")";
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "nedostatek paměti";
    return e.what();
}

void btkFailThreadStartAfter(int successes) { startsLeft = successes < 0 ? -1 : successes; }
