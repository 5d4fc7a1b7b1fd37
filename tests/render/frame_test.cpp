#include <gtest/gtest.h>

#include <cstring>

#include "drivers/cpu_pixel_callbacks.h"
#include "tests/render/render_test_support.h"

namespace {

constexpr int kW = 40, kH = 24;

template <typename Pixel>
bool SameBytes(const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Pixel)) == 0;
}

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

TEST(Frame, ThreadCountNeverChangesAByte) {
    RenderSettings s = DefaultSettings(kW, kH);
    s.ao_type = kAoTypeRaytraced;
    s.light_size = 3;
    s.supersampling = 2;
    const auto one = RenderFrameFloat(s, 1);
    EXPECT_TRUE(SameBytes(one, RenderFrameFloat(s, 2)));
    EXPECT_TRUE(SameBytes(one, RenderFrameFloat(s, 5)));
    EXPECT_TRUE(SameBytes(RenderFrame8(s, 1), RenderFrame8(s, 3)));
    EXPECT_TRUE(SameBytes(RenderFrame16(s, 1), RenderFrame16(s, 4)));
}

TEST(Frame, EightSixteenAndFloatAgreeAfterConversion) {
    RenderSettings s = DefaultSettings(kW, kH);
    s.composite_on_original = 1;
    std::vector<PF_Pixel8> in8(kW * kH);
    std::vector<PF_PixelFloat> in_f(kW * kH);
    std::vector<PF_Pixel16> in16(kW * kH);
    for (int i = 0; i < kW * kH; ++i) {
        const auto v = static_cast<A_u_char>(i * 7);
        in8[i] = PF_Pixel8{255, v, static_cast<A_u_char>(255 - v), 128};
        in_f[i] = PF_PixelFloat{1.0f, v / 255.0f, (255 - v) / 255.0f, 128 / 255.0f};
        in16[i] = PF_Pixel16{32768, static_cast<A_u_short>(v * 128),
                             static_cast<A_u_short>((255 - v) * 128), 16384};
    }
    const auto f = RenderFrameFloat(s, 0, &in_f);
    const auto b8 = RenderFrame8(s, 0, &in8);
    const auto b16 = RenderFrame16(s, 0, &in16);
    int off16 = 0;
    for (int i = 0; i < kW * kH; ++i) {
        ASSERT_EQ(FloatToChannel8(f[i].red), b8[i].red) << i;
        ASSERT_EQ(FloatToChannel8(f[i].alpha), b8[i].alpha) << i;
        // 16-bit inputs are 128/32768 steps, not 1/255: allow one 8-bit step of difference.
        off16 += std::abs(b16[i].green / 128 - b8[i].green) > 1;
    }
    EXPECT_EQ(0, off16);
}

}  // namespace
