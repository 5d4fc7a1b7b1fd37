// Several frames of one effect instance in progress at once, as the host application's
// multi-frame rendering runs them: each frame must see its own layers, parameter values and
// pre-render data, come out exactly as it does alone, and leave nothing behind.
#include <gtest/gtest.h>

#include <latch>
#include <thread>
#include <vector>

#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr int kW = 24, kH = 16;
constexpr int kFrames = 8;

HostImage Gradient(int width, int height, float alpha_base) {
    HostImage image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float u = static_cast<float>(x) / width, v = static_cast<float>(y) / height;
            const float alpha = alpha_base + (1 - alpha_base) * u;
            image.argb.insert(image.argb.end(), {alpha, alpha * u, alpha * v, alpha * 0.5f});
        }
    }
    return image;
}

// An animated scene that reaches every per-frame path of the host: the input layer under
// "Composite On Original", an environment layer, a shadow-casting light, a moving camera and
// keyframed parameters.
class ParallelFrames : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        Composition& comp = host().services().composition();
        comp.width = kW;
        comp.height = kH;
        comp.frame_rate = 24;

        CompLayer camera;
        camera.kind = LayerKind::kCamera;
        const double zoom = kW * 50.0 / 36.0;
        camera.position.AddKey(0, Vec3d{kW / 2.0, kH / 2.0, -zoom});
        camera.position.AddKey(7 / 24.0, Vec3d{0, kH / 2.0, -0.8 * zoom});
        camera.point_of_interest = Animated<Vec3d>(Vec3d{kW / 2.0, kH / 2.0, 0});
        camera.streams[AEGP_LayerStream_ZOOM].Set(zoom);
        comp.layers.push_back(camera);

        CompLayer light;
        light.kind = LayerKind::kLight;
        light.light_type = AEGP_LightType_POINT;
        light.position.AddKey(0, Vec3d{kW, 0, -30});
        light.position.AddKey(7 / 24.0, Vec3d{0, kH, -30});
        light.color.Set(ColorRgb{1.0, 0.8, 0.6});
        light.streams[AEGP_LayerStream_INTENSITY].Set(150);
        light.streams[AEGP_LayerStream_CASTS_SHADOWS].Set(1);
        light.streams[AEGP_LayerStream_SHADOW_DARKNESS].Set(80);
        light.streams[AEGP_LayerStream_SHADOW_DIFFUSION].Set(4);
        comp.layers.push_back(light);

        params().SetValue(kParamCompositeOnOriginal, 1);
        params().SetValue(kParamShadowSamples, 2);
        params().SetValue(kParamHdriSamples, 2);
        params().SetValue(kParamHdriIntensity, 0.8);
        params().Animate(kParamPower, {{0, 6}, {7 / 24.0, 9}});
        params().Animate(kParamRotationY, {{0, 0}, {7 / 24.0, 60}});
    }

    FrameRequest RequestFor(int frame) const {
        // Depths alternate, so frames at once differ in their worlds' layout too.
        FrameRequest request = Request(kW, kH, frame % 2 == 0 ? WorldDepth::k8 : WorldDepth::k32);
        request.frame = frame;
        request.input = &input_;
        request.hdri_layer = &sky_;
        request.threads = 2;
        return request;
    }

    // The frames one after another, each result checked.
    std::vector<FrameResult> RenderSerially() {
        std::vector<FrameResult> results;
        for (int frame = 0; frame < kFrames; ++frame) {
            results.push_back(host().RenderFrame(RequestFor(frame)));
            EXPECT_EQ(results.back().err, PF_Err_NONE);
            EXPECT_TRUE(results.back().audit.clean()) << results.back().audit.Describe();
        }
        return results;
    }

    HostImage input_ = Gradient(kW, kH, 0.3f);
    HostImage sky_ = Gradient(16, 8, 1.0f);
};

