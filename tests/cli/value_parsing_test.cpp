// Values as users type them: sizes, frame ranges, colours and parameter values.
#include "cli/value_parsing.h"

#include <gtest/gtest.h>

#include <vector>

#include "cli/cli_error.h"
#include "tests/cli/cli_test_support.h"

namespace {

using namespace cli;

// The message of the usage error `parse` raises, or "" when it raises none.
template <typename F>
std::string UsageMessage(F parse) {
    try {
        parse();
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_status(), CliError::kUsage);
        return e.what();
    }
    return "";
}

TEST(ValueParsing, SizesAndFrameRanges) {
    EXPECT_EQ(ParseSize("32x18").width, 32);
    EXPECT_EQ(ParseSize("32x18").height, 18);
    EXPECT_EQ(ParseSize("32767X1").width, 32767);
    for (const char* bad :
         {"32", "0x18", "32x", "x18", "-3x4", "32x18x2", "32 x18", "32768x1", "1.5x2", ""}) {
        EXPECT_NE(UsageMessage([&] { ParseSize(bad); }), "") << bad;
    }
    EXPECT_EQ(ParseFrameRange("7").first, 7);
    EXPECT_EQ(ParseFrameRange("7").last, 7);
    EXPECT_EQ(ParseFrameRange("3-5").last, 5);
    EXPECT_NE(UsageMessage([] { ParseFrameRange("5-3"); }).find("before the first"),
              std::string::npos);
    for (const char* bad : {"-1", "a", "1-", "-", "1-2-3", "1.5", "5x2", "0-10x0", "0-10x", "1,,2",
                            "1,", ",1", "1, 2"}) {
        EXPECT_NE(UsageMessage([&] { ParseFrameRange(bad); }), "") << bad;
    }
}

// Steps and lists give exactly the frames asked for, in order, and read back from their text.
TEST(ValueParsing, FrameStepsAndLists) {
    const auto frames_of = [](const char* text) {
        const FrameRange range = ParseFrameRange(text);
        std::vector<long> frames;
        for (long i = 0; i < range.Count(); ++i) frames.push_back(range.At(i));
        EXPECT_EQ(range.first, frames.front()) << text;
        EXPECT_EQ(range.last, frames.back()) << text;
        EXPECT_EQ(FormatFrameRange(ParseFrameRange(FormatFrameRange(range))),
                  FormatFrameRange(range))
            << text;
        return frames;
    };
    EXPECT_EQ(frames_of("0-10x5"), (std::vector<long>{0, 5, 10}));
    // The last frame is the last one on the step.
    EXPECT_EQ(frames_of("3-12X4"), (std::vector<long>{3, 7, 11}));
    EXPECT_EQ(frames_of("1,7,20-23"), (std::vector<long>{1, 7, 20, 21, 22, 23}));
    EXPECT_EQ(frames_of("2,4-9x3,12"), (std::vector<long>{2, 4, 7, 12}));
    EXPECT_EQ(frames_of("4-6"), (std::vector<long>{4, 5, 6}));
    EXPECT_EQ(FormatFrameRange(ParseFrameRange("3-12x4")), "3-11x4");
    EXPECT_EQ(ParseFrameRange("0-9999999x2").Count(), 5000000);
    // Out of order or twice would render a frame twice or name files out of order.
    for (const char* bad : {"5,3", "1-5,5", "0-10x5,9", "2,2"}) {
        EXPECT_NE(UsageMessage([&] { ParseFrameRange(bad); }).find("ascending order"),
                  std::string::npos)
            << bad;
    }
    // A step's last frame is the one it renders: 6 comes after "0-6x5".
    EXPECT_EQ(frames_of("0-6x5,6"), (std::vector<long>{0, 5, 6}));
}

TEST(ValueParsing, ColorsAndSwitches) {
    const PF_Pixel c = ParseColor("#ff8001");
    EXPECT_EQ(c.alpha, 255);
    EXPECT_EQ(c.red, 255);
    EXPECT_EQ(c.green, 128);
    EXPECT_EQ(c.blue, 1);
    for (const char* bad : {"ff8001", "#ff80", "#ff80011", "#gg0000", "red"}) {
        EXPECT_NE(UsageMessage([&] { ParseColor(bad); }), "") << bad;
    }
    EXPECT_TRUE(ParseSwitch("ON", "x"));
    EXPECT_FALSE(ParseSwitch("off", "x"));
    EXPECT_FALSE(ParseSwitch("0", "x"));
    EXPECT_NE(UsageMessage([] { ParseSwitch("maybe", "x"); }), "");
    EXPECT_NE(UsageMessage([] { ParseNumber("1e999", "x"); }), "");
    EXPECT_NE(UsageMessage([] { ParseNumber("nan", "x"); }), "");
    EXPECT_NE(UsageMessage([] { ParseNumber(" 1", "x"); }), "");
    EXPECT_NE(UsageMessage([] { ParseNumber("1 ", "x"); }), "");
}

