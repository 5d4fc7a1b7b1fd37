// The statistics the Windows render is judged by.
#include "tests/windows/image_agreement.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

Image8 Flat(int width, int height, uint8_t value) {
    return {width, height, 4, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, value)};
}

}  // namespace

TEST(ImageAgreement, CountsPixelsByTheirWorstChannel) {
    const Image8 a = Flat(4, 2, 100);
    Image8 b = a;
    EXPECT_EQ(CompareImages(a, b, 0).share_within, 1.0);
    EXPECT_EQ(CompareImages(a, b, 0).mean_error, 0.0);

    b.samples[1] = 102;  // pixel 0, green: at the tolerance
    b.samples[6] = 97;   // pixel 1, blue: past it
    const ImageAgreement agreement = CompareImages(a, b, 2);
    EXPECT_DOUBLE_EQ(agreement.share_within, 7.0 / 8.0);
    EXPECT_DOUBLE_EQ(agreement.mean_error, 5.0 / 32.0);
    EXPECT_EQ(agreement.max_error, 3);
}

TEST(ImageAgreement, RefusesImagesOfDifferentShape) {
    EXPECT_THROW(CompareImages(Flat(4, 2, 0), Flat(2, 4, 0), 2), std::invalid_argument);
    Image8 three_channels = Flat(4, 2, 0);
    three_channels.channels = 3;
    EXPECT_THROW(CompareImages(Flat(4, 2, 0), three_channels, 2), std::invalid_argument);
    EXPECT_THROW(CompareImages(Flat(0, 0, 0), Flat(0, 0, 0), 2), std::invalid_argument);
}
