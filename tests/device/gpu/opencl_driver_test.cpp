// What the OpenCL render and program build ask of the runtime, observed through a recording
// stand-in: device memory through the host's suite, the 38 arguments, the launch and the failure
// paths.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/gpu/gpu_render_opencl.h"
#include "device/gpu/opencl_program.h"
#include "tests/device/gpu/fake_opencl.h"
#include "tests/support/frame_renderer.h"

using namespace spirovault;

namespace {

class OpenClDriver : public ::testing::Test {
  protected:
    OpenClDriver() : active_(&fake_) {}

    PF_Err Render(const RenderSettings& record, void* input = nullptr, uint32_t input_pitch = 0) {
        GpuFrame frame;
        frame.output = &output_;
        frame.output_pitch = record.output_width + 3;
        frame.width = static_cast<uint32_t>(record.output_width);
        frame.height = static_cast<uint32_t>(record.output_height);
        frame.input = input;
        frame.input_pitch = input_pitch;
        OpenClQueue device;
        device.kernel = reinterpret_cast<cl_kernel>(&fake_.args);
        GpuDeviceMemory memory(FakeOpenCl::Suite(), nullptr, 0);
        return RenderOpenCl(fake_.Api(), device, &memory, MakeGpuFrameData(record, frame));
    }

    const std::vector<uint8_t>& Arg(KernelArg arg) {
        return fake_.launches.at(0).args.at(static_cast<int>(arg));
    }
    uint32_t U32(KernelArg arg) { return FakeOpenCl::As<uint32_t>(Arg(arg)); }
    float F32(KernelArg arg) { return FakeOpenCl::As<float>(Arg(arg)); }
    SvFloat4 Vec(KernelArg arg) { return FakeOpenCl::As<SvFloat4>(Arg(arg)); }
    FakeBuffer* BufferArg(KernelArg arg) { return FakeOpenCl::As<FakeBuffer*>(Arg(arg)); }

    void ExpectAllBuffersReleased() {
        for (const auto& buffer : fake_.buffers) EXPECT_TRUE(buffer->released);
    }

    FakeOpenCl fake_;
    ActiveFake active_;
    int output_ = 0;  // stands for the output world's cl_mem
};

TEST_F(OpenClDriver, SetsEveryArgumentInOrderAndQueuesOneLaunch) {
    RenderSettings s = MakeDefaultRenderSettings(1920, 1080);
    ASSERT_EQ(Render(s), PF_Err_NONE);
    std::vector<cl_uint> order;
    for (cl_uint i = 0; i < kKernelArgCount; ++i) order.push_back(i);
    EXPECT_EQ(fake_.arg_calls, order);
    ASSERT_EQ(fake_.launches.size(), 1u);
    for (int i = 0; i < kKernelArgCount; ++i) {
        EXPECT_EQ(Arg(static_cast<KernelArg>(i)).size(), SizeOf(static_cast<KernelArg>(i)))
            << "argument " << i;
    }
    EXPECT_EQ(FakeOpenCl::As<void*>(Arg(KernelArg::output)), &output_);
    EXPECT_EQ(U32(KernelArg::output_pitch), 1923u);
    EXPECT_EQ(U32(KernelArg::pixel_size_flag), 0u);
    EXPECT_EQ(U32(KernelArg::width), 1920u);
    EXPECT_EQ(U32(KernelArg::height), 1080u);
    // Rows 1080 to 1087 are threads that write nothing.
    const FakeLaunch& launch = fake_.launches[0];
    EXPECT_EQ(launch.dimensions, 2u);
    EXPECT_EQ(launch.global[0], 1920u);
    EXPECT_EQ(launch.global[1], 1088u);
    EXPECT_EQ(launch.local[0], 16u);
    EXPECT_EQ(launch.local[1], 16u);
    // Two tables in the host's device memory, written before the launch; the barrier behind it;
    // the memory freed through the host afterwards, last first.
    ASSERT_EQ(fake_.buffers.size(), 2u);
    ExpectAllBuffersReleased();
    const std::vector<std::string> head(fake_.calls.begin(), fake_.calls.begin() + 4);
    EXPECT_EQ(head, (std::vector<std::string>{"allocate", "write", "allocate", "write"}));
    const std::vector<std::string> tail(fake_.calls.end() - 4, fake_.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"enqueue", "barrier", "free", "free"}));
    EXPECT_EQ(BufferArg(KernelArg::lights), fake_.buffers[0].get());
    EXPECT_EQ(BufferArg(KernelArg::ramp)->bytes.size(), 256u);
    EXPECT_EQ(0, std::memcmp(BufferArg(KernelArg::ramp)->bytes.data(), &s.ramp_table, 256));
}

