// The renderer's hold on the plug-in: parameters by declaration, the ramp through the effect's
// own arbitrary-data handlers, and effect errors told with their code and message.
#include "cli/effect_session.h"

#include <gtest/gtest.h>

#include "cli/cli_error.h"
#include "cli/frame_images.h"

namespace {

using namespace cli;
using namespace imageio;
using namespace hostsim;

FrameRequest Small() {
    FrameRequest request;
    request.width = 12;
    request.height = 8;
    request.depth = WorldDepth::k32;
    return request;
}

TEST(EffectSession, RampAndValuesReachTheFrame) {
    EffectSession session(SPIROVAULT_PLUGIN_PATH);
    EXPECT_EQ(session.catalog().params().size(), 60u);
    const ParamInfo& ramp = session.catalog().Find("Color Ramp");
    EXPECT_EQ(ramp.default_text, "0:#FFFFFF");
    session.composition().width = 12;
    session.composition().height = 8;
    const FrameResult white = session.Render(Small());
    session.SetRamp(ParseRamp("0:#000000"));
    session.SetRamp(ParseRamp("0:#000000,1:#000000"));  // the first value is disposed of
    session.SetValue(session.catalog().Find("Ambient Intensity"), ParamValue{});
    session.SetValue(session.catalog().Find("Specularity"), ParamValue{});
    const FrameResult black = session.Render(Small());
    EXPECT_TRUE(black.audit.clean()) << black.audit.Describe();
    double white_sum = 0, black_sum = 0;
    for (size_t i = 0; i < black.output.argb.size(); i += 4) {
        white_sum += white.output.argb[i + 1];
        black_sum += black.output.argb[i + 1];
    }
    EXPECT_GT(white_sum, 0.1);
    EXPECT_EQ(black_sum, 0.0);
}

TEST(EffectSession, EffectErrorsCarryCodeAndMessage) {
    EffectSession session(SPIROVAULT_PLUGIN_PATH);
    session.host().services().suites().SetAvailability("PF World Suite", 2,
                                                       SuiteRegistry::Availability::kWithheld);
    try {
        session.Render(Small());
        FAIL() << "the frame rendered without its world suite";
    } catch (const CliError& e) {
        EXPECT_STREQ(e.what(),
                     "the effect failed to render frame 0: PF_Err 13 (A_Err_MISSING_SUITE): "
                     "Not able to acquire AEFX Suite.");
    }
    FrameRequest faulty = Small();
    faulty.faults.checkout_output = PF_Err_OUT_OF_MEMORY;
    session.host().services().suites().SetAvailability("PF World Suite", 2,
                                                       SuiteRegistry::Availability::kProvided);
    try {
        session.Render(faulty);
        FAIL() << "a failed output check-out went unreported";
    } catch (const CliError& e) {
        // A shortage the effect reports is told as one, with the effect's code.
        EXPECT_STREQ(e.what(),
                     "out of memory while rendering frame 0 (PF_Err 4 (PF_Err_OUT_OF_MEMORY))");
    }
    EXPECT_EQ(DescribeEffectError(77, ""), "PF_Err 77");
}

TEST(FrameImages, InputLayerIsCentredInStraightColour) {
    FloatImage image(4, 2);
    for (int x = 0; x < 4; ++x) {
        image.Pixel(x, 0)[0] = static_cast<float>(x);  // red counts the column
        image.Pixel(x, 0)[3] = 0.5f;
        image.Pixel(x, 1)[3] = 1.0f;
    }
    // Larger composition: the image sits in the middle.
    const HostImage wide = PlaceInputLayer(image, FrameSize{8, 4});
    ASSERT_EQ(wide.argb.size(), 8u * 4 * 4);
    auto at = [](const HostImage& layer, int x, int y) {
        return &layer.argb[(static_cast<size_t>(y) * layer.width + x) * 4];
    };
    EXPECT_EQ(at(wide, 1, 1)[0], 0.0f);
    EXPECT_EQ(at(wide, 2, 1)[0], 0.5f);
    EXPECT_EQ(at(wide, 5, 1)[1], 3.0f);  // column 3 red 3, straight as the host keeps it
    EXPECT_EQ(at(wide, 6, 1)[0], 0.0f);
    EXPECT_EQ(at(wide, 2, 2)[0], 1.0f);
    EXPECT_EQ(at(wide, 2, 3)[0], 0.0f);
    // Smaller composition: the middle of the image is kept.
    const HostImage narrow = PlaceInputLayer(image, FrameSize{2, 1});
    EXPECT_EQ(at(narrow, 0, 0)[1], 1.0f);
    EXPECT_EQ(at(narrow, 1, 0)[1], 2.0f);

    HostImage frame;
    frame.width = 1;
    frame.height = 1;
    frame.argb = {0.25f, 1.0f, 2.0f, 3.0f};
    const std::vector<float> argb = frame.argb;
    FloatImage converted = FrameToImage(std::move(frame));
    EXPECT_EQ(converted.rgba, (std::vector<float>{1.0f, 2.0f, 3.0f, 0.25f}));
    EXPECT_EQ(EnvironmentLayer(std::move(converted)).argb, argb);
}

}  // namespace