TEST_F(ParallelFrames, EightFramesAtOnceFromEightThreadsMatchTheirSerialRenders) {
    const std::vector<FrameResult> serial = RenderSerially();
    // The scene moves: a frame that ignored its own time would show up here.
    EXPECT_NE(serial[0].raw, serial[2].raw);
    EXPECT_NE(serial[1].raw, serial[7].raw);

    for (int round = 0; round < 2; ++round) {
        std::vector<FrameResult> at_once(kFrames);
        std::latch start(kFrames);
        std::vector<std::thread> threads;
        for (int frame = 0; frame < kFrames; ++frame) {
            threads.emplace_back([&, frame] {
                const FrameRequest request = RequestFor(frame);
                start.arrive_and_wait();
                at_once[static_cast<size_t>(frame)] = host().RenderFrame(request);
            });
        }
        for (std::thread& thread : threads) thread.join();
        for (int frame = 0; frame < kFrames; ++frame) {
            SCOPED_TRACE(frame);
            const FrameResult& result = at_once[static_cast<size_t>(frame)];
            EXPECT_EQ(result.err, PF_Err_NONE);
            // What the other frames held at the time is theirs, not this frame's leftovers.
            EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
            EXPECT_EQ(result.raw, serial[static_cast<size_t>(frame)].raw);
        }
        const ResourceAudit audit = host().Audit();
        EXPECT_TRUE(audit.clean()) << audit.Describe();
    }
}

TEST_F(ParallelFrames, FramesStartedFirstSetUpTheInstanceOnce) {
    auto fresh = std::make_unique<EffectHost>(SPIROVAULT_PLUGIN_PATH);
    fresh->services().composition() = host().services().composition();
    std::vector<FrameResult> results(4);
    std::latch start(4);
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] {
            FrameRequest request = Request(kW, kH);
            request.frame = i;
            request.threads = 1;
            start.arrive_and_wait();
            results[static_cast<size_t>(i)] = fresh->RenderFrame(request);
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const FrameResult& result : results) {
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
    }
    // One global setup, one parameter setup: the input layer and the declared parameters.
    EXPECT_EQ(fresh->services().params().size(), static_cast<size_t>(kNumParams));
    const ResourceAudit audit = fresh->Audit();
    EXPECT_TRUE(audit.clean()) << audit.Describe();
}

TEST_F(ParallelFrames, InterleavedStepsOfTwoFramesKeepToTheirOwnFrame) {
    const std::vector<FrameResult> serial = RenderSerially();

    // Frame 1's pre-render, frame 6 from start to end, then frame 1's render: the callbacks of
    // each step must reach the frame whose in-data they were given.
    FrameSession first(host(), RequestFor(1));
    ASSERT_EQ(first.PreRender().err, PF_Err_NONE);
    const RenderSettings before = Record(first);

    FrameSession second(host(), RequestFor(6));
    const CommandResult second_pre = second.PreRender();
    ASSERT_EQ(second_pre.err, PF_Err_NONE);
    EXPECT_TRUE(second_pre.audit.clean()) << second_pre.audit.Describe();
    const CommandResult second_render = second.Render();
    ASSERT_EQ(second_render.err, PF_Err_NONE);
    EXPECT_TRUE(second_render.audit.clean()) << second_render.audit.Describe();
    FrameResult second_result;
    second.CollectOutput(&second_result);
    EXPECT_EQ(second_result.raw, serial[6].raw);
    // The other frame's record is untouched by this one's pre-render and render.
    EXPECT_EQ(std::memcmp(&before, &Record(first), sizeof before), 0);

    ASSERT_EQ(first.Render().err, PF_Err_NONE);
    FrameResult first_result;
    first.CollectOutput(&first_result);
    EXPECT_EQ(first_result.raw, serial[1].raw);
    EXPECT_EQ(first.layer_pixel_checkouts(), first.layer_pixel_checkins());
    EXPECT_EQ(second.layer_pixel_checkouts(), second.layer_pixel_checkins());
}

}  // namespace
