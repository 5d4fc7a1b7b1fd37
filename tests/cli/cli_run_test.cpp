// spirovault-render as a user runs it: arguments in, exit status, one line on stderr, files out.
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfInputFile.h>
#include <OpenEXR/ImfStandardAttributes.h>
#include <OpenEXR/ImfStringAttribute.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "imageio/exr_io.h"
#include "imageio/image_file.h"
#include "imageio/png_io.h"
#include "imageio/radiance_hdr.h"
#include "tests/cli/frame_measures.h"

namespace fs = std::filesystem;

namespace {

using namespace imageio;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
    // stderr as lines, the last newline dropped.
    std::vector<std::string> ErrLines() const {
        std::vector<std::string> lines;
        std::istringstream in(err);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CliRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // The process id keeps builds that test at the same time apart.
        dir_ =
            fs::temp_directory_path() / (std::string("spirovault_cli_") + info->test_suite_name() +
                                         "_" + info->name() + "_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir_);
    }

    // Runs the tool in the test's directory.
    RunResult Run(const std::vector<std::string>& args) const {
        std::string command =
            "cd " + ShellQuote(dir_.string()) + " && " + ShellQuote(SPIROVAULT_RENDER_TOOL);
        for (const std::string& arg : args) command += " " + ShellQuote(arg);
        return Capture(command);
    }

    // Expects a failure told in one line that contains `words`, and no file left behind.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& words,
                       int status = 0) {
        const auto before = Files();
        const RunResult r = Run(args);
        SCOPED_TRACE(r.err);
        if (status != 0) {
            EXPECT_EQ(r.status, status);
        } else {
            EXPECT_NE(r.status, 0);
        }
        ASSERT_EQ(r.ErrLines().size(), 1u);
        EXPECT_EQ(r.ErrLines()[0].rfind("spirovault-render: ", 0), 0u);
        EXPECT_NE(r.err.find(words), std::string::npos);
        EXPECT_EQ(Files(), before);
    }

    // Every file in the test's directory, temporary ones included.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
            names.push_back(fs::relative(entry.path(), dir_).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // A shell command line in the test's directory.
    RunResult RunShell(const std::string& line) const {
        return Capture("cd " + ShellQuote(dir_.string()) + " && bash -c " + ShellQuote(line));
    }

    // Runs a command line without input, its status and what it wrote to each stream.
    RunResult Capture(std::string command) const {
        command += " >" + ShellQuote((dir_ / ".stdout").string()) + " 2>" +
                   ShellQuote((dir_ / ".stderr").string()) + " </dev/null";
        RunResult result;
        const int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = ReadFile(dir_ / ".stdout");
        result.err = ReadFile(dir_ / ".stderr");
        fs::remove(dir_ / ".stdout");
        fs::remove(dir_ / ".stderr");
        return result;
    }

    fs::path dir_;
};

const std::vector<std::string> kSmall = {"--size", "32x18"};

std::vector<std::string> Small(std::vector<std::string> more) {
    more.insert(more.begin(), kSmall.begin(), kSmall.end());
    return more;
}

double MeanColour(const FloatImage& image) {
    double sum = 0;
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        sum += image.rgba[i] + image.rgba[i + 1] + image.rgba[i + 2];
    }
    return sum / static_cast<double>(image.rgba.size() / 4 * 3);
}

TEST_F(CliRunTest, NoArgumentsRenderTheDefaultQuietly) {
    const RunResult r = Run({});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");  // not a terminal: no progress
    const DecodedPng png = ReadPng(Path("spirovault.png"));
    EXPECT_EQ(png.image.width, 960);
    EXPECT_EQ(png.image.height, 540);
    EXPECT_EQ(png.bit_depth, 8);
    // The fractal is in the middle, the corners are empty.
    EXPECT_GT(png.image.Pixel(480, 270)[3], 0.5f);
    EXPECT_EQ(png.image.Pixel(0, 0)[3], 0.0f);
    EXPECT_EQ(Files(), std::vector<std::string>{"spirovault.png"});
}

