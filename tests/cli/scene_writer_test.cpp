// The effective scene written as JSON reads back as the same scene.
#include "cli/scene_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/scene_composition.h"
#include "cli/scene_reader.h"
#include "tests/cli/cli_test_support.h"

namespace {

using namespace cli;
using namespace hostsim;

constexpr const char* kScene = R"({
  "size": [64, 36], "frame_rate": 24, "frames": "2-5", "hdri": "sky.hdr",
  "ramp": "0:#000000,0.1234567:#FF8000,1:#FFFFFF",
  "camera": {"position": {"keys": [{"frame": 0, "value": [10, 20, -70], "out_tangent": [4, 0, 2]},
                                   {"frame": 12, "value": [-5.25, 20, -60]}]},
             "point_of_interest": null, "depth_of_field": true, "aperture": 7.5},
  "lights": [{"type": "spot", "position": [1, 2, 3], "color": [0.1, 0.2, 0.3],
              "intensity": {"keys": [{"time": 0, "value": 50, "interpolation": "hold"},
                                     {"time": 0.7, "value": 80}]},
              "casts_shadows": true, "shadow_diffusion": 3}],
  "params": {"Power": 6.1, "julia mode": true, "AO Type": "Raytraced", "Light Color": "#102030",
             "Rotation Z": {"keys": [{"frame": 0, "value": 0, "interpolation": "bezier", "out_tangent": 5},
                                    {"frame": 24, "value": 30, "interpolation": "hold"}]}}
})";

struct Written {
    std::string text;
    Composition composition;
};

// What a render at `size` would write, and the composition it would render.
Written WriteAt(const Scene& scene, FrameSize size, const std::vector<SceneParam>& sets = {}) {
    Written written;
    BuildComposition(scene, size, &written.composition);
    EffectiveScene effective;
    effective.size = size;
    effective.frame_rate = scene.frame_rate;
    effective.frames = scene.frames.value_or(FrameRange{});
    effective.hdri = scene.hdri;
    effective.ramp = scene.ramp;
    effective.layers = written.composition.layers;
    effective.params = MergeParams(scene.params, sets);
    written.text = SceneToJson(effective, SmallCatalog(), "dir", false);
    return written;
}

TEST(SceneWriter, WrittenSceneReadsBackAsTheSameScene) {
    const ParamCatalog catalog = SmallCatalog();
    const Scene original = ParseScene(kScene, "s.json", "dir", catalog);
    // Rendered at another size: the written scene holds the scaled composition.
    const Written first = WriteAt(original, FrameSize{32, 18});
    const Scene again = ParseScene(first.text, "w.json", "dir", catalog);
    const Written second = WriteAt(again, *again.size);
    EXPECT_EQ(second.text, first.text);
    ASSERT_EQ(second.composition.layers.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const CompLayer& a = first.composition.layers[i];
        const CompLayer& b = second.composition.layers[i];
        for (const double t : {0.0, 0.2, 0.5, 1.0}) {
            EXPECT_EQ(a.position.At(t).x, b.position.At(t).x);
            EXPECT_EQ(a.position.At(t).z, b.position.At(t).z);
        }
        EXPECT_EQ(a.point_of_interest.has_value(), b.point_of_interest.has_value());
        ASSERT_EQ(a.streams.size(), b.streams.size());
        for (const auto& [stream, values] : a.streams) {
            EXPECT_EQ(values.At(0.3), b.streams.at(stream).At(0.3)) << stream;
        }
    }
    EXPECT_EQ(first.composition.layers[1].color.At(0).green, 0.2);
    EXPECT_EQ(again.ramp->at(1).position, original.ramp->at(1).position);
    ASSERT_EQ(again.params.size(), original.params.size());
    EXPECT_EQ(first.text.find('\n'), std::string::npos);
    EXPECT_NE(first.text.find("\"hdri\":\"sky.hdr\""), std::string::npos);
    EXPECT_NE(first.text.find("\"Julia Mode\":true"), std::string::npos);
    EXPECT_NE(first.text.find("\"interpolation\":\"bezier\",\"out_tangent\":5.0,\"time\":0.0"),
              std::string::npos)
        << first.text;
    EXPECT_NE(first.text.find("\"interpolation\":\"hold\",\"time\":1.0"), std::string::npos);
    EXPECT_NE(first.text.find("\"AO Type\":2.0"), std::string::npos);
}

TEST(SceneWriter, CommandLineValuesReplaceTheScenes) {
    const ParamCatalog catalog = SmallCatalog();
    const Scene original = ParseScene(kScene, "s.json", "dir", catalog);
    SceneParam set;
    set.index = catalog.Find("Rotation Z").index;
    set.kind = ParamKind::kAngle;
    TimedParamValue key;
    key.value = ParamValue{12.5, {}};
    set.keys.push_back(key);
    const Written written = WriteAt(original, FrameSize{64, 36}, {set});
    EXPECT_NE(written.text.find("\"Rotation Z\":12.5"), std::string::npos) << written.text;
    EXPECT_EQ(ParseScene(written.text, "w.json", "dir", catalog).params.size(),
              original.params.size());
}

TEST(SceneWriter, PathsAreRelativeToTheWrittenFileWhereTheyLieWithinIt) {
    const Scene scene = ParseScene(R"({"hdri": "maps/sky.hdr"})", "s.json", "dir", SmallCatalog());
    EffectiveScene effective;
    effective.size = FrameSize{8, 8};
    effective.hdri = scene.hdri;
    auto hdri_in = [&](const std::string& file_dir) {
        const std::string text = SceneToJson(effective, SmallCatalog(), file_dir, true);
        const size_t at = text.find("\"hdri\": \"") + 9;
        return text.substr(at, text.find('"', at) - at);
    };
    EXPECT_EQ(hdri_in("dir"), "maps/sky.hdr");
    EXPECT_EQ(hdri_in(""), "dir/maps/sky.hdr");
    const std::string outside = hdri_in("elsewhere");
    EXPECT_EQ(outside,
              (std::filesystem::current_path() / "dir/maps/sky.hdr").lexically_normal().string());
}

}  // namespace
