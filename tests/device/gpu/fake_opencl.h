// An OpenCL runtime stand-in that records what the drivers ask of it: kernel arguments, launches
// with the arguments they were queued with, barriers, writes and reads of device memory, and,
// standing in for the host's GPU device suite, the device memory allocated and freed. Failures
// can be injected at a given call.
#ifndef SPIROVAULT_TESTS_DEVICE_GPU_FAKE_OPENCL_H
#define SPIROVAULT_TESTS_DEVICE_GPU_FAKE_OPENCL_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/pf_gpu_device_suite.h"
#include "platform/opencl_runtime.h"

namespace spirovault {

struct FakeBuffer {
    std::vector<uint8_t> bytes;
    bool released = false;  // freed through the suite
};

struct FakeLaunch {
    std::map<cl_uint, std::vector<uint8_t>> args;
    cl_uint dimensions = 0;
    size_t global[2] = {0, 0};
    size_t local[2] = {0, 0};
};

struct FakeOpenCl {
    std::mutex mutex;
    std::vector<std::unique_ptr<FakeBuffer>> buffers;
    std::map<cl_uint, std::vector<uint8_t>> args;  // the kernel object's current arguments
    std::vector<cl_uint> arg_calls;
    std::vector<FakeLaunch> launches;
    std::vector<std::string> calls;  // "allocate", "write", "enqueue", "barrier", "free", ...
    int fail_buffer_at = 0;          // the n-th allocation fails (1-based; 0 = never)
    int buffers_made = 0;
    int fail_arg_index = -1;
    int slow_arg_index = -1;  // clSetKernelArg of this index takes a while
    cl_int build_result = CL_SUCCESS;
    cl_int kernel_result = CL_SUCCESS;
    std::vector<std::string> program_strings;
    std::vector<size_t> program_lengths;
    std::string build_options;
    std::string kernel_name;
    int programs_released = 0;
    int kernels_released = 0;

    // The runtime table whose entry points record into the active fake.
    static const OpenClApi& Api();
    // The host's GPU device suite, allocating and freeing FakeBuffers.
    static const PF_GPUDeviceSuite1& Suite();
    static FakeOpenCl* active;

    FakeBuffer* Buffer(const void* mem) { return static_cast<FakeBuffer*>(const_cast<void*>(mem)); }
    // An argument as the value it was set to.
    template <typename T>
    static T As(const std::vector<uint8_t>& bytes) {
        T value{};
        std::memcpy(&value, bytes.data(), std::min(sizeof value, bytes.size()));
        return value;
    }
};

// Makes a fake the active one for a scope.
class ActiveFake {
  public:
    explicit ActiveFake(FakeOpenCl* fake) { FakeOpenCl::active = fake; }
    ~ActiveFake() { FakeOpenCl::active = nullptr; }
};

}  // namespace spirovault

#endif
