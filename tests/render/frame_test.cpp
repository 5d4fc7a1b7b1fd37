// The default view of the core, rendered without a host. Frames through the plug-in (threads,
// depths) are tested with the drivers.
#include <gtest/gtest.h>

#include "tests/render/render_test_support.h"

namespace {

constexpr int kW = 40, kH = 24;

TEST(Frame, DefaultViewShowsTheFractalCentredAndWhite) {
    const RenderSettings s = DefaultSettings(kW, kH);
    const auto frame = RenderFrameFloat(s, 0);
    auto at = [&](int x, int y) { return frame[y * kW + x]; };
    EXPECT_EQ(0.0f, at(0, 0).alpha);
    EXPECT_EQ(0.0f, at(kW - 1, kH - 1).alpha);
    const PF_PixelFloat c = at(kW / 2, kH / 2);
    EXPECT_EQ(1.0f, c.alpha);
    // A white ramp under a warm key light and a cool ambient: bright and nearly grey.
    EXPECT_GT(c.red + c.green + c.blue, 0.6f);
    // Left-right coverage is balanced about the centre column.
    float left = 0, right = 0;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW / 2; ++x) left += at(x, y).alpha, right += at(kW - 1 - x, y).alpha;
    }
    EXPECT_NEAR(left, right, 0.1f * (left + right));
}

}  // namespace
