// Parameter declaration as the host receives it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "host/pf_handle_suite.h"
#include "kernel/color_ramp.h"
#include "tests/support/plugin_host_fixture.h"

namespace {

using namespace hostsim;

struct Expected {
    int index, id;
    const char* name;
    PF_ParamType type;
    PF_ParamFlags flags;
};

constexpr PF_ParamFlags T = PF_ParamFlag_COLLAPSE_TWIRLY;
constexpr PF_ParamFlags S = PF_ParamFlag_SUPERVISE;

// Index, id, name, type and flags of all sixty, from the published parameter list.
const Expected kExpected[] = {
    {1, 1, "Power", PF_Param_FLOAT_SLIDER, 0},
    {2, 2, "Bailout", PF_Param_FLOAT_SLIDER, 0},
    {3, 3, "Max Iterations", PF_Param_FLOAT_SLIDER, 0},
    {4, 4, "Max Steps", PF_Param_FLOAT_SLIDER, 0},
    {5, 5, "Bounding Sphere", PF_Param_FLOAT_SLIDER, 0},
    {6, 6, "Epsilon Scale", PF_Param_FLOAT_SLIDER, 0},
    {7, 7, "Rotation X", PF_Param_ANGLE, T},
    {8, 8, "Rotation Y", PF_Param_ANGLE, T},
    {9, 9, "Rotation Z", PF_Param_ANGLE, T},
    {10, 10, "Julia Mode", PF_Param_CHECKBOX, S},
    {11, 11, "Julia X", PF_Param_FLOAT_SLIDER, T},
    {12, 12, "Julia Y", PF_Param_FLOAT_SLIDER, T},
    {13, 13, "Julia Z", PF_Param_FLOAT_SLIDER, T},
    {14, 14, "Radiolaria", PF_Param_CHECKBOX, S},
    {15, 15, "Radiolaria Factor", PF_Param_FLOAT_SLIDER, T},
    {16, 16, "Phase X", PF_Param_FLOAT_SLIDER, 0},
    {17, 17, "Phase Y", PF_Param_FLOAT_SLIDER, T},
    {18, 1, "Coloring", PF_Param_GROUP_START, 0},
    {19, 19, "Color Ramp", PF_Param_ARBITRARY_DATA, 0},
    {20, 20, "Orbit Scale", PF_Param_FLOAT_SLIDER, 0},
    {21, 21, "Orbit Gamma", PF_Param_FLOAT_SLIDER, T},
    {22, 2, "", PF_Param_GROUP_END, 0},
    {23, 3, "Specularity", PF_Param_GROUP_START, 0},
    {24, 24, "Specularity", PF_Param_FLOAT_SLIDER, T},
    {25, 25, "Specular Exponent", PF_Param_FLOAT_SLIDER, T},
    {26, 4, "", PF_Param_GROUP_END, 0},
    {27, 5, "Ambient Occlusion", PF_Param_GROUP_START, 0},
    {28, 28, "AO Type", PF_Param_POPUP, 0},
    {29, 29, "AO Intensity", PF_Param_FLOAT_SLIDER, 0},
    {30, 30, "AO Samples", PF_Param_SLIDER, T},
    {31, 31, "AO Radius", PF_Param_FLOAT_SLIDER, T},
    {32, 6, "", PF_Param_GROUP_END, 0},
    {33, 7, "Lighting", PF_Param_GROUP_START, 0},
    {34, 34, "Light X", PF_Param_FLOAT_SLIDER, 0},
    {35, 35, "Light Y", PF_Param_FLOAT_SLIDER, T},
    {36, 36, "Light Z", PF_Param_FLOAT_SLIDER, T},
    {37, 37, "Light Color", PF_Param_COLOR, 0},
    {38, 38, "Light Size", PF_Param_FLOAT_SLIDER, T},
    {39, 39, "Light Intensity", PF_Param_FLOAT_SLIDER, 0},
    {40, 40, "Shadow Intensity", PF_Param_FLOAT_SLIDER, 0},
    {41, 41, "Shadow Samples", PF_Param_SLIDER, T},
    {42, 42, "Ambient Intensity", PF_Param_FLOAT_SLIDER, 0},
    {43, 43, "Ambient Color", PF_Param_COLOR, T},
    {44, 8, "", PF_Param_GROUP_END, 0},
    {45, 9, "HDRI Environment", PF_Param_GROUP_START, 0},
    {46, 46, "HDRI Layer", PF_Param_LAYER, 0},
    {47, 47, "HDRI Intensity", PF_Param_FLOAT_SLIDER, 0},
    {48, 48, "HDRI Rotation", PF_Param_ANGLE, T},
    {49, 49, "HDRI Samples", PF_Param_SLIDER, T},
    {50, 50, "HDRI Shadow Intensity", PF_Param_FLOAT_SLIDER, T},
    {51, 51, "HDRI Specular", PF_Param_CHECKBOX, 0},
    {52, 10, "", PF_Param_GROUP_END, 0},
    {53, 11, "Rendering & Camera", PF_Param_GROUP_START, 0},
    {54, 54, "Supersampling", PF_Param_SLIDER, 0},
    {55, 55, "DoF Samples", PF_Param_SLIDER, T},
    {56, 56, "Composite On Original", PF_Param_CHECKBOX, 0},
    {57, 57, "Depth Map", PF_Param_CHECKBOX, S},
    {58, 58, "Depth Start Distance", PF_Param_FLOAT_SLIDER, T},
    {59, 59, "Depth End Distance", PF_Param_FLOAT_SLIDER, T},
    {60, 12, "", PF_Param_GROUP_END, 0},
};

}  // namespace

