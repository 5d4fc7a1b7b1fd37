// Scene files: what they build, and faults reported at their JSON path.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "cli/cli_error.h"
#include "cli/scene_composition.h"
#include "cli/scene_reader.h"
#include "tests/cli/cli_test_support.h"

namespace {

using namespace cli;
using namespace hostsim;

Scene Parse(const std::string& text) {
    return ParseScene(text, "s.json", "dir", SmallCatalog());
}

std::string ErrorOf(const std::string& text) {
    try {
        Parse(text);
    } catch (const CliError& e) {
        return e.what();
    }
    return "";
}

// Keys move on cubic Bezier curves with the handles given, hold, or go straight, against values
// worked out by hand: controls (0,0), (30,0), (90,30), (90,60) give (56.25, 18.75) halfway and
// (1710/64, 330/64) a quarter of the way.
TEST(Scene, KeysInterpolateAsTheySay) {
    const Scene scene = Parse(R"({"camera": {
        "position": {"keys": [
            {"time": 0, "value": [0, 0, 0], "out_tangent": [30, 0, 0]},
            {"time": 1, "value": [90, 60, 0], "in_tangent": [0, -30, 0], "interpolation": "hold"},
            {"time": 2, "value": [0, 0, 0], "interpolation": "linear"},
            {"time": 3, "value": [30, 0, 0]}]},
        "zoom": {"keys": [{"time": 0, "value": 100}, {"time": 1, "value": 300},
                          {"time": 2, "value": 0, "interpolation": "bezier", "out_tangent": 10},
                          {"time": 3, "value": 20, "in_tangent": -10}]}}})");
    const CompLayer& camera = scene.camera->layer;
    const auto at = [&](double t) { return camera.position.At(t); };
    EXPECT_NEAR(at(0.5).x, 56.25, 1e-9);
    EXPECT_NEAR(at(0.5).y, 18.75, 1e-9);
    EXPECT_NEAR(at(0.25).x, 1710.0 / 64, 1e-9);
    EXPECT_NEAR(at(0.25).y, 330.0 / 64, 1e-9);
    EXPECT_EQ(at(1.99).x, 90.0);  // held until the next key
    EXPECT_NEAR(at(2.5).x, 15.0, 1e-9);
    // A scalar stream is linear unless a key says: 0, 10, 10, 20 as controls halfway is 10.
    const Animated<double>& zoom = camera.streams.at(AEGP_LayerStream_ZOOM);
    EXPECT_NEAR(zoom.At(0.25), 150.0, 1e-9);
    EXPECT_NEAR(zoom.At(2.5), 10.0, 1e-9);
    EXPECT_NEAR(zoom.At(2.25), (0 + 27 * 10.0 + 9 * 10.0 + 20) / 64, 1e-9);
    EXPECT_THROW(Parse(R"({"camera": {"position": {"keys": [
                     {"time": 0, "value": [0, 0, 0], "interpolation": "smooth"}]}}})"),
                 CliError);
    // The effect's parameters take the same words, and numbers their tangents.
    const Scene params = Parse(R"({"params": {"Power": {"keys": [
        {"time": 0, "value": 2, "interpolation": "bezier", "in_tangent": -1, "out_tangent": 1},
        {"time": 1, "value": 8, "interpolation": "hold"}]}}})");
    ASSERT_EQ(params.params.size(), 1u);
    const std::vector<TimedParamValue>& keys = params.params[0].keys;
    EXPECT_EQ(keys[0].interpolation, KeyInterpolation::kBezier);
    EXPECT_EQ(keys[0].out_tangent, 1.0);
    EXPECT_EQ(keys[0].in_tangent, -1.0);
    EXPECT_EQ(keys[1].interpolation, KeyInterpolation::kHold);
    EXPECT_EQ(ErrorOf(R"({"params": {"Light Color": {"keys": [
                  {"time": 0, "value": "#000000", "interpolation": "bezier"}]}}})"),
              "s.json: params[\"Light Color\"].keys[0].interpolation: a colour's keys are "
              "\"linear\" or \"hold\"");
}

