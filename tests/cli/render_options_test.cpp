// The command line's faults, and the names of parameters as people mistype them: each mistake
// gets one line in the program's own words.
#include "cli/render_options.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_error.h"
#include "cli/job_settings.h"
#include "cli/nearest_names.h"
#include "cli/progress_reporter.h"
#include "host/pf_in_out_data.h"
#include "tests/cli/cli_test_support.h"

namespace {

using namespace cli;

// The message for these arguments, or "" when they parse.
std::string OptionsError(std::vector<const char*> args, RenderOptions* parsed = nullptr) {
    args.insert(args.begin(), "spirovault-render");
    RenderOptions options;
    try {
        ParseRenderOptions(static_cast<int>(args.size()), args.data(), &options);
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_status(), CliError::kUsage);
        return e.what();
    }
    if (parsed) *parsed = options;
    return "";
}

TEST(RenderOptions, TypicalMistakesAndTheirLines) {
    const struct {
        std::vector<const char*> args;
        const char* line;
    } cases[] = {
        {{"--sise", "32x18"}, "unknown option \"--sise\"; did you mean \"--size\"?"},
        {{"--ouput", "a.png"}, "unknown option \"--ouput\"; did you mean \"--output\"?"},
        {{"--list"}, "unknown option \"--list\"; did you mean \"--list-params\"?"},
        {{"--HDRI", "sky.hdr"}, "unknown option \"--HDRI\"; did you mean \"--hdri\"?"},
        {{"-x"}, "unknown option \"-x\" (see --help)"},
        {{"--frobnicate"}, "unknown option \"--frobnicate\" (see --help)"},
        {{"-o", "a.png", "--output", "b.png"},
         "--output given twice (-o a.png, then --output b.png); give it once"},
        {{"--size=8x8", "--size", "9x9"},
         "--size given twice (--size=8x8, then --size 9x9); give it once"},
        {{"--size"}, "--size needs a value: --size WxH"},
        {{"--output", "--size", "8x8"}, "--output needs a value: --output PATH"},
        {{"--scene", "-o", "x.png"}, "--scene needs a value: --scene FILE"},
        {{"--linear=yes"}, "--linear takes no value"},
        {{"render.png"},
         "unexpected argument \"render.png\": every value follows its option "
         "(see --help)"},
        {{"--size", "8x8", "9x9"},
         "unexpected argument \"9x9\": every value follows its option "
         "(see --help)"},
        {{"--threads", "0"}, "--threads \"0\": expected a whole number 1 to 1024"},
        {{"--threads", "many"}, "--threads \"many\": expected a whole number 1 to 1024"},
        {{"--depth", "deep"}, "--depth \"deep\": expected 8, 16 or 32"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OptionsError(c.args), c.line) << c.args.front();
    }
}

TEST(RenderOptions, ValuesLandWhereTheTableSays) {
    RenderOptions o;
    ASSERT_EQ(OptionsError({"-o", "-frame.png", "--set", "Power=-2", "--set", "Bailout=3",
                            "--frames=1-3", "--linear", "--threads", "4", "--version"},
                           &o),
              "");
    EXPECT_EQ(o.output, "-frame.png");  // a value may start with '-'
    EXPECT_EQ(o.sets, (std::vector<std::string>{"Power=-2", "Bailout=3"}));
    EXPECT_EQ(o.frames, "1-3");
    EXPECT_TRUE(o.linear && o.version);
    EXPECT_EQ(o.threads, 4);
    // Every option is in the help, with its value.
    const std::string help = RenderOptionsHelp();
    for (const OptionSpec& spec : RenderOptionTable()) {
        EXPECT_NE(help.find(spec.long_name + std::string(spec.value_name ? " " : "") +
                            (spec.value_name ? spec.value_name : "")),
                  std::string::npos)
            << spec.long_name;
    }
}

// --help fits an 80-column terminal and loses no word of any option's help to the wrapping; it
// ends with examples.
TEST(RenderOptions, HelpIsWrappedAt80ColumnsWithExamples) {
    const std::string help = RenderOptionsHelp();
    std::istringstream lines(help);
    std::string flowed;  // the text with each run of spaces and line breaks as one space
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        std::istringstream words(line);
        for (std::string word; words >> word;) flowed += word + " ";
    }
    for (const OptionSpec& spec : RenderOptionTable()) {
        std::istringstream words(spec.help);
        std::string help_flowed;
        for (std::string word; words >> word;) help_flowed += word + " ";
        EXPECT_NE(flowed.find(help_flowed), std::string::npos) << spec.long_name;
    }
    const size_t examples = help.find("\nexamples:\n");
    ASSERT_NE(examples, std::string::npos);
    size_t count = 0;
    for (size_t at = examples;
         (at = help.find("\n  spirovault-render ", at + 1)) != std::string::npos;)
        ++count;
    EXPECT_GE(count, 3u);
}

// The settled options, or the first fault found in them.
std::string SettleError(std::vector<const char*> args, JobSettings* settled = nullptr) {
    RenderOptions options;
    if (std::string line = OptionsError(std::move(args), &options); !line.empty()) return line;
    try {
        const JobSettings settings = SettleJobSettings(options);
        if (settled) *settled = settings;
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_status(), CliError::kUsage);
        return e.what();
    }
    return "";
}

