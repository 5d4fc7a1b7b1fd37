// One GPU device of the standalone host, as the host application holds it: its framework, the
// handles the effect receives through "PF GPU Device Suite", and device memory for GPU worlds.
#ifndef SPIROVAULT_HOSTSIM_GPU_DEVICES_GPU_DEVICE_H
#define SPIROVAULT_HOSTSIM_GPU_DEVICES_GPU_DEVICE_H

#include <cstddef>
#include <memory>
#include <string>

#include "host/pf_gpu_device_suite.h"

namespace hostsim {

class GpuDevice {
  public:
    virtual ~GpuDevice() = default;

    virtual PF_GPU_Framework framework() const = 0;
    virtual std::string name() const = 0;
    // Platform, device, context and queue as the effect receives them.
    virtual PF_GPUDeviceInfo info() const = 0;

    // Device memory: a cl_mem on OpenCL, a device pointer on CUDA; null when it cannot be had.
    virtual void* Allocate(size_t bytes) = 0;
    virtual void Free(void* memory) = 0;
    // Row-wise copies between packed host rows and device rows `rowbytes` apart. Both wait for
    // the work queued before them.
    virtual bool Write(void* memory, size_t rowbytes, const void* rows, size_t row_length,
                       int height) = 0;
    virtual bool Read(const void* memory, size_t rowbytes, void* rows, size_t row_length,
                      int height) = 0;
    // Waits until everything queued on the device has finished.
    virtual void Finish() = 0;
    // What the host does on a thread before it sends that thread a command for this device
    // (CUDA: makes the device's context current).
    virtual void MakeCurrent() const {}
};

// The first device of the system's OpenCL runtime; null with the reason when there is none.
std::unique_ptr<GpuDevice> OpenOpenClDevice(std::string* why_not);
// The first CUDA device; null with the reason when there is none or CUDA is not built in.
std::unique_ptr<GpuDevice> OpenCudaDevice(std::string* why_not);

}  // namespace hostsim

#endif
