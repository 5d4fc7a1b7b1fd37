// Display-encoded values to linear light, against the sRGB transfer function's known values.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/frame_images.h"

namespace {

using namespace cli;
using namespace imageio;

TEST(ColorEncoding, InverseTransferFunctionAtKnownValues) {
    const struct {
        float encoded, linear;
    } known[] = {
        {0.0f, 0.0f},        {0.04045f, 0.0031308f},  // where the line meets the curve
        {0.02f, 0.0015480f}, {0.2f, 0.0331048f},     {0.5f, 0.2140411f}, {0.735357f, 0.5f},
        {1.0f, 1.0f},        {-0.5f, -0.2140411f},  // odd-symmetric below zero
        {2.0f, 4.9538457f},                         // the curve continues above one
    };
    for (const auto& k : known) {
        EXPECT_NEAR(SrgbToLinear(k.encoded), k.linear, 2e-6f * std::max(1.0f, k.linear))
            << k.encoded;
    }
}

TEST(ColorEncoding, AlphaIsLeftAsItIs) {
    FloatImage image(2, 1);
    const float pixels[8] = {0.5f, 1.0f, 0.0f, 0.25f, 0.2f, 0.2f, 0.2f, 0.0f};
    std::copy(pixels, pixels + 8, image.rgba.begin());
    ConvertToLinearLight(&image);
    EXPECT_NEAR(image.rgba[0], 0.2140411f, 1e-6f);
    EXPECT_EQ(image.rgba[1], 1.0f);
    EXPECT_EQ(image.rgba[3], 0.25f);
    EXPECT_NEAR(image.rgba[4], 0.0331048f, 1e-6f);
    EXPECT_EQ(image.rgba[7], 0.0f);
}

}  // namespace
