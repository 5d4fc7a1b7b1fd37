// What the pre-render checks out and hands to the host, on success and after failures.
#include <gtest/gtest.h>

#include <vector>

#include "frame/smart_pre_render.h"
#include "tests/support/frame_test_support.h"

using namespace spirovault;

namespace {

using namespace hostsim;

using PreRenderProtocol = FrameTest;

// Group starts and ends, and "HDRI Layer", which the smart render checks out itself.
const std::vector<int> kSkipped = {18, 22, 23, 26, 27, 32, 33, 44, 45, 46, 52, 53, 60};

std::vector<PF_ParamIndex> ValueParamOrder() {
    std::vector<PF_ParamIndex> order;
    for (int i = 1; i <= 60; ++i) {
        if (std::find(kSkipped.begin(), kSkipped.end(), i) == kSkipped.end()) order.push_back(i);
    }
    return order;
}

TEST_F(PreRenderProtocol, ChecksOutValueParamsInOrderAndEverythingBackIn) {
    FrameSession frame(host(), Request(30, 20));
    frame.pre_render_output().flags = PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS | 0x40;
    const CommandResult result = frame.PreRender();
    ASSERT_EQ(result.err, PF_Err_NONE);
    EXPECT_CLEAN(result);
    EXPECT_EQ(params().checkout_log(), ValueParamOrder());
    EXPECT_EQ(ValueParamOrder().size(), 47u);

    // The host's bits stay and GPU rendering is declared possible.
    EXPECT_EQ(frame.pre_render_output().flags, PF_RenderOutputFlag_RETURNS_EXTRA_PIXELS | 0x40 |
                                                   PF_RenderOutputFlag_GPU_RENDER_POSSIBLE);
    EXPECT_NE(frame.pre_render_output().delete_pre_render_data_func, nullptr);

    // The input, with the host's own request, at the frame's time; then the whole "HDRI
    // Layer" for the render's checkout_layer_pixels.
    ASSERT_EQ(frame.layer_checkouts().size(), 2u);
    const auto& environment = frame.layer_checkouts()[1];
    EXPECT_EQ(environment.index, kParamHdriLayer);
    EXPECT_EQ(environment.checkout_id, 1);
    EXPECT_EQ(environment.request.rect.left, 0);
    EXPECT_EQ(environment.request.rect.top, 0);
    EXPECT_EQ(environment.request.rect.right, 32767);
    EXPECT_EQ(environment.request.rect.bottom, 32767);
    EXPECT_EQ(environment.what_time, frame.in_data().current_time);
    const auto& input = frame.layer_checkouts()[0];
    EXPECT_EQ(input.index, 0);
    EXPECT_EQ(input.checkout_id, 0);
    EXPECT_EQ(std::memcmp(&input.request, &frame.output_request(), sizeof input.request), 0);
    EXPECT_EQ(input.what_time, frame.in_data().current_time);

    // The host's rectangles were empty: they become the input's.
    const PF_LRect whole{0, 0, 30, 20};
    EXPECT_EQ(std::memcmp(&frame.pre_render_output().result_rect, &whole, sizeof whole), 0);
    EXPECT_EQ(std::memcmp(&frame.pre_render_output().max_result_rect, &whole, sizeof whole), 0);
}

// The effect draws over the whole layer: its result is what was asked of the layer, and its
// maximum the layer, whatever the host left in the record or the input's content.
TEST_F(PreRenderProtocol, ResultIsTheRequestWithinTheLayer) {
    FrameRequest request = Request(30, 20);
    request.region = PF_LRect{4, 3, 30, 20};
    FrameSession frame(host(), request);
    frame.pre_render_output().result_rect = PF_LRect{-5, 4, 10, 40};
    ASSERT_EQ(frame.PreRender().err, PF_Err_NONE);
    const PF_LRect part{4, 3, 30, 20};
    const PF_LRect whole{0, 0, 30, 20};
    EXPECT_EQ(std::memcmp(&frame.pre_render_output().result_rect, &part, sizeof part), 0);
    EXPECT_EQ(std::memcmp(&frame.pre_render_output().max_result_rect, &whole, sizeof whole), 0);
}

TEST_F(PreRenderProtocol, FailedParamCheckoutStopsThereAndStillHandsTheRecordOver) {
    params().FailCheckout(kParamOrbitScale, PF_Err_OUT_OF_MEMORY);
    FrameSession frame(host(), Request());
    frame.pre_render_output().result_rect = PF_LRect{1, 2, 3, 4};
    const CommandResult result = frame.PreRender();
    EXPECT_EQ(result.err, PF_Err_OUT_OF_MEMORY);
    EXPECT_CLEAN(result);  // what was checked out went back
    const std::vector<PF_ParamIndex> before_ramp_scale = {1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                          10, 11, 12, 13, 14, 15, 16, 17, 19};
    EXPECT_EQ(params().checkout_log(), before_ramp_scale);
    EXPECT_NE(frame.pre_render_output().pre_render_data, nullptr);
    EXPECT_NE(frame.pre_render_output().delete_pre_render_data_func, nullptr);
    EXPECT_TRUE(frame.layer_checkouts().empty());
    EXPECT_EQ(frame.pre_render_output().result_rect.right, 3);
}

TEST_F(PreRenderProtocol, FailedInputCheckoutReturnsItsErrorAndHandsTheRecordOver) {
    FrameRequest request = Request();
    request.faults.checkout_layer = PF_Interrupt_CANCEL;
    FrameSession frame(host(), request);
    const CommandResult result = frame.PreRender();
    EXPECT_EQ(result.err, PF_Interrupt_CANCEL);
    EXPECT_CLEAN(result);
    EXPECT_NE(frame.pre_render_output().pre_render_data, nullptr);
    const PF_LRect empty{};
    EXPECT_EQ(std::memcmp(&frame.pre_render_output().result_rect, &empty, sizeof empty), 0);
}

TEST(UnionRect, EmptyDestinationTakesTheSourceElseTheBoundingBox) {
    struct Case {
        PF_LRect source, destination, expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {0, 0, 0, 0}, {0, 0, 10, 10}},     // empty destination
        {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},         // both empty
        {{2, 3, 4, 5}, {5, 5, 5, 9}, {2, 3, 4, 5}},         // zero-width destination is empty
        {{0, 0, 10, 10}, {5, -5, 20, 6}, {0, -5, 20, 10}},  // union
        {{7, 7, 7, 20}, {1, 1, 2, 2}, {1, 1, 2, 2}},        // empty source changes nothing
        {{30, 30, 20, 40}, {1, 1, 2, 2}, {1, 1, 2, 2}},     // inverted source is empty
    };
    for (const Case& c : cases) {
        PF_LRect d = c.destination;
        UnionRect(c.source, &d);
        EXPECT_EQ(std::memcmp(&d, &c.expected, sizeof d), 0)
            << d.left << "," << d.top << "," << d.right << "," << d.bottom;
    }
}

}  // namespace
