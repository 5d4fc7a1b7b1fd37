// A composition described in a JSON file: size, frame rate, frame range, camera, lights, the
// effect's parameters (constant or keyframed), the colour ramp, the environment image and the
// layer the effect is applied to.
#ifndef SPIROVAULT_CLI_SCENE_H
#define SPIROVAULT_CLI_SCENE_H

#include <optional>
#include <string>
#include <vector>

#include "cli/color_ramp_value.h"
#include "cli/param_catalog.h"
#include "cli/value_parsing.h"
#include "hostsim/composition/composition.h"

using hostsim::CompLayer;
using hostsim::Composition;

struct TimedParamValue {
    double time = 0;  // seconds
    ParamValue value;
};

// A parameter's value from the scene: one constant or keyframes.
struct SceneParam {
    int index = 0;
    ParamKind kind = ParamKind::kOther;
    bool animated = false;
    std::vector<TimedParamValue> keys;  // one when constant
};

struct SceneCamera {
    CompLayer layer;
    // What the file left out and the composition's size decides.
    bool position_given = false;
    bool zoom_given = false;
    bool point_of_interest_given = false;  // including an explicit null (no target)
};

struct Scene {
    std::optional<FrameSize> size;
    double frame_rate = 30.0;
    std::optional<FrameRange> frames;
    std::optional<std::string> hdri;  // paths relative to the current directory
    std::optional<std::string> input;
    std::optional<std::vector<RampStopValue>> ramp;
    std::optional<SceneCamera> camera;
    std::vector<CompLayer> lights;
    std::vector<SceneParam> params;
};

// The scene's keys for a camera's and a light's one-dimensional streams.
struct LayerStreamKey {
    const char* key;
    AEGP_LayerStream stream;
};
extern const std::vector<LayerStreamKey> kCameraStreamKeys;
extern const std::vector<LayerStreamKey> kLightStreamKeys;

// The largest scene file read.
inline constexpr size_t kMaxSceneBytes = 4u << 20;

// Throws CliError whose message starts with the file name and the JSON path of the fault. An
// image this program wrote gives the scene it carries.
Scene LoadScene(const std::string& path, const ParamCatalog& catalog);
// The same from text; `name` stands for the file in messages and `base_dir` anchors its paths.
Scene ParseScene(const std::string& text, const std::string& name, const std::string& base_dir,
                 const ParamCatalog& catalog);

// The composition for a frame size: the scene's frame rate, its camera (with the host's
// defaults for a new camera where the file said nothing) and lights. A scene made for another
// size is scaled about the centre by the ratio of the heights: positions, targets, zoom, focus
// distance, aperture and shadow diffusion, so that it frames the same at any size.
void BuildComposition(const Scene& scene, FrameSize size, Composition* composition);

// A composition's default camera zoom: a 50 mm lens on 36 mm film across the width.
double DefaultCameraZoom(int composition_width);

#endif