// Positions without a word move on the host's smooth curve: keys every 45 degrees round a circle
// stay on it (a straight line between them cuts 7.6% inside), through the ends as in the middle.
// A scene embedded in an image from before this reads them as that image was rendered: straight.
TEST(Scene, PositionsFollowASmoothCurveThroughTheirKeys) {
    std::string keys;
    for (int i = 0; i <= 4; ++i) {
        const double angle = i * 3.14159265358979 / 4;
        keys += std::string(i ? "," : "") + "{\"time\": " + std::to_string(i) + ", \"value\": [" +
                std::to_string(1000 * std::cos(angle)) + ", 0, " +
                std::to_string(1000 * std::sin(angle)) + "]}";
    }
    const std::string text = "{\"camera\": {\"position\": {\"keys\": [" + keys + "]}}}";
    const Animated<Vec3d> smooth = Parse(text).camera->layer.position;
    const Animated<Vec3d> older =
        ParseScene(text, "s.png", "dir", SmallCatalog(), true).camera->layer.position;
    double low = 2000, high = 0;
    for (double t = 0; t <= 4; t += 1.0 / 64) {
        const Vec3d p = smooth.At(t);
        low = std::min(low, std::hypot(p.x, p.z));
        high = std::max(high, std::hypot(p.x, p.z));
    }
    EXPECT_GT(low, 996.0);
    EXPECT_LT(high, 1000.001);
    const Vec3d chord = older.At(0.5);
    EXPECT_NEAR(std::hypot(chord.x, chord.z), 1000 * std::cos(3.14159265358979 / 8), 0.01);
    // With the field an embedded scene reads as any other.
    const std::string marked = "{\"exr_color\": \"linear\", " + text.substr(1);
    const Vec3d p =
        ParseScene(marked, "s.png", "dir", SmallCatalog(), true).camera->layer.position.At(0.5);
    EXPECT_GT(std::hypot(p.x, p.z), 996.0);
}

TEST(Scene, CameraLightsAndKeyframes) {
    const Scene scene = Parse(R"({
        "size": [64, 36], "frame_rate": 24, "frames": "0-12",
        "hdri": "sky.hdr", "input": "/abs/plate.png",
        "ramp": "0:#000000,1:#FFFFFF",
        "camera": {"position": {"keys": [{"frame": 0, "value": [0, 0, -100]},
                                         {"frame": 12, "value": [10, 0, -100]}]},
                   "zoom": 500, "depth_of_field": true},
        "lights": [{"position": [1, 2, 3], "color": "#FF0000", "intensity": 150},
                   {"type": "spot", "position": [0, 0, 0], "enabled": false}],
        "params": {"Power": 6, "Julia Mode": true, "AO Type": "Raytraced",
                   "Rotation Z": {"keys": [{"time": 0.5, "value": 90}, {"frame": 0, "value": 0}]}}
    })");
    EXPECT_EQ(scene.size->width, 64);
    EXPECT_EQ(scene.frame_rate, 24);
    EXPECT_EQ(scene.frames->last, 12);
    EXPECT_EQ(*scene.hdri, "dir/sky.hdr");
    EXPECT_EQ(*scene.input, "/abs/plate.png");
    EXPECT_EQ(scene.ramp->size(), 2u);

    Composition comp;
    BuildComposition(scene, FrameSize{64, 36}, &comp);
    ASSERT_EQ(comp.layers.size(), 3u);
    const CompLayer& camera = comp.layers[0];
    EXPECT_EQ(camera.kind, LayerKind::kCamera);
    // Frame 6 of 12 at 24 fps is a quarter second: halfway.
    EXPECT_DOUBLE_EQ(camera.position.At(0.25).x, 5.0);
    EXPECT_DOUBLE_EQ(camera.streams.at(AEGP_LayerStream_ZOOM).At(0), 500);
    EXPECT_DOUBLE_EQ(camera.streams.at(AEGP_LayerStream_DEPTH_OF_FIELD).At(0), 1);
    // A camera without a target aims at the composition's centre, as a new one does.
    EXPECT_DOUBLE_EQ(camera.point_of_interest->At(0).x, 32);
    const CompLayer& light = comp.layers[1];
    EXPECT_EQ(light.light_type, AEGP_LightType_POINT);
    EXPECT_DOUBLE_EQ(light.color.At(0).green, 0);
    EXPECT_DOUBLE_EQ(light.streams.at(AEGP_LayerStream_INTENSITY).At(0), 150);
    EXPECT_DOUBLE_EQ(light.streams.at(AEGP_LayerStream_SHADOW_DARKNESS).At(0), 100);
    EXPECT_EQ(comp.layers[2].light_type, AEGP_LightType_SPOT);
    EXPECT_FALSE(comp.layers[2].video_active);

    ASSERT_EQ(scene.params.size(), 4u);
    for (const SceneParam& p : scene.params) {
        if (p.index == 4) {
            EXPECT_TRUE(p.animated);
            ASSERT_EQ(p.keys.size(), 2u);
            EXPECT_EQ(p.keys[0].time, 0);  // sorted by time
            EXPECT_EQ(p.keys[1].value.number, 90);
        } else {
            EXPECT_FALSE(p.animated);
        }
        if (p.index == 6) {
            EXPECT_EQ(p.keys[0].value.number, 2);
        }
        if (p.index == 5) {
            EXPECT_EQ(p.keys[0].value.number, 1);
        }
    }
}

