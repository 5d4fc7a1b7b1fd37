#include "hostsim/handle_heap.h"

#include <algorithm>

namespace hostsim {

HandleHeap::Block* HandleHeap::Find(PF_Handle handle) const {
    const auto it = blocks_.find(handle);
    if (it == blocks_.end()) {
        ++misuses_;
        return nullptr;
    }
    return it->second.get();
}

bool HandleHeap::Consume(std::set<int>& schedule, int& counter) {
    ++counter;
    std::set<int> shifted;
    bool fail = false;
    for (int n : schedule) {
        if (n == 1) {
            fail = true;
        } else {
            shifted.insert(n - 1);
        }
    }
    schedule = std::move(shifted);
    return fail;
}

PF_Handle HandleHeap::New(size_t size, ResourceHolder holder) {
    std::lock_guard lock(mutex_);
    if (Consume(failing_allocations_, allocation_counter_)) return nullptr;
    auto block = std::make_unique<Block>();
    block->bytes.assign(size, kFreshByte);
    block->allocated_by = holder;
    auto handle = reinterpret_cast<PF_Handle>(block.get());
    blocks_.emplace(handle, std::move(block));
    return handle;
}

void* HandleHeap::Lock(PF_Handle handle, ResourceHolder holder) {
    std::lock_guard lock(mutex_);
    if (Consume(failing_locks_, lock_counter_)) return nullptr;
    Block* block = Find(handle);
    if (block == nullptr) return nullptr;
    ++block->locks;
    block->lockers.Add(holder);
    return block->bytes.data();
}

void HandleHeap::Unlock(PF_Handle handle, ResourceHolder holder) {
    std::lock_guard lock(mutex_);
    Block* block = Find(handle);
    if (block == nullptr) return;
    if (block->locks == 0) {
        ++misuses_;
        return;
    }
    --block->locks;
    block->lockers.Remove(holder);
}

void HandleHeap::Dispose(PF_Handle handle) {
    std::lock_guard lock(mutex_);
    Block* block = Find(handle);
    if (block == nullptr) return;
    if (block->locks != 0) ++misuses_;
    blocks_.erase(handle);
}

size_t HandleHeap::Size(PF_Handle handle) const {
    std::lock_guard lock(mutex_);
    const Block* block = Find(handle);
    return block == nullptr ? 0 : block->bytes.size();
}

PF_Err HandleHeap::Resize(size_t size, PF_Handle* handle) {
    std::lock_guard lock(mutex_);
    Block* block = handle != nullptr ? Find(*handle) : nullptr;
    if (block == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    if (block->locks != 0) return PF_Err_BAD_CALLBACK_PARAM;
    block->bytes.resize(size, kFreshByte);
    return PF_Err_NONE;
}

void HandleHeap::FailAllocation(int nth) {
    std::lock_guard lock(mutex_);
    failing_allocations_.insert(nth);
}

void HandleHeap::FailLock(int nth) {
    std::lock_guard lock(mutex_);
    failing_locks_.insert(nth);
}

void HandleHeap::MarkHostOwned(PF_Handle handle) {
    std::lock_guard lock(mutex_);
    if (Block* block = Find(handle)) block->host_owned = true;
}

bool HandleHeap::IsLive(PF_Handle handle) const {
    std::lock_guard lock(mutex_);
    return blocks_.count(handle) != 0;
}

std::vector<uint8_t> HandleHeap::Bytes(PF_Handle handle) const {
    std::lock_guard lock(mutex_);
    const Block* block = Find(handle);
    return block == nullptr ? std::vector<uint8_t>{} : block->bytes;
}

size_t HandleHeap::LiveCount() const {
    std::lock_guard lock(mutex_);
    return blocks_.size();
}

size_t HandleHeap::UnownedLiveCount(const HolderSet& skip) const {
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count_if(blocks_.begin(), blocks_.end(), [&](const auto& b) {
        return !b.second->host_owned && skip.count(b.second->allocated_by) == 0;
    }));
}

size_t HandleHeap::LockedCount(const HolderSet& skip) const {
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count_if(blocks_.begin(), blocks_.end(), [&](const auto& b) {
        return b.second->lockers.Total(skip) != 0;
    }));
}

int HandleHeap::Misuses() const {
    std::lock_guard lock(mutex_);
    return misuses_;
}

}  // namespace hostsim
