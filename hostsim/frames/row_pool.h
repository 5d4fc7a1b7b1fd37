// How the host's iterate suites spread rows over threads.
#ifndef SPIROVAULT_HOSTSIM_FRAMES_ROW_POOL_H
#define SPIROVAULT_HOSTSIM_FRAMES_ROW_POOL_H

#include <functional>

#include "host/ae_basic_types.h"

namespace hostsim {

// The pool size a setting of 0 ("all cores") stands for.
int AllCoresThreadCount();

// Runs row(y) for every y in [first, last) on `threads` threads (0 = all cores), the calling
// thread among them, rows handed out in ascending order. After a row fails no further row is
// started; the failing row's error is returned (the lowest row's when several fail).
// progress(done, total), when set, follows every finished row, one call at a time with `done`
// counting up. A row or a progress call that throws stops the rows, and the exception is thrown
// again on the calling thread once every thread has ended. When the system refuses threads (a
// thread or address-space limit) the rows are shared among those it gave, the calling thread at
// least.
PF_Err RunRows(int first, int last, int threads, const std::function<PF_Err(int)>& row,
               const std::function<void(int, int)>& progress);
// The same, telling row(y, thread_index) which of the pool's threads runs it: 0 for the
// calling thread, then 1 up to the pool size less one.
PF_Err RunRowsOnThreads(int first, int last, int threads,
                        const std::function<PF_Err(int, int)>& row,
                        const std::function<void(int, int)>& progress);

}  // namespace hostsim

#endif