// Linear light back to the display encoding: the sRGB transfer function.
double LinearToSrgb(double v) {
    return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

TEST_F(CliRunTest, DepthsAgreeAcrossPngAndExr) {
    ASSERT_EQ(Run(Small({"-o", "a.png"})).status, 0);
    ASSERT_EQ(Run(Small({"--depth", "16", "-o", "b.png"})).status, 0);
    const RunResult exr = Run(Small({"--depth", "32", "-o", "c.exr"}));
    ASSERT_EQ(exr.status, 0) << exr.err;
    ASSERT_EQ(Run(Small({"--display-encoded", "-o", "d.exr"})).status, 0);
    const DecodedPng eight = ReadPng(Path("a.png"));
    const DecodedPng sixteen = ReadPng(Path("b.png"));
    const LoadedImage linear = ReadImage(Path("c.exr"));
    const LoadedImage floats = ReadImage(Path("d.exr"));
    EXPECT_EQ(eight.bit_depth, 8);
    EXPECT_EQ(sixteen.bit_depth, 16);
    ASSERT_EQ(floats.kind, ImageKind::kExr);
    ASSERT_EQ(floats.image.width, 32);
    ASSERT_EQ(floats.image.height, 18);
    ASSERT_EQ(linear.image.rgba.size(), floats.image.rgba.size());
    int covered = 0;
    for (size_t i = 0; i < floats.image.rgba.size(); ++i) {
        // The default OpenEXR holds linear light: encoded again it is the PNG's colour. Alpha is
        // the same in both.
        const bool alpha = i % 4 == 3;
        const float encoded =
            static_cast<float>(alpha ? linear.image.rgba[i]
                                     : LinearToSrgb(std::clamp(linear.image.rgba[i], 0.0f, 1.0f)));
        if (linear.image.rgba[i - i % 4 + 3] > 0.02f || alpha) {
            ASSERT_NEAR(eight.image.rgba[i], encoded, 1.0f / 255 + 1e-4f) << i;
        }
        const float f = std::clamp(floats.image.rgba[i], 0.0f, 1.0f);
        // The same frame in three depths differs by the rounding of the smaller ones.
        ASSERT_NEAR(eight.image.rgba[i], f, 1.0f / 255 + 1e-4f) << i;
        ASSERT_NEAR(sixteen.image.rgba[i], f, 1.0f / 32768 + 1e-4f) << i;
        if (i % 4 == 3 && f > 0.5f) ++covered;
    }
    EXPECT_GT(covered, 10);
}

TEST_F(CliRunTest, FrameRangeNumbersEveryFile) {
    const RunResult r = Run(Small({"--frames", "8-10", "-o", "out/frame_##.png"}));
    // The directory does not exist: refused before anything is rendered.
    EXPECT_NE(r.status, 0);
    fs::create_directories(dir_ / "out");
    ASSERT_EQ(Run(Small({"--frames", "8-10", "-o", "out/frame_##.png"})).status, 0);
    EXPECT_EQ(Files(), (std::vector<std::string>{"out", "out/frame_08.png", "out/frame_09.png",
                                                 "out/frame_10.png"}));
    ASSERT_EQ(Run(Small({"--frames", "7", "-o", "single_###.exr"})).status, 0);
    EXPECT_TRUE(fs::exists(Path("single_007.exr")));
    fs::remove_all(dir_ / "out");
    fs::remove(Path("single_007.exr"));
    ExpectRefused(Small({"--frames", "1-2", "-o", "same.png"}), "run of #", 2);
}

// Steps and lists render just their frames; a short run of # widens so that names sort, and the
// user is told once. The frames are recorded as asked in a saved scene.
TEST_F(CliRunTest, FrameStepsListsAndWidenedNames) {
    RunResult r = Run(Small({"--frames", "8,9-17x4", "-o", "f_#.png"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Files(), (std::vector<std::string>{"f_08.png", "f_09.png", "f_13.png", "f_17.png"}));
    ASSERT_EQ(r.ErrLines().size(), 1u) << r.err;
    EXPECT_NE(r.err.find("warning: output \"f_#.png\": frame 17"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("f_08.png to f_17.png"), std::string::npos) << r.err;
    for (const std::string& name : Files()) fs::remove(Path(name));
    // A run long enough is left as it is, without a word.
    r = Run(Small({"--frames", "2-4x2", "-o", "g_##.png"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Files(), (std::vector<std::string>{"g_02.png", "g_04.png"}));
    ASSERT_EQ(Run(Small({"--frames", "1,7,20-30x5", "--save-scene", "s.json"})).status, 0);
    EXPECT_NE(ReadFile(Path("s.json")).find("\"frames\": \"1,7,20-30x5\""), std::string::npos);
    r = Run({"--scene", "s.json", "--save-scene", "t.json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(Path("t.json")), ReadFile(Path("s.json")));
    ExpectRefused(Small({"--frames", "3,1", "-o", "h_#.png"}), "ascending order", 2);
}

TEST_F(CliRunTest, SetReachesTheEffectByDisplayName) {
    ASSERT_EQ(Run(Small({"-o", "plain.png"})).status, 0);
    const RunResult r =
        Run(Small({"-o", "set.png", "--set", "Depth Map=on", "--set", "AO Type=Raytraced", "--set",
                   "Light Color=#FF8000", "--set", "Rotation Z=45", "--set", "AO Samples=2",
                   "--set", "Specularity=0.25"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadFile(dir_ / "plain.png"), ReadFile(dir_ / "set.png"));

    ExpectRefused(Small({"--set", "Power=25"}),
                  "\"Power\": 25 is outside the valid range -20 to 20", 2);
    ExpectRefused(Small({"--set", "Julia X=-10001"}), "valid range -10000 to 10000", 2);
    ExpectRefused(Small({"--set", "Powr=3"}), "unknown parameter \"Powr\"", 2);
    ExpectRefused(Small({"--set", "Julia Mode=maybe"}), "is not on or off", 2);
    ExpectRefused(Small({"--set", "AO Type=Sideways"}), "\"Orbit Trap\", \"Raytraced\"", 2);
    ExpectRefused(Small({"--set", "Light Color=orange"}), "#RRGGBB", 2);
    ExpectRefused(Small({"--set", "Lighting=1"}), "group heading", 2);
    ExpectRefused(Small({"--set", "Power"}), "NAME=VALUE", 2);
}

// Spaces around the name and the value are layout; a parameter set twice is a fault naming both.
TEST_F(CliRunTest, SetTrimsSpacesAndTakesEachParameterOnce) {
    ASSERT_EQ(
        Run(Small({"-o", "tight.png", "--set", "Power=6", "--set", "AO Type=Raytraced"})).status,
        0);
    const RunResult r =
        Run(Small({"-o", "loose.png", "--set", " Power = 6 ", "--set", "AO Type =\tRaytraced"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(Path("tight.png")), ReadFile(Path("loose.png")));
    ExpectRefused(Small({"--set", "Power=6", "--set", "power = 8"}),
                  "--set \"Power\" given twice (--set \"Power=6\", then --set \"power = 8\"); "
                  "give it once",
                  2);
    ExpectRefused(Small({"--ramp", "0:#000000", "--set", "Color Ramp=0:#FFFFFF"}),
                  "and --ramp both set \"Color Ramp\"", 2);
    ExpectRefused(Small({"--set", " = 6"}), "NAME=VALUE", 2);
}

TEST_F(CliRunTest, RampGoesThroughTheArbitraryData) {
    // Without ambient light and highlights a black ramp leaves the fractal black.
    const std::vector<std::string> unlit = {
        "--depth", "32", "--set", "Ambient Intensity=0", "--set", "Specularity=0"};
    auto with = [&](std::vector<std::string> args, const std::vector<std::string>& more) {
        args.insert(args.end(), more.begin(), more.end());
        return Small(args);
    };
    ASSERT_EQ(Run(with({"-o", "black.exr", "--ramp", "0:#000000"}, unlit)).status, 0);
    ASSERT_EQ(
        Run(with({"-o", "white.exr", "--set", "Color Ramp=0:#FFFFFF,1:#FFFFFF"}, unlit)).status, 0);
    const FloatImage black = ReadExr(Path("black.exr"));
    EXPECT_EQ(MeanColour(black), 0.0);
    EXPECT_GT(MeanColour(ReadExr(Path("white.exr"))), 0.01);
    ExpectRefused(Small({"--ramp", "0:#000000,1.5:#FFFFFF"}), "ramp stop 2", 2);
    ExpectRefused(Small({"--ramp", "0:#00000"}), "ramp stop 1", 2);
}

TEST_F(CliRunTest, RampEditorDrawsTheRampInsteadOfAFrame) {
    const RunResult r = Run({"--ramp", "0:#FF0000,1:#0000FF", "--ramp-editor", "editor.png"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Files(), std::vector<std::string>{"editor.png"});
    const DecodedPng png = ReadPng(Path("editor.png"));
    ASSERT_EQ(png.image.width, 640);
    ASSERT_EQ(png.image.height, 65);
    // Bar column 309 of 620 samples the ramp at 309 / 619; the marker strip is dark grey.
    const float t = 309.0f / 619.0f;
    const float* bar = png.image.Pixel(10 + 309, 12);
    EXPECT_NEAR(bar[0], 1.0f - t, 1.0f / 255);
    EXPECT_NEAR(bar[1], 0.0f, 1.0f / 255);
    EXPECT_NEAR(bar[2], t, 1.0f / 255);
    EXPECT_NEAR(png.image.Pixel(300, 34)[0], 0.14f, 1.0f / 255);

    ASSERT_EQ(Run({"--ramp-editor", "plain.png"}).status, 0);
    EXPECT_EQ(ReadPng(Path("plain.png")).image.Pixel(320, 12)[2], 1.0f);  // the white default
    ExpectRefused({"--ramp-editor", "editor.exr"}, "--ramp-editor \"editor.exr\"", 2);
    ExpectRefused({"--ramp-editor", "missing/editor.png"}, "cannot write missing/editor.png");
}

TEST_F(CliRunTest, EnvironmentAndInputLayersFromFiles) {
    FloatImage sky(16, 8);
    for (size_t i = 0; i < sky.rgba.size(); i += 4) {
        sky.rgba[i] = 0.5f;
        sky.rgba[i + 1] = 6.0f;
        sky.rgba[i + 2] = 0.5f;
        sky.rgba[i + 3] = 1.0f;
    }
    WriteRadianceHdr(Path("sky.hdr"), sky);
    WriteExr(Path("sky.exr"), sky);
    WritePng(Path("sky.png"), sky, 16);
    const std::vector<std::string> env = {"--depth", "32", "--set", "HDRI Samples=2"};
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), env.begin(), env.end());
        return Small(args);
    };
    ASSERT_EQ(Run(with({"-o", "none.exr"})).status, 0);
    for (const char* name : {"sky.hdr", "sky.exr", "sky.png"}) {
        const RunResult r = Run(with({"-o", "lit.exr", "--hdri", name}));
        ASSERT_EQ(r.status, 0) << r.err;
        // A green sky makes the fractal greener.
        const FloatImage none = ReadExr(Path("none.exr")), lit = ReadExr(Path("lit.exr"));
        double green_gain = 0;
        for (size_t i = 0; i < lit.rgba.size(); i += 4) {
            green_gain += lit.rgba[i + 1] - none.rgba[i + 1];
        }
        EXPECT_GT(green_gain, 0.1) << name;
    }

    // A red input smaller than the composition, centred, under "Composite On Original".
    FloatImage plate(30, 16);
    for (size_t i = 0; i < plate.rgba.size(); i += 4) {
        plate.rgba[i] = 1.0f;
        plate.rgba[i + 3] = 1.0f;
    }
    WritePng(Path("plate.png"), plate, 8);
    ASSERT_EQ(
        Run(Small({"--input", "plate.png", "--set", "Composite On Original=on", "-o", "comp.png"}))
            .status,
        0);
    const FloatImage comp = ReadPng(Path("comp.png")).image;
    // The plate spans x 1..30 and y 1..16: the corner is outside it, the next pixel on it.
    EXPECT_EQ(comp.Pixel(0, 0)[3], 0.0f);
    EXPECT_EQ(comp.Pixel(1, 1)[3], 1.0f);
    EXPECT_EQ(comp.Pixel(1, 1)[0], 1.0f);
    EXPECT_EQ(comp.Pixel(1, 1)[1], 0.0f);

    std::ofstream(Path("broken.hdr")) << "#?RADIANCE\n\n-Y 4 +X 4\n\x01";
    ExpectRefused(Small({"--hdri", "broken.hdr"}), "broken.hdr");
    ExpectRefused(Small({"--input", "missing.png"}), "missing.png");
    ExpectRefused(Small({"--hdri", "scene.txt"}), "scene.txt");
}

TEST_F(CliRunTest, ListParamsShowsTheDeclaredTable) {
    const RunResult r = Run({"--list-params"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 60u);
    auto line_of = [&](int index) { return lines.at(static_cast<size_t>(index - 1)); };
    EXPECT_NE(line_of(1).find("Power"), std::string::npos);
    EXPECT_NE(line_of(1).find("float"), std::string::npos);
    EXPECT_NE(line_of(1).find("-20 to 20"), std::string::npos);
    EXPECT_NE(line_of(19).find("ramp"), std::string::npos);
    EXPECT_NE(line_of(19).find("0:#FFFFFF"), std::string::npos);
    EXPECT_NE(line_of(28).find("Orbit Trap|Raytraced"), std::string::npos);
    EXPECT_NE(line_of(30).find("1 to 256"), std::string::npos);
    EXPECT_NE(line_of(37).find("#FFF5F0"), std::string::npos);
    EXPECT_NE(line_of(59).find("3000"), std::string::npos);
    EXPECT_EQ(line_of(1).rfind(" 1  Power", 0), 0u);
}

TEST_F(CliRunTest, BadInputIsOneLineAndLeavesNoFile) {
    ExpectRefused({"--bogus"}, "--bogus", 2);
    ExpectRefused({"--size", "32by18"}, "size \"32by18\"", 2);
    ExpectRefused({"--depth", "12"}, "expected 8, 16 or 32", 2);
    ExpectRefused({"--depth", "32", "-o", "x.png"}, "needs an .exr output", 2);
    ExpectRefused({"--depth", "8", "-o", "x.exr"}, "needs a .png output", 2);
    ExpectRefused({"-o", "x.jpg"}, "must end in .png or .exr", 2);
    ExpectRefused({"--frames", "5-2"}, "before the first", 2);
    ExpectRefused({"--threads", "0"}, "--threads", 2);
    ExpectRefused(Small({"-o", "missing/x.png"}), "cannot write missing/x.png");
    fs::create_directories(dir_ / "taken.png");
    ExpectRefused(Small({"-o", "taken.png"}), "Is a directory");
    fs::remove(dir_ / "taken.png");
    ExpectRefused({"--scene", "nothing.json"}, "nothing.json");
    std::ofstream(Path("scene.json")) << "{\"camera\": {\"zoom\": \"far\"}}";
    ExpectRefused({"--scene", "scene.json"}, "scene.json: camera.zoom: expected a number");
    std::ofstream(Path("scene.json")) << "{\"size\": [32, 18],";
    ExpectRefused({"--scene", "scene.json"},
                  "scene.json: line 1, column 19: not valid JSON: the text ends inside an object");
    std::ofstream(Path("lib.so")) << "not a library";
    ExpectRefused({"--plugin", "lib.so"}, "cannot load the plug-in");
}

TEST_F(CliRunTest, GpuRendersTheCpuFrameOrSaysWhyNot) {
    ASSERT_EQ(Run(Small({"-o", "cpu.exr", "--set", "Julia Mode=on"})).status, 0);
    for (const std::string gpu : {"opencl", "cuda"}) {
        const std::string out = gpu + ".exr";
        const RunResult r = Run(Small({"-o", out, "--set", "Julia Mode=on", "--gpu", gpu}));
        if (r.status != 0) {
            // A machine without the device: one line naming the option, and no file.
            SCOPED_TRACE(r.err);
            EXPECT_EQ(r.status, 1);
            ASSERT_EQ(r.ErrLines().size(), 1u);
            // "no CUDA device is available", or a build without CUDA says so.
            const std::string prefix = "spirovault-render: --gpu " + gpu + ": ";
            EXPECT_EQ(r.ErrLines()[0].rfind(prefix, 0), 0u);
            EXPECT_NE(r.ErrLines()[0].find(gpu == "cuda" ? "CUDA" : "OpenCL"), std::string::npos);
            EXPECT_FALSE(fs::exists(Path(out)));
            continue;
        }
        // The device is named, whatever it is (PoCL's is a processor).
        EXPECT_EQ(r.err.rfind("spirovault-render: --gpu " + gpu + ": rendered on ", 0), 0u);
        EXPECT_EQ(r.ErrLines().size(), 1u);
        const FloatImage cpu = ReadExr(Path("cpu.exr"));
        const FloatImage device = ReadExr(Path(out));
        ASSERT_EQ(device.rgba.size(), cpu.rgba.size());
        size_t within = 0;
        for (size_t p = 0; p < cpu.rgba.size(); p += 4) {
            float worst = 0;
            for (size_t c = p; c < p + 4; ++c)
                worst = std::max(worst, std::fabs(cpu.rgba[c] - device.rgba[c]));
            within += worst <= 2.0f / 255.0f;
        }
        EXPECT_GE(within, cpu.rgba.size() / 4 * 97 / 100) << gpu;
    }
    ExpectRefused({"--gpu", "metal"}, "--gpu metal: expected none, opencl or cuda", 2);
}

TEST_F(CliRunTest, PremiereHostRendersTheSmartRenderFrame) {
    ASSERT_EQ(Run(Small({"-o", "ae.exr", "--set", "Julia Mode=on"})).status, 0);
    const RunResult r =
        Run(Small({"-o", "premiere.exr", "--set", "Julia Mode=on", "--host", "premiere"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const FloatImage ae = ReadExr(Path("ae.exr"));
    const FloatImage premiere = ReadExr(Path("premiere.exr"));
    ASSERT_EQ(premiere.rgba.size(), ae.rgba.size());
    size_t within = 0, covered = 0;
    for (size_t p = 0; p < ae.rgba.size(); p += 4) {
        float worst = 0;
        for (size_t c = p; c < p + 4; ++c)
            worst = std::max(worst, std::fabs(ae.rgba[c] - premiere.rgba[c]));
        within += worst <= 2.0f / 255.0f;
        covered += ae.rgba[p + 3] > 0.5f;
    }
    EXPECT_GT(covered, 10u);
    EXPECT_GE(within, ae.rgba.size() / 4 * 99 / 100);
    ExpectRefused({"--host", "resolve"}, "--host resolve: expected ae or premiere", 2);
    // A scene's camera and lights have no place in Premiere Pro: one line says so.
    std::ofstream(Path("lit.json")) << R"({"size": [16, 9], "camera": {"position": [0, 0, -900]},
               "lights": [{"position": [0, -500, -500]}, {"position": [0, 500, -500]}]})";
    RunResult lit = Run({"--scene", "lit.json", "--host", "premiere", "-o", "lit.png"});
    ASSERT_EQ(lit.status, 0) << lit.err;
    EXPECT_EQ(
        lit.err,
        "spirovault-render: warning: --host premiere: the scene's camera and 2 lights are not "
        "used (Premiere Pro gives an effect no composition camera or lights)\n");
    lit = Run({"--scene", "lit.json", "-o", "lit.png"});
    EXPECT_EQ(lit.err, "");
    ExpectRefused({"--host", "premiere", "--gpu", "opencl"}, "needs --host ae", 2);
}

// The frame asked for as the host asks: the four quarters of a frame are its pixels, a preview
// at a reduced resolution is smaller, a field holds every second line.
TEST_F(CliRunTest, RegionsResolutionsAndFieldsAreTheFramesPixels) {
    const std::vector<std::string> scene = {"--size", "32x18", "--set", "Supersampling=2"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), scene.begin(), scene.end());
        return more;
    };
    ASSERT_EQ(Run(with({"-o", "whole.exr"})).status, 0);
    const FloatImage whole = ReadExr(Path("whole.exr"));
    for (const auto& [x, y] : {std::pair{0, 0}, {16, 0}, {0, 9}, {16, 9}}) {
        const std::string region = std::to_string(x) + "," + std::to_string(y) + ",16,9";
        const RunResult r = Run(with({"--region", region, "-o", "part.exr"}));
        ASSERT_EQ(r.status, 0) << r.err;
        const FloatImage part = ReadExr(Path("part.exr"));
        ASSERT_EQ(part.width, 16);
        ASSERT_EQ(part.height, 9);
        for (int py = 0; py < 9; ++py) {
            for (int px = 0; px < 16; ++px) {
                for (int c = 0; c < 4; ++c) {
                    ASSERT_EQ(part.Pixel(px, py)[c], whole.Pixel(x + px, y + py)[c])
                        << region << " at " << px << "," << py;
                }
            }
        }
    }
    ASSERT_EQ(Run(with({"--downsample", "2x1", "--pixel-aspect", "1:2", "-o", "half.png"})).status,
              0);
    EXPECT_EQ(ReadPng(Path("half.png")).image.width, 16);
    EXPECT_EQ(ReadPng(Path("half.png")).image.height, 18);

    ASSERT_EQ(Run(with({"--host", "premiere", "-o", "frame.exr"})).status, 0);
    const RunResult lower = Run(with({"--host", "premiere", "--fields", "lower", "-o", "f.exr"}));
    ASSERT_EQ(lower.status, 0) << lower.err;
    const FloatImage frame = ReadExr(Path("frame.exr"));
    const FloatImage field = ReadExr(Path("f.exr"));
    ASSERT_EQ(field.height, 9);
    for (int y = 0; y < 9; ++y) {
        EXPECT_EQ(field.Pixel(20, y)[0], frame.Pixel(20, 2 * y + 1)[0]) << "line " << 2 * y + 1;
    }

    ExpectRefused(with({"--region", "20,0,13,4"}), "reaches past the 32x18 frame", 2);
    ExpectRefused(with({"--region", "0,0,0,4"}), "expected X,Y,W,H", 2);
    ExpectRefused(with({"--downsample", "2", "--region", "0,0,17,4"}), "16x9 frame", 2);
    ExpectRefused(with({"--downsample", "0"}), "expected N or NxM", 2);
    ExpectRefused(with({"--pixel-aspect", "50"}), "0.1 to 10", 2);
    ExpectRefused(with({"--fields", "upper"}), "--fields needs --host premiere", 2);
    ExpectRefused(with({"--host", "premiere", "--region", "0,0,4,4"}), "needs --host ae", 2);
}

TEST_F(CliRunTest, ExampleSceneRendersItsCameraMove) {
    const std::string scene = std::string(SPIROVAULT_SOURCE_DIR) + "/examples/orbit/orbit.json";
    const RunResult r = Run({"--scene", scene, "--size", "40x24", "--frames", "0-2", "--set",
                             "HDRI Samples=2", "-o", "orbit_###.png"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"orbit_000.png", "orbit_001.png", "orbit_002.png"}));
    EXPECT_NE(ReadFile(dir_ / "orbit_000.png"), ReadFile(dir_ / "orbit_002.png"));
}

TEST_F(CliRunTest, ParallelFramesWriteTheFilesOfASerialRun) {
    // The example's sky, moving camera, shadow-casting light and keyframes, over an input layer.
    const std::string scene = std::string(SPIROVAULT_SOURCE_DIR) + "/examples/orbit/orbit.json";
    FloatImage layer(24, 16);
    for (size_t i = 0; i < layer.rgba.size(); i += 4) {
        layer.rgba[i] = static_cast<float>(i % 96) / 96.0f;
        layer.rgba[i + 3] = 0.6f;
    }
    WritePng(Path("layer.png"), layer, 8);
    const std::vector<std::string> common = {"--scene",   scene,
                                             "--size",    "24x16",
                                             "--frames",  "0-7",
                                             "--input",   "layer.png",
                                             "--set",     "Composite On Original=on",
                                             "--set",     "HDRI Samples=2",
                                             "--threads", "2"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), common.begin(), common.end());
        return more;
    };
    const RunResult serial = Run(with({"-o", "serial_#.png"}));
    ASSERT_EQ(serial.status, 0) << serial.err;
    const RunResult parallel = Run(with({"--parallel-frames", "4", "-o", "parallel_#.png"}));
    ASSERT_EQ(parallel.status, 0) << parallel.err;
    for (int frame = 0; frame < 8; ++frame) {
        const std::string number = std::to_string(frame) + ".png";
        SCOPED_TRACE(number);
        const std::string bytes = ReadFile(dir_ / ("serial_" + number));
        EXPECT_FALSE(bytes.empty());
        EXPECT_EQ(ReadFile(dir_ / ("parallel_" + number)), bytes);
    }
    EXPECT_NE(ReadFile(dir_ / "serial_0.png"), ReadFile(dir_ / "serial_7.png"));
    ExpectRefused({"--parallel-frames", "0"}, "--parallel-frames", 2);
}

TEST_F(CliRunTest, SkipExistingRendersOnlyTheMissingFrames) {
    const std::vector<std::string> range = Small({"--frames", "0-3", "-o", "f_#.png"});
    ASSERT_EQ(Run(range).status, 0);
    const std::string frame1 = ReadFile(dir_ / "f_1.png");
    // A re-queued task finds frames 0 and 3 done (3 holds bytes no render makes) and 1, 2 gone.
    fs::remove(dir_ / "f_1.png");
    fs::remove(dir_ / "f_2.png");
    std::ofstream(dir_ / "f_3.png") << "done elsewhere";
    std::vector<std::string> again = range;
    again.push_back("--skip-existing");
    const RunResult r = Run(again);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("2 of 4 frames already written"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(dir_ / "f_1.png"), frame1);
    EXPECT_TRUE(fs::exists(dir_ / "f_2.png"));
    EXPECT_EQ(ReadFile(dir_ / "f_3.png"), "done elsewhere");
    // All there: nothing is rendered, nothing is written, and that is success.
    const auto before = Files();
    const auto written = fs::last_write_time(dir_ / "f_2.png");
    const RunResult none = Run(again);
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(fs::last_write_time(dir_ / "f_2.png"), written);
    // Without the option every frame is rendered again.
    ASSERT_EQ(Run(range).status, 0);
    EXPECT_NE(ReadFile(dir_ / "f_3.png"), "done elsewhere");
}

// The command lines of the README's renderer examples, continuation lines joined and comments
// dropped.
std::vector<std::string> ReadmeCommands() {
    std::istringstream readme(ReadFile(fs::path(SPIROVAULT_SOURCE_DIR) / "README.md"));
    std::vector<std::string> commands;
    bool section = false, block = false;
    std::string pending;
    for (std::string line; std::getline(readme, line);) {
        if (line == "## spirovault-render") section = true;
        if (!section) continue;
        if (line.rfind("```", 0) == 0) {
            if (block) break;
            block = true;
            continue;
        }
        if (!block) continue;
        const size_t comment = line.find("  # ");
        if (comment != std::string::npos) line.erase(comment);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        const bool continued = !line.empty() && line.back() == '\\';
        if (continued) line.pop_back();
        pending += line;
        if (!continued) {
            commands.push_back(pending);
            pending.clear();
        }
    }
    return commands;
}

// The command at a small size: its own --size replaced, or one added.
std::string AtSize(std::string command, const std::string& size) {
    const size_t at = command.find("--size ");
    if (at == std::string::npos) return command + " --size " + size;
    const size_t end = command.find(' ', at + 7);
    return command.replace(at + 7, end - (at + 7), size);
}

TEST_F(CliRunTest, ReadmeCommandsRunAsWrittenFromTheRepositoryRoot) {
    // The repository root as the commands see it: the examples, and the built program where
    // the README says it is.
    fs::create_directory_symlink(fs::path(SPIROVAULT_SOURCE_DIR) / "examples", dir_ / "examples");
    fs::create_directories(dir_ / "build/default/standalone");
    fs::create_directory_symlink(fs::path(SPIROVAULT_RENDER_TOOL).parent_path(),
                                 dir_ / "build/default/cli");
    const std::vector<std::string> commands = ReadmeCommands();
    ASSERT_GE(commands.size(), 9u);
    const std::string path_line = commands.front();
    ASSERT_EQ(path_line.rfind("export PATH=", 0), 0u);
    for (size_t i = 1; i < commands.size(); ++i) {
        ASSERT_EQ(commands[i].rfind("spirovault-render", 0), 0u) << commands[i];
        const bool rerender = commands[i].find("--scene orbit_") != std::string::npos;
        const std::string line = rerender ? commands[i] : AtSize(commands[i], "24x14");
        const RunResult r = RunShell(path_line + " && " + line);
        EXPECT_EQ(r.status, 0) << line << "\n" << r.err;
    }
    for (const char* made : {"spirovault.png", "big.exr", "orbit_000.png", "orbit_024.png",
                             "again.png", "small.json", "linear.exr", "display.exr"}) {
        EXPECT_TRUE(fs::exists(dir_ / made)) << made;
    }
    EXPECT_EQ(ReadFile(dir_ / "again.png"), ReadFile(dir_ / "orbit_012.png"));
}

TEST_F(CliRunTest, ReadmeEnvironmentExampleKeepsTheFractalOutOfClipping) {
    std::string hdri_example;
    for (const std::string& command : ReadmeCommands()) {
        if (command.find("--hdri") != std::string::npos) hdri_example = command;
    }
    ASSERT_NE(hdri_example, "");
    // The fractal alone, lit and exposed as in the example.
    for (const char* composite :
         {"--input examples/plate.png", "--set \"Composite On Original=on\""}) {
        const size_t at = hdri_example.find(composite);
        ASSERT_NE(at, std::string::npos) << composite;
        hdri_example.erase(at, std::string(composite).size());
    }
    const std::string line = "cd " + ShellQuote(SPIROVAULT_SOURCE_DIR) + " && " +
                             ShellQuote(SPIROVAULT_RENDER_TOOL) +
                             hdri_example.substr(std::string("spirovault-render").size()) +
                             " --size 240x135 -o " + ShellQuote(Path("hdri.png"));
    const RunResult r = RunShell(line);
    ASSERT_EQ(r.status, 0) << line << "\n" << r.err;
    const FrameMeasures m = MeasureFrame(ReadPng(Path("hdri.png")).image);
    EXPECT_GT(m.object, 240u * 135u / 10u);
    EXPECT_LT(m.ClippedShare(), 0.05) << m.clipped << " of " << m.object;
}

TEST_F(CliRunTest, ExampleSceneRendersWithoutSparkle) {
    const std::string scene = std::string(SPIROVAULT_SOURCE_DIR) + "/examples/orbit/orbit.json";
    // The first frame and the middle of the move (the others measured 0.008% to 0.076%).
    for (const std::string frame : {"0", "12"}) {
        const std::string out = "f" + frame + ".png";
        const RunResult r =
            Run({"--scene", scene, "--frames", frame, "--size", "480x270", "-o", out});
        ASSERT_EQ(r.status, 0) << r.err;
        const FrameMeasures m = MeasureFrame(ReadPng(Path(out)).image);
        EXPECT_GT(m.object, 480u * 270u / 5u);
        EXPECT_LT(m.FireflyShare(), 0.001)
            << "frame " << frame << ": " << m.fireflies << " of " << m.object;
        EXPECT_EQ(m.clipped, 0u);
    }
}

// The example's camera goes round the fractal on a circle of keys every 6 frames: on the host's
// smooth curve its distance holds, and the fractal's height in the frame no longer pulses
// between the keys (straight lines between them made it 9% taller halfway). What is left is the
// fractal's own outline turning: 237 to 244 pixels here, 236 to 240 with "Rotation Z" held.
TEST_F(CliRunTest, OrbitExampleKeepsItsDistance) {
    const std::string scene = std::string(SPIROVAULT_SOURCE_DIR) + "/examples/orbit/orbit.json";
    const RunResult r = Run({"--scene", scene, "--size", "480x270", "--set", "Supersampling=1",
                             "--set", "HDRI Samples=1", "-o", "o_##.exr"});
    ASSERT_EQ(r.status, 0) << r.err;
    double low = 1e9, high = 0;
    std::string heights;
    std::vector<double> height_at;
    for (int frame = 0; frame <= 24; ++frame) {
        const FloatImage image = ReadExr(
            Path("o_" + std::string(frame < 10 ? "0" : "") + std::to_string(frame) + ".exr"));
        int top = image.height, bottom = -1;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                if (image.Pixel(x, y)[3] < 0.5f) continue;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        const double height = bottom - top + 1;
        heights += " " + std::to_string(static_cast<int>(height));
        height_at.push_back(height);
        low = std::min(low, height);
        high = std::max(high, height);
    }
    RecordProperty("heights", heights);
    EXPECT_LT(high / low - 1, 0.05) << "heights in frames 0-24:" << heights;
    // Halfway between two keys as at the keys, within a few pixels of outline.
    for (int key = 0; key < 24; key += 6) {
        const double ends = (height_at[key] + height_at[key + 6]) / 2;
        EXPECT_LT(std::fabs(height_at[key + 3] / ends - 1), 0.025)
            << "frame " << key + 3 << "; heights in frames 0-24:" << heights;
    }
}

// A parameter key that holds reaches the effect: frame 1 of a hold from 0 is frame 1 at 0.
TEST_F(CliRunTest, ParameterKeysHoldInTheRender) {
    std::ofstream(Path("held.json")) << R"({"size": [24, 14], "params": {"Rotation Z": {"keys": [
        {"frame": 0, "value": 0, "interpolation": "hold"}, {"frame": 2, "value": 60}]}}})";
    std::ofstream(Path("still.json")) << R"({"size": [24, 14], "params": {"Rotation Z": 0}})";
    std::ofstream(Path("moving.json")) << R"({"size": [24, 14], "params": {"Rotation Z": {"keys": [
        {"frame": 0, "value": 0}, {"frame": 2, "value": 60}]}}})";
    for (const char* name : {"held", "still", "moving"}) {
        const RunResult r = Run({"--scene", std::string(name) + ".json", "--frames", "1", "-o",
                                 std::string(name) + ".exr"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    EXPECT_EQ(ReadExr(Path("held.exr")).rgba, ReadExr(Path("still.exr")).rgba);
    EXPECT_NE(ReadExr(Path("moving.exr")).rgba, ReadExr(Path("still.exr")).rgba);
}

TEST_F(CliRunTest, ImagesCarryTheirSceneAndRenderAgainByteForByte) {
    const std::string scene = std::string(SPIROVAULT_SOURCE_DIR) + "/examples/orbit/orbit.json";
    const std::vector<std::string> look = {"--scene", scene,
                                           "--size",  "40x24",
                                           "--set",   "hdri samples=2",
                                           "--ramp",  "0:#203040,0.3:#F0A020"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), look.begin(), look.end());
        return more;
    };
    ASSERT_EQ(Run(with({"--frames", "3-4", "--depth", "16", "-o", "seq_#.png"})).status, 0);
    ASSERT_EQ(Run({"--scene", "seq_4.png", "--depth", "16", "-o", "again.png"}).status, 0);
    EXPECT_EQ(ReadFile(dir_ / "again.png"), ReadFile(dir_ / "seq_4.png"));
    EXPECT_NE(ReadFile(dir_ / "seq_3.png"), ReadFile(dir_ / "seq_4.png"));
    // OpenEXR, and a scene saved without rendering.
    // OpenEXR, in linear light or display-encoded as the image says, and a scene saved without
    // rendering.
    ASSERT_EQ(Run(with({"--frames", "5", "-o", "a.exr"})).status, 0);
    ASSERT_EQ(Run({"--scene", "a.exr", "-o", "b.exr"}).status, 0);
    EXPECT_EQ(ReadFile(dir_ / "b.exr"), ReadFile(dir_ / "a.exr"));
    ASSERT_EQ(Run(with({"--frames", "5", "--display-encoded", "-o", "d.exr"})).status, 0);
    ASSERT_EQ(Run({"--scene", "d.exr", "-o", "e.exr"}).status, 0);
    EXPECT_EQ(ReadFile(dir_ / "e.exr"), ReadFile(dir_ / "d.exr"));
    EXPECT_NE(ReadFile(dir_ / "d.exr"), ReadFile(dir_ / "a.exr"));
    const RunResult saved = Run(with({"--frames", "5", "--save-scene", "five.json"}));
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_FALSE(fs::exists(Path("a.png")));
    ASSERT_EQ(Run({"--scene", "five.json", "-o", "c.exr"}).status, 0);
    EXPECT_EQ(ReadFile(dir_ / "c.exr"), ReadFile(dir_ / "a.exr"));
    // A plain PNG carries no scene.
    WritePng(Path("plain.png"), FloatImage(2, 2), 8);
    ExpectRefused({"--scene", "plain.png"}, "the PNG carries none");
}

