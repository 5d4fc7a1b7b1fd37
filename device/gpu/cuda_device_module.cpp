#include "device/gpu/cuda_device_module.h"

#include <map>
#include <memory>
#include <mutex>

#include "kernel/gpu/cuda_kernel_image.h"

namespace spirovault {

namespace {

// One lock per device handle: two frames arriving together on a device load its module once.
struct DeviceLocks {
    std::mutex guard;  // over the map only, never held while a device lock is taken
    std::map<PF_Handle, std::unique_ptr<std::mutex>> locks;
};

DeviceLocks& Registry() {
    static DeviceLocks registry;
    return registry;
}

std::mutex& DeviceLock(PF_Handle handle) {
    DeviceLocks& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.guard);
    std::unique_ptr<std::mutex>& lock = registry.locks[handle];
    if (!lock) lock = std::make_unique<std::mutex>();
    return *lock;
}

void ForgetDeviceLock(PF_Handle handle) {
    DeviceLocks& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.guard);
    registry.locks.erase(handle);
}

// The handle's block, locked for the life of this object.
class LockedDeviceData {
  public:
    LockedDeviceData(const PF_HandleSuite1& handles, PF_Handle handle)
        : handles_(handles),
          handle_(handle),
          data_(static_cast<CudaDeviceData*>(handles.host_lock_handle(handle))) {}
    ~LockedDeviceData() {
        if (data_ != nullptr) handles_.host_unlock_handle(handle_);
    }
    LockedDeviceData(const LockedDeviceData&) = delete;
    LockedDeviceData& operator=(const LockedDeviceData&) = delete;

    CudaDeviceData* get() const { return data_; }

  private:
    const PF_HandleSuite1& handles_;
    PF_Handle handle_;
    CudaDeviceData* data_;
};

bool LoadModule(const CudaDriverApi& cu, CudaDeviceData* data) {
    const EmbeddedBytes image = SpirovaultCudaKernelImage();
    CUcontext context = nullptr;
    if (image.size == 0 || cu.CtxGetCurrent(&context) != CUDA_SUCCESS || context == nullptr) {
        return false;
    }
    CUmodule module = nullptr;
    if (cu.ModuleLoadData(&module, image.data) != CUDA_SUCCESS) return false;
    CUfunction function = nullptr;
    if (cu.ModuleGetFunction(&function, module, "SpirovaultKernel") != CUDA_SUCCESS) {
        cu.ModuleUnload(module);
        return false;
    }
    data->module = module;
    data->function = function;
    data->context = context;
    return true;
}

}  // namespace

PF_Handle NewCudaDeviceHandle(const PF_HandleSuite1& handles) {
    PF_Handle handle = handles.host_new_handle(sizeof(CudaDeviceData));
    if (handle == nullptr) return nullptr;
    LockedDeviceData data(handles, handle);
    if (data.get() == nullptr) {
        handles.host_dispose_handle(handle);
        return nullptr;
    }
    *data.get() = CudaDeviceData{nullptr, nullptr, nullptr};
    return handle;
}

CUfunction CudaDeviceKernel(const CudaDriverApi& cu, const PF_HandleSuite1& handles,
                            PF_Handle handle) {
    if (handle == nullptr) return nullptr;
    // The handle is locked and unlocked with no lock of ours held: the host may wait inside
    // those calls on a lock that another render thread holds while it waits for ours.
    LockedDeviceData data(handles, handle);
    if (data.get() == nullptr) return nullptr;
    std::lock_guard<std::mutex> device_lock(DeviceLock(handle));
    if (data.get()->module == nullptr && !LoadModule(cu, data.get())) return nullptr;
    return data.get()->function;
}

void ReleaseCudaDeviceHandle(const CudaDriverApi* cu, const PF_HandleSuite1& handles,
                             PF_Handle handle) {
    CudaDeviceData loaded{nullptr, nullptr, nullptr};
    {
        LockedDeviceData data(handles, handle);
        if (data.get() != nullptr) loaded = *data.get();
    }
    // A module exists only where the driver was loaded to load it. The driver unloads a module
    // from the current context: the one it was loaded into is made current for that.
    if (loaded.module != nullptr && cu != nullptr) {
        CUcontext current = nullptr;
        const bool switch_context =
            cu->CtxGetCurrent(&current) != CUDA_SUCCESS || current != loaded.context;
        const bool pushed = switch_context && cu->CtxPushCurrent(loaded.context) == CUDA_SUCCESS;
        cu->ModuleUnload(loaded.module);
        if (pushed) {
            CUcontext popped = nullptr;
            cu->CtxPopCurrent(&popped);
        }
    }
    ForgetDeviceLock(handle);
    handles.host_dispose_handle(handle);
}

}  // namespace spirovault
