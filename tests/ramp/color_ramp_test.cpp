#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/ramp/ramp_test_support.h"

using namespace spirovault;

namespace {

constexpr RampStop kBlack{0.0f, 0, 0, 0, 1};
constexpr RampStop kWhite{1.0f, 1, 1, 1, 1};

TEST(ColorRampLayout, DefaultRampIsOneWhiteStopOverZeroBytes) {
    ColorRamp ramp;
    std::memset(&ramp, 0xAB, sizeof ramp);
    InitDefaultRamp(&ramp);
    EXPECT_EQ(0, std::memcmp(ramp.magic, "QXWV", 4));
    EXPECT_EQ(1, ramp.stop_count);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&ramp);
    for (size_t i = 8 + sizeof(RampStop); i < sizeof ramp; ++i) ASSERT_EQ(0, bytes[i]) << i;
    for (float t : {-5.0f, 0.0f, 0.5f, 1.0f, 7.0f}) {
        const Rgba c = Sample(ramp, t);
        EXPECT_EQ(1.0f, c.r);
        EXPECT_EQ(1.0f, c.a);
    }
}

TEST(SampleRamp, InterpolatesInsideAndHoldsEndColoursOutside) {
    const ColorRamp ramp = MakeRamp({kBlack, kWhite});
    EXPECT_FLOAT_EQ(0.25f, Sample(ramp, 0.25f).g);
    EXPECT_EQ(1.0f, Sample(ramp, 0.25f).a);
    EXPECT_EQ(0.0f, Sample(ramp, -1.0f).r);
    EXPECT_EQ(1.0f, Sample(ramp, 2.0f).b);
}

TEST(SampleRamp, FindsTheRightSegmentAmongManyStops) {
    ColorRamp ramp = MakeRamp({});
    for (int i = 0; i < kMaxRampStops; ++i) {
        const float p = static_cast<float>(i) / (kMaxRampStops - 1);
        ramp.stops[ramp.stop_count++] = RampStop{p, static_cast<float>(i), 0, 0, 1};
    }
    // Red equals the fractional stop index, so any wrong segment shows.
    for (int k = 0; k <= 300; ++k) {
        const float t = k / 300.0f;
        EXPECT_NEAR(t * (kMaxRampStops - 1), Sample(ramp, t).r, 2e-4f) << t;
    }
}

TEST(SampleRamp, EqualPositionsMakeAHardEdgeTakingTheLaterStop) {
    const RampStop red{0.5f, 1, 0, 0, 1}, blue{0.5f, 0, 0, 1, 1};
    const ColorRamp ramp = MakeRamp({kBlack, red, blue, kWhite});
    const Rgba at = Sample(ramp, 0.5f);
    EXPECT_EQ(0.0f, at.r);
    EXPECT_EQ(1.0f, at.b);
    const Rgba below = Sample(ramp, 0.4999f);
    EXPECT_NEAR(1.0f, below.r, 1e-3f);
    EXPECT_EQ(0.0f, below.b);
}

TEST(SampleRamp, NearlyCoincidentStopsGiveTheLeftColour) {
    const RampStop a{0.5f, 0.2f, 0, 0, 1}, b{0.5f + 5e-10f, 0.9f, 0, 0, 1};
    // 0.5 + 5e-10 rounds to 0.5 in float; nudge one ulp for a real, sub-1e-9 span.
    ColorRamp ramp = MakeRamp({kBlack, a, b, kWhite});
    ramp.stops[2].position = std::nextafter(0.5f, 1.0f);
    EXPECT_GT(ramp.stops[2].position - ramp.stops[1].position, 0.0f);
    EXPECT_EQ(0.2f, Sample(ramp, 0.5f).r);
}

TEST(SampleRamp, DamagedCountsNeverReadPastTheStops) {
    ColorRamp ramp = MakeRamp({kBlack, kWhite});
    ramp.stop_count = 0;
    EXPECT_EQ(0.0f, Sample(ramp, 0.5f).a);
    ramp.stop_count = -7;
    EXPECT_EQ(0.0f, Sample(ramp, 0.5f).a);
    // A huge count is bounded to the 16 slots: stop 15 is the last one.
    ramp.stop_count = 1 << 30;
    for (int i = 2; i < kMaxRampStops; ++i) ramp.stops[i] = RampStop{1.0f, 0, 1, 0, 1};
    EXPECT_EQ(1.0f, Sample(ramp, 5.0f).g);
}

TEST(PackRampTable, PacksStopsInUseAndZeroesTheRest) {
    ColorRamp ramp;
    InitDefaultRamp(&ramp);
    RampTable table;
    std::memset(&table, 0xFF, sizeof table);
    PackRampTable(&ramp, &table);
    EXPECT_EQ(0.0f, table.entries[0][0]);
    EXPECT_EQ(1.0f, table.entries[0][3]);
    for (int i = 1; i < kMaxRampStops; ++i) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(0.0f, table.entries[i][c]);
    }
    ramp.stop_count = 20;
    for (int i = 0; i < kMaxRampStops; ++i) ramp.stops[i] = RampStop{i / 16.0f, 0.5f, 0, 0, 1};
    PackRampTable(&ramp, &table);
    EXPECT_EQ(15 / 16.0f, table.entries[15][0]);
    EXPECT_EQ(0.5f, table.entries[15][1]);
}

}  // namespace
