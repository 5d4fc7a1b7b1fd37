// GPU device setup and setdown as the host sends them to the plug-in, on the system's OpenCL
// device (PoCL here).
#define CL_TARGET_OPENCL_VERSION 120
#include "hostsim/gpu_devices/gpu_device_commands.h"

#include <CL/cl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "host/pf_gpu_device_suite.h"
#include "host/pf_handle_suite.h"
#include "tests/support/plugin_host_fixture.h"
#include "tests/support/required_parts.h"

namespace {

using namespace hostsim;

namespace fs = std::filesystem;

constexpr A_long kGpuRenderF32 = 0x02000000;

class GpuDeviceCommands : public PluginHostTest {
  protected:
    void SetUp() override {
        PluginHostTest::SetUp();
        std::string why_not;
        if (gpu().Open(PF_GPU_Framework_OPENCL, &why_not) < 0)
            SPIROVAULT_DEVICE_MISSING(true) << why_not;
    }
    GpuDevices& gpu() { return host().services().gpu(); }

    cl_kernel KernelIn(HandleHeap& heap, void* gpu_data) {
        auto handle = static_cast<PF_Handle>(gpu_data);
        EXPECT_EQ(heap.Size(handle), 8u);
        cl_kernel kernel = *static_cast<cl_kernel*>(heap.Lock(handle));
        heap.Unlock(handle);
        return kernel;
    }

