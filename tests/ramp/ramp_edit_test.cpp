#include "ramp/ramp_edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "tests/ramp/ramp_test_support.h"

using namespace spirovault;

namespace {

constexpr RampStop kRed{0.2f, 1, 0, 0, 1};
constexpr RampStop kBlue{0.7f, 0, 0, 1, 1};

TEST(AddStop, InsertsTheRampsOwnColourInOrder) {
    ColorRamp ramp;
    InitDefaultRamp(&ramp);
    EXPECT_EQ(1, AddStop(&ramp, 0.5f));
    EXPECT_EQ(2, ramp.stop_count);
    EXPECT_EQ(0.5f, ramp.stops[1].position);
    EXPECT_EQ(1.0f, ramp.stops[1].green);

    ColorRamp two = MakeRamp({kRed, kBlue});
    EXPECT_EQ(0, AddStop(&two, 0.1f));  // before the first stop: the first stop's colour
    EXPECT_EQ(1.0f, two.stops[0].red);
    EXPECT_EQ(0.2f, two.stops[1].position);
}

TEST(AddStop, ReturnsTheFirstMatchingStopWhenOneAlreadySitsThere) {
    ColorRamp ramp = MakeRamp({kRed, kBlue});
    EXPECT_EQ(0, AddStop(&ramp, 0.2f));
    EXPECT_EQ(3, ramp.stop_count);
    EXPECT_EQ(0.2f, ramp.stops[1].position);
}

TEST(AddStop, AFullRampIsLeftUnchanged) {
    ColorRamp ramp = MakeRamp({});
    for (int i = 0; i < kMaxRampStops; ++i) ramp.stops[ramp.stop_count++] = kRed;
    const ColorRamp before = ramp;
    EXPECT_EQ(-1, AddStop(&ramp, 0.5f));
    EXPECT_EQ(0, std::memcmp(&before, &ramp, sizeof ramp));
    ramp.stop_count = 99;  // damaged: treated as full, nothing written
    EXPECT_EQ(-1, AddStop(&ramp, 0.5f));
}

TEST(RemoveStop, ShiftsDownAndKeepsStaleBytesInTheFreedSlot) {
    const RampStop a{0.0f, 1, 0, 0, 1}, b{0.5f, 0, 1, 0, 1}, c{1.0f, 0, 0, 1, 1};
    ColorRamp ramp = MakeRamp({a, b, c});
    RemoveStop(&ramp, 0);
    EXPECT_EQ(2, ramp.stop_count);
    EXPECT_EQ(1.0f, ramp.stops[0].green);
    EXPECT_EQ(1.0f, ramp.stops[1].blue);
    EXPECT_EQ(0, std::memcmp(&ramp.stops[2], &c, sizeof c));
}

TEST(RemoveStop, RefusesTheLastStopAndBadIndices) {
    ColorRamp one;
    InitDefaultRamp(&one);
    RemoveStop(&one, 0);
    EXPECT_EQ(1, one.stop_count);
    ColorRamp two = MakeRamp({kRed, kBlue});
    RemoveStop(&two, -1);
    RemoveStop(&two, 2);
    EXPECT_EQ(2, two.stop_count);
    two.stop_count = 1000;  // damaged: bounded to 16, so index 20 is out of range
    RemoveStop(&two, 20);
    EXPECT_EQ(1000, two.stop_count);
}

TEST(SortAndReverse, AreStableAndMirrorPositions) {
    ColorRamp ramp = MakeRamp({kRed, kBlue});
    ReverseRamp(&ramp);
    EXPECT_FLOAT_EQ(0.3f, ramp.stops[0].position);
    EXPECT_EQ(1.0f, ramp.stops[0].blue);
    EXPECT_FLOAT_EQ(0.8f, ramp.stops[1].position);
    EXPECT_EQ(1.0f, ramp.stops[1].red);

    // Equal positions keep their relative order through a sort and a reverse.
    const RampStop x{0.5f, 0.1f, 0, 0, 1}, y{0.5f, 0.2f, 0, 0, 1}, z{0.1f, 0.3f, 0, 0, 1};
    ColorRamp tied = MakeRamp({x, y, z});
    SortStops(&tied);
    EXPECT_EQ(0.3f, tied.stops[0].red);
    EXPECT_EQ(0.1f, tied.stops[1].red);
    EXPECT_EQ(0.2f, tied.stops[2].red);
    ReverseRamp(&tied);
    EXPECT_EQ(0.1f, tied.stops[0].red);
    EXPECT_EQ(0.2f, tied.stops[1].red);
    EXPECT_EQ(0.3f, tied.stops[2].red);
}

TEST(ResetRamp, RewritesOnlyTheHeaderAndFirstStop) {
    ColorRamp ramp = MakeRamp({kRed, kBlue});
    std::memset(ramp.magic, 0, 4);
    ResetRamp(&ramp);
    EXPECT_EQ(0, std::memcmp(ramp.magic, "QXWV", 4));
    EXPECT_EQ(1, ramp.stop_count);
    EXPECT_EQ(0.0f, ramp.stops[0].position);
    EXPECT_EQ(1.0f, ramp.stops[0].red);
    EXPECT_EQ(0, std::memcmp(&ramp.stops[1], &kBlue, sizeof kBlue));
}

TEST(RandomizeRamp, ConsumesTheRandSequenceInItsDocumentedOrder) {
    ColorRamp ramp = MakeRamp({kRed, kBlue, RampStop{0.9f, 0, 0, 0, 0.2f}});
    std::srand(1234);
    RandomizeRamp(&ramp);
    // Replay the same numbers by hand: start hue, then saturation before value for each stop.
    std::srand(1234);
    const float base = static_cast<float>(std::rand() % 360);
    for (int i = 0; i < 3; ++i) {
        const float hue = std::fmod(i * 120.0f + base, 360.0f);
        const float s = (std::rand() % 100) / 100.0f * 0.2f + 0.8f;
        const float v = (std::rand() % 100) / 100.0f * 0.35f + 0.65f;
        const float hi = ramp.stops[i].red > ramp.stops[i].green
                             ? std::max(ramp.stops[i].red, ramp.stops[i].blue)
                             : std::max(ramp.stops[i].green, ramp.stops[i].blue);
        const float lo = std::min({ramp.stops[i].red, ramp.stops[i].green, ramp.stops[i].blue});
        EXPECT_FLOAT_EQ(v, hi) << "stop " << i << " hue " << hue;
        EXPECT_NEAR(v - v * s, lo, 1e-6f) << "stop " << i;
        EXPECT_EQ(1.0f, ramp.stops[i].alpha);
    }
    EXPECT_EQ(0.2f, ramp.stops[0].position);
    EXPECT_EQ(0.9f, ramp.stops[2].position);
    EXPECT_EQ(3, ramp.stop_count);
    // 2n + 1 numbers were drawn: the next one matches the replay's next one.
    const int next = std::rand();
    std::srand(1234);
    for (int i = 0; i < 7; ++i) std::rand();
    EXPECT_EQ(std::rand(), next);
}

TEST(RandomizeRamp, EachHueSectorOrdersTheChannelsCorrectly) {
    // Six stops sit 60 degrees apart, so each lands in a different sector of the hue circle.
    ColorRamp ramp = MakeRamp({kRed, kRed, kRed, kRed, kRed, kRed});
    std::srand(99);
    const int first_sector = (std::rand() % 360) / 60;
    std::srand(99);
    RandomizeRamp(&ramp);
    // Per sector: index of the largest channel, then of the smallest (0 red, 1 green, 2 blue).
    const int order[6][2] = {{0, 2}, {1, 2}, {1, 0}, {2, 0}, {2, 1}, {0, 1}};
    for (int i = 0; i < 6; ++i) {
        const float c[3] = {ramp.stops[i].red, ramp.stops[i].green, ramp.stops[i].blue};
        const int sector = (first_sector + i) % 6;
        const int hi = order[sector][0], lo = order[sector][1];
        for (int k = 0; k < 3; ++k) {
            EXPECT_GE(c[hi], c[k]) << "stop " << i;
            EXPECT_LE(c[lo], c[k]) << "stop " << i;
        }
    }
}

}  // namespace
