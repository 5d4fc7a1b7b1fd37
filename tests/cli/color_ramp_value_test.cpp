// "Color Ramp" text and its flattened record.
#include "cli/color_ramp_value.h"

#include <gtest/gtest.h>

#include <cstring>

#include "cli/cli_error.h"

namespace {

using namespace cli;

std::string ErrorOf(const char* text) {
    try {
        ParseRamp(text);
    } catch (const CliError& e) {
        return e.what();
    }
    return "";
}

TEST(ColorRampValue, ParsesAndOrdersStops) {
    const auto stops = ParseRamp("1:#FFFFFF,0:#000000,0.5:#FF0000,0.5:#00FF00");
    ASSERT_EQ(stops.size(), 4u);
    EXPECT_EQ(stops[0].position, 0.0f);
    // Equal positions keep the order they were given in: a hard edge red to green.
    EXPECT_EQ(stops[1].red, 1.0f);
    EXPECT_EQ(stops[2].green, 1.0f);
    EXPECT_EQ(stops[3].position, 1.0f);
    for (const auto& stop : stops) EXPECT_EQ(stop.alpha, 1.0f);
    EXPECT_EQ(FormatRamp(stops), "0:#000000,0.5:#FF0000,0.5:#00FF00,1:#FFFFFF");
}

TEST(ColorRampValue, RefusesBadStops) {
    EXPECT_NE(ErrorOf("").find("stop 1"), std::string::npos);
    EXPECT_NE(ErrorOf("0:#000000,").find("stop 2"), std::string::npos);
    EXPECT_NE(ErrorOf("1.5:#000000").find("valid range 0 to 1"), std::string::npos);
    EXPECT_NE(ErrorOf("0.5#000000").find("POS:#RRGGBB"), std::string::npos);
    EXPECT_NE(ErrorOf("0.5:000000").find("#RRGGBB"), std::string::npos);
    EXPECT_NE(ErrorOf("x:#000000").find("not a number"), std::string::npos);
    std::string seventeen;
    for (int i = 0; i < 17; ++i) seventeen += (i ? "," : "") + std::string("0:#000000");
    EXPECT_NE(ErrorOf(seventeen.c_str()).find("more than 16"), std::string::npos);
    std::string sixteen = seventeen.substr(10);
    EXPECT_EQ(ErrorOf(sixteen.c_str()), "");
}

TEST(ColorRampValue, FlatRecordLayout) {
    const FlatRamp flat = FlattenRamp(ParseRamp("0:#000000,1:#FF8000"));
    EXPECT_EQ(std::memcmp(flat.data(), "QXWV", 4), 0);
    EXPECT_EQ(flat[4], 2);
    EXPECT_EQ(flat[5] | flat[6] | flat[7], 0);
    float stop1[5];
    std::memcpy(stop1, &flat[8 + 20], sizeof stop1);
    EXPECT_EQ(stop1[0], 1.0f);
    EXPECT_EQ(stop1[1], 1.0f);
    EXPECT_FLOAT_EQ(stop1[2], 128 / 255.0f);
    EXPECT_EQ(stop1[3], 0.0f);
    EXPECT_EQ(stop1[4], 1.0f);
    for (size_t i = 8 + 2 * 20; i < kFlatRampSize; ++i) ASSERT_EQ(flat[i], 0) << i;
    EXPECT_EQ(FormatRamp(UnflattenRamp(flat)), "0:#000000,1:#FF8000");
    // A damaged count is bounded to the record's 16 slots.
    FlatRamp damaged = flat;
    damaged[4] = 40;
    EXPECT_EQ(UnflattenRamp(damaged).size(), 16u);
}

}  // namespace