TEST(JobSettings, SeveralFaultsReportTheFirstInTheOrderChecked) {
    // Output name, depth, --linear, size, frames, ramp, GPU, host, then the two together.
    const struct {
        std::vector<const char*> args;
        const char* line;
    } cases[] = {
        {{"-o", "x.jpg", "--depth", "12"}, "output \"x.jpg\": the name must end in .png or .exr"},
        {{"--depth", "12", "--linear"}, "--depth 12: expected 8, 16 or 32"},
        {{"--linear", "--size", "0x0"},
         "--linear needs an .exr output: PNG holds display-encoded values"},
        {{"--size", "20000x20000", "--frames", "2-1"},
         "frame size 20000 x 20000 is outside the image size accepted (1 to 32767 a side, at most "
         "134217728 pixels)"},
        {{"--frames", "2-1", "--ramp", "x"},
         "frames \"2-1\": the last frame comes before the first"},
        {{"--ramp", "x", "--gpu", "x"}, "ramp stop 1 \"x\": expected POS:#RRGGBB"},
        {{"--gpu", "x", "--host", "y"}, "--gpu x: expected none, opencl or cuda"},
        {{"--host", "y", "--ramp-editor", "r.exr"}, "--host y: expected ae or premiere"},
        {{"--gpu", "cuda", "--host", "premiere", "--ramp-editor", "r.exr"},
         "--gpu cuda needs --host ae: under Premiere Pro the effect renders on the CPU"},
    };
    for (const auto& c : cases) EXPECT_EQ(SettleError(c.args), c.line) << c.args.front();
}

TEST(JobSettings, DefaultsFollowTheOutputAndTheOptions) {
    JobSettings s;
    ASSERT_EQ(SettleError({"-o", "f###.exr", "--size", "64x36", "--frames", "3-5",
                           "--parallel-frames", "2", "--host", "premiere"},
                          &s),
              "");
    EXPECT_EQ(s.format, imageio::ImageKind::kExr);
    EXPECT_EQ(s.depth, 32);
    EXPECT_EQ(s.size->width, 64);
    EXPECT_EQ(s.frames->last, 5);
    EXPECT_EQ(s.parallel_frames, 2);
    EXPECT_EQ(s.host_app_id, kAppIdPremierePro);
    ASSERT_EQ(SettleError({"-o", "f.png"}, &s), "");
    EXPECT_EQ(s.format, imageio::ImageKind::kPng);
    EXPECT_EQ(s.depth, 8);
    EXPECT_EQ(s.host_app_id, kAppIdAfterEffects);
    EXPECT_EQ(s.gpu, PF_GPU_Framework_NONE);
}

std::string FindError(const std::string& name) {
    try {
        return "found " + SmallCatalog().Find(name).name;
    } catch (const CliError& e) {
        return e.what();
    }
}

TEST(ParamNames, LetterCaseAsideAndTheNearestSuggested) {
    const struct {
        const char* name;
        const char* line;
    } cases[] = {
        {"Power", "found Power"},
        {"power", "found Power"},
        {"JULIA MODE", "found Julia Mode"},
        {"specularity", "found Specularity"},  // the control, not the group of that name
        {"Powr", "unknown parameter \"Powr\"; did you mean \"Power\"?"},
        {"Julia Mdoe", "unknown parameter \"Julia Mdoe\"; did you mean \"Julia Mode\"?"},
        {"AO", "unknown parameter \"AO\"; did you mean \"AO Samples\" or \"AO Type\"?"},
        {"AO Sample", "unknown parameter \"AO Sample\"; did you mean \"AO Samples\"?"},
        {"hdri", "unknown parameter \"hdri\"; did you mean \"HDRI Layer\"?"},
        {"Exposure", "unknown parameter \"Exposure\" (see --list-params)"},
        {"Po\nwer", "unknown parameter \"Po\\nwer\"; did you mean \"Power\"?"},
    };
    for (const auto& c : cases) EXPECT_EQ(FindError(c.name), c.line) << c.name;
    // Names that differ only in case are taken as written, and refused when written otherwise.
    ParamCatalog twins({FloatParam(1, "Gain", 0, 1), FloatParam(2, "GAIN", 0, 1)});
    EXPECT_EQ(twins.Find("GAIN").index, 2);
    try {
        twins.Find("gain");
        ADD_FAILURE() << "an ambiguous name was taken";
    } catch (const CliError& e) {
        EXPECT_STREQ(e.what(),
                     "parameter \"gain\" could be \"Gain\" or \"GAIN\": write it in its own letter "
                     "case");
    }
}

TEST(Progress, SequencesShowTheWholeRunAndTheTimeLeft) {
    EXPECT_EQ(ProgressLine(7, 1, 1, 0.5, 3), "rendering frame 7:  50%");
    // Frame 3 of 4 half done after 50 s: 2.5 of 4 frames, 30 s to go at that pace.
    EXPECT_EQ(ProgressLine(12, 3, 4, 0.5, 50),
              "rendering frame 12 (3 of 4):  50%, all frames  62%, about 30 s left");
    EXPECT_EQ(ProgressLine(0, 1, 10, 0, 1),
              "rendering frame 0 (1 of 10):   0%, all frames   0%, time left unknown");
    EXPECT_EQ(DurationText(185), "3 min 05 s");
    EXPECT_EQ(DurationText(7260), "2 h 01 min");
}

}  // namespace