    // Setup for a device of the given framework, sent directly (the device's info is that of
    // the OpenCL device; only an OpenCL setup reads it).
    CommandResult SendSetup(PF_GPU_Framework framework, void** gpu_data, A_long* out_flags2) {
        PF_GPUDeviceSetupInput input{framework, 0};
        PF_GPUDeviceSetupOutput output{*gpu_data};
        PF_GPUDeviceSetupExtra extra{&input, &output};
        PF_OutData out{};
        out.out_flags2 = *out_flags2;
        CommandResult result = host().Send(PF_Cmd_GPU_DEVICE_SETUP, &extra, out);
        *gpu_data = output.gpu_data;
        *out_flags2 = result.out_data.out_flags2;
        return result;
    }
};

std::string KernelName(cl_kernel kernel) {
    char name[64] = {};
    clGetKernelInfo(kernel, CL_KERNEL_FUNCTION_NAME, sizeof name - 1, name, nullptr);
    return name;
}

TEST_F(GpuDeviceCommands, OpenClDeviceGetsItsKernelWhereverTheHostRuns) {
    // The kernel file lies beside the library, not in the host's working directory.
    const fs::path previous = fs::current_path();
    fs::current_path("/");
    const GpuSetupResult setup = SetUpGpuDevice(host(), 0);
    fs::current_path(previous);

    EXPECT_EQ(setup.command.err, PF_Err_NONE);
    EXPECT_EQ(setup.command.out_data.out_flags2, kGpuRenderF32);
    EXPECT_CLEAN(setup.command);
    ASSERT_TRUE(handles().IsLive(static_cast<PF_Handle>(setup.gpu_data)));
    cl_kernel kernel = KernelIn(handles(), setup.gpu_data);
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(KernelName(kernel), "SpirovaultKernel");
    cl_uint args = 0;
    clGetKernelInfo(kernel, CL_KERNEL_NUM_ARGS, sizeof args, &args, nullptr);
    EXPECT_EQ(args, 38u);

    // Setdown releases the effect's reference to the kernel and disposes of the handle.
    clRetainKernel(kernel);
    const CommandResult setdown = SetDownGpuDevice(host(), 0);
    EXPECT_EQ(setdown.err, PF_Err_NONE);
    EXPECT_CLEAN(setdown);
    EXPECT_FALSE(handles().IsLive(static_cast<PF_Handle>(setup.gpu_data)));
    cl_uint references = 0;
    clGetKernelInfo(kernel, CL_KERNEL_REFERENCE_COUNT, sizeof references, &references, nullptr);
    EXPECT_EQ(references, 1u);
    clReleaseKernel(kernel);
}

TEST_F(GpuDeviceCommands, MissingKernelFileFailsButHandsOverTheHandle) {
    // The library alone, without the kernel file beside it.
    const fs::path directory =
        fs::temp_directory_path() / ("spirovault-no-kernel-" + std::to_string(getpid()));
    fs::create_directories(directory);
    const fs::path library = directory / "spirovault.so";
    fs::copy_file(SPIROVAULT_PLUGIN_PATH, library, fs::copy_options::overwrite_existing);
    {
        EffectHost lone(library.string());
        ASSERT_GE(lone.services().gpu().Open(PF_GPU_Framework_OPENCL), 0);
        const GpuSetupResult setup = SetUpGpuDevice(lone, 0);
        EXPECT_EQ(setup.command.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
        EXPECT_EQ(setup.command.out_data.out_flags2, kGpuRenderF32);
        EXPECT_CLEAN(setup.command);
        HandleHeap& heap = lone.services().handles();
        ASSERT_TRUE(heap.IsLive(static_cast<PF_Handle>(setup.gpu_data)));
        EXPECT_EQ(KernelIn(heap, setup.gpu_data), nullptr);
        const CommandResult setdown = SetDownGpuDevice(lone, 0);
        EXPECT_EQ(setdown.err, PF_Err_NONE);
        EXPECT_FALSE(heap.IsLive(static_cast<PF_Handle>(setup.gpu_data)));
        EXPECT_TRUE(lone.Audit().clean()) << lone.Audit().Describe();
    }
    fs::remove_all(directory);
}

TEST_F(GpuDeviceCommands, CudaSetupWithoutACudaDeviceIsDeclined) {
    // Neither a CUDA driver nor a current CUDA context stands behind this device, so the effect
    // cannot read a compute capability: the host renders on the CPU, and nothing is kept.
    int host_value = 0;
    void* gpu_data = &host_value;
    A_long out_flags2 = 0x1234;
    const CommandResult result = SendSetup(PF_GPU_Framework_CUDA, &gpu_data, &out_flags2);
    EXPECT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(gpu_data, &host_value);
    EXPECT_EQ(out_flags2, 0x1234);
    EXPECT_EQ(handles().LiveCount(), 0u);
    EXPECT_CLEAN(result);
}

TEST_F(GpuDeviceCommands, OtherFrameworksAreDeclined) {
    for (PF_GPU_Framework framework : {0, 2, 7}) {  // none, Metal, unknown
        void* gpu_data = nullptr;
        A_long out_flags2 = 0x1234;
        const CommandResult result = SendSetup(framework, &gpu_data, &out_flags2);
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_EQ(out_flags2, 0x1234);
        EXPECT_EQ(gpu_data, nullptr);
        EXPECT_CLEAN(result);
    }
    EXPECT_EQ(handles().LiveCount(), 0u);
}

TEST_F(GpuDeviceCommands, MissingSuitesAreReported) {
    for (const auto& [name, version] : {std::pair{kPFGPUDeviceSuite, kPFGPUDeviceSuiteVersion1},
                                        std::pair{kPFHandleSuite, kPFHandleSuiteVersion1}}) {
        suites().SetAvailability(name, version, SuiteRegistry::Availability::kWithheld);
        void* gpu_data = nullptr;
        A_long out_flags2 = 0;
        const CommandResult result = SendSetup(PF_GPU_Framework_OPENCL, &gpu_data, &out_flags2);
        EXPECT_EQ(result.err, A_Err_MISSING_SUITE) << name;
        EXPECT_STREQ(result.out_data.return_msg, "Not able to acquire AEFX Suite.");
        EXPECT_EQ(gpu_data, nullptr);
        EXPECT_CLEAN(result);
        suites().SetAvailability(name, version, SuiteRegistry::Availability::kProvided);
    }
    EXPECT_EQ(handles().LiveCount(), 0u);
}

}  // namespace
