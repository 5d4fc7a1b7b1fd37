// The composition's camera and lights as the effect reads them through the general-plug-in
// suites of the standalone host, mapped into fractal space.
#include "frame/comp_camera_lights.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frame/plugin_registration.h"
#include "host/aegp_suites.h"
#include "host/pf_error.h"
#include "hostsim/host_services.h"

using namespace spirovault;

namespace {

using namespace hostsim;

constexpr float kHeightAtThreeAndAHalf = 2.8994949f;  // 7 tan(pi/8)

class CompCameraTest : public ::testing::Test {
  protected:
    void SetUp() override {
        comp().width = 1920;
        comp().height = 1080;
        comp().frame_rate = 30;
        record_.depth_start = 1000;
        record_.depth_end = 2000;
    }
    void TearDown() override {
        if (out_.global_data != nullptr) {
            ActiveServicesScope active(&services_);
            PF_InData in = InData(0);
            DisposeRegistration(&in, &out_);
        }
        EXPECT_TRUE(services_.suites().Outstanding().empty());
        EXPECT_EQ(services_.comp_handles().open_streams(), 0);
        EXPECT_EQ(services_.comp_handles().open_values(), 0);
        EXPECT_EQ(services_.comp_handles().misuses(), 0);
    }

    Composition& comp() { return services_.composition(); }
    float Scale() const { return kHeightAtThreeAndAHalf / 1080.0f; }

    CompLayer& AddCamera(Vec3d position) {
        CompLayer camera;
        camera.kind = LayerKind::kCamera;
        camera.position.Set(position);
        comp().layers.push_back(camera);
        return comp().layers.back();
    }

    CompLayer& AddLight(AEGP_LightType type, Vec3d position, double intensity = 100) {
        CompLayer light;
        light.kind = LayerKind::kLight;
        light.light_type = type;
        light.position.Set(position);
        light.streams[AEGP_LayerStream_INTENSITY].Set(intensity);
        comp().layers.push_back(light);
        return comp().layers.back();
    }

    PF_InData InData(A_long frame) {
        PF_InData in{};
        in.pica_basicP = HostServices::BasicSuite();
        in.effect_ref = services_.EffectRef();
        in.time_scale = 30;
        in.time_step = 1;
        in.current_time = frame;
        in.global_data = out_.global_data;
        in.width = 640;
        in.height = 360;
        return in;
    }
    // Registers as global setup does, the first time.
    PF_Err Read(A_long frame = 0) {
        ActiveServicesScope active(&services_);
        if (out_.global_data == nullptr) {
            PF_InData setup = InData(0);
            RegisterWithPluginLayer(&setup, &out_);
        }
        PF_InData in = InData(frame);
        return ReadCompCameraAndLights(&in, &out_, &record_);
    }

    HostServices services_;
    PF_OutData out_{};
    RenderSettings record_{};
};

void ExpectVec(const float* actual, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual[0], x, tolerance);
    EXPECT_NEAR(actual[1], y, tolerance);
    EXPECT_NEAR(actual[2], z, tolerance);
}

TEST_F(CompCameraTest, CompositionWithoutCameraUsesTheHostsDefaultCamera) {
    ASSERT_EQ(Read(), PF_Err_NONE);
    const float s = Scale();
    const float zoom = 1920 * 1.388889f;
    EXPECT_NEAR(zoom, 2666.6668f, 1e-3f);
    ExpectVec(record_.camera_position, 0, -zoom * s, 0, 1e-4f);
    EXPECT_NEAR(record_.camera_position[1], -7.159f, 1e-3f);
    EXPECT_NEAR(record_.tan_half_fov, 0.2025f, 1e-4f);
    ExpectVec(record_.camera_right, 1, 0, 0);
    ExpectVec(record_.camera_up, 0, 0, 1);
    ExpectVec(record_.camera_forward, 0, 1, 0);
    EXPECT_EQ(record_.camera_dof, 0);
    EXPECT_FLOAT_EQ(record_.focus_distance, zoom * s);
    EXPECT_FLOAT_EQ(record_.highlight_threshold, 1.0f);
    EXPECT_FLOAT_EQ(record_.depth_start, 1000 * s);
    EXPECT_FLOAT_EQ(record_.depth_end, 2000 * s);
    EXPECT_EQ(record_.comp_light_count, 0);
    ASSERT_EQ(services_.comp_handles().registered_names().size(), 1u);
    EXPECT_EQ(services_.comp_handles().registered_names()[0], "Spirovault_Camera");
}

TEST_F(CompCameraTest, OnePixelHighCompositionSeesThreeAndAHalfUnits) {
    comp().width = 1;
    comp().height = 1;
    record_.depth_start = 1;
    ASSERT_EQ(Read(), PF_Err_NONE);
    EXPECT_FLOAT_EQ(record_.depth_start, kHeightAtThreeAndAHalf);
}

