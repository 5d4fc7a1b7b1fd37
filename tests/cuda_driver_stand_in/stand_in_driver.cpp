// The stand-in CUDA driver: the entry points the plug-in and the standalone host call, over host
// memory, with contexts, modules and functions that check what the real driver checks (a current
// context, live handles, copies inside an allocation). Kernels do not run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/cuda_driver_api.h"
#include "tests/cuda_driver_stand_in/stand_in_control.h"

namespace {

struct Module {
    CUcontext context = nullptr;
    std::vector<unsigned char> image;
    bool unloaded = false;
};

struct Copy {
    CUdeviceptr destination = 0;
    size_t bytes = 0;
    std::vector<unsigned char> kept;
};

struct Failure {
    int skip = 0;
    CUresult result = CUDA_SUCCESS;
};

struct Driver {
    std::mutex mutex;
    int device_count = 1;
    int major = 7;
    int minor = 5;
    std::map<std::string, int> calls;
    std::vector<const char*> order;  // every call's entry point, oldest first
    std::map<std::string, Failure> failures;
    std::vector<StandInLaunch> launches;
    std::vector<Module> modules;  // a CUmodule is its index + 1; a CUfunction the same
    size_t first_recorded_module = 0;
    std::vector<Copy> copies;
    std::map<CUdeviceptr, size_t> allocations;
};

Driver& State() {
    static Driver driver;
    return driver;
}

// One primary context per device; a context is the address of its device's slot.
int context_slots[16];

CUcontext PrimaryContext(CUdevice device) {
    return reinterpret_cast<CUcontext>(&context_slots[device]);
}

bool IsContext(CUcontext context) {
    const auto* slot = reinterpret_cast<const int*>(context);
    return slot >= context_slots && slot < context_slots + 16;
}

CUdevice DeviceOf(CUcontext context) {
    return static_cast<CUdevice>(reinterpret_cast<const int*>(context) - context_slots);
}

thread_local std::vector<CUcontext> context_stack;

CUcontext Current() {
    return context_stack.empty() ? nullptr : context_stack.back();
}

// Counts the call and says whether it is to fail, under the driver's lock.
CUresult Enter(Driver& d, const char* entry_point) {
    ++d.calls[entry_point];
    d.order.push_back(entry_point);
    const auto it = d.failures.find(entry_point);
    if (it == d.failures.end()) return CUDA_SUCCESS;
    if (it->second.skip-- > 0) return CUDA_SUCCESS;
    const CUresult result = it->second.result;
    d.failures.erase(it);
    return result;
}

Module* FindModule(Driver& d, const void* handle) {
    const auto index = reinterpret_cast<uintptr_t>(handle);
    if (index == 0 || index > d.modules.size() || d.modules[index - 1].unloaded) return nullptr;
    return &d.modules[index - 1];
}

// Whether [pointer, pointer + bytes) lies inside one live allocation.
bool InsideAllocation(const Driver& d, CUdeviceptr pointer, size_t bytes) {
    auto it = d.allocations.upper_bound(pointer);
    if (it == d.allocations.begin()) return false;
    --it;
    return pointer + bytes <= it->first + it->second;
}

// The size of a fat binary from its header: magic, version, header size, payload size.
size_t FatBinarySize(const void* image) {
    uint32_t magic = 0;
    uint16_t header = 0;
    uint64_t payload = 0;
    std::memcpy(&magic, image, 4);
    if (magic != 0xBA55ED50u) return 0;
    std::memcpy(&header, static_cast<const unsigned char*>(image) + 6, 2);
    std::memcpy(&payload, static_cast<const unsigned char*>(image) + 8, 8);
    return header + payload;
}

#define ENTER(name)                               \
    Driver& d = State();                          \
    std::lock_guard<std::mutex> lock(d.mutex);    \
    if (const CUresult failed = Enter(d, name)) { \
        return failed;                            \
    }

}  // namespace

