#include "device/gpu/gpu_render_opencl.h"

#include <mutex>

#include "device/gpu/opencl_kernel_lock.h"

namespace spirovault {

namespace {

constexpr size_t kLocalSize = 16;

// Read-only device copies of the frame's tables, released when the render returns: the runtime
// keeps a buffer alive until the kernels queued on it have finished.
class DeviceTables {
  public:
    DeviceTables(const OpenClApi& cl, cl_context context) : cl_(cl), context_(context) {}
    ~DeviceTables() {
        for (cl_mem buffer : buffers_) {
            if (buffer != nullptr) cl_.ReleaseMemObject(buffer);
        }
    }
    DeviceTables(const DeviceTables&) = delete;
    DeviceTables& operator=(const DeviceTables&) = delete;

    // Null when the buffer could not be made.
    cl_mem Upload(const void* data, size_t bytes) {
        cl_int err = CL_SUCCESS;
        cl_mem buffer = cl_.CreateBuffer(context_, CL_MEM_READ_ONLY | CL_MEM_COPY_HOST_PTR, bytes,
                                         const_cast<void*>(data), &err);
        if (err != CL_SUCCESS) {
            if (buffer != nullptr) cl_.ReleaseMemObject(buffer);
            return nullptr;
        }
        buffers_[count_++] = buffer;
        return buffer;
    }

  private:
    const OpenClApi& cl_;
    cl_context context_;
    cl_mem buffers_[3] = {nullptr, nullptr, nullptr};
    int count_ = 0;
};

size_t RoundUpToLocalSize(uint32_t n) {
    return (static_cast<size_t>(n) + kLocalSize - 1) / kLocalSize * kLocalSize;
}

}  // namespace

PF_Err RenderOpenCl(const OpenClApi& cl, const OpenClQueue& device, GpuFrameData frame) {
    if (device.kernel == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    KernelArgs& args = frame.args;
    DeviceTables tables(cl, device.context);
    cl_mem lights = tables.Upload(&frame.lights, sizeof frame.lights);
    if (lights == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    cl_mem ramp = tables.Upload(frame.ramp, sizeof *frame.ramp);
    if (ramp == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    cl_mem environment = nullptr;
    if (frame.environment != nullptr) {
        environment = tables.Upload(frame.environment, frame.environment_bytes);
    } else {
        // OpenCL takes no null buffer: a 4-byte stand-in that is never read.
        static const float kNoEnvironment = 0.0f;
        environment = tables.Upload(&kNoEnvironment, sizeof kNoEnvironment);
        args.Set<KernelArg::environment_present>(0u);
        args.Set<KernelArg::environment_width>(1u);
        args.Set<KernelArg::environment_height>(1u);
        args.Set<KernelArg::hdri_rotation>(0.0f);
        args.Set<KernelArg::hdri_intensity>(0.0f);
        args.Set<KernelArg::hdri_samples>(1u);
    }
    if (environment == nullptr) return PF_Err_INTERNAL_STRUCT_DAMAGED;
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

}  // namespace spirovault
