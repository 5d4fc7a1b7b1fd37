// Device memory of one GPU frame, allocated through the host's GPU device suite so that the
// host's memory manager can count and reclaim it, and freed through it on every way out.
#ifndef SPIROVAULT_DEVICE_GPU_GPU_DEVICE_MEMORY_H
#define SPIROVAULT_DEVICE_GPU_GPU_DEVICE_MEMORY_H

#include <cstddef>

#include "host/pf_gpu_device_suite.h"

namespace spirovault {

class GpuDeviceMemory {
  public:
    GpuDeviceMemory(const PF_GPUDeviceSuite1& suite, PF_ProgPtr effect_ref, A_u_long device_index)
        : suite_(suite), effect_ref_(effect_ref), device_index_(device_index) {}
    ~GpuDeviceMemory();
    GpuDeviceMemory(const GpuDeviceMemory&) = delete;
    GpuDeviceMemory& operator=(const GpuDeviceMemory&) = delete;

    // A block of `bytes` (a cl_mem on OpenCL, a device pointer on CUDA); PF_Err_OUT_OF_MEMORY
    // when the host refuses.
    PF_Err Allocate(size_t bytes, void** memory);

  private:
    static constexpr int kMaxBlocks = 4;
    const PF_GPUDeviceSuite1& suite_;
    PF_ProgPtr effect_ref_;
    A_u_long device_index_;
    void* blocks_[kMaxBlocks] = {};
    int count_ = 0;
};

}  // namespace spirovault

#endif
