#include "device/gpu/gpu_device_memory.h"

namespace spirovault {

GpuDeviceMemory::~GpuDeviceMemory() {
    for (int i = count_ - 1; i >= 0; --i) {
        suite_.FreeDeviceMemory(effect_ref_, device_index_, blocks_[i]);
    }
}

PF_Err GpuDeviceMemory::Allocate(size_t bytes, void** memory) {
    *memory = nullptr;
    if (count_ == kMaxBlocks || suite_.AllocateDeviceMemory == nullptr) return PF_Err_OUT_OF_MEMORY;
    void* block = nullptr;
    if (suite_.AllocateDeviceMemory(effect_ref_, device_index_, bytes, &block) != PF_Err_NONE ||
        block == nullptr) {
        return PF_Err_OUT_OF_MEMORY;
    }
    blocks_[count_++] = block;
    *memory = block;
    return PF_Err_NONE;
}

}  // namespace spirovault