TEST_F(CompCameraTest, UnrotatedCameraSharesTheDefaultAxes) {
    AddCamera({960, 540, -1000});
    ASSERT_EQ(Read(), PF_Err_NONE);
    ExpectVec(record_.camera_position, 0, -1000 * Scale(), 0, 1e-5f);
    ExpectVec(record_.camera_right, 1, 0, 0);
    ExpectVec(record_.camera_up, 0, 0, 1);
    ExpectVec(record_.camera_forward, 0, 1, 0);
}

TEST_F(CompCameraTest, CameraAimedAtItsPointOfInterest) {
    // Standing left of the centre, looking right along the comp's x axis.
    CompLayer& camera = AddCamera({0, 540, 0});
    camera.point_of_interest.emplace(Vec3d{960, 540, 0});
    ASSERT_EQ(Read(), PF_Err_NONE);
    ExpectVec(record_.camera_position, -960 * Scale(), 0, 0, 1e-5f);
    ExpectVec(record_.camera_forward, 1, 0, 0);
    ExpectVec(record_.camera_up, 0, 0, 1);
    ExpectVec(record_.camera_right, 0, -1, 0);
}

TEST_F(CompCameraTest, CameraZoomAndLens) {
    CompLayer& camera = AddCamera({960, 540, -1000});
    camera.streams[AEGP_LayerStream_ZOOM].Set(0.0);
    camera.streams[AEGP_LayerStream_DEPTH_OF_FIELD].Set(1.0);
    camera.streams[AEGP_LayerStream_APERTURE].Set(25.0);
    camera.streams[AEGP_LayerStream_BLUR_LEVEL].Set(100.0);
    camera.streams[AEGP_LayerStream_FOCUS_DISTANCE].Set(800.0);
    camera.streams[AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN].Set(50.0);
    camera.streams[AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD].Set(200.0);
    camera.streams[AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION].Set(30.0);
    ASSERT_EQ(Read(), PF_Err_NONE);
    EXPECT_FLOAT_EQ(record_.tan_half_fov, 540.0f / 0.001f);  // zoom raised to 0.001
    EXPECT_EQ(record_.camera_dof, 1);
    EXPECT_FLOAT_EQ(record_.lens_radius, 1.0f * 12.5f * Scale());
    EXPECT_FLOAT_EQ(record_.focus_distance, 800 * Scale());
    EXPECT_FLOAT_EQ(record_.highlight_gain, 0.5f);
    EXPECT_FLOAT_EQ(record_.highlight_threshold, 20.0f);
    EXPECT_FLOAT_EQ(record_.highlight_saturation, 0.3f);
}

TEST_F(CompCameraTest, ValuesAreReadBeforeExpressionsAndAtTheFramesTime) {
    CompLayer& camera = AddCamera({960, 540, -1000});
    camera.streams[AEGP_LayerStream_ZOOM].Set(1000.0);
    camera.expression_values[AEGP_LayerStream_ZOOM] = 50.0;
    camera.position.AddKey(1.0, Vec3d{960, 540, -2000});
    ASSERT_EQ(Read(15), PF_Err_NONE);  // half a second into a 30 fps comp
    EXPECT_FLOAT_EQ(record_.tan_half_fov, 0.54f);
    EXPECT_NEAR(record_.camera_position[1], -1500 * Scale(), 1e-5f);
}

TEST_F(CompCameraTest, UnreadableCameraTransformKeepsTheLens) {
    CompLayer& camera = AddCamera({100, 100, -500});
    camera.transform_unreadable = true;
    camera.streams[AEGP_LayerStream_DEPTH_OF_FIELD].Set(1.0);
    camera.streams[AEGP_LayerStream_APERTURE].Set(10.0);
    camera.unreadable_values.insert(AEGP_LayerStream_BLUR_LEVEL);  // defaults to 100
    ASSERT_EQ(Read(), PF_Err_NONE);
    ExpectVec(record_.camera_position, 0, -3.5f, 0);
    EXPECT_FLOAT_EQ(record_.tan_half_fov, 0.41421357f);
    EXPECT_EQ(record_.camera_dof, 1);
    EXPECT_FLOAT_EQ(record_.lens_radius, 5.0f * Scale());
}

TEST_F(CompCameraTest, SwitchedOffCameraIsNotTheActiveOne) {
    AddCamera({960, 540, -1000}).video_active = false;
    ASSERT_EQ(Read(), PF_Err_NONE);
    EXPECT_NEAR(record_.camera_position[1], -7.159f, 1e-3f);
}

TEST_F(CompCameraTest, EightHighestSwitchedOnPointLightsTakeTheSlots) {
    AddLight(AEGP_LightType_SPOT, {0, 0, 0});
    for (int i = 0; i < 9; ++i) {
        AddLight(AEGP_LightType_POINT, {960.0 + i, 540, 0}, 10.0 * (i + 1));
        if (i == 2) AddLight(AEGP_LightType_AMBIENT, {0, 0, 0});
        if (i == 4) AddLight(AEGP_LightType_POINT, {0, 0, 0}).video_active = false;
        if (i == 5) AddLight(AEGP_LightType_PARALLEL, {0, 0, 0});
    }
    ASSERT_EQ(Read(), PF_Err_NONE);
    ASSERT_EQ(record_.comp_light_count, 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(record_.comp_lights[i].intensity, 0.1f * (i + 1));
        EXPECT_NEAR(record_.comp_lights[i].position[0], i * Scale(), 1e-6f);
    }
}

