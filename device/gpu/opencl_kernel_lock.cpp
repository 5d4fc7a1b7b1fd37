#include "device/gpu/opencl_kernel_lock.h"

#include <map>
#include <memory>

namespace spirovault {

namespace {

struct KernelLocks {
    std::mutex guard;  // over the map only, never held while a kernel lock is taken
    std::map<cl_kernel, std::unique_ptr<std::mutex>> locks;
};

KernelLocks& Registry() {
    static KernelLocks registry;
    return registry;
}

}  // namespace

std::mutex& OpenClKernelLock(cl_kernel kernel) {
    KernelLocks& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.guard);
    std::unique_ptr<std::mutex>& lock = registry.locks[kernel];
    if (!lock) lock = std::make_unique<std::mutex>();
    return *lock;
}

void ForgetOpenClKernelLock(cl_kernel kernel) {
    KernelLocks& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.guard);
    registry.locks.erase(kernel);
}

}  // namespace spirovault
