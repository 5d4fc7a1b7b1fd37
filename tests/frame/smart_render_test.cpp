// The smart render's check-outs, formats and clean-up as the host sees them.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/pf_iterate_suites.h"
#include "host/pf_world_suite.h"
#include "hostsim/suites/standalone_suites.h"
#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

using SmartRenderProtocol = FrameTest;

bool AllZero(const std::vector<uint8_t>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

TEST_F(SmartRenderProtocol, RendersIntoPaddedRowsAndChecksEverythingIn) {
    for (WorldDepth depth : {WorldDepth::k8, WorldDepth::k16, WorldDepth::k32}) {
        FrameSession frame(host(), Request(20, 12, depth));
        ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
        const CommandResult result = frame.Render();
        ASSERT_EQ(result.err, PF_Err_NONE);
        EXPECT_CLEAN(result);
        EXPECT_EQ(Record(frame).output_width, 20);
        EXPECT_EQ(Record(frame).output_height, 12);
        EXPECT_EQ(frame.layer_pixel_checkouts(), 2);  // the input and the "HDRI Layer"
        EXPECT_EQ(frame.layer_pixel_checkins(), 2);
        EXPECT_EQ(frame.output_checkouts(), 1);
        EXPECT_TRUE(frame.output_world().PaddingIntact());
        EXPECT_FALSE(AllZero(frame.output_world().PackedBytes()));  // the fractal is there
    }
}

TEST_F(SmartRenderProtocol, MissingPreRenderDataTouchesNothing) {
    FrameSession frame(host(), Request());
    const CommandResult result = frame.RenderWith(nullptr);
    EXPECT_EQ(result.err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_CLEAN(result);
    EXPECT_EQ(frame.layer_pixel_checkouts() + frame.layer_pixel_checkins(), 0);
    EXPECT_EQ(frame.output_checkouts(), 0);
}

TEST_F(SmartRenderProtocol, UnknownOutputFormatLeavesTheOutputUntouched) {
    FrameRequest request = Request();
    request.faults.output_format_unknown = true;
    FrameSession frame(host(), request);
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const CommandResult result = frame.Render();
    EXPECT_EQ(result.err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_CLEAN(result);
    EXPECT_TRUE(AllZero(frame.output_world().PackedBytes()));
    EXPECT_TRUE(frame.output_world().PaddingIntact());
    for (const char* suite : {kPFIterate8Suite, kPFIterate16Suite, kPFIterateFloatSuite}) {
        EXPECT_EQ(suites().CountsFor(suite, 2).acquires, 0) << suite;
    }
}

TEST_F(SmartRenderProtocol, FailedCheckoutsStillCheckTheInputInOnce) {
    FrameRequest input_fails = Request();
    input_fails.faults.checkout_layer_pixels = PF_Err_OUT_OF_MEMORY;
    FrameRequest output_fails = Request();
    output_fails.faults.checkout_output = PF_Interrupt_CANCEL;
    for (const auto& [request, expected_err, output_checkouts] :
         {std::tuple{input_fails, PF_Err_OUT_OF_MEMORY, 0},
          std::tuple{output_fails, PF_Interrupt_CANCEL, 1}}) {
        FrameSession frame(host(), request);
        ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
        const CommandResult result = frame.Render();
        EXPECT_EQ(result.err, expected_err);
        EXPECT_CLEAN(result);
        EXPECT_EQ(frame.layer_pixel_checkins(), 1);
        EXPECT_EQ(frame.output_checkouts(), output_checkouts);
        EXPECT_TRUE(AllZero(frame.output_world().PackedBytes()));
    }
}

// The depth's own iterate suite is needed only where the host offers no generic iterate.
TEST_F(SmartRenderProtocol, MissingSuitesAreReportedAfterCheckingIn) {
    const std::tuple<const char*, WorldDepth, bool> missing[] = {
        {kPFWorldSuite, WorldDepth::k8, true},
        {kPFIterate8Suite, WorldDepth::k8, true},
        {kPFIterate16Suite, WorldDepth::k16, false},
        {kPFIterateFloatSuite, WorldDepth::k32, false},
    };
    for (const auto& [suite, depth, generic] : missing) {
        host_ = std::make_unique<EffectHost>(SPIROVAULT_PLUGIN_PATH);
        if (!generic) {
            suites().Provide(kPFIterate8Suite, 2, StandaloneIterate8SuiteWithoutGeneric());
        }
        Withhold(suite, 2);
        FrameRequest request = Request(8, 6, depth);
        request.hdri_layer = nullptr;
        const FrameResult result = host().RenderFrame(request);
        EXPECT_EQ(result.err, A_Err_MISSING_SUITE) << suite;
        EXPECT_EQ(result.return_msg, "Not able to acquire AEFX Suite.") << suite;
        EXPECT_TRUE(result.audit.clean()) << suite << ": " << result.audit.Describe();
    }
}

TEST_F(SmartRenderProtocol, GenericIterateRendersEveryDepthWithoutTheDepthSuites) {
    Withhold(kPFIterate16Suite, 2);
    Withhold(kPFIterateFloatSuite, 2);
    for (WorldDepth depth : {WorldDepth::k8, WorldDepth::k16, WorldDepth::k32}) {
        const FrameResult result = host().RenderFrame(Request(8, 6, depth));
        EXPECT_EQ(result.err, PF_Err_NONE);
        EXPECT_TRUE(result.audit.clean()) << result.audit.Describe();
        EXPECT_FALSE(AllZero(result.raw));
    }
}

}  // namespace
