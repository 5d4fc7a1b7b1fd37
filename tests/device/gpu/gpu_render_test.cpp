// The GPU render on each framework's device: frame layout, formats, the input frame and
// concurrency.
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "device/gpu/opencl_device_data.h"
#include "tests/device/gpu/gpu_test_support.h"
#include "tests/support/frame_renderer.h"

using namespace spirovault;

namespace {

constexpr float kTolerance = 2.0f / 255.0f;
constexpr uint8_t kSentinel = 0x7E;

class GpuRender : public GpuRenderTest {
  protected:
    // Every byte of a world, padding included.
    std::vector<uint8_t> RawBytes(const PF_EffectWorld* world) {
        std::vector<uint8_t> bytes(gpu().WorldBytes(world));
        gpu().device(0)->Read(gpu().WorldData(world), world->rowbytes, bytes.data(),
                              world->rowbytes, world->height);
        return bytes;
    }
    void Fill(PF_EffectWorld* world, uint8_t byte) {
        const std::vector<uint8_t> bytes(gpu().WorldBytes(world), byte);
        gpu().device(0)->Write(gpu().WorldData(world), world->rowbytes, bytes.data(),
                               world->rowbytes, world->height);
    }
    void TearDown() override {
        gpu().set_row_alignment(64);
        GpuRenderTest::TearDown();
    }
};

TEST_P(GpuRender, PaddedRowsAreAddressedByTheirPitch) {
    // 37 pixels in rows of 64 (output) and of 48 (input): each frame is read and written at its
    // own pitch, and the padding is never written.
    RenderSettings s = MakeDefaultRenderSettings(37, 11);
    s.composite_on_original = 1;
    FloatFrame input;
    for (int i = 0; i < 37 * 11; ++i)
        input.push_back(PF_PixelFloat{0.5f, (i % 37) / 37.0f, 0.2f, 0.9f});
    gpu().set_row_alignment(16);
    PF_EffectWorld* input_world = gpu().CreateWorld(0, 37, 11);
    gpu().set_row_alignment(64);
    PF_EffectWorld* output = gpu().CreateWorld(0, 37, 11);
    ASSERT_EQ(input_world->rowbytes, 48 * 16);
    ASSERT_EQ(output->rowbytes, 64 * 16);
    gpu().Upload(input_world, ToGpuPixels(input));
    Fill(output, kSentinel);

    EXPECT_EQ(RenderWorlds(&s, input_world, output), PF_Err_NONE);
    const Agreement agreement =
        Compare(FromGpuPixels(gpu().Download(output)), RenderOnCpu(s, &input), kTolerance);
    EXPECT_GE(agreement.within_share, 0.97);
    EXPECT_LE(agreement.mean_error, 0.004);
    const std::vector<uint8_t> raw = RawBytes(output);
    size_t padding_written = 0;
    for (int y = 0; y < 11; ++y) {
        for (size_t b = 37 * 16; b < 64 * 16; ++b)
            padding_written += raw[y * 64 * 16 + b] != kSentinel;
    }
    EXPECT_EQ(padding_written, 0u);
    EXPECT_EQ(s.output_width, 37);
    EXPECT_EQ(s.output_height, 11);
    gpu().DisposeWorld(input_world);
    gpu().DisposeWorld(output);
}

TEST_P(GpuRender, FrameNotInTheGpuFormatIsRefused) {
    RenderSettings s = MakeDefaultRenderSettings(16, 16);
    PF_EffectWorld* output = gpu().CreateWorld(0, 16, 16);
    Fill(output, kSentinel);
    for (PrPixelFormat format : {0x32336561u, 0x36316561u, 0x62677261u}) {  // float, 16, 8-bit
        EXPECT_EQ(RenderWorlds(&s, nullptr, output, format), PF_Err_UNRECOGNIZED_PARAM_TYPE);
    }
    const std::vector<uint8_t> raw = RawBytes(output);
    EXPECT_EQ(std::vector<uint8_t>(raw.size(), kSentinel), raw);
    gpu().DisposeWorld(output);
}

TEST_P(GpuRender, InputWithoutDeviceDataRendersWithoutCompositing) {
    RenderSettings s = MakeDefaultRenderSettings(24, 14);
    s.composite_on_original = 1;
    // A layer the host holds in memory, not on the device.
    std::vector<PF_PixelFloat> pixels(24 * 14, PF_PixelFloat{1, 1, 0, 0});
    PF_EffectWorld cpu_world{};
    cpu_world.data = pixels.data();
    cpu_world.rowbytes = 24 * sizeof(PF_PixelFloat);
    cpu_world.width = 24;
    cpu_world.height = 14;
    PF_EffectWorld* output = gpu().CreateWorld(0, 24, 14);

    EXPECT_EQ(RenderWorlds(&s, &cpu_world, output), PF_Err_NONE);
    const FloatFrame gpu_frame = FromGpuPixels(gpu().Download(output));
    const Agreement agreement = Compare(gpu_frame, RenderOnCpu(s, nullptr), kTolerance);
    EXPECT_GE(agreement.within_share, 0.97);
    // Where the fractal is missed the frame is transparent, not the red layer.
    size_t transparent = 0;
    for (const PF_PixelFloat& p : gpu_frame) transparent += p.alpha == 0.0f && p.red == 0.0f;
    EXPECT_GT(transparent, gpu_frame.size() / 4);
    gpu().DisposeWorld(output);
}

using OpenClRender = GpuRender;

TEST_P(OpenClRender, MissingKernelIsAnInternalError) {
    auto* data = static_cast<OpenCLDeviceData*>(services().handles().Lock(device_handle()));
    cl_kernel kernel = data->kernel;
    data->kernel = nullptr;
    services().handles().Unlock(device_handle());
    RenderSettings s = MakeDefaultRenderSettings(16, 16);
    PF_Err err = PF_Err_NONE;
    RenderOnGpu(s, nullptr, &err);
    EXPECT_EQ(err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    static_cast<OpenCLDeviceData*>(services().handles().Lock(device_handle()))->kernel = kernel;
    services().handles().Unlock(device_handle());
}

TEST_P(GpuRender, TwoThreadsRenderOnOneDeviceAtOnce) {
    // Kernel arguments belong to the one kernel object: each render must be queued with its own.
    // The worlds are made beforehand and read afterwards, so that the two threads do nothing but
    // set arguments and queue, at the same time.
    RenderSettings records[2] = {MakeDefaultRenderSettings(24, 14),
                                 MakeDefaultRenderSettings(24, 14)};
    records[1].julia_mode = 1;
    records[1].julia_c[0] = 0.3f;
    records[1].rotation_y = 40.0f;
    const FloatFrame expected[2] = {RenderOnCpu(records[0]), RenderOnCpu(records[1])};
    ASSERT_GT(Compare(expected[0], expected[1], kTolerance).mean_error, 0.01);
    constexpr int kRounds = 40;
    std::vector<PF_EffectWorld*> outputs[2];
    for (auto& worlds : outputs) {
        for (int round = 0; round < kRounds; ++round)
            worlds.push_back(gpu().CreateWorld(0, 24, 14));
    }
    PF_Err errors[2][kRounds] = {};
    std::atomic<int> ready{0};
    auto render = [&](int which) {
        RenderSettings record = records[which];
        ++ready;
        while (ready.load() < 2) {
        }
        for (int round = 0; round < kRounds; ++round) {
            errors[which][round] = RenderWorlds(&record, nullptr, outputs[which][round]);
        }
    };
    std::thread first(render, 0);
    std::thread second(render, 1);
    first.join();
    second.join();
    for (int which = 0; which < 2; ++which) {
        for (int round = 0; round < kRounds; ++round) {
            EXPECT_EQ(errors[which][round], PF_Err_NONE);
            const FloatFrame frame = FromGpuPixels(gpu().Download(outputs[which][round]));
            const Agreement agreement = Compare(frame, expected[which], kTolerance);
            EXPECT_GE(agreement.within_share, 0.97) << "render " << which << " round " << round;
            gpu().DisposeWorld(outputs[which][round]);
        }
    }
}

SPIROVAULT_ON_EVERY_GPU_FRAMEWORK(GpuRender);
INSTANTIATE_TEST_SUITE_P(, OpenClRender,
                         ::testing::Values(PF_GPU_Framework{PF_GPU_Framework_OPENCL}),
                         FrameworkName);

}  // namespace
