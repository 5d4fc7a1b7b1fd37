#include "cli/scene_writer.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/cli_error.h"

namespace cli {

namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

Json ToJson(const Vec3d& v) {
    return Json::array({v.x, v.y, v.z});
}
Json ToJson(const ColorRgb& c) {
    return Json::array({c.red, c.green, c.blue});
}
Json ToJson(double v) {
    return v;
}

// A constant as itself, keyframes with their times in seconds.
template <typename T>
Json AnimatedJson(const Animated<T>& animated) {
    if (!animated.animated()) return ToJson(animated.keys().front().value);
    Json keys = Json::array();
    static const char* const kInterpolations[] = {"linear", "hold", "bezier"};
    for (const Keyframe<T>& key : animated.keys()) {
        // The interpolation always, as a position's default differs from other values'.
        Json j{{"time", key.time},
               {"value", ToJson(key.value)},
               {"interpolation", kInterpolations[static_cast<int>(key.interpolation)]}};
        if (key.in_tangent) j["in_tangent"] = ToJson(*key.in_tangent);
        if (key.out_tangent) j["out_tangent"] = ToJson(*key.out_tangent);
        keys.push_back(j);
    }
    return Json{{"keys", keys}};
}

template <typename T>
void PutAnimated(Json& j, const char* key, const Animated<T>& animated) {
    if (!animated.keys().empty()) j[key] = AnimatedJson(animated);
}

const char* LightTypeName(AEGP_LightType type) {
    switch (type) {
        case AEGP_LightType_SPOT:
            return "spot";
        case AEGP_LightType_PARALLEL:
            return "parallel";
        case AEGP_LightType_AMBIENT:
            return "ambient";
        default:
            return "point";
    }
}

Json LayerJson(const CompLayer& layer) {
    Json j;
    j["name"] = layer.name;
    j["enabled"] = layer.video_active;
    PutAnimated(j, "position", layer.position);
    j["point_of_interest"] =
        layer.point_of_interest ? AnimatedJson(*layer.point_of_interest) : Json(nullptr);
    PutAnimated(j, "orientation", layer.orientation);
    PutAnimated(j, "rotation", layer.rotation);
    const bool light = layer.kind == LayerKind::kLight;
    for (const LayerStreamKey& name : light ? kLightStreamKeys : kCameraStreamKeys) {
        const auto stream = layer.streams.find(name.stream);
        if (stream != layer.streams.end()) PutAnimated(j, name.key, stream->second);
    }
    if (light) {
        j["type"] = LightTypeName(layer.light_type);
        PutAnimated(j, "color", layer.color);
    }
    return j;
}

Json ParamValueJson(const SceneParam& param, const ParamValue& value) {
    if (param.kind == ParamKind::kColor) return FormatColor(value.color);
    if (param.kind == ParamKind::kCheckbox) return value.number != 0;
    return value.number;
}

// Whether the bytes are UTF-8 text, which is all a JSON string can hold.
bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int more = byte < 0x80                   ? 0
                         : byte >= 0xc2 && byte < 0xe0 ? 1
                         : byte >= 0xe0 && byte < 0xf0 ? 2
                         : byte >= 0xf0 && byte < 0xf5 ? 3
                                                       : -1;
        if (more < 0 || i + static_cast<size_t>(more) >= text.size()) return false;
        for (int k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return false;
        }
        // No overlong forms, surrogates or code points past U+10FFFF.
        const auto second = more > 0 ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((byte == 0xe0 && second < 0xa0) || (byte == 0xed && second >= 0xa0) ||
            (byte == 0xf0 && second < 0x90) || (byte == 0xf4 && second >= 0x90)) {
            return false;
        }
        i += static_cast<size_t>(more) + 1;
    }
    return true;
}

std::string RelativePath(const std::string& path, const std::string& file_dir) {
    const fs::path absolute = fs::absolute(path).lexically_normal();
    const fs::path relative = absolute.lexically_relative(
        fs::absolute(file_dir.empty() ? "." : file_dir).lexically_normal());
    // A path that climbs out of the file's directory is clearer written in full.
    const bool climbs = relative.empty() || *relative.begin() == "..";
    return climbs ? absolute.generic_string() : relative.generic_string();
}

// A file name as the scene records it; one that is not UTF-8 cannot be.
std::string RecordedPath(const std::string& path, const std::string& file_dir) {
    const std::string recorded = RelativePath(path, file_dir);
    if (!IsUtf8(recorded)) {
        throw CliError("the file name " + Quoted(recorded) +
                       " is not UTF-8 text, which a scene cannot record: rename the file");
    }
    return recorded;
}

}  // namespace

std::vector<SceneParam> MergeParams(std::vector<SceneParam> params,
                                    const std::vector<SceneParam>& overrides) {
    for (const SceneParam& override : overrides) {
        std::erase_if(params, [&](const SceneParam& p) { return p.index == override.index; });
        params.push_back(override);
    }
    return params;
}

std::string SceneToJson(const EffectiveScene& scene, const ParamCatalog& catalog,
                        const std::string& file_dir, bool pretty) {
    Json root;
    root["comment"] = "The scene an image was rendered from: spirovault-render --scene FILE";
    root["size"] = Json::array({scene.size.width, scene.size.height});
    root["frame_rate"] = scene.frame_rate;
    if (!scene.frames.spans.empty()) {
        root["frames"] = FormatFrameRange(scene.frames);
    } else if (scene.frames.first == scene.frames.last) {
        root["frames"] = scene.frames.first;
    } else {
        root["frames"] = Json::array({scene.frames.first, scene.frames.last});
    }
    root["exr_color"] = scene.exr_linear ? "linear" : "display-encoded";
    if (scene.hdri) root["hdri"] = RecordedPath(*scene.hdri, file_dir);
    if (scene.input) root["input"] = RecordedPath(*scene.input, file_dir);
    if (scene.ramp) root["ramp"] = FormatRamp(*scene.ramp);
    Json lights = Json::array();
    for (const CompLayer& layer : scene.layers) {
        if (layer.kind == LayerKind::kCamera) root["camera"] = LayerJson(layer);
        if (layer.kind == LayerKind::kLight) lights.push_back(LayerJson(layer));
    }
    if (!lights.empty()) root["lights"] = lights;
    Json params = Json::object();
    for (const SceneParam& param : scene.params) {
        const std::string& name = catalog.params().at(param.index - 1).name;
        if (!param.animated) {
            params[name] = ParamValueJson(param, param.keys.front().value);
            continue;
        }
        Json keys = Json::array();
        static const char* const kInterpolations[] = {"linear", "hold", "bezier"};
        for (const TimedParamValue& key : param.keys) {
            Json j{{"time", key.time}, {"value", ParamValueJson(param, key.value)}};
            // Linear, the default for parameters, goes unsaid.
            if (key.interpolation != KeyInterpolation::kLinear) {
                j["interpolation"] = kInterpolations[static_cast<int>(key.interpolation)];
            }
            if (key.in_tangent) j["in_tangent"] = *key.in_tangent;
            if (key.out_tangent) j["out_tangent"] = *key.out_tangent;
            keys.push_back(j);
        }
        params[name] = Json{{"keys", keys}};
    }
    if (!params.empty()) root["params"] = params;
    // UTF-8 as it is, not as \u escapes, so that the text is no larger than what was read.
    return pretty ? root.dump(2, ' ', false) + "\n" : root.dump(-1, ' ', false);
}

}  // namespace cli