TEST_F(CliRunTest, LinearOpenExrFollowsTheTransferFunction) {
    // Supersampling gives the outline partly covered pixels, where the order of conversion and
    // premultiplication shows.
    const std::vector<std::string> args = {"--size", "48x27", "--set", "Supersampling=2"};
    auto render = [&](const std::string& out, const char* option) {
        std::vector<std::string> all = args;
        all.insert(all.end(), {"-o", out});
        if (option) all.push_back(option);
        const RunResult r = Run(all);
        ASSERT_EQ(r.status, 0) << r.err;
    };
    render("display.exr", "--display-encoded");
    render("linear.exr", nullptr);
    // --linear says the default outright.
    render("explicit.exr", "--linear");
    EXPECT_EQ(ReadFile(Path("explicit.exr")), ReadFile(Path("linear.exr")));
    const FloatImage display = ReadExr(Path("display.exr"));
    const FloatImage linear = ReadExr(Path("linear.exr"));
    ASSERT_EQ(display.rgba.size(), linear.rgba.size());
    auto to_linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    size_t partial = 0, checked = 0;
    for (size_t i = 0; i < display.rgba.size(); i += 4) {
        const float alpha = display.rgba[i + 3];
        EXPECT_EQ(linear.rgba[i + 3], alpha);
        if (alpha < 0.05f) continue;
        partial += alpha < 0.95f;
        for (size_t c = 0; c < 3; ++c) {
            ++checked;
            EXPECT_NEAR(linear.rgba[i + c], to_linear(display.rgba[i + c]), 2e-5) << i;
        }
    }
    EXPECT_GT(partial, 10u);
    EXPECT_GT(checked, 300u);
    // Both say what they hold.
    for (const char* name : {"display.exr", "linear.exr"}) {
        Imf::InputFile file(Path(name).c_str());
        ASSERT_TRUE(Imf::hasChromaticities(file.header()));
        EXPECT_EQ(Imf::chromaticities(file.header()).red, Imath::V2f(0.64f, 0.33f));
        ASSERT_TRUE(Imf::hasComments(file.header()));
        const std::string comment = Imf::comments(file.header());
        EXPECT_NE(comment.find(name[0] == 'l' ? "linear light" : "display-encoded"),
                  std::string::npos)
            << comment;
        EXPECT_NE(file.header().findTypedAttribute<Imf::StringAttribute>("spirovaultScene"),
                  nullptr);
    }
    ExpectRefused({"--linear", "-o", "x.png"}, "--linear needs an .exr output", 2);
    ExpectRefused({"--linear", "--display-encoded", "-o", "x.exr"},
                  "--linear and --display-encoded: give one", 2);
}

