// Frames through the plug-in see the composition: its camera and point lights change the
// picture, and a camera placed where the host's default camera sits sees what the default sees.
#include <gtest/gtest.h>

#include <cmath>

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

// The utility table handed out for the version requested has the registration in slot 8 and
// nothing behind slot 9 in the stand-in (a call there, as with the host's window query, would
// crash): every frame registers once under the camera reader's name.
TEST_F(CompFrame, PreRenderRegistersThroughTheUtilityTablesRegistrationSlot) {
    Render();
    Render();
    const std::vector<std::string> names = host().services().comp_handles().registered_names();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "Spirovault_Camera");
}

}  // namespace
