#include "hostsim/frames/row_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>
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

    std::exception_ptr thrown;  // the first exception out of a row or the progress, if any
    auto work = [&](int thread_index) {
        while (!failed.load(std::memory_order_relaxed)) {
            const int y = next.fetch_add(1);
            if (y >= last) return;
            PF_Err err = PF_Err_NONE;
            try {
                err = row(y, thread_index);
            } catch (...) {
                // Taken to the calling thread: out of a pool thread it would end the process.
                std::lock_guard lock(mutex);
                if (!thrown) thrown = std::current_exception();
                failed = true;
                return;
            }
            std::lock_guard lock(mutex);
            if (err != PF_Err_NONE) {
                if (y < failed_row) failed_row = y, first_err = err;
                failed = true;
                return;
            }
            ++done;
            try {
                if (progress) progress(done, total);
            } catch (...) {
                if (!thrown) thrown = std::current_exception();
                failed = true;
                return;
            }
        }
    };
    std::vector<std::thread> pool;
    try {
        pool.reserve(threads - 1);
        for (int t = 1; t < threads; ++t) pool.emplace_back(work, t);
    } catch (const std::exception&) {
        // The system gives fewer threads than asked (a thread or address-space limit): the
        // rows are shared among those it gave, the calling thread at least.
    }
    work(0);
    for (std::thread& thread : pool) thread.join();
    if (thrown) std::rethrow_exception(thrown);
    return first_err;
}

}  // namespace hostsim