// A depth map is data: the same values whatever the colour option, and the file says so.
TEST_F(CliRunTest, DepthMapFramesGoThroughNoColourCurve) {
    // A range that makes mid-greys of the fractal at this size, where the curve moves most.
    const std::vector<std::string> depth = {"--size",       "32x18", "--set",
                                            "Depth Map=on", "--set", "Depth End Distance=100"};
    auto render = [&](const std::string& out, std::vector<std::string> more) {
        std::vector<std::string> all = depth;
        more.insert(more.end(), {"-o", out});
        all.insert(all.end(), more.begin(), more.end());
        const RunResult r = Run(all);
        EXPECT_EQ(r.status, 0) << r.err;
        return ReadExr(Path(out)).rgba;
    };
    const std::vector<float> plain = render("plain.exr", {});
    EXPECT_EQ(render("linear.exr", {"--linear"}), plain);
    EXPECT_EQ(render("display.exr", {"--display-encoded"}), plain);
    // As the PNG holds it, within the PNG's rounding; the linear curve would move mid-greys far.
    std::vector<std::string> png_args = depth;
    png_args.insert(png_args.end(), {"-o", "d.png"});
    ASSERT_EQ(Run(png_args).status, 0);
    const FloatImage png = ReadPng(Path("d.png")).image;
    size_t mid_grey = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        ASSERT_NEAR(png.rgba[i], std::clamp(plain[i], 0.0f, 1.0f), 1.0f / 255 + 1e-4f) << i;
        mid_grey += i % 4 == 0 && plain[i] > 0.2f && plain[i] < 0.9f;
    }
    EXPECT_GT(mid_grey, 10u);
    Imf::InputFile file(Path("plain.exr").c_str());
    ASSERT_TRUE(Imf::hasComments(file.header()));
    EXPECT_NE(Imf::comments(file.header()).find("data, not colour"), std::string::npos);
    EXPECT_FALSE(Imf::hasChromaticities(file.header()));
}