extern "C" {

STAND_IN_EXPORT CUresult cuInit(unsigned int flags) {
    ENTER("cuInit");
    return flags == 0 ? CUDA_SUCCESS : CUDA_ERROR_INVALID_VALUE;
}

STAND_IN_EXPORT CUresult cuDeviceGetCount(int* count) {
    ENTER("cuDeviceGetCount");
    *count = d.device_count;
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuDeviceGet(CUdevice* device, int ordinal) {
    ENTER("cuDeviceGet");
    if (ordinal < 0 || ordinal >= d.device_count) return CUDA_ERROR_INVALID_VALUE;
    *device = ordinal;
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuDeviceGetName(char* name, int length, CUdevice device) {
    ENTER("cuDeviceGetName");
    if (device < 0 || device >= d.device_count || length < 1) return CUDA_ERROR_INVALID_VALUE;
    std::snprintf(name, static_cast<size_t>(length), "Stand-in CUDA device %d", device);
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuDeviceGetAttribute(int* value, CUdevice_attribute attribute,
                                              CUdevice device) {
    ENTER("cuDeviceGetAttribute");
    if (device < 0 || device >= d.device_count) return CUDA_ERROR_INVALID_VALUE;
    if (attribute == CU_DEVICE_ATTRIBUTE_COMPUTE_CAPABILITY_MAJOR) {
        *value = d.major;
    } else if (attribute == CU_DEVICE_ATTRIBUTE_COMPUTE_CAPABILITY_MINOR) {
        *value = d.minor;
    } else {
        return CUDA_ERROR_INVALID_VALUE;
    }
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuDevicePrimaryCtxRetain(CUcontext* context, CUdevice device) {
    ENTER("cuDevicePrimaryCtxRetain");
    if (device < 0 || device >= d.device_count) return CUDA_ERROR_INVALID_VALUE;
    *context = PrimaryContext(device);
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuDevicePrimaryCtxRelease_v2(CUdevice device) {
    ENTER("cuDevicePrimaryCtxRelease_v2");
    return device >= 0 && device < 16 ? CUDA_SUCCESS : CUDA_ERROR_INVALID_VALUE;
}

STAND_IN_EXPORT CUresult cuCtxGetCurrent(CUcontext* context) {
    ENTER("cuCtxGetCurrent");
    *context = Current();
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuCtxSetCurrent(CUcontext context) {
    ENTER("cuCtxSetCurrent");
    if (context != nullptr && !IsContext(context)) return CUDA_ERROR_INVALID_CONTEXT;
    if (!context_stack.empty()) context_stack.pop_back();
    if (context != nullptr) context_stack.push_back(context);
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuCtxGetDevice(CUdevice* device) {
    ENTER("cuCtxGetDevice");
    if (Current() == nullptr) return CUDA_ERROR_INVALID_CONTEXT;
    *device = DeviceOf(Current());
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuCtxPushCurrent_v2(CUcontext context) {
    ENTER("cuCtxPushCurrent_v2");
    if (!IsContext(context)) return CUDA_ERROR_INVALID_CONTEXT;
    context_stack.push_back(context);
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuCtxPopCurrent_v2(CUcontext* context) {
    ENTER("cuCtxPopCurrent_v2");
    if (context_stack.empty()) return CUDA_ERROR_INVALID_CONTEXT;
    if (context != nullptr) *context = context_stack.back();
    context_stack.pop_back();
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuCtxSynchronize() {
    ENTER("cuCtxSynchronize");
    return Current() != nullptr ? CUDA_SUCCESS : CUDA_ERROR_INVALID_CONTEXT;
}

STAND_IN_EXPORT CUresult cuModuleLoadData(CUmodule* module, const void* image) {
    ENTER("cuModuleLoadData");
    if (Current() == nullptr) return CUDA_ERROR_INVALID_CONTEXT;
    const size_t size = image != nullptr ? FatBinarySize(image) : 0;
    if (size == 0) return CUDA_ERROR_INVALID_IMAGE;
    Module loaded;
    loaded.context = Current();
    const auto* bytes = static_cast<const unsigned char*>(image);
    loaded.image.assign(bytes, bytes + size);
    d.modules.push_back(std::move(loaded));
    *module = reinterpret_cast<CUmodule>(static_cast<uintptr_t>(d.modules.size()));
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuModuleUnload(CUmodule module) {
    ENTER("cuModuleUnload");
    Module* found = FindModule(d, module);
    if (found == nullptr) return CUDA_ERROR_INVALID_HANDLE;
    if (found->context != Current()) return CUDA_ERROR_INVALID_CONTEXT;
    found->unloaded = true;
    return CUDA_SUCCESS;
}

// A function is named in the module when its name is among the image's strings.
STAND_IN_EXPORT CUresult cuModuleGetFunction(CUfunction* function, CUmodule module,
                                             const char* name) {
    ENTER("cuModuleGetFunction");
    Module* found = FindModule(d, module);
    if (found == nullptr) return CUDA_ERROR_INVALID_HANDLE;
    const std::string image(found->image.begin(), found->image.end());
    if (image.find(std::string(name) + '\0') == std::string::npos) return CUDA_ERROR_NOT_FOUND;
    *function = reinterpret_cast<CUfunction>(module);
    return CUDA_SUCCESS;
}

#if !defined(STAND_IN_WITHOUT_LAUNCH)
STAND_IN_EXPORT CUresult cuLaunchKernel(CUfunction function, unsigned int grid_x,
                                        unsigned int grid_y, unsigned int grid_z,
                                        unsigned int block_x, unsigned int block_y,
                                        unsigned int block_z, unsigned int shared_bytes,
                                        CUstream stream, void** kernel_params, void** extra) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    StandInLaunch launch{};
    launch.result = Enter(d, "cuLaunchKernel");
    launch.function = function;
    launch.context = Current();
    launch.grid[0] = grid_x;
    launch.grid[1] = grid_y;
    launch.grid[2] = grid_z;
    launch.block[0] = block_x;
    launch.block[1] = block_y;
    launch.block[2] = block_z;
    launch.shared_bytes = shared_bytes;
    launch.stream = stream;
    launch.had_kernel_params = kernel_params != nullptr;
    const void* buffer = nullptr;
    for (void** entry = extra; entry != nullptr && entry[0] != CU_LAUNCH_PARAM_END; entry += 2) {
        if (entry[0] == CU_LAUNCH_PARAM_BUFFER_POINTER) buffer = entry[1];
        if (entry[0] == CU_LAUNCH_PARAM_BUFFER_SIZE) {
            launch.param_bytes = *static_cast<const size_t*>(entry[1]);
        }
    }
    if (launch.result == CUDA_SUCCESS) {
        const Module* module = FindModule(d, function);
        if (module == nullptr) {
            launch.result = CUDA_ERROR_INVALID_HANDLE;
        } else if (module->context != Current()) {
            launch.result = CUDA_ERROR_INVALID_CONTEXT;
        } else if (grid_x * grid_y * grid_z == 0 || block_x * block_y * block_z == 0 ||
                   block_x * block_y * block_z > 1024 ||
                   (kernel_params == nullptr) == (buffer == nullptr) ||
                   launch.param_bytes > sizeof launch.params) {
            launch.result = CUDA_ERROR_INVALID_VALUE;
        }
    }
    if (buffer != nullptr && launch.param_bytes <= sizeof launch.params) {
        std::memcpy(launch.params, buffer, launch.param_bytes);
    }
    d.launches.push_back(launch);
    return launch.result;
}
#endif

STAND_IN_EXPORT CUresult cuMemAlloc_v2(CUdeviceptr* memory, size_t bytes) {
    ENTER("cuMemAlloc_v2");
    if (Current() == nullptr) return CUDA_ERROR_INVALID_CONTEXT;
    if (bytes == 0) return CUDA_ERROR_INVALID_VALUE;
    void* block = std::malloc(bytes);
    if (block == nullptr) return CUDA_ERROR_OUT_OF_MEMORY;
    *memory = static_cast<CUdeviceptr>(reinterpret_cast<uintptr_t>(block));
    d.allocations[*memory] = bytes;
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuMemFree_v2(CUdeviceptr memory) {
    ENTER("cuMemFree_v2");
    const auto it = d.allocations.find(memory);
    if (it == d.allocations.end()) return CUDA_ERROR_INVALID_VALUE;
    std::free(reinterpret_cast<void*>(static_cast<uintptr_t>(memory)));
    d.allocations.erase(it);
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuMemcpyHtoD_v2(CUdeviceptr destination, const void* source,
                                         size_t bytes) {
    ENTER("cuMemcpyHtoD_v2");
    if (!InsideAllocation(d, destination, bytes)) return CUDA_ERROR_INVALID_VALUE;
    std::memcpy(reinterpret_cast<void*>(static_cast<uintptr_t>(destination)), source, bytes);
    Copy copy;
    copy.destination = destination;
    copy.bytes = bytes;
    if (bytes <= kStandInCopyBytes) {
        const auto* from = static_cast<const unsigned char*>(source);
        copy.kept.assign(from, from + bytes);
    }
    d.copies.push_back(std::move(copy));
    return CUDA_SUCCESS;
}

STAND_IN_EXPORT CUresult cuMemcpyDtoH_v2(void* destination, CUdeviceptr source, size_t bytes) {
    ENTER("cuMemcpyDtoH_v2");
    if (!InsideAllocation(d, source, bytes)) return CUDA_ERROR_INVALID_VALUE;
    std::memcpy(destination, reinterpret_cast<const void*>(static_cast<uintptr_t>(source)), bytes);
    return CUDA_SUCCESS;
}

// The controls.

STAND_IN_EXPORT void StandInReset(int device_count, int major, int minor) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    d.device_count = device_count < 16 ? device_count : 16;
    d.major = major;
    d.minor = minor;
    d.calls.clear();
    d.order.clear();
    d.failures.clear();
    d.launches.clear();
    d.copies.clear();
    // Modules stay valid handles; only the records start afresh.
    d.first_recorded_module = d.modules.size();
}

STAND_IN_EXPORT void StandInFail(const char* entry_point, int skip, int result) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    d.failures[entry_point] = Failure{skip, result};
}

STAND_IN_EXPORT int StandInCallCount(const char* entry_point) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    const auto it = d.calls.find(entry_point);
    return it == d.calls.end() ? 0 : it->second;
}

STAND_IN_EXPORT int StandInCallOrderLength(void) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    return static_cast<int>(d.order.size());
}

STAND_IN_EXPORT const char* StandInCallAt(int position) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (position < 0 || static_cast<size_t>(position) >= d.order.size()) return nullptr;
    return d.order[static_cast<size_t>(position)];
}

STAND_IN_EXPORT int StandInLaunchCount(void) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    return static_cast<int>(d.launches.size());
}

STAND_IN_EXPORT int StandInGetLaunch(int index, StandInLaunch* launch) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (index < 0 || static_cast<size_t>(index) >= d.launches.size()) return 0;
    *launch = d.launches[static_cast<size_t>(index)];
    return 1;
}

STAND_IN_EXPORT int StandInModuleCount(void) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    return static_cast<int>(d.modules.size() - d.first_recorded_module);
}

STAND_IN_EXPORT size_t StandInModuleImage(int index, void* bytes, size_t capacity) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    const size_t at = d.first_recorded_module + static_cast<size_t>(index);
    if (index < 0 || at >= d.modules.size()) return 0;
    const std::vector<unsigned char>& image = d.modules[at].image;
    std::memcpy(bytes, image.data(), image.size() < capacity ? image.size() : capacity);
    return image.size();
}

STAND_IN_EXPORT int StandInModuleUnloaded(int index) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    const size_t at = d.first_recorded_module + static_cast<size_t>(index);
    if (index < 0 || at >= d.modules.size()) return 0;
    return d.modules[at].unloaded ? 1 : 0;
}

STAND_IN_EXPORT void* StandInModuleContext(int index) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    const size_t at = d.first_recorded_module + static_cast<size_t>(index);
    if (index < 0 || at >= d.modules.size()) return nullptr;
    return d.modules[at].context;
}

STAND_IN_EXPORT int StandInCopyCount(void) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    return static_cast<int>(d.copies.size());
}

STAND_IN_EXPORT size_t StandInGetCopy(int index, unsigned long long* destination, void* bytes,
                                      size_t capacity) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (index < 0 || static_cast<size_t>(index) >= d.copies.size()) return 0;
    const Copy& copy = d.copies[static_cast<size_t>(index)];
    *destination = copy.destination;
    const size_t kept = copy.kept.size() < capacity ? copy.kept.size() : capacity;
    if (kept > 0) std::memcpy(bytes, copy.kept.data(), kept);
    return copy.bytes;
}

STAND_IN_EXPORT int StandInLiveAllocations(void) {
    Driver& d = State();
    std::lock_guard<std::mutex> lock(d.mutex);
    return static_cast<int>(d.allocations.size());
}

}  // extern "C"
