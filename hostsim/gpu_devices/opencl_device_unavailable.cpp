// Builds without an OpenCL import library (Windows: MinGW has none) offer no OpenCL device; the
// plug-in itself still opens OpenCL.dll at run time for the host application's devices.
#include "hostsim/gpu_devices/gpu_device.h"

namespace hostsim {

std::unique_ptr<GpuDevice> OpenOpenClDevice(std::string* why_not) {
    if (why_not != nullptr) *why_not = "this build's standalone host has no OpenCL devices";
    return nullptr;
}

}  // namespace hostsim