class ParamsSetup : public PluginHostTest {
  protected:
    const PF_ParamDef& Def(int index) { return params().at(static_cast<size_t>(index)).def; }
};

TEST_F(ParamsSetup, DeclaresSixtyParametersInOrderWithIdsTypesAndFlags) {
    const CommandResult result = host().ParamsSetup();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_EQ(result.out_data.num_params, 61);
    ASSERT_EQ(params().size(), 61u);
    for (const Expected& e : kExpected) {
        const PF_ParamDef& def = Def(e.index);
        EXPECT_EQ(def.uu.id, e.id) << e.index;
        EXPECT_STREQ(def.name, e.name) << e.index;
        EXPECT_EQ(def.param_type, e.type) << e.index;
        EXPECT_EQ(def.flags, e.flags) << e.index;
        if (def.param_type != PF_Param_ARBITRARY_DATA) {
            EXPECT_EQ(def.ui_flags, 0) << e.index;
            EXPECT_EQ(def.ui_width, 0) << e.index;
        }
    }
    EXPECT_CLEAN(result);
}

TEST_F(ParamsSetup, FloatSlidersCarryWidenedSinglePrecisionDefaultsAndRanges) {
    ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
    const PF_FloatSliderDef& orbit = Def(20).u.fs_d;
    EXPECT_EQ(orbit.value, 1.7999999523162842);
    EXPECT_EQ(orbit.dephault, 1.8f);
    EXPECT_EQ(Def(24).u.fs_d.value, 0.6600000262260437);
    const PF_FloatSliderDef& julia_x = Def(11).u.fs_d;
    EXPECT_EQ(julia_x.valid_min, -10000.0f);
    EXPECT_EQ(julia_x.valid_max, 10000.0f);
    EXPECT_EQ(julia_x.slider_min, -2.0f);
    EXPECT_EQ(julia_x.slider_max, 2.0f);
    EXPECT_EQ(julia_x.precision, 2);
    EXPECT_EQ(julia_x.curve_tolerance, 0.05f);
    EXPECT_EQ(julia_x.display_flags, 0);
    const PF_FloatSliderDef& depth_end = Def(59).u.fs_d;
    EXPECT_EQ(depth_end.value, 3000.0);
    EXPECT_EQ(depth_end.valid_max, 20000.0f);
    EXPECT_EQ(depth_end.slider_max, 6000.0f);
    EXPECT_EQ(depth_end.precision, 0);
    EXPECT_EQ(Def(36).u.fs_d.value, -42.0);
    EXPECT_EQ(Def(6).u.fs_d.valid_min, 0.1f);
}