TEST(Scene, DefaultCameraFollowsTheCompositionSize) {
    const Scene scene = Parse(R"({"camera": {"point_of_interest": null}})");
    Composition comp;
    BuildComposition(scene, FrameSize{360, 200}, &comp);
    const CompLayer& camera = comp.layers.at(0);
    EXPECT_DOUBLE_EQ(camera.streams.at(AEGP_LayerStream_ZOOM).At(0), 500);
    EXPECT_DOUBLE_EQ(camera.position.At(0).z, -500);
    EXPECT_FALSE(camera.point_of_interest.has_value());
    EXPECT_EQ(comp.frame_rate, 30);
}

TEST(Scene, FaultsNameTheirJsonPath) {
    EXPECT_EQ(ErrorOf(R"({"camera": {"position": [1, 2]}})"),
              "s.json: camera.position: expected an array of 3 numbers");
    EXPECT_EQ(ErrorOf(R"({"camera": {"position": {"keys": [{"frame": 0, "value": [0,0,0]},
                                                            {"frame": 1, "value": [0,"a",0]}]}}})"),
              "s.json: camera.position.keys[1].value[1]: expected a number");
    EXPECT_EQ(ErrorOf(R"({"lights": [{"position": [0,0,0]}, {"color": "#FFF"}]})"),
              "s.json: lights[1].position: a light needs a position");
    EXPECT_EQ(ErrorOf(R"({"lights": [{"position": [0,0,0], "colour": "#FFFFFF"}]})"),
              "s.json: lights[0].colour: unknown key");
    EXPECT_EQ(ErrorOf(R"({"params": {"Power": 30}})"),
              "s.json: params[\"Power\"]: \"Power\": 30 is outside the valid range -20 to 20");
    EXPECT_EQ(ErrorOf(R"({"params": {"Powr": 3}})"),
              "s.json: params[\"Powr\"]: unknown parameter \"Powr\"; did you mean \"Power\"?");
    EXPECT_EQ(ErrorOf(R"({"params": {"Rotation Z": {"keys": [{"value": 1}]}}})"),
              "s.json: params[\"Rotation Z\"].keys[0]: a key needs either \"frame\" or \"time\"");
    EXPECT_EQ(ErrorOf(R"({"params": {"Power": {"keys": [{"frame": 1, "value": 1},
                                                          {"time": 0.0333333333333333333, "value": 2}]}}})"),
              "s.json: params[\"Power\"].keys[1]: two keys at the same time");
    EXPECT_EQ(ErrorOf(R"({"params": {"Color Ramp": "x"}})"),
              "s.json: params[\"Color Ramp\"]: \"Color Ramp\" is set with the top-level \"ramp\"");
    EXPECT_EQ(ErrorOf(R"({"size": "0x10"})").rfind("s.json: size: size \"0x10\"", 0), 0u);
    EXPECT_EQ(ErrorOf(R"({"ramp": "2:#000000"})").rfind("s.json: ramp: ramp stop 1", 0), 0u);
    EXPECT_EQ(ErrorOf(R"({"frame_rate": 0})"),
              "s.json: frame_rate: outside the valid range 1 to 1000");
    EXPECT_EQ(ErrorOf(R"([1, 2])"), "s.json: top level: expected an object");
}

// Syntax errors are told in our words, with the line and column and the value being read.
TEST(Scene, SyntaxErrorsNameTheLineColumnAndPath) {
    const struct {
        std::string text, error;
    } cases[] = {
        {"{\"size\": [1,\n 2",
         "s.json: line 2, column 3, in size: not valid JSON: the text ends "
         "inside an array, before its ']'"},
        {"{\"params\": {\"Power\": 6,\n  }}",
         "s.json: line 2, column 3, in params: not valid JSON: a comma after the last item: JSON "
         "allows none"},
        {"{\"size\": [32, 18,]}",
         "s.json: line 1, column 18, in size[2]: not valid JSON: a comma "
         "after the last item: JSON allows none"},
        {"{\"frame_rate\": 24\n \"frames\": 3}",
         "s.json: line 2, column 2: not valid JSON: expected ',' or '}' after a value"},
        {"{\"size\": [32 18]}",
         "s.json: line 1, column 14, in size: not valid JSON: expected ',' or ']' after a value"},
        {"{'size': [32, 18]}",
         "s.json: line 1, column 2: not valid JSON: a single quote: JSON "
         "strings and names take double quotes"},
        {"// a scene\n{}", "s.json: line 1, column 1: not valid JSON: a comment: JSON has none"},
        {"{\"camera\": {\"zoom\" 2}}",
         "s.json: line 1, column 20, in camera.zoom: not valid JSON: expected ':' after the name"},
        {"{\"hdri\": \"sky.hdr}",
         "s.json: line 1, column 19, in hdri: not valid JSON: a string "
         "without its closing '\"'"},
        {"\n  \n", "s.json: line 3, column 1: not valid JSON: the file is empty"},
        {"{} {}",
         "s.json: line 1, column 4: not valid JSON: more text after the end of the scene's "
         "object"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text), c.error) << c.text;
}

TEST(Scene, FaultsTheParserMeetsArePlacedAndEscaped) {
    // A number too large for a double, where it stands.
    EXPECT_EQ(ErrorOf(R"({"params": {"Power": 1e400}})"),
              "s.json: line 1, column 22, in params[\"Power\"]: the number 1e400 is too large for "
              "a double");
    EXPECT_EQ(ErrorOf(R"({"lights": [{"position": [0, 0, 0]}, {"position": [0, -1e999, 0]}]})"),
              "s.json: line 1, column 55, in lights[1].position[1]: the number -1e999 is too large "
              "for a double");
    // Control characters in names, a NUL included, are shown escaped and cut nothing short.
    const std::string nul = ErrorOf("{\"params\": {\"Po\\u0000wer\\n\": 1}}");
    EXPECT_EQ(
        nul.rfind("s.json: params[\"Po\\x00wer\\n\"]: unknown parameter \"Po\\x00wer\\n\"", 0), 0u)
        << nul;
    EXPECT_EQ(nul.find('\0'), std::string::npos);
    EXPECT_EQ(nul.find('\n'), std::string::npos);
    EXPECT_EQ(ErrorOf("{\"camera\": {\"zoom\": 1, \"\\u001b[2J\": 0}}"),
              "s.json: camera[\"\\x1B[2J\"]: unknown key");
    // A syntax error names where the parser was.
    EXPECT_EQ(ErrorOf(R"({"camera": {"zoom": tru}})"),
              "s.json: line 1, column 24, in camera.zoom: not valid JSON: a word that is no JSON "
              "value (values are numbers, strings in double quotes, true, false, null, arrays and "
              "objects)");
    // "comment" is allowed in every object, the parameters included.
    EXPECT_EQ(ErrorOf(R"({"comment": 1, "params": {"comment": "x", "Power": 2},
                          "camera": {"comment": [], "zoom": {"comment": "", "keys": [
                              {"frame": 0, "value": 1, "comment": "first"}]}}})"),
              "");
}