// An image from before linear OpenEXR was the default carries a scene that does not say: it
// renders again display-encoded, as it was. A scene file that does not say gets the default.
TEST_F(CliRunTest, OlderImagesRenderAgainAsTheyWere) {
    ASSERT_EQ(Run(Small({"--save-scene", "new.json"})).status, 0);
    std::string scene = ReadFile(Path("new.json"));
    const std::string field = "  \"exr_color\": \"linear\",\n";
    const size_t at = scene.find(field);
    ASSERT_NE(at, std::string::npos) << scene;
    scene.erase(at, field.size());
    std::ofstream(Path("old.json")) << scene;
    ImageMetadata metadata;
    metadata.scene = scene;
    WritePng(Path("old.png"), FloatImage(2, 2), 8, metadata);
    ASSERT_EQ(Run({"--scene", "old.png", "-o", "again.exr"}).status, 0);
    ASSERT_EQ(Run(Small({"--display-encoded", "-o", "display.exr"})).status, 0);
    ASSERT_EQ(Run({"--scene", "old.json", "-o", "default.exr"}).status, 0);
    ASSERT_EQ(Run(Small({"-o", "linear.exr"})).status, 0);
    EXPECT_EQ(ReadExr(Path("again.exr")).rgba, ReadExr(Path("display.exr")).rgba);
    EXPECT_EQ(ReadExr(Path("default.exr")).rgba, ReadExr(Path("linear.exr")).rgba);
    EXPECT_NE(ReadExr(Path("again.exr")).rgba, ReadExr(Path("linear.exr")).rgba);
    // The command line still decides over the image.
    ASSERT_EQ(Run({"--scene", "old.png", "--linear", "-o", "relit.exr"}).status, 0);
    EXPECT_EQ(ReadExr(Path("relit.exr")).rgba, ReadExr(Path("linear.exr")).rgba);
}