TEST_F(ParamsSetup, OtherTypesCarryTheirDefaults) {
    ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
    const PF_SliderDef& ao_samples = Def(30).u.sd;
    EXPECT_EQ(ao_samples.value, 4);
    EXPECT_EQ(ao_samples.dephault, 4);
    EXPECT_EQ(ao_samples.valid_min, 1);
    EXPECT_EQ(ao_samples.valid_max, 256);
    EXPECT_EQ(ao_samples.slider_max, 64);
    EXPECT_EQ(ao_samples.value_str[0], '\0');
    EXPECT_EQ(Def(49).u.sd.value, 16);
    EXPECT_EQ(Def(54).u.sd.valid_max, 10);

    EXPECT_EQ(Def(28).u.pd.value, 1);
    EXPECT_EQ(Def(28).u.pd.dephault, 1);
    EXPECT_EQ(Def(28).u.pd.num_choices, 2);
    EXPECT_EQ(params().at(28).popup_choices, "Orbit Trap|Raytraced");

    EXPECT_EQ(Def(10).u.bd.value, 0);
    EXPECT_EQ(params().at(10).checkbox_text, "");
    EXPECT_EQ(Def(7).u.ad.value, 0);

    const PF_Pixel light = Def(37).u.cd.value;
    EXPECT_EQ(light.alpha, 255);
    EXPECT_EQ(light.red, 255);
    EXPECT_EQ(light.green, 245);
    EXPECT_EQ(light.blue, 240);
    const PF_Pixel ambient = Def(43).u.cd.dephault;
    EXPECT_EQ(ambient.red, 171);
    EXPECT_EQ(ambient.green, 217);
    EXPECT_EQ(ambient.blue, 255);
    EXPECT_EQ(Def(46).u.ld.dephault, PF_LayerDefault_NONE);
}

TEST_F(ParamsSetup, ColorRampIsAnArbitraryParameterWithTheDefaultRampAndEditor) {
    ASSERT_EQ(host().ParamsSetup().err, PF_Err_NONE);
    const PF_ParamDef& ramp = Def(19);
    EXPECT_EQ(ramp.u.arb_d.id, 19);
    EXPECT_EQ(ramp.ui_width, 640);
    EXPECT_EQ(ramp.ui_height, 65);
    EXPECT_EQ(ramp.ui_flags, 0x82);
    EXPECT_EQ(ramp.u.arb_d.value, nullptr);
    EXPECT_EQ(ramp.u.arb_d.refconPV, reinterpret_cast<void*>(0xDEADBEEF));
    ASSERT_TRUE(handles().IsLive(ramp.u.arb_d.dephault));
    ColorRamp expected;
    InitDefaultRamp(&expected);
    const std::vector<uint8_t> bytes = handles().Bytes(ramp.u.arb_d.dephault);
    ASSERT_EQ(bytes.size(), sizeof expected);
    EXPECT_EQ(std::memcmp(bytes.data(), &expected, sizeof expected), 0);

    ASSERT_EQ(params().ui_registrations().size(), 1u);
    const PF_CustomUIInfo& ui = params().ui_registrations()[0];
    EXPECT_EQ(ui.events, PF_CustomEFlag_EFFECT);
    EXPECT_EQ(ui.comp_ui_width, 0);
    EXPECT_EQ(ui.layer_ui_width, 0);
    EXPECT_EQ(ui.preview_ui_height, 0);
}

TEST_F(ParamsSetup, RefusedParameterStopsAtOnce) {
    for (int refused : {1, 19, 20, 60}) {
        host_ = std::make_unique<EffectHost>(SPIROVAULT_PLUGIN_PATH);
        params().FailAdd(refused, PF_Err_OUT_OF_MEMORY);
        const CommandResult result = host().ParamsSetup();
        EXPECT_EQ(result.err, PF_Err_OUT_OF_MEMORY) << refused;
        EXPECT_EQ(params().add_calls(), refused);
        EXPECT_EQ(params().size(), static_cast<size_t>(refused));
        EXPECT_EQ(result.out_data.num_params, 0);
        EXPECT_TRUE(params().ui_registrations().empty());
        // A refused ramp default is not left behind.
        EXPECT_CLEAN(result);
    }
}

TEST_F(ParamsSetup, DefaultRampFailureIsReportedAfterAllParametersAndSkipsTheEditor) {
    handles().FailAllocation(1);
    const CommandResult result = host().ParamsSetup();
    EXPECT_EQ(result.err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(params().size(), 61u);
    EXPECT_EQ(Def(19).u.arb_d.dephault, nullptr);
    EXPECT_EQ(result.out_data.num_params, 61);
    EXPECT_TRUE(params().ui_registrations().empty());
    EXPECT_CLEAN(result);
}

TEST_F(ParamsSetup, MissingHandleSuiteEndsTheCommand) {
    Withhold(kPFHandleSuite, kPFHandleSuiteVersion1);
    const CommandResult result = host().ParamsSetup();
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(params().size(), 19u);  // up to the group before "Color Ramp"
    EXPECT_CLEAN(result);
}
