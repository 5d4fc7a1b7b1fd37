// Frames through the plug-in see the composition: its camera and point lights change the
// picture, and a camera placed where the host's default camera sits sees what the default sees.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr int kW = 32, kH = 20;

class CompFrame : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        comp().width = kW;
        comp().height = kH;
    }

    Composition& comp() { return host().services().composition(); }

    FrameResult Render() {
        FrameResult result = host().RenderFrame(Request(kW, kH, WorldDepth::k32));
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        return result;
    }

    static double MeanDifference(const HostImage& a, const HostImage& b) {
        double sum = 0;
        for (size_t i = 0; i < a.argb.size(); ++i) sum += std::fabs(a.argb[i] - b.argb[i]);
        return sum / static_cast<double>(a.argb.size());
    }
};

TEST_F(CompFrame, CameraWhereTheDefaultCameraSitsSeesTheSamePicture) {
    const FrameResult without_camera = Render();
    CompLayer camera;
    camera.kind = LayerKind::kCamera;
    const double zoom = kW * 50.0 / 36.0;
    camera.position.Set(Vec3d{kW / 2.0, kH / 2.0, -zoom});
    camera.streams[AEGP_LayerStream_ZOOM].Set(zoom);
    comp().layers.push_back(camera);
    const FrameResult with_camera = Render();
    EXPECT_LT(MeanDifference(without_camera.output, with_camera.output), 1e-3);

    // Moving the camera back shrinks the fractal: fewer pixels cover it.
    comp().layers[0].position.Set(Vec3d{kW / 2.0, kH / 2.0, -3 * zoom});
    const FrameResult far = Render();
    auto covered = [](const HostImage& image) {
        int count = 0;
        for (size_t i = 0; i < image.argb.size(); i += 4) count += image.argb[i] > 0.5f;
        return count;
    };
    EXPECT_LT(covered(far.output), covered(with_camera.output));
}

TEST_F(CompFrame, SwitchedOnPointLightsLightTheFractal) {
    const FrameResult unlit = Render();
    CompLayer light;
    light.kind = LayerKind::kLight;
    light.light_type = AEGP_LightType_POINT;
    light.position.Set(Vec3d{kW / 2.0, 0, -40});
    light.color.Set(ColorRgb{1.0, 0.2, 0.1});
    light.streams[AEGP_LayerStream_INTENSITY].Set(200);
    comp().layers.push_back(light);
    const FrameResult lit = Render();
    EXPECT_GT(MeanDifference(unlit.output, lit.output), 1e-3);

    comp().layers[0].video_active = false;
    EXPECT_EQ(Render().raw, unlit.raw);
}

// Registration is global setup's: frames on several threads at once only read the id it kept.
TEST_F(CompFrame, RegistersOnceAtGlobalSetupHoweverManyFramesAndThreads) {
    comp().layers.push_back(CompLayer{});
    comp().layers[0].kind = LayerKind::kLight;
    comp().layers[0].light_type = AEGP_LightType_POINT;
    comp().layers[0].position.Set({kW / 2.0, kH / 2.0, -30.0});
    const FrameResult first = Render();
    std::vector<std::thread> threads;
    std::vector<FrameResult> results(6);
    for (size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&, i] { results[i] = Render(); });
    }
    for (std::thread& thread : threads) thread.join();
    for (const FrameResult& result : results) EXPECT_EQ(result.raw, first.raw);
    const std::vector<std::string> names = host().services().comp_handles().registered_names();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "Spirovault_Camera");
    EXPECT_EQ(host().services().comp_handles().misuses(), 0);
}

// A host that sends smart renders without the plug-in layer: the frame stands in for the
// composition, which is what an empty composition of the frame's size shows.
TEST_F(CompFrame, WithoutThePluginLayerTheFrameRendersThroughTheDefaultCamera) {
    const FrameResult in_composition = Render();
    comp().layers.push_back(CompLayer{});
    comp().layers[0].kind = LayerKind::kCamera;
    comp().layers[0].position.Set({0.0, 0.0, -200.0});
    host().services().suites().SetAvailabilityOfFamily("AEGP ",
                                                       SuiteRegistry::Availability::kWithheld);
    const FrameResult without = Render();
    EXPECT_EQ(without.raw, in_composition.raw);
    EXPECT_TRUE(without.return_msg.empty());
}

}  // namespace