TEST_F(OpenClDriver, NoEnvironmentPassesTheLightTableInItsPlaceAndNeutralSize) {
    RenderSettings s = MakeDefaultRenderSettings(32, 18);
    s.hdri_rotation = 45.0f;
    s.hdri_intensity = 2.0f;
    s.hdri_samples = 9;
    s.hdri_shadow_intensity = 0.25f;
    s.hdri_specular = 1;
    ASSERT_EQ(Render(s), PF_Err_NONE);
    EXPECT_EQ(BufferArg(KernelArg::environment), BufferArg(KernelArg::lights));
    EXPECT_EQ(U32(KernelArg::environment_present), 0u);
    EXPECT_EQ(U32(KernelArg::environment_width), 1u);
    EXPECT_EQ(U32(KernelArg::environment_height), 1u);
    EXPECT_EQ(F32(KernelArg::hdri_rotation), 0.0f);
    EXPECT_EQ(F32(KernelArg::hdri_intensity), 0.0f);
    EXPECT_EQ(U32(KernelArg::hdri_samples), 1u);
    EXPECT_EQ(F32(KernelArg::hdri_shadow_intensity), 0.25f);
    EXPECT_EQ(U32(KernelArg::hdri_specular), 1u);
}

TEST_F(OpenClDriver, EnvironmentIsUploadedWithItsSettings) {
    RenderSettings s = MakeDefaultRenderSettings(32, 18);
    std::vector<float> sky(5 * 3 * 3);
    for (size_t i = 0; i < sky.size(); ++i) sky[i] = 0.1f * i;
    s.hdri_pixels = sky.data();
    s.hdri_width = 5;
    s.hdri_height = 3;
    s.hdri_rotation = 45.0f;
    s.hdri_intensity = 2.0f;
    s.hdri_samples = 9;
    ASSERT_EQ(Render(s), PF_Err_NONE);
    ASSERT_EQ(BufferArg(KernelArg::environment)->bytes.size(), 5u * 3 * 12);
    EXPECT_EQ(0,
              std::memcmp(BufferArg(KernelArg::environment)->bytes.data(), sky.data(), 5 * 3 * 12));
    EXPECT_EQ(U32(KernelArg::environment_present), 1u);
    EXPECT_EQ(U32(KernelArg::environment_width), 5u);
    EXPECT_EQ(U32(KernelArg::environment_height), 3u);
    EXPECT_EQ(F32(KernelArg::hdri_rotation), 45.0f);
    EXPECT_EQ(F32(KernelArg::hdri_intensity), 2.0f);
    EXPECT_EQ(U32(KernelArg::hdri_samples), 9u);
}

