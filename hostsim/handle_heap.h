// Host memory handles with the accounting a test needs: which are live, which are locked,
// which the host itself owns, and misuse. Allocations and locks can be made to fail.
#ifndef SPIROVAULT_HOSTSIM_HANDLE_HEAP_H
#define SPIROVAULT_HOSTSIM_HANDLE_HEAP_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "host/ae_basic_types.h"
#include "hostsim/resource_holder.h"

namespace hostsim {

// Safe for use from several frames at once; `holder` is the frame a call belongs to.
class HandleHeap {
  public:
    // Fresh blocks hold this byte, so reads of unwritten memory show up.
    static constexpr uint8_t kFreshByte = 0xA5;

    PF_Handle New(size_t size, ResourceHolder holder = nullptr);
    // Null for unknown handles and injected failures.
    void* Lock(PF_Handle handle, ResourceHolder holder = nullptr);
    void Unlock(PF_Handle handle, ResourceHolder holder = nullptr);
    void Dispose(PF_Handle handle);
    size_t Size(PF_Handle handle) const;
    PF_Err Resize(size_t size, PF_Handle* handle);

    // The n-th allocation (or lock) from now fails, counting from 1.
    void FailAllocation(int nth);
    void FailLock(int nth);

    // The heap's own lock, which every handle call takes. The host application holds locks of
    // its own while it calls into effects (frames it renders on its own thread); a caller holding
    // this while it sends a command plays that, so that an effect holding a lock of its own
    // across a handle call shows up as a lock-order inversion under the thread sanitizer.
    std::unique_lock<std::recursive_mutex> HoldLock() const {
        return std::unique_lock<std::recursive_mutex>(mutex_);
    }

    // Handles the host keeps (parameter values it stores); they are not leaks.
    void MarkHostOwned(PF_Handle handle);

    bool IsLive(PF_Handle handle) const;
    std::vector<uint8_t> Bytes(PF_Handle handle) const;
    size_t LiveCount() const;
    // Both leave out what the skipped holders allocated or locked.
    size_t UnownedLiveCount(const HolderSet& skip = {}) const;
    size_t LockedCount(const HolderSet& skip = {}) const;
    int Misuses() const;  // unknown handles, unbalanced unlocks, disposal while locked

  private:
    struct Block {
        std::vector<uint8_t> bytes;
        int locks = 0;
        bool host_owned = false;
        ResourceHolder allocated_by = nullptr;
        HeldCounts lockers;
    };
    Block* Find(PF_Handle handle) const;
    static bool Consume(std::set<int>& schedule, int& counter);

    mutable std::recursive_mutex mutex_;
    std::map<PF_Handle, std::unique_ptr<Block>> blocks_;
    std::set<int> failing_allocations_;
    std::set<int> failing_locks_;
    int allocation_counter_ = 0;
    int lock_counter_ = 0;
    mutable int misuses_ = 0;
};

}  // namespace hostsim

#endif
