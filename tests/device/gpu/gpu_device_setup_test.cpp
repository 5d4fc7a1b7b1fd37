// Which devices setup accepts, by the runtimes the process and build have.
#include "device/gpu/gpu_device_setup.h"

#include <gtest/gtest.h>

#include "hostsim/host_services.h"
#include "tests/device/gpu/fake_opencl.h"

using namespace spirovault;

namespace {

using namespace hostsim;

class GpuDeviceSetupRuntimes : public ::testing::Test {
  protected:
    PF_Err Setup(const GpuRuntimes& runtimes, PF_GPU_Framework framework) {
        ActiveServicesScope active(&services_);
        PF_InData in_data{};
        in_data.pica_basicP = HostServices::BasicSuite();
        in_data.effect_ref = services_.EffectRef();
        out_data_ = PF_OutData{};
        out_data_.out_flags2 = 0x1234;
        input_ = PF_GPUDeviceSetupInput{framework, 0};
        output_ = PF_GPUDeviceSetupOutput{nullptr};
        PF_GPUDeviceSetupExtra extra{&input_, &output_};
        return SetUpGpuDevice(runtimes, &in_data, &out_data_, &extra);
    }

    HostServices services_;
    PF_OutData out_data_{};
    PF_GPUDeviceSetupInput input_{};
    PF_GPUDeviceSetupOutput output_{};
};

TEST_F(GpuDeviceSetupRuntimes, WithoutAnOpenClRuntimeTheDeviceIsDeclined) {
    EXPECT_EQ(Setup(GpuRuntimes{nullptr, nullptr}, PF_GPU_Framework_OPENCL), PF_Err_NONE);
    EXPECT_EQ(out_data_.out_flags2, 0x1234);
    EXPECT_EQ(output_.gpu_data, nullptr);
    EXPECT_EQ(services_.handles().LiveCount(), 0u);
    EXPECT_TRUE(services_.suites().Outstanding().empty());
}

TEST_F(GpuDeviceSetupRuntimes, WithoutTheCudaDriverCudaDevicesAreDeclined) {
    EXPECT_EQ(Setup(GpuRuntimes{nullptr, nullptr}, PF_GPU_Framework_CUDA), PF_Err_NONE);
    EXPECT_EQ(out_data_.out_flags2, 0x1234);
    EXPECT_EQ(output_.gpu_data, nullptr);
    EXPECT_EQ(services_.handles().LiveCount(), 0u);
}

TEST_F(GpuDeviceSetupRuntimes, FailedKernelStillHandsOverTheHandle) {
    FakeOpenCl fake;
    fake.kernel_result = CL_INVALID_KERNEL_NAME;
    ActiveFake active(&fake);
    EXPECT_EQ(Setup(GpuRuntimes{&fake.Api(), nullptr}, PF_GPU_Framework_OPENCL),
              PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(out_data_.out_flags2, 0x02000000);
    auto handle = static_cast<PF_Handle>(output_.gpu_data);
    ASSERT_TRUE(services_.handles().IsLive(handle));
    // What clCreateKernel returned is stored, also with its error.
    const auto* kernel = static_cast<cl_kernel*>(services_.handles().Lock(handle));
    EXPECT_EQ(*kernel, reinterpret_cast<cl_kernel>(&fake.args));
    services_.handles().Unlock(handle);
    services_.handles().Dispose(handle);
}

}  // namespace
