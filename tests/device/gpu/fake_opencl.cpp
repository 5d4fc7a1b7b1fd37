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

cl_mem CreateBuffer(cl_context, cl_mem_flags flags, size_t size, void* host, cl_int* err) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.calls.push_back("buffer");
    if (++f.buffers_made == f.fail_buffer_at) {
        *err = CL_MEM_OBJECT_ALLOCATION_FAILURE;
        return nullptr;
    }
    auto buffer = std::make_unique<FakeBuffer>();
    buffer->flags = flags;
    const auto* bytes = static_cast<const uint8_t*>(host);
    if (bytes != nullptr) buffer->bytes.assign(bytes, bytes + size);
    *err = CL_SUCCESS;
    f.buffers.push_back(std::move(buffer));
    return reinterpret_cast<cl_mem>(f.buffers.back().get());
}

cl_int ReleaseMemObject(cl_mem mem) {
    FakeOpenCl& f = *FakeOpenCl::active;
    std::lock_guard lock(f.mutex);
    f.calls.push_back("release");
    f.Buffer(mem)->released = true;
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
                            ReleaseKernel,           CreateBuffer,
                            ReleaseMemObject,        SetKernelArg,
                            EnqueueNDRangeKernel,    EnqueueBarrierWithWaitList};

}  // namespace

const OpenClApi& FakeOpenCl::Api() {
    return kFakeApi;
}

}  // namespace spirovault
