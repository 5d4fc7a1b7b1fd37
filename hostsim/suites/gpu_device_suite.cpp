#include <new>

#include "host/pf_gpu_device_suite.h"
#include "hostsim/host_services.h"
#include "hostsim/suites/standalone_suites.h"

namespace hostsim {

namespace {

GpuDevices* Devices() {
    HostServices* services = HostServices::Active();
    return services != nullptr ? &services->gpu() : nullptr;
}

PF_Err GetDeviceCount(PF_ProgPtr, A_u_long* count) {
    GpuDevices* devices = Devices();
    if (devices == nullptr || count == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *count = static_cast<A_u_long>(devices->count());
    return PF_Err_NONE;
}

PF_Err GetDeviceInfo(PF_ProgPtr, A_u_long index, PF_GPUDeviceInfo* info) {
    GpuDevices* devices = Devices();
    GpuDevice* device = devices != nullptr ? devices->device(index) : nullptr;
    if (device == nullptr || info == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *info = device->info();
    return PF_Err_NONE;
}

PF_Err ExclusiveDeviceAccess(PF_ProgPtr, A_u_long index) {
    GpuDevices* devices = Devices();
    return devices != nullptr && devices->device(index) != nullptr ? PF_Err_NONE
                                                                   : PF_Err_BAD_CALLBACK_PARAM;
}

PF_Err AllocateDeviceMemory(PF_ProgPtr, A_u_long index, size_t size, void** memory) {
    GpuDevices* devices = Devices();
    GpuDevice* device = devices != nullptr ? devices->device(index) : nullptr;
    if (device == nullptr || memory == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *memory = devices->AllocateForEffect(index, size, HostServices::ActiveFrame());
    return *memory != nullptr ? PF_Err_NONE : PF_Err_OUT_OF_MEMORY;
}

PF_Err FreeDeviceMemory(PF_ProgPtr, A_u_long index, void* memory) {
    GpuDevices* devices = Devices();
    GpuDevice* device = devices != nullptr ? devices->device(index) : nullptr;
    if (device == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    devices->FreeForEffect(index, memory);
    return PF_Err_NONE;
}

// The standalone host keeps no memory caches to purge.
PF_Err PurgeDeviceMemory(PF_ProgPtr, A_u_long, size_t, size_t* purged) {
    if (purged != nullptr) *purged = 0;
    return PF_Err_NONE;
}

PF_Err AllocateHostMemory(PF_ProgPtr, A_u_long, size_t size, void** memory) {
    if (memory == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *memory = ::operator new(size, std::nothrow);
    return *memory != nullptr ? PF_Err_NONE : PF_Err_OUT_OF_MEMORY;
}

PF_Err FreeHostMemory(PF_ProgPtr, A_u_long, void* memory) {
    ::operator delete(memory);
    return PF_Err_NONE;
}

PF_Err PurgeHostMemory(PF_ProgPtr, A_u_long, size_t, size_t* purged) {
    if (purged != nullptr) *purged = 0;
    return PF_Err_NONE;
}

PF_Err CreateGPUWorld(PF_ProgPtr, A_u_long index, A_long width, A_long height, PF_RationalScale,
                      A_long, PF_PixelFormat format, PF_Boolean clear, PF_EffectWorld** world) {
    GpuDevices* devices = Devices();
    if (devices == nullptr || world == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    if (format != PF_PixelFormat_GPU_BGRA128) return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    *world = devices->CreateWorld(index, width, height, clear != 0);
    return *world != nullptr ? PF_Err_NONE : PF_Err_OUT_OF_MEMORY;
}

PF_Err DisposeGPUWorld(PF_ProgPtr, PF_EffectWorld* world) {
    GpuDevices* devices = Devices();
    if (devices == nullptr || !devices->IsGpuWorld(world)) return PF_Err_BAD_CALLBACK_PARAM;
    devices->DisposeWorld(world);
    return PF_Err_NONE;
}

PF_Err GetGPUWorldData(PF_ProgPtr, PF_EffectWorld* world, void** data) {
    GpuDevices* devices = Devices();
    if (devices == nullptr || data == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *data = devices->WorldData(world);
    return *data != nullptr ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
}

PF_Err GetGPUWorldSize(PF_ProgPtr, PF_EffectWorld* world, size_t* bytes) {
    GpuDevices* devices = Devices();
    if (devices == nullptr || bytes == nullptr || !devices->IsGpuWorld(world)) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *bytes = devices->WorldBytes(world);
    return PF_Err_NONE;
}

PF_Err GetGPUWorldDeviceIndex(PF_ProgPtr, PF_EffectWorld* world, A_u_long* index) {
    GpuDevices* devices = Devices();
    const int device = devices != nullptr ? devices->WorldDevice(world) : -1;
    if (device < 0 || index == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    *index = static_cast<A_u_long>(device);
    return PF_Err_NONE;
}

const PF_GPUDeviceSuite1 kGpuDeviceSuite = {
    GetDeviceCount,       GetDeviceInfo,    ExclusiveDeviceAccess,  ExclusiveDeviceAccess,
    AllocateDeviceMemory, FreeDeviceMemory, PurgeDeviceMemory,      AllocateHostMemory,
    FreeHostMemory,       PurgeHostMemory,  CreateGPUWorld,         DisposeGPUWorld,
    GetGPUWorldData,      GetGPUWorldSize,  GetGPUWorldDeviceIndex,
};

}  // namespace

const PF_GPUDeviceSuite1* StandaloneGpuDeviceSuite() {
    return &kGpuDeviceSuite;
}

}  // namespace hostsim
