// An OpenCL device through the system's OpenCL runtime: one context and one in-order queue.
#include <vector>

#include "hostsim/gpu_devices/gpu_device.h"
#include "platform/opencl_api.h"

namespace hostsim {

namespace {

class OpenClDevice : public GpuDevice {
  public:
    OpenClDevice(cl_platform_id platform, cl_device_id device, cl_context context,
                 cl_command_queue queue)
        : platform_(platform), device_(device), context_(context), queue_(queue) {}
    ~OpenClDevice() override {
        clFinish(queue_);
        clReleaseCommandQueue(queue_);
        clReleaseContext(context_);
    }

    PF_GPU_Framework framework() const override { return PF_GPU_Framework_OPENCL; }

    std::string name() const override {
        char text[256] = {};
        clGetDeviceInfo(device_, CL_DEVICE_NAME, sizeof text - 1, text, nullptr);
        return text;
    }

    PF_GPUDeviceInfo info() const override {
        PF_GPUDeviceInfo info{};
        info.device_framework = PF_GPU_Framework_OPENCL;
        info.compatibleB = 1;
        info.platformPV = platform_;
        info.devicePV = device_;
        info.contextPV = context_;
        info.command_queuePV = queue_;
        return info;
    }

    void* Allocate(size_t bytes) override {
        cl_int err = CL_SUCCESS;
        cl_mem memory = clCreateBuffer(context_, CL_MEM_READ_WRITE, bytes, nullptr, &err);
        return err == CL_SUCCESS ? memory : nullptr;
    }

    void Free(void* memory) override {
        if (memory != nullptr) clReleaseMemObject(static_cast<cl_mem>(memory));
    }

    bool Write(void* memory, size_t rowbytes, const void* rows, size_t row_length,
               int height) override {
        const size_t origin[3] = {0, 0, 0};
        const size_t region[3] = {row_length, static_cast<size_t>(height), 1};
        return clEnqueueWriteBufferRect(queue_, static_cast<cl_mem>(memory), CL_TRUE, origin,
                                        origin, region, rowbytes, 0, row_length, 0, rows, 0,
                                        nullptr, nullptr) == CL_SUCCESS;
    }

    bool Read(const void* memory, size_t rowbytes, void* rows, size_t row_length,
              int height) override {
        const size_t origin[3] = {0, 0, 0};
        const size_t region[3] = {row_length, static_cast<size_t>(height), 1};
        return clEnqueueReadBufferRect(queue_, static_cast<cl_mem>(const_cast<void*>(memory)),
                                       CL_TRUE, origin, origin, region, rowbytes, 0, row_length, 0,
                                       rows, 0, nullptr, nullptr) == CL_SUCCESS;
    }

    void Finish() override { clFinish(queue_); }

  private:
    cl_platform_id platform_;
    cl_device_id device_;
    cl_context context_;
    cl_command_queue queue_;
};

}  // namespace

std::unique_ptr<GpuDevice> OpenOpenClDevice(std::string* why_not) {
    cl_uint count = 0;
    if (clGetPlatformIDs(0, nullptr, &count) != CL_SUCCESS || count == 0) {
        if (why_not) *why_not = "no OpenCL platform is installed";
        return nullptr;
    }
    std::vector<cl_platform_id> platforms(count);
    clGetPlatformIDs(count, platforms.data(), nullptr);
    for (cl_platform_id platform : platforms) {
        cl_device_id device = nullptr;
        if (clGetDeviceIDs(platform, CL_DEVICE_TYPE_ALL, 1, &device, nullptr) != CL_SUCCESS) {
            continue;
        }
        cl_int err = CL_SUCCESS;
        cl_context context = clCreateContext(nullptr, 1, &device, nullptr, nullptr, &err);
        if (err != CL_SUCCESS) continue;
        cl_command_queue queue = clCreateCommandQueue(context, device, 0, &err);
        if (err != CL_SUCCESS) {
            clReleaseContext(context);
            continue;
        }
        return std::make_unique<OpenClDevice>(platform, device, context, queue);
    }
    if (why_not) *why_not = "no OpenCL device is available";
    return nullptr;
}

}  // namespace hostsim