TEST(Scene, FilesAreReadWithACap) {
    const ParamCatalog catalog = SmallCatalog();
    try {
        LoadScene("/dev/zero", catalog);
        FAIL() << "an endless file was taken";
    } catch (const CliError& e) {
        EXPECT_STREQ(e.what(),
                     "cannot read scene /dev/zero: larger than 4 MiB, too large for a scene");
    }
}

// Sanitizer builds run several times slower; the bounds below are for what is linear.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kSlowdown = 10;
#else
constexpr double kSlowdown = 1;
#endif

template <typename F>
double Seconds(F action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(Scene, HostileShapesTakeLinearTime) {
    // A million unclosed brackets: a one-line message of sensible length, at once.
    std::string error;
    const double brackets = Seconds([&] { error = ErrorOf(std::string(1000000, '[')); });
    EXPECT_LT(brackets, 1.0 * kSlowdown);
    EXPECT_LT(error.size(), 400u);
    EXPECT_EQ(error.rfind("s.json: line 1, column 1000001, in [0][0][0]", 0), 0u) << error;
    EXPECT_NE(error.find("[... 999968 levels ...]"), std::string::npos) << error;
    // 160 thousand keys given latest first are sorted once: as fast as the same keys in order.
    const auto keys = [](bool descending) {
        std::string text = R"({"camera": {"zoom": {"keys": [)";
        for (int i = 0; i <= 160000; ++i) {
            const int frame = descending ? 160000 - i : i;
            text += (i > 0 ? "," : "") + std::string(R"({"frame": )") + std::to_string(frame) +
                    R"(, "value": )" + (frame == 0 ? "2" : "1") + "}";
        }
        return text + "]}}}";
    };
    Scene scene;
    const std::string ascending_text = keys(false), descending_text = keys(true);
    const double ascending = Seconds([&] { scene = Parse(ascending_text); });
    const double descending = Seconds([&] { scene = Parse(descending_text); });
    EXPECT_LT(descending, 2 * ascending + 0.1 * kSlowdown);
    const auto& zoom = scene.camera->layer.streams.at(AEGP_LayerStream_ZOOM).keys();
    ASSERT_EQ(zoom.size(), 160001u);
    EXPECT_EQ(zoom.front().value, 2);
    EXPECT_TRUE(std::is_sorted(zoom.begin(), zoom.end(),
                               [](const auto& a, const auto& b) { return a.time < b.time; }));
}

TEST(Scene, ValuesAreHeldToTheRangesTheMessagesState) {
    EXPECT_EQ(ErrorOf(R"({"lights": [{"position": [0, 0, 0], "color": [1e39, -1e39, 0]}]})"),
              "s.json: lights[0].color[0]: outside the valid range 0 to 1");
    EXPECT_EQ(ErrorOf(R"({"lights": [{"position": [0, 0, 0], "color": [0.5, -0.1, 0]}]})"),
              "s.json: lights[0].color[1]: outside the valid range 0 to 1");
    EXPECT_EQ(ErrorOf(R"({"lights": [{"position": [0, 0, 0], "color": [0, 1, 0.25]}]})"), "");
}

TEST(Scene, AnotherSizeScalesAboutTheCentre) {
    const Scene scene = Parse(R"({"size": "200x100",
        "camera": {"position": [100, 50, -400], "point_of_interest": [150, 0, 0], "zoom": 300,
                   "focus_distance": {"keys": [{"time": 0, "value": 400}, {"time": 1, "value": 200}]}},
        "lights": [{"position": [0, 100, 10], "shadow_diffusion": 8}]})");
    Composition comp;
    BuildComposition(scene, FrameSize{100, 50}, &comp);
    const CompLayer& camera = comp.layers.at(0);
    EXPECT_DOUBLE_EQ(camera.position.At(0).x, 50);
    EXPECT_DOUBLE_EQ(camera.position.At(0).z, -200);
    EXPECT_DOUBLE_EQ(camera.point_of_interest->At(0).x, 75);
    EXPECT_DOUBLE_EQ(camera.point_of_interest->At(0).y, 0);
    EXPECT_DOUBLE_EQ(camera.streams.at(AEGP_LayerStream_ZOOM).At(0), 150);
    EXPECT_DOUBLE_EQ(camera.streams.at(AEGP_LayerStream_FOCUS_DISTANCE).At(1), 100);
    const CompLayer& light = comp.layers.at(1);
    EXPECT_DOUBLE_EQ(light.position.At(0).x, 0);
    EXPECT_DOUBLE_EQ(light.position.At(0).y, 50);
    EXPECT_DOUBLE_EQ(light.streams.at(AEGP_LayerStream_SHADOW_DIFFUSION).At(0), 4);
    // Streams that are not lengths keep their values.
    EXPECT_DOUBLE_EQ(light.streams.at(AEGP_LayerStream_SHADOW_DARKNESS).At(0), 100);
}

}  // namespace