TEST_F(OpenClDriver, FourCompositionLightsFillHalfTheTable) {
    RenderSettings s = MakeDefaultRenderSettings(32, 18);
    s.comp_light_count = 4;
    s.shadow_samples = 6;
    for (int l = 0; l < 4; ++l) {
        CompLight& light = s.comp_lights[l];
        light = CompLight{{1.0f + l, 2.0f, 3.0f}, {0.5f, 0.25f, 0.125f}, 1.5f, l % 2, 0.75f, 0.5f};
    }
    ASSERT_EQ(Render(s), PF_Err_NONE);
    // The count travels in the record's vectors, the lights in their table, as the kernel
    // unpacks them.
    SvFloat4 vectors[kSvParamVectorCount];
    for (int i = 0; i < kSvParamVectorCount; ++i) {
        vectors[i] = Vec(static_cast<KernelArg>(static_cast<int>(KernelArg::params0) + i));
    }
    RenderSettings unpacked{};
    UnpackParamVectors(vectors, &unpacked);
    EXPECT_EQ(unpacked.comp_light_count, 4);
    ASSERT_EQ(BufferArg(KernelArg::lights)->bytes.size(), sizeof(GpuLightTable));
    const auto* table = reinterpret_cast<const float*>(BufferArg(KernelArg::lights)->bytes.data());
    for (int l = 0; l < 4; ++l) {
        CompLight light{};
        UnpackLight(table + kGpuLightFloats * l, &light);
        EXPECT_EQ(0, std::memcmp(&light, &s.comp_lights[l], sizeof light)) << "light " << l;
    }
    const int used = 4 * kGpuLightFloats;
    EXPECT_EQ(std::vector<float>(table + used, table + kGpuLightTableFloats),
              std::vector<float>(kGpuLightTableFloats - used, 0.0f));
}

TEST_F(OpenClDriver, CompositingNeedsAnInputFrame) {
    RenderSettings s = MakeDefaultRenderSettings(32, 18);
    s.composite_on_original = 1;
    ASSERT_EQ(Render(s), PF_Err_NONE);
    // OpenCL takes no null buffer: the output stands in and is never read.
    EXPECT_EQ(FakeOpenCl::As<void*>(Arg(KernelArg::input)), &output_);
    EXPECT_EQ(U32(KernelArg::input_pitch), 0u);
    EXPECT_EQ(U32(KernelArg::composite_on_original), 0u);

    int input = 0;
    fake_.launches.clear();
    ASSERT_EQ(Render(s, &input, 40), PF_Err_NONE);
    EXPECT_EQ(FakeOpenCl::As<void*>(Arg(KernelArg::input)), &input);
    EXPECT_EQ(U32(KernelArg::input_pitch), 40u);
    EXPECT_EQ(U32(KernelArg::composite_on_original), 1u);
}

TEST_F(OpenClDriver, RefusedMemoryGivesOutOfMemoryWithoutLaunchingAndFreesTheRest) {
    RenderSettings s = MakeDefaultRenderSettings(8, 8);
    std::vector<float> sky(2 * 2 * 3, 0.5f);
    s.hdri_pixels = sky.data();
    s.hdri_width = s.hdri_height = 2;
    for (int failing = 1; failing <= 3; ++failing) {
        FakeOpenCl fake;
        fake.fail_buffer_at = failing;
        ActiveFake active(&fake);
        GpuFrame frame;
        frame.output = &output_;
        frame.width = frame.height = 8;
        OpenClQueue device;
        device.kernel = reinterpret_cast<cl_kernel>(&fake.args);
        {
            GpuDeviceMemory memory(FakeOpenCl::Suite(), nullptr, 0);
            EXPECT_EQ(RenderOpenCl(fake.Api(), device, &memory, MakeGpuFrameData(s, frame)),
                      PF_Err_OUT_OF_MEMORY);
        }
        EXPECT_TRUE(fake.arg_calls.empty());
        EXPECT_TRUE(fake.launches.empty());
        EXPECT_EQ(fake.buffers.size(), static_cast<size_t>(failing - 1));
        for (const auto& buffer : fake.buffers) EXPECT_TRUE(buffer->released);
    }
}