TEST_F(CliRunTest, SceneFaultsAndSizesAreOneLine) {
    std::ofstream(Path("scene.json")) << R"({"params": {"Power": 1e400}})";
    ExpectRefused({"--scene", "scene.json"},
                  "scene.json: line 1, column 22, in params[\"Power\"]: the number 1e400 is too "
                  "large",
                  1);
    std::ofstream(Path("scene.json"), std::ios::binary)
        << std::string("{\"params\": {\"Po\\u0000wer\": 1}}");
    ExpectRefused({"--scene", "scene.json"},
                  "scene.json: params[\"Po\\x00wer\"]: unknown parameter", 1);
    ExpectRefused({"--scene", "/dev/zero"}, "cannot read scene /dev/zero: larger than 4 MiB", 1);
    ExpectRefused({"--sise", "32x18"}, "unknown option \"--sise\"; did you mean \"--size\"?", 2);
    ExpectRefused({"--set", "Powr=3"}, "unknown parameter \"Powr\"; did you mean \"Power\"?", 2);
    ExpectRefused({"--plugin", "missing.so"}, "--plugin missing.so: no such file or not readable");
}

TEST_F(CliRunTest, EveryProgramAnswersHelpAndVersion) {
    const RunResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("spirovault-render 1."), std::string::npos) << version.out;
    EXPECT_NE(version.out.find("Spirovault effect 1.0.0"), std::string::npos) << version.out;
    const RunResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--save-scene PATH"), std::string::npos);
    // The other programs write files; none takes --help for a file name.
    for (const std::string tool :
         {SPIROVAULT_MAKE_SKY_TOOL, SPIROVAULT_AMALGAMATE_TOOL, SPIROVAULT_WRITE_PIPL_TOOL}) {
        const RunResult r = RunShell(ShellQuote(tool) + " --help");
        EXPECT_EQ(r.status, 0) << tool;
        EXPECT_EQ(r.out.rfind("usage: " + fs::path(tool).filename().string(), 0), 0u) << r.out;
    }
    EXPECT_EQ(Files(), std::vector<std::string>{});
}

}  // namespace
