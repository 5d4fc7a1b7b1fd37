// A composition as a scene file describes it: size, frame rate, frame range, camera, lights,
// the effect's parameters (constant or keyframed), the colour ramp, the environment image and
// the layer the effect is applied to.
#ifndef SPIROVAULT_CLI_SCENE_H
#define SPIROVAULT_CLI_SCENE_H

#include <optional>
#include <string>
#include <vector>

#include "cli/color_ramp_value.h"
#include "cli/param_info.h"
#include "cli/value_parsing.h"
#include "hostsim/composition/composition.h"

namespace cli {

// The composition's pieces as the stand-in host models them, which a scene describes.
using hostsim::Animated;
using hostsim::ColorRgb;
using hostsim::CompLayer;
using hostsim::Composition;
using hostsim::Keyframe;
using hostsim::KeyInterpolation;
using hostsim::LayerKind;
using hostsim::Vec3d;

struct TimedParamValue {
    double time = 0;  // seconds
    ParamValue value;
    // How the value goes on to the next key, and Bezier handles for numbers (as Keyframe's).
    KeyInterpolation interpolation = KeyInterpolation::kLinear;
    std::optional<double> in_tangent, out_tangent;
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
    // "exr_color": OpenEXR colour in linear light or display-encoded. Unset in a scene file that
    // does not say; a scene embedded in an image always says, older images' by their absence.
    std::optional<bool> exr_linear;
};

// The scene's keys for a camera's and a light's one-dimensional streams.
struct LayerStreamKey {
    const char* key;
    AEGP_LayerStream stream;
};
inline const std::vector<LayerStreamKey> kCameraStreamKeys = {
    {"zoom", AEGP_LayerStream_ZOOM},
    {"depth_of_field", AEGP_LayerStream_DEPTH_OF_FIELD},
    {"focus_distance", AEGP_LayerStream_FOCUS_DISTANCE},
    {"aperture", AEGP_LayerStream_APERTURE},
    {"blur_level", AEGP_LayerStream_BLUR_LEVEL},
    {"iris_highlight_gain", AEGP_LayerStream_IRIS_HIGHLIGHT_GAIN},
    {"iris_highlight_threshold", AEGP_LayerStream_IRIS_HIGHLIGHT_THRESHOLD},
    {"iris_highlight_saturation", AEGP_LayerStream_IRIS_HIGHLIGHT_SATURATION}};
inline const std::vector<LayerStreamKey> kLightStreamKeys = {
    {"intensity", AEGP_LayerStream_INTENSITY},
    {"casts_shadows", AEGP_LayerStream_CASTS_SHADOWS},
    {"shadow_darkness", AEGP_LayerStream_SHADOW_DARKNESS},
    {"shadow_diffusion", AEGP_LayerStream_SHADOW_DIFFUSION}};

}  // namespace cli

#endif
