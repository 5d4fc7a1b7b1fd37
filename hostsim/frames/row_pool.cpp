#include "hostsim/frames/row_pool.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace hostsim {

int AllCoresThreadCount() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

PF_Err RunRows(int first, int last, int threads, const std::function<PF_Err(int)>& row,
               const std::function<void(int, int)>& progress) {
    return RunRowsOnThreads(
        first, last, threads, [&](int y, int) { return row(y); }, progress);
}

PF_Err RunRowsOnThreads(int first, int last, int threads,
                        const std::function<PF_Err(int, int)>& row,
                        const std::function<void(int, int)>& progress) {
    const int total = std::max(last - first, 0);
    if (total == 0) return PF_Err_NONE;
    if (threads <= 0) threads = AllCoresThreadCount();
    threads = std::min(threads, total);

    std::atomic<int> next{first};
    std::atomic<bool> failed{false};
    std::mutex mutex;  // guards the fields below and serialises progress calls
    int done = 0;
    int failed_row = last;
    PF_Err first_err = PF_Err_NONE;

    auto work = [&](int thread_index) {
        while (!failed.load(std::memory_order_relaxed)) {
            const int y = next.fetch_add(1);
            if (y >= last) return;
            const PF_Err err = row(y, thread_index);
            std::lock_guard lock(mutex);
            if (err != PF_Err_NONE) {
                if (y < failed_row) failed_row = y, first_err = err;
                failed = true;
                return;
            }
            ++done;
            if (progress) progress(done, total);
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (int t = 1; t < threads; ++t) pool.emplace_back(work, t);
    work(0);
    for (std::thread& thread : pool) thread.join();
    return first_err;
}

}  // namespace hostsim
