#include "songs/duplworkerpool.h"

#include <algorithm>

#include "foundation/btkerror.h"
#include "foundation/btkthread.h"

DuplWorkerPool::DuplWorkerPool(int count, Find find) : find(std::move(find)), results(static_cast<size_t>(count)) {
    done = std::make_unique<std::atomic<bool>[]>(static_cast<size_t>(count));
    unsigned cores = std::thread::hardware_concurrency();
    int workers = count < 2 ? 0 : static_cast<int>(std::min<unsigned>(cores ? cores : 1, 64));
    threads.reserve(static_cast<size_t>(workers));  // a started thread always finds its place
    try {
        for (int w = 0; w < workers; ++w) {
            btkThreadStarting();
            threads.emplace_back([this] { work(); });
        }
    } catch (const std::exception& e) {
        stopWorkers();
        throw btkError(btkstring("Test stejných písní nelze spustit: ") + btkThreadStartFailure(e) + ".");
    }
}

DuplWorkerPool::~DuplWorkerPool() { stopWorkers(); }

void DuplWorkerPool::stopWorkers() {
    stop = true;
    for (std::thread& t : threads) t.join();
    threads.clear();
}

const btkCntVec<int>& DuplWorkerPool::duplicatesOf(int i) {
    if (threads.empty()) {
        find(i, results[static_cast<size_t>(i)]);
        return results[static_cast<size_t>(i)];
    }
    std::unique_lock<std::mutex> lock(mutex);
    finished.wait(lock, [&] { return failure || done[static_cast<size_t>(i)].load(); });
    if (failure) std::rethrow_exception(failure);
    return results[static_cast<size_t>(i)];
}

void DuplWorkerPool::work() {
    for (int i = next++; i < static_cast<int>(results.size()) && !stop; i = next++) {
        try {
            find(i, results[static_cast<size_t>(i)]);
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex);
            if (!failure) failure = std::current_exception();
            finished.notify_all();
            return;
        }
        std::lock_guard<std::mutex> lock(mutex);
        done[static_cast<size_t>(i)] = true;
        finished.notify_all();
    }
}
