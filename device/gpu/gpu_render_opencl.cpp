#include "device/gpu/gpu_render_opencl.h"

#include <mutex>

#include "device/gpu/opencl_kernel_lock.h"

namespace spirovault {

namespace {

constexpr size_t kLocalSize = 16;

// The table's copy in device memory from the host; the write completes before it returns, so
// the host copy need not outlive the call.
PF_Err Upload(const OpenClApi& cl, cl_command_queue queue, GpuDeviceMemory* memory,
              const void* data, size_t bytes, cl_mem* buffer) {
    void* block = nullptr;
    const PF_Err err = memory->Allocate(bytes, &block);
    if (err != PF_Err_NONE) return err;
    *buffer = static_cast<cl_mem>(block);
    return cl.EnqueueWriteBuffer(queue, *buffer, CL_TRUE, 0, bytes, data, 0, nullptr, nullptr) ==
                   CL_SUCCESS
               ? PF_Err_NONE
               : PF_Err_INTERNAL_STRUCT_DAMAGED;
}

size_t RoundUpToLocalSize(uint32_t n) {
    return (static_cast<size_t>(n) + kLocalSize - 1) / kLocalSize * kLocalSize;
}

}  // namespace

PF_Err RenderOpenCl(const OpenClApi& cl, const OpenClQueue& device, GpuDeviceMemory* memory,
                    GpuFrameData frame) {
    if (device.kernel == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    KernelArgs& args = frame.args;
    cl_mem lights = nullptr;
    cl_mem ramp = nullptr;
    cl_mem environment = nullptr;
    PF_Err err = Upload(cl, device.queue, memory, &frame.lights, sizeof frame.lights, &lights);
    if (err == PF_Err_NONE) {
        err = Upload(cl, device.queue, memory, frame.ramp, sizeof *frame.ramp, &ramp);
    }
    if (err == PF_Err_NONE && frame.environment != nullptr) {
        err = Upload(cl, device.queue, memory, frame.environment, frame.environment_bytes,
                     &environment);
    }
    // The kernel never runs with a table missing.
    if (err != PF_Err_NONE) return err;
    if (environment == nullptr) {
        // OpenCL takes no null buffer: the light table stands in, never read.
        environment = lights;
        args.Set<KernelArg::environment_present>(0u);
        args.Set<KernelArg::environment_width>(1u);
        args.Set<KernelArg::environment_height>(1u);
        args.Set<KernelArg::hdri_rotation>(0.0f);
        args.Set<KernelArg::hdri_intensity>(0.0f);
        args.Set<KernelArg::hdri_samples>(1u);
    }
    args.Set<KernelArg::lights>(lights);
    args.Set<KernelArg::ramp>(ramp);
    args.Set<KernelArg::environment>(environment);
    // Never read without compositing, but OpenCL takes no null buffer.
    if (args.Get<KernelArg::input>() == nullptr) {
        args.Set<KernelArg::input>(args.Get<KernelArg::output>());
    }

    const size_t global[2] = {RoundUpToLocalSize(args.Get<KernelArg::width>()),
                              RoundUpToLocalSize(args.Get<KernelArg::height>())};
    const size_t local[2] = {kLocalSize, kLocalSize};
    // Held over OpenCL calls only, never over a call into the host.
    std::lock_guard<std::mutex> lock(OpenClKernelLock(device.kernel));
    for (int i = 0; i < kKernelArgCount; ++i) {
        const auto arg = static_cast<KernelArg>(i);
        if (cl.SetKernelArg(device.kernel, static_cast<cl_uint>(i), SizeOf(arg), args.Bytes(arg)) !=
            CL_SUCCESS) {
            return PF_Err_INTERNAL_STRUCT_DAMAGED;
        }
    }
    if (cl.EnqueueNDRangeKernel(device.queue, device.kernel, 2, nullptr, global, local, 0, nullptr,
                                nullptr) != CL_SUCCESS ||
        cl.EnqueueBarrierWithWaitList(device.queue, 0, nullptr, nullptr) != CL_SUCCESS) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    return PF_Err_NONE;
}

PF_Err ReadOpenClBuffer(const OpenClApi& cl, cl_command_queue queue, void* buffer, size_t bytes,
                        void* host) {
    return cl.EnqueueReadBuffer(queue, static_cast<cl_mem>(buffer), CL_TRUE, 0, bytes, host, 0,
                                nullptr, nullptr) == CL_SUCCESS
               ? PF_Err_NONE
               : PF_Err_INTERNAL_STRUCT_DAMAGED;
}

}  // namespace spirovault
