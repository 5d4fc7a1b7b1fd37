// Parameter values, as the host hands them out at the frame's time, resolved into the record the
// pre-render hands over.
#include <gtest/gtest.h>

#include "host/pf_handle_suite.h"
#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

using ParamResolution = FrameTest;

TEST_F(ParamResolution, ConvertsEachKindOfValue) {
    params().SetValue(kParamMaxSteps, 110.9);
    params().SetValue(kParamMaxIterations, 6.99);
    params().SetValue(kParamEpsilonScale, 0.0001);  // below the floor, as damaged data can be
    params().SetValue(kParamRotationX, -90);
    params().SetValue(kParamRotationY, 360.5);
    params().SetValue(kParamLightX, 1.5);
    params().SetValue(kParamLightY, 2.5);
    params().SetValue(kParamLightZ, -3.5);
    params().SetColor(kParamLightColor, PF_Pixel{0, 255, 51, 0});
    params().SetValue(kParamAoType, 2);
    params().SetValue(kParamShadowSamples, 7);
    params().SetValue(kParamJuliaMode, 1);
    FrameSession frame(host(), Request());
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const RenderSettings& s = Record(frame);
    EXPECT_EQ(s.max_steps, 110);
    EXPECT_EQ(s.max_iterations, 6);
    EXPECT_EQ(s.epsilon_scale, 0.001f);
    EXPECT_EQ(s.rotation_x, -90.0f);
    EXPECT_EQ(s.rotation_y, 360.5f);
    // Stored as (Light X, Light Z, Light Y): fractal z is up.
    EXPECT_EQ(s.light_position[0], 1.5f);
    EXPECT_EQ(s.light_position[1], -3.5f);
    EXPECT_EQ(s.light_position[2], 2.5f);
    EXPECT_EQ(s.light_color[0], 1.0f);
    EXPECT_EQ(s.light_color[1], 0.2f);
    EXPECT_EQ(s.light_color[2], 0.0f);
    EXPECT_EQ(s.ao_type, 2);
    EXPECT_EQ(s.shadow_samples, 7);
    EXPECT_EQ(s.julia_mode, 1);
    EXPECT_EQ(s.lighting_enabled, 1);
    EXPECT_EQ(s.hdri_pixels, nullptr);
}

TEST_F(ParamResolution, KeyframesAreReadAtTheFramesTime) {
    host().services().composition().frame_rate = 30;
    params().Animate(kParamPower, {{0, 2}, {1, 10}});
    params().Animate(kParamRotationZ, {{0, 0}, {2, 90}});
    params().Animate(kParamJuliaMode, {{0, 0}, {0.6, 1}});  // held, not blended
    ParamKey dark, light;
    dark.color = PF_Pixel{255, 0, 0, 0};
    light.time = 1;
    light.color = PF_Pixel{255, 200, 100, 50};
    params().Animate(kParamAmbientColor, {dark, light});
    FrameRequest request = Request();
    request.frame = 15;  // half a second
    FrameSession frame(host(), request);
    EXPECT_EQ(frame.in_data().time_scale, 30u);
    EXPECT_EQ(frame.in_data().current_time, 15);
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const RenderSettings& s = Record(frame);
    EXPECT_FLOAT_EQ(s.power, 6.0f);
    EXPECT_FLOAT_EQ(s.rotation_z, 22.5f);
    EXPECT_EQ(s.julia_mode, 0);
    EXPECT_FLOAT_EQ(s.ambient_color[0], 100 / 255.0f);
    EXPECT_FLOAT_EQ(s.ambient_color[2], 25 / 255.0f);
}

TEST_F(ParamResolution, RampAndItsTable) {
    ColorRamp ramp;
    InitDefaultRamp(&ramp);
    ramp.stop_count = 3;
    for (int i = 0; i < 3; ++i) ramp.stops[i] = RampStop{i * 0.5f, 0.1f * i, 0.2f, 0.3f, 1.0f};
    SetRamp(ramp);
    FrameSession frame(host(), Request());
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const RenderSettings& s = Record(frame);
    EXPECT_EQ(s.ramp_stop_count, 3);
    EXPECT_EQ(std::memcmp(&s.ramp, &ramp, sizeof ramp), 0);
    EXPECT_EQ(s.ramp_table.entries[2][0], 1.0f);
    EXPECT_EQ(s.ramp_table.entries[2][1], 0.2f);
    for (int i = 3; i < kMaxRampStops; ++i) {
        for (float v : s.ramp_table.entries[i]) EXPECT_EQ(v, 0.0f) << i;
    }
}

TEST_F(ParamResolution, DamagedStopCountFillsTheWholeTableOnly) {
    ColorRamp ramp;
    InitDefaultRamp(&ramp);
    ramp.stop_count = 20;
    for (int i = 0; i < kMaxRampStops; ++i) ramp.stops[i].position = 1.0f + i;
    SetRamp(ramp);
    FrameSession frame(host(), Request());
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const RenderSettings& s = Record(frame);
    EXPECT_EQ(s.ramp_stop_count, 20);
    EXPECT_EQ(s.ramp_table.entries[kMaxRampStops - 1][0], 16.0f);
}

TEST_F(ParamResolution, UnlockableRampGivesAZeroRampAndStillRenders) {
    FrameSession frame(host(), Request());
    handles().FailLock(1);  // the ramp is the pre-render's only lock
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const RenderSettings& s = Record(frame);
    EXPECT_EQ(s.ramp_stop_count, 0);
    const RampTable zero{};
    EXPECT_EQ(std::memcmp(&s.ramp_table, &zero, sizeof zero), 0);
    EXPECT_EQ(frame.Render().err, PF_Err_NONE);
}

TEST_F(ParamResolution, MissingHandleSuiteStillChecksInAndHandsOver) {
    Withhold(kPFHandleSuite, kPFHandleSuiteVersion1);
    FrameSession frame(host(), Request());
    const CommandResult result = frame.PreRender();
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_CLEAN(result);
    EXPECT_NE(frame.pre_render_output().pre_render_data, nullptr);
    EXPECT_TRUE(frame.layer_checkouts().empty());
}

}  // namespace
