// DuplWorkerPool: the worker threads of the duplicate-song test. They find
// the duplicates of every song on all cores and hand them out in song order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "foundation/btkarray.h"

// The comparisons of one song with the later ones do not depend on the
// groups formed so far, only whether the song is looked at does. Workers
// take songs in order from a shared counter, so the song the caller waits
// for next is always among the first taken.
class DuplWorkerPool {
public:
    // find(i, out) adds the later songs that are duplicates of song i to
    // out, in song order; it runs on the workers. With fewer than two songs
    // no worker is started and the caller's thread finds them. Throws
    // btkError with the reason when a worker cannot start, after stopping
    // the workers that did.
    using Find = std::function<void(int, btkCntVec<int>&)>;

    DuplWorkerPool(int count, Find find);
    DuplWorkerPool(const DuplWorkerPool&) = delete;
    DuplWorkerPool& operator=(const DuplWorkerPool&) = delete;
    // Stops the workers and waits for them.
    ~DuplWorkerPool();

    // The later songs that are duplicates of song i, in song order; waits
    // for them. Rethrows what a worker threw.
    const btkCntVec<int>& duplicatesOf(int i);

private:
    void work();
    void stopWorkers();  // sets stop and joins every started worker

    Find find;
    std::vector<btkCntVec<int>> results;
    std::unique_ptr<std::atomic<bool>[]> done;
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    std::exception_ptr failure;
    std::vector<std::thread> threads;
};
