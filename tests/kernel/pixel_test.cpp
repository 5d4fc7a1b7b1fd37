#include <gtest/gtest.h>

#include <cmath>

#include "device/cpu/cpu_pixel_callbacks.h"
#include "tests/kernel/render_test_support.h"

using namespace spirovault;

namespace {

constexpr int kW = 32, kH = 18;

// The first pixel of the centre row whose coverage lies strictly between 0 and 1.
int EdgeColumn(const RenderSettings& s) {
    for (int x = 0; x < kW / 2; ++x) {
        const PixelF p = RenderPixel(s, x, kH / 2);
        if (p.alpha > 0.0f && p.alpha < 1.0f) return x;
    }
    return -1;
}

TEST(PixelSampling, SupersamplesSitOnAGridInsideThePixel) {
    const RenderSettings s = DefaultSettings(kW, kH);
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    float u0, v0, u1, v1;
    SampleScreenPosition(&s, &vf, 10, 4, 0, 0, 2, &u0, &v0);
    SampleScreenPosition(&s, &vf, 10, 4, 1, 1, 2, &u1, &v1);
    EXPECT_FLOAT_EQ(9.75f, u0 * kH / 2 + kW / 2.0f);
    EXPECT_FLOAT_EQ(10.25f, u1 * kH / 2 + kW / 2.0f);
    EXPECT_FLOAT_EQ(4.25f, kH / 2.0f - v1 * kH / 2);  // v grows upward
    SampleScreenPosition(&s, &vf, 10, 4, 0, 0, 1, &u0, &v0);
    EXPECT_FLOAT_EQ(10.0f, u0 * kH / 2 + kW / 2.0f);
}

TEST(PixelSampling, CoverageAndStraightColourWithoutCompositing) {
    RenderSettings s = DefaultSettings(kW, kH);
    const PixelF empty = RenderPixel(s, 0, 0);
    EXPECT_EQ(0.0f, empty.alpha);
    EXPECT_EQ(0.0f, empty.red);
    const PixelF centre = RenderPixel(s, kW / 2, kH / 2);
    EXPECT_EQ(1.0f, centre.alpha);
    EXPECT_GT(centre.red, 0.3f);
    // Supersampling 0 or below renders one sample, as 1 does.
    s.supersampling = -2;
    const PixelF one = RenderPixel(s, kW / 2, kH / 2);
    EXPECT_EQ(centre.red, one.red);
}

TEST(PixelSampling, CompositesOverTheInputAndStraightensTheResult) {
    RenderSettings s = DefaultSettings(kW, kH);
    s.supersampling = 4;
    const int edge = EdgeColumn(s);
    ASSERT_GE(edge, 0);
    const PixelF alone = RenderPixel(s, edge, kH / 2);
    s.composite_on_original = 1;
    const PixelF opaque{1.0f, 0.2f, 0.4f, 0.6f};
    const PixelF over = RenderPixel(s, edge, kH / 2, &opaque);
    EXPECT_FLOAT_EQ(1.0f, over.alpha);
    EXPECT_NEAR(alone.red * alone.alpha + 0.2f * (1 - alone.alpha), over.red, 1e-5f);
    // Where nothing is hit, the input (straight colour) comes back as it was.
    const PixelF half{0.5f, 0.2f, 0.1f, 0.05f};
    const PixelF miss = RenderPixel(s, 0, 0, &half);
    EXPECT_FLOAT_EQ(0.5f, miss.alpha);
    EXPECT_FLOAT_EQ(0.2f, miss.red);
    EXPECT_FLOAT_EQ(0.05f, miss.blue);
    const PixelF faint{1e-7f, 0.2f, 0.1f, 0.05f};
    EXPECT_EQ(0.0f, RenderPixel(s, 0, 0, &faint).red);
    // Without an input pixel there is nothing to composite over.
    EXPECT_EQ(alone.alpha, RenderPixel(s, edge, kH / 2).alpha);
}

TEST(PixelSampling, DepthMapMapsViewDistanceBetweenStartAndEnd) {
    RenderSettings s = DefaultSettings(kW, kH);
    ViewFrame vf;
    DeriveViewFrame(&s, &vf);
    MarchHit hit{};
    float u, v;
    SampleScreenPosition(&s, &vf, kW / 2, kH / 2, 0, 0, 1, &u, &v);
    const Vec3 d = NormalizeVec3(AddVec3(AddVec3(ScaleVec3(vf.right, u), ScaleVec3(vf.up, v)),
                                         ScaleVec3(vf.forward, 1 / s.tan_half_fov)));
    ASSERT_EQ(1, MarchPrimary(vf.eye, d, &s, vf.step_budget, vf.footprint, &hit));
    const float z = DotVec3(SubVec3(hit.point, vf.eye), vf.forward);
    s.depth_map = 1;
    auto depth = [&](float start, float end) {
        s.depth_start = start;
        s.depth_end = end;
        return RenderPixel(s, kW / 2, kH / 2).red;
    };
    EXPECT_EQ(1.0f, depth(z + 1, z + 2));  // nearer than the start: white
    EXPECT_EQ(0.0f, depth(z - 2, z - 1));  // beyond the end: black
    EXPECT_NEAR(0.5f, depth(z - 1, z + 1), 1e-4f);
    EXPECT_EQ(1.0f, depth(z + 5, z + 5));  // equal start and end: every hit white
    // The lens and the highlight boost play no part in a depth map.
    const float plain = depth(z - 1, z + 1);
    s.camera_dof = 1;
    s.dof_samples = 4;
    s.lens_radius = 0.3f;
    s.highlight_gain = 5;
    s.highlight_threshold = 0;
    EXPECT_EQ(plain, depth(z - 1, z + 1));
    // Composited depth maps are opaque; misses stay black.
    s.composite_on_original = 1;
    const PixelF in{1, 1, 1, 1};
    const PixelF miss = RenderPixel(s, 0, 0, &in);
    EXPECT_EQ(1.0f, miss.alpha);
    EXPECT_EQ(0.0f, miss.red);
}

TEST(PixelSampling, HighlightBoostBrightensAndSaturatesDefocusedHighlights) {
    RenderSettings s = DefaultSettings(kW, kH);
    s.highlight_gain = 1;
    s.highlight_threshold = 1;
    const Vec3 grey = HighlightBoost(V(2, 2, 2), 1.0f, &s);
    EXPECT_FLOAT_EQ(2.5f, grey.x);                            // w = 1 / 2, boost = K / Y * w * g
    EXPECT_EQ(2.0f, HighlightBoost(V(2, 2, 2), 0.0f, &s).x);  // in focus: unchanged
    EXPECT_EQ(0.5f, HighlightBoost(V(0.5f, 0.5f, 0.5f), 1.0f, &s).x);  // below threshold
    s.highlight_saturation = 1;
    const Vec3 tinted = HighlightBoost(V(3, 1, 1), 1.0f, &s);
    const Vec3 flat = [&] {
        RenderSettings t = s;
        t.highlight_saturation = 0;
        return HighlightBoost(V(3, 1, 1), 1.0f, &t);
    }();
    EXPECT_GT(tinted.x - tinted.y, flat.x - flat.y);
}

TEST(PixelSampling, APinholeLensTracesOneRayWithTheSameResult) {
    RenderSettings s = DefaultSettings(kW, kH);
    s.camera_dof = 1;
    s.dof_samples = 8;
    s.lens_radius = 0;
    const int edge = EdgeColumn(s);
    for (int ao : {kAoTypeOrbitTrap, kAoTypeRaytraced}) {
        s.ao_type = ao;
        for (int x : {edge, kW / 2}) {
            const PixelF fast = RenderPixel(s, x, kH / 2, nullptr, 1);
            const PixelF full = RenderPixel(s, x, kH / 2, nullptr, 0);
            EXPECT_EQ(full.alpha, fast.alpha) << ao << " " << x;
            EXPECT_EQ(full.red, fast.red) << ao << " " << x;
            EXPECT_EQ(full.blue, fast.blue) << ao << " " << x;
        }
    }
    // Without random shading terms, eight identical rays equal one.
    s.ao_type = kAoTypeOrbitTrap;
    RenderSettings one = s;
    one.camera_dof = 0;
    EXPECT_NEAR(RenderPixel(one, kW / 2, kH / 2).red, RenderPixel(s, kW / 2, kH / 2).red, 1e-6f);
}

TEST(PixelSampling, AnOpenLensBlursAndBoostsOutOfFocusPixels) {
    RenderSettings s = DefaultSettings(kW, kH);
    const PixelF sharp = RenderPixel(s, EdgeColumn(s), kH / 2);
    s.camera_dof = 1;
    s.dof_samples = 16;
    s.lens_radius = 0.4f;
    s.focus_distance = 1.0f;  // far in front of the fractal
    const PixelF blurred = RenderPixel(s, EdgeColumn(s) - 1, kH / 2);
    EXPECT_GT(blurred.alpha, 0.0f);
    EXPECT_NE(sharp.alpha, blurred.alpha);
}

TEST(BitDepth, ConvertsByClampScaleAndTruncate) {
    EXPECT_EQ(254, FloatToChannel8(0.999f));
    EXPECT_EQ(255, FloatToChannel8(7.0f));
    EXPECT_EQ(0, FloatToChannel8(-1.0f));
    EXPECT_EQ(32768, FloatToChannel16(1.0f));
    EXPECT_EQ(16383, FloatToChannel16(0.49999f));
    // Inputs widen by 1/255 and 1/32768: an opaque composited miss returns the input.
    RenderSettings s = DefaultSettings(kW, kH);
    s.composite_on_original = 1;
    CpuFrame frame = MakeCpuFrame(&s);
    PF_Pixel8 in8{255, 10, 128, 250}, out8{};
    RenderPixel8(&frame, 0, 0, &in8, &out8);
    EXPECT_EQ(255, out8.alpha);
    EXPECT_EQ(128, out8.green);
    PF_Pixel16 in16{32768, 100, 16384, 32000}, out16{};
    RenderPixel16(&frame, 0, 0, &in16, &out16);
    EXPECT_EQ(32768, out16.alpha);
    EXPECT_EQ(16384, out16.green);
}

}  // namespace
