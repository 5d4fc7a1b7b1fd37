// The default view of the core, rendered without a host. Frames through the plug-in (threads,
// depths) are tested with the drivers.
#include <gtest/gtest.h>

#include "tests/kernel/render_test_support.h"

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

// The frame renderer derives the view values once; a rotated, supersampled view with a lens
// must come out exactly as pixels that derive them for themselves.
TEST(Frame, ViewDerivedOncePerFrameGivesTheSamePixels) {
    RenderSettings s = DefaultSettings(24, 14);
    s.rotation_x = 20.0f;
    s.rotation_y = -35.0f;
    s.rotation_z = 10.0f;
    s.supersampling = 2;
    s.camera_dof = 1;
    s.dof_samples = 2;
    s.lens_radius = 0.03f;
    s.focus_distance = 2.5f;
    const auto frame = RenderFrameFloat(s, 0);
    for (int y = 0; y < s.output_height; ++y) {
        for (int x = 0; x < s.output_width; ++x) {
            const PixelF own = RenderPixel(s, x, y);
            const PF_PixelFloat& f = frame[y * s.output_width + x];
            ASSERT_EQ(own.alpha, f.alpha) << x << ", " << y;
            ASSERT_EQ(own.red, f.red) << x << ", " << y;
            ASSERT_EQ(own.blue, f.blue) << x << ", " << y;
        }
    }
}

}  // namespace