TEST(ValueParsing, ParameterValuesByKind) {
    const ParamCatalog catalog = SmallCatalog();
    EXPECT_DOUBLE_EQ(ParseParamValue(catalog.Find("Power"), "-7.5").number, -7.5);
    // Single-float limits: the decimal limit itself is inside.
    EXPECT_DOUBLE_EQ(ParseParamValue(catalog.Find("Epsilon Scale"), "0.1").number, 0.1);
    EXPECT_DOUBLE_EQ(ParseParamValue(catalog.Find("AO Samples"), "256").number, 256);
    EXPECT_DOUBLE_EQ(ParseParamValue(catalog.Find("Rotation Z"), "-450").number, -450);
    EXPECT_EQ(ParseParamValue(catalog.Find("Julia Mode"), "on").number, 1);
    EXPECT_EQ(ParseParamValue(catalog.Find("AO Type"), "raytraced").number, 2);
    EXPECT_EQ(ParseParamValue(catalog.Find("AO Type"), "1").number, 1);
    EXPECT_EQ(ParseParamValue(catalog.Find("Light Color"), "#0A0B0C").color.green, 11);
    // The control, not the group heading of the same name.
    EXPECT_EQ(catalog.Find("Specularity").index, 9);
}

TEST(ValueParsing, ErrorsNameTheParameterAndTheRange) {
    const ParamCatalog catalog = SmallCatalog();
    EXPECT_EQ(UsageMessage([&] { ParseParamValue(catalog.Find("Power"), "25"); }),
              "\"Power\": 25 is outside the valid range -20 to 20");
    EXPECT_EQ(UsageMessage([&] { ParseParamValue(catalog.Find("Epsilon Scale"), "0.09"); }),
              "\"Epsilon Scale\": 0.09 is outside the valid range 0.1 to 1");
    EXPECT_EQ(UsageMessage([&] { ParseParamValue(catalog.Find("AO Samples"), "2.5"); }),
              "\"AO Samples\": 2.5 is not a whole number");
    EXPECT_NE(UsageMessage([&] {
                  ParseParamValue(catalog.Find("AO Samples"), "0");
              }).find("valid range 1 to 256"),
              std::string::npos);
    EXPECT_NE(UsageMessage([&] {
                  ParseParamValue(catalog.Find("Rotation Z"), "40000");
              }).find("valid range -32767 to 32767"),
              std::string::npos);
    EXPECT_NE(UsageMessage([&] {
                  ParseParamValue(catalog.Find("AO Type"), "3");
              }).find("\"Orbit Trap\", \"Raytraced\" or 1 to 2"),
              std::string::npos);
    EXPECT_NE(UsageMessage([&] {
                  ParseParamValue(catalog.Find("Power"), "eight");
              }).find("is not a number"),
              std::string::npos);
    EXPECT_NE(UsageMessage([&] { ParseParamValue(catalog.Find("Light Color"), "#12345"); }), "");
    EXPECT_NE(
        UsageMessage([&] { ParseParamValue(catalog.Find("Color Ramp"), "x"); }).find("--ramp"),
        std::string::npos);
    EXPECT_NE(
        UsageMessage([&] { ParseParamValue(catalog.Find("HDRI Layer"), "x"); }).find("--hdri"),
        std::string::npos);
    EXPECT_EQ(UsageMessage([&] { catalog.Find("Powr"); }),
              "unknown parameter \"Powr\"; did you mean \"Power\"?");
    ParamInfo group;
    group.name = "Lighting";
    group.kind = ParamKind::kGroupStart;
    EXPECT_NE(UsageMessage([&] { ParamCatalog({group}).Find("Lighting"); }).find("group heading"),
              std::string::npos);
}

TEST(ValueParsing, MessagesShowTheNumberAsGiven) {
    // Rounded for the message, these read as if they were within the range, or whole.
    const ParamCatalog catalog = SmallCatalog();
    EXPECT_EQ(UsageMessage([&] { ParseParamValue(catalog.Find("Rotation Z"), "32767.000001"); }),
              "\"Rotation Z\": 32767.000001 is outside the valid range -32767 to 32767");
    EXPECT_EQ(UsageMessage([&] { ParseParamValue(catalog.Find("AO Samples"), "2.0000001"); }),
              "\"AO Samples\": 2.0000001 is not a whole number");
    EXPECT_EQ(UsageMessage([&] { ParseParamValue(catalog.Find("Epsilon Scale"), "1e300"); }),
              "\"Epsilon Scale\": 1e+300 is outside the valid range 0.1 to 1");
    // A number too small for a double is the nearest one there is; too large is none.
    EXPECT_EQ(ParseParamValue(catalog.Find("Power"), "1e-310").number, 1e-310);
    EXPECT_EQ(ParseParamValue(catalog.Find("Power"), "1e-400").number, 0.0);
    EXPECT_NE(UsageMessage([&] { ParseParamValue(catalog.Find("Power"), "1e400"); }).find("finite"),
              std::string::npos);
}

TEST(ValueParsing, Assignments) {
    const Assignment a = ParseAssignment("Light Color=#FF0000");
    EXPECT_EQ(a.name, "Light Color");
    EXPECT_EQ(a.value, "#FF0000");
    EXPECT_EQ(ParseAssignment("X=a=b").value, "a=b");
    EXPECT_NE(UsageMessage([] { ParseAssignment("Power"); }), "");
    EXPECT_NE(UsageMessage([] { ParseAssignment("=3"); }), "");
}

}  // namespace