TEST_F(CompCameraTest, LightPropertiesAreConverted) {
    CompLayer& light = AddLight(AEGP_LightType_POINT, {960, 0, 500}, 150);
    light.color.Set(ColorRgb{1.0, 0.5, 0.25});
    light.streams[AEGP_LayerStream_CASTS_SHADOWS].Set(0.5);
    light.streams[AEGP_LayerStream_SHADOW_DARKNESS].Set(40);
    light.streams[AEGP_LayerStream_SHADOW_DIFFUSION].Set(30);
    CompLayer& shadowed = AddLight(AEGP_LightType_POINT, {960, 540, 0});
    shadowed.streams[AEGP_LayerStream_CASTS_SHADOWS].Set(1.0);
    shadowed.unreadable_values.insert(AEGP_LayerStream_INTENSITY);
    AddLight(AEGP_LightType_POINT, {0, 0, 0}).transform_unreadable = true;
    ASSERT_EQ(Read(), PF_Err_NONE);

    ASSERT_EQ(record_.comp_light_count, 2);
    const CompLight& first = record_.comp_lights[0];
    ExpectVec(first.position, 0, 500 * Scale(), 540 * Scale());
    EXPECT_FLOAT_EQ(first.intensity, 1.5f);
    ExpectVec(first.color, 1.0f, 0.5f, 0.25f);
    EXPECT_EQ(first.casts_shadows, 0);
    EXPECT_FLOAT_EQ(first.shadow_darkness, 0.4f);
    EXPECT_FLOAT_EQ(first.shadow_diffusion, 30 * Scale());
    EXPECT_EQ(record_.comp_lights[1].casts_shadows, 1);
    EXPECT_FLOAT_EQ(record_.comp_lights[1].intensity, 1.0f);  // unreadable: default 100 %
}

TEST_F(CompCameraTest, EffectWithoutLayerGetsTheFixedCamera) {
    comp().effect_has_layer = false;
    AddLight(AEGP_LightType_POINT, {960, 540, 0});
    ASSERT_EQ(Read(), PF_Err_NONE);
    EXPECT_FLOAT_EQ(record_.depth_start, 2.684f);
    ExpectVec(record_.camera_position, 0, -3.5f, 0);
    ExpectVec(record_.camera_forward, 0, 1, 0);
    ExpectVec(record_.camera_up, 0, 0, 1);
    EXPECT_FLOAT_EQ(record_.focus_distance, 3.5f);
    EXPECT_EQ(record_.comp_light_count, 0);
}

// A host without one of the plug-in layer's suites, or an effect that global setup could not
// register: the frame stands in for the composition, without its camera and lights.
TEST_F(CompCameraTest, WithoutThePluginLayerTheFrameIsTheComposition) {
    AddCamera({0, 0, -100});
    AddLight(AEGP_LightType_POINT, {960, 540, 0});
    const std::pair<const char*, int32_t> suites[] = {
        {kAEGPLightSuite, kAEGPLightSuiteVersion2},
        {kAEGPStreamSuite, kAEGPStreamSuiteVersion2},
        {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1}};
    for (const auto& [missing, version] : suites) {
        record_ = RenderSettings{};
        record_.depth_start = 1000;
        services_.suites().SetAvailabilityOfFamily("AEGP ", SuiteRegistry::Availability::kProvided);
        services_.suites().SetAvailability(missing, version,
                                           SuiteRegistry::Availability::kWithheld);
        ASSERT_EQ(Read(), PF_Err_NONE) << missing;
        // The default camera of a 640 x 360 composition (the frame's size).
        const float s = kHeightAtThreeAndAHalf / 360.0f;
        ExpectVec(record_.camera_position, 0, -640 * 1.388889f * s, 0, 1e-3f);
        ExpectVec(record_.camera_forward, 0, 1, 0);
        EXPECT_FLOAT_EQ(record_.depth_start, 1000 * s);
        EXPECT_EQ(record_.comp_light_count, 0) << missing;
        EXPECT_EQ(out_.return_msg[0], '\0');
    }
    services_.suites().SetAvailabilityOfFamily("AEGP ", SuiteRegistry::Availability::kProvided);
    // Never registered: the same.
    HostServices unregistered;
    ActiveServicesScope active(&unregistered);
    PF_InData in = InData(0);
    in.global_data = nullptr;
    record_ = RenderSettings{};
    ASSERT_EQ(ReadCompCameraAndLights(&in, &out_, &record_), PF_Err_NONE);
    EXPECT_EQ(record_.comp_light_count, 0);
    ExpectVec(record_.camera_forward, 0, 1, 0);
    EXPECT_TRUE(unregistered.comp_handles().registered_names().empty());
}

}  // namespace