TEST_F(OpenClDriver, FailedArgumentEndsTheRenderBeforeTheLaunch) {
    fake_.fail_arg_index = 30;
    EXPECT_EQ(Render(MakeDefaultRenderSettings(8, 8)), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(fake_.arg_calls.back(), 30u);
    EXPECT_TRUE(fake_.launches.empty());
    ExpectAllBuffersReleased();
}

TEST_F(OpenClDriver, ConcurrentRendersQueueTheirOwnArguments) {
    // A pause in the middle of the argument setting gives the other render every chance to
    // interleave; each launch must still carry one render's arguments throughout.
    fake_.slow_arg_index = 20;
    int outputs[2] = {0, 0};
    std::atomic<int> ready{0};
    auto render = [&](int which) {
        RenderSettings s = MakeDefaultRenderSettings(8 + 8 * which, 8);
        s.depth_start = static_cast<float>(which);
        GpuFrame frame;
        frame.output = &outputs[which];
        frame.width = static_cast<uint32_t>(s.output_width);
        frame.height = 8;
        OpenClQueue device;
        device.kernel = reinterpret_cast<cl_kernel>(&fake_.args);
        ++ready;
        while (ready.load() < 2) {
        }
        for (int round = 0; round < 5; ++round) {
            GpuDeviceMemory memory(FakeOpenCl::Suite(), nullptr, 0);
            EXPECT_EQ(RenderOpenCl(fake_.Api(), device, &memory, MakeGpuFrameData(s, frame)),
                      PF_Err_NONE);
        }
    };
    std::thread first(render, 0);
    std::thread second(render, 1);
    first.join();
    second.join();
    ASSERT_EQ(fake_.launches.size(), 10u);
    for (const FakeLaunch& launch : fake_.launches) {
        const int which = FakeOpenCl::As<int*>(launch.args.at(0)) == &outputs[0] ? 0 : 1;
        EXPECT_EQ(FakeOpenCl::As<uint32_t>(launch.args.at(3)), 8u + 8u * which);
        EXPECT_EQ(FakeOpenCl::As<SvFloat4>(launch.args.at(34)).y, static_cast<float>(which));
    }
}

TEST(OpenClProgram, BuildsTheTwoStringsWithTheOptionsAndReleasesTheProgram) {
    FakeOpenCl fake;
    ActiveFake active(&fake);
    cl_kernel kernel = nullptr;
    EXPECT_EQ(
        BuildSpirovaultKernel(fake.Api(), nullptr, nullptr, OpenClBuildOptions("/opt/fx"), &kernel),
        CL_SUCCESS);
    EXPECT_NE(kernel, nullptr);
    EXPECT_EQ(fake.program_strings,
              (std::vector<std::string>{"#define GF_OPENCL_SUPPORTS_16F 0\n#define BUST_CACHE 4\n",
                                        "#include \"Kestrelite_Kernel.cu\"\n"}));
    EXPECT_EQ(fake.program_lengths[0], 54u);
    EXPECT_EQ(fake.build_options, "-cl-single-precision-constant -cl-fast-relaxed-math -I/opt/fx");
    EXPECT_EQ(fake.kernel_name, "SpirovaultKernel");
    // The kernel keeps the program alive; nothing else holds it.
    EXPECT_EQ(fake.programs_released, 1);
}

TEST(OpenClProgram, FailedBuildEndsTheChainWithoutAKernel) {
    FakeOpenCl fake;
    fake.build_result = CL_BUILD_PROGRAM_FAILURE;
    ActiveFake active(&fake);
    cl_kernel kernel = reinterpret_cast<cl_kernel>(&fake);
    EXPECT_EQ(BuildSpirovaultKernel(fake.Api(), nullptr, nullptr, kOpenClBuildOptions, &kernel),
              CL_BUILD_PROGRAM_FAILURE);
    EXPECT_EQ(kernel, nullptr);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"program", "build"}));
    EXPECT_EQ(fake.programs_released, 1);
}

TEST(OpenClProgram, IncludePathNamesTheDirectoryAsOneOption) {
    EXPECT_EQ(OpenClBuildOptions(""), "-cl-single-precision-constant -cl-fast-relaxed-math");
    EXPECT_EQ(OpenClBuildOptions("/plug ins/fx"),
              "-cl-single-precision-constant -cl-fast-relaxed-math -I\"/plug ins/fx\"");
}

}  // namespace
