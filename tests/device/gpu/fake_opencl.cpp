#include "tests/device/gpu/fake_opencl.h"

#include <chrono>
#include <thread>

namespace spirovault {

FakeOpenCl* FakeOpenCl::active = nullptr;

namespace {

cl_program CreateProgramWithSource(cl_context, cl_uint count, const char** strings,
                                   const size_t* lengths, cl_int* err) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    for (cl_uint i = 0; i < count; ++i) {
        f.program_strings.emplace_back(strings[i], lengths[i]);
        f.program_lengths.push_back(lengths[i]);
    }
    f.calls.push_back("program");
    *err = CL_SUCCESS;
    return reinterpret_cast<cl_program>(&f);
}

cl_int BuildProgram(cl_program, cl_uint, const cl_device_id*, const char* options,
                    void(CL_CALLBACK*)(cl_program, void*), void*) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.build_options = options;
    f.calls.push_back("build");
    return f.build_result;
}

cl_int ReleaseProgram(cl_program) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    ++f.programs_released;
    return CL_SUCCESS;
}

cl_kernel CreateKernel(cl_program, const char* name, cl_int* err) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.kernel_name = name;
    f.calls.push_back("kernel");
    *err = f.kernel_result;
    return reinterpret_cast<cl_kernel>(&f.args);
}

cl_int ReleaseKernel(cl_kernel) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    ++f.kernels_released;
    return CL_SUCCESS;
}

// The host's GPU device suite as far as the render uses it: device memory as fake buffers.
PF_Err AllocateDeviceMemory(PF_ProgPtr, A_u_long, size_t size, void** memory) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.calls.push_back("allocate");
    if (++f.buffers_made == f.fail_buffer_at) return PF_Err_OUT_OF_MEMORY;
    auto buffer = std::make_unique<FakeBuffer>();
    buffer->bytes.assign(size, 0xEE);
    f.buffers.push_back(std::move(buffer));
    *memory = f.buffers.back().get();
    return PF_Err_NONE;
}

PF_Err FreeDeviceMemory(PF_ProgPtr, A_u_long, void* memory) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.calls.push_back("free");
    f.Buffer(memory)->released = true;
    return PF_Err_NONE;
}

PF_GPUDeviceSuite1 MakeFakeSuite() {
    PF_GPUDeviceSuite1 suite{};
    suite.AllocateDeviceMemory = AllocateDeviceMemory;
    suite.FreeDeviceMemory = FreeDeviceMemory;
    return suite;
}
const PF_GPUDeviceSuite1 kFakeSuite = MakeFakeSuite();

cl_int EnqueueWriteBuffer(cl_command_queue, cl_mem mem, cl_bool blocking, size_t offset,
                          size_t size, const void* host, cl_uint, const cl_event*, cl_event*) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.calls.push_back(blocking ? "write" : "write (not waited for)");
    FakeBuffer* buffer = f.Buffer(mem);
    if (offset + size > buffer->bytes.size()) return CL_INVALID_VALUE;
    std::memcpy(buffer->bytes.data() + offset, host, size);
    return CL_SUCCESS;
}

cl_int EnqueueReadBuffer(cl_command_queue, cl_mem mem, cl_bool blocking, size_t offset, size_t size,
                         void* host, cl_uint, const cl_event*, cl_event*) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.calls.push_back(blocking ? "read" : "read (not waited for)");
    FakeBuffer* buffer = f.Buffer(mem);
    if (offset + size > buffer->bytes.size()) return CL_INVALID_VALUE;
    std::memcpy(host, buffer->bytes.data() + offset, size);
    return CL_SUCCESS;
}

cl_int SetKernelArg(cl_kernel, cl_uint index, size_t size, const void* value) {
    FakeOpenCl& f = *FakeOpenCl::active;
    if (static_cast<int>(index) == f.slow_arg_index) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::lock_guard lock(f.mutex);
    f.arg_calls.push_back(index);
    if (static_cast<int>(index) == f.fail_arg_index) return CL_INVALID_ARG_VALUE;
    const auto* bytes = static_cast<const uint8_t*>(value);
    f.args[index].assign(bytes, bytes + size);
    return CL_SUCCESS;
}

cl_int EnqueueNDRangeKernel(cl_command_queue, cl_kernel, cl_uint dimensions, const size_t*,
                            const size_t* global, const size_t* local, cl_uint, const cl_event*,
                            cl_event*) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.calls.push_back("enqueue");
    FakeLaunch launch;
    launch.args = f.args;
    launch.dimensions = dimensions;
    for (cl_uint d = 0; d < dimensions && d < 2; ++d) {
        launch.global[d] = global[d];
        launch.local[d] = local[d];
    }
    f.launches.push_back(launch);
    return CL_SUCCESS;
}

cl_int EnqueueBarrierWithWaitList(cl_command_queue, cl_uint, const cl_event*, cl_event*) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.calls.push_back("barrier");
    return CL_SUCCESS;
}

const OpenClApi kFakeApi = {CreateProgramWithSource, BuildProgram,
                            ReleaseProgram,          CreateKernel,
                            ReleaseKernel,           EnqueueWriteBuffer,
                            EnqueueReadBuffer,       SetKernelArg,
                            EnqueueNDRangeKernel,    EnqueueBarrierWithWaitList};

}  // namespace

const OpenClApi& FakeOpenCl::Api() {
    return kFakeApi;
}

const PF_GPUDeviceSuite1& FakeOpenCl::Suite() {
    return kFakeSuite;
}

}  // namespace spirovault
