#include "cli/scene_reader.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli/cli_error.h"
#include "hostsim/frames/frame_session.h"
#include "imageio/float_image.h"
#include "imageio/image_metadata.h"
#include "imageio/input_file.h"

namespace cli {

namespace {

using Json = nlohmann::json;

// A fault already placed in the file; it passes through the handlers that place others.
class SceneError : public CliError {
  public:
    using CliError::CliError;
};

// Where a value sits in the file, for messages: camera.position.keys[1].value
class JsonPath {
  public:
    JsonPath() = default;
    JsonPath Key(const std::string& key) const {
        JsonPath child(*this);
        child.AppendKey(key);
        return child;
    }
    JsonPath Index(size_t index) const {
        JsonPath child(*this);
        child.AppendIndex(index);
        return child;
    }
    // The same in place, in time linear in what is added.
    void AppendKey(const std::string& key) {
        const bool plain =
            !key.empty() &&
            key.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") == std::string::npos;
        if (plain) {
            text_ += (text_.empty() ? "" : ".") + key;
        } else {
            text_ += "[\"" + Escaped(key) + "\"]";
        }
    }
    void AppendIndex(size_t index) { text_ += "[" + std::to_string(index) + "]"; }
    void AppendText(const std::string& text) { text_ += text; }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

// Follows a parse through the document so that a fault the parser meets (a syntax error, a
// number too large for a double) can be placed at its JSON path.
class PathTracker : public nlohmann::json_sax<Json> {
  public:
    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool string(string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override {
        levels_.push_back(Level{});
        return true;
    }
    bool key(string_t& key) override {
        levels_.back().key = key;
        levels_.back().in_value = true;
        return true;
    }
    bool end_object() override {
        levels_.pop_back();
        return Value();
    }
    bool start_array(std::size_t) override {
        Level level;
        level.array = true;
        levels_.push_back(level);
        return true;
    }
    bool end_array() override {
        levels_.pop_back();
        return Value();
    }
    bool parse_error(std::size_t position, const std::string& last_token,
                     const nlohmann::detail::exception& error) override {
        position_ = position;
        last_token_ = last_token;
        parser_message_ = error.what();
        out_of_range_ = error.id == 406;
        // Between an array's items the index already counts the next one, not yet begun.
        between_items_ = parser_message_.find("while parsing array") != std::string::npos;
        return false;
    }

    // Where the parser stopped: the value it was reading. A path deeper than a person reads is
    // shown by its first and last levels.
    JsonPath Where() const {
        constexpr size_t kShownLevels = 16;
        JsonPath path;
        for (size_t i = 0; i < levels_.size(); ++i) {
            if (levels_.size() > 2 * kShownLevels && i == kShownLevels) {
                const size_t skipped = levels_.size() - 2 * kShownLevels;
                path.AppendText("[... " + std::to_string(skipped) + " levels ...]");
                i += skipped - 1;
                continue;
            }
            const Level& level = levels_[i];
            if (level.array && between_items_ && i + 1 == levels_.size()) continue;
            if (level.array) {
                path.AppendIndex(level.index);
            } else if (level.in_value) {
                path.AppendKey(level.key);
            }
        }
        return path;
    }
    // The fault in our words, and the byte the parser stopped at (from 0).
    std::string Problem(const std::string& text) const;
    size_t Offset(const std::string& text) const {
        // A number or a string that is out of place or out of range is read whole: the fault is
        // where it begins.
        const bool whole_token =
            out_of_range_ ||
            parser_message_.find("unexpected string literal") != std::string::npos ||
            parser_message_.find("unexpected number literal") != std::string::npos;
        const size_t start = whole_token && !last_token_.empty()
                                 ? text.rfind(last_token_, position_)
                                 : std::string::npos;
        if (start != std::string::npos) return start;
        return position_ > 0 ? position_ - 1 : 0;
    }
    // A number too large for a double is valid JSON, but no value here.
    bool OutOfRange() const { return out_of_range_; }

  private:
    struct Level {
        bool array = false;
        size_t index = 0;  // arrays: the element being read
        std::string key;   // objects: the key whose value is being read
        bool in_value = false;
    };

    bool Value() {
        if (!levels_.empty()) {
            Level& level = levels_.back();
            if (level.array) {
                ++level.index;
            } else {
                level.in_value = false;
            }
        }
        return true;
    }

    std::vector<Level> levels_;
    size_t position_ = 0;
    std::string last_token_;
    std::string parser_message_;
    bool out_of_range_ = false;
    bool between_items_ = false;
};

// What the parser met, said as a person editing the file would look for it. The parser's own
// message only decides which of these it is.
std::string PathTracker::Problem(const std::string& text) const {
    const auto says = [&](const char* words) {
        return parser_message_.find(words) != std::string::npos;
    };
    if (out_of_range_) return "the number " + last_token_ + " is too large for a double";
    // A '}' or ']' right after a comma: JSON has no comma after the last item.
    const size_t at = std::min(Offset(text), text.size());
    const size_t before = at == 0 ? std::string::npos : text.find_last_not_of(" \t\r\n", at - 1);
    const bool after_comma = before != std::string::npos && text[before] == ',';
    if (says("unexpected end of input")) {
        if (text.find_first_not_of(" \t\r\n") == std::string::npos) return "the file is empty";
        return says("parsing object")  ? "the text ends inside an object, before its '}'"
               : says("parsing array") ? "the text ends inside an array, before its ']'"
                                       : "the text ends where a value belongs";
    }
    if (says("expected end of input")) return "more text after the end of the scene's object";
    if (says("missing closing quote")) return "a string without its closing '\"'";
    if (says("control character")) {
        return "a control character inside a string: write a tab as \\t, a line break as \\n";
    }
    if (says("invalid string")) return "a string with an escape or a byte that JSON does not allow";
    if (says("invalid number")) return "a number written in a form that JSON does not allow";
    if (says("invalid literal")) {
        if (last_token_.find('\'') != std::string::npos) {
            return "a single quote: JSON strings and names take double quotes";
        }
        if (last_token_.find('/') != std::string::npos) return "a comment: JSON has none";
        return "a word that is no JSON value (values are numbers, strings in double quotes, true, "
               "false, null, arrays and objects)";
    }
    if (after_comma && (says("unexpected '}'") || says("unexpected ']'"))) {
        return "a comma after the last item: JSON allows none";
    }
    if (says("object key")) return "expected a name in double quotes";
    if (says("object separator")) return "expected ':' after the name";
    if (says("parsing object")) return "expected ',' or '}' after a value";
    if (says("parsing array")) return "expected ',' or ']' after a value";
    if (says("parsing value")) return "expected a value";
    return "a syntax error";
}

class SceneParser {
  public:
    SceneParser(std::string name, std::string base_dir, const ParamCatalog& catalog, bool embedded)
        : name_(std::move(name)),
          base_dir_(std::move(base_dir)),
          catalog_(catalog),
          embedded_(embedded) {}

    Scene Parse(const std::string& text);

  private:
    [[noreturn]] void Fail(const JsonPath& path, const std::string& problem) const {
        throw SceneError(Escaped(name_) + ": " + (path.text().empty() ? "top level" : path.text()) +
                         ": " + Escaped(problem));
    }

    void ExpectObject(const Json& j, const JsonPath& path, std::set<std::string> known) const {
        if (!j.is_object()) Fail(path, "expected an object");
        known.insert("comment");
        for (const auto& [key, value] : j.items()) {
            if (known.count(key) == 0) Fail(path.Key(key), "unknown key");
        }
    }

    double Number(const Json& j, const JsonPath& path) const {
        if (!j.is_number()) Fail(path, "expected a number");
        const double value = j.get<double>();
        if (!std::isfinite(value)) Fail(path, "expected a finite number");
        return value;
    }

    double NumberOrSwitch(const Json& j, const JsonPath& path) const {
        if (j.is_boolean()) return j.get<bool>() ? 1.0 : 0.0;
        return Number(j, path);
    }

    std::string String(const Json& j, const JsonPath& path) const {
        if (!j.is_string()) Fail(path, "expected a string");
        return j.get<std::string>();
    }

    Vec3d Vector(const Json& j, const JsonPath& path) const {
        if (!j.is_array() || j.size() != 3) Fail(path, "expected an array of 3 numbers");
        return Vec3d{Number(j[0], path.Index(0)), Number(j[1], path.Index(1)),
                     Number(j[2], path.Index(2))};
    }

    ColorRgb Color(const Json& j, const JsonPath& path) const {
        if (j.is_string()) {
            try {
                const PF_Pixel pixel = ParseColor(j.get<std::string>());
                return ColorRgb{pixel.red / 255.0, pixel.green / 255.0, pixel.blue / 255.0};
            } catch (const SceneError&) {
                throw;
            } catch (const CliError& e) {
                Fail(path, e.what());
            }
        }
        if (!j.is_array() || j.size() != 3) {
            Fail(path, "expected \"#RRGGBB\" or an array of 3 numbers 0 to 1");
        }
        const auto channel = [&](size_t i) {
            const double value = Number(j[i], path.Index(i));
            if (!(value >= 0.0 && value <= 1.0))
                Fail(path.Index(i), "outside the valid range 0 to 1");
            return value;
        };
        return ColorRgb{channel(0), channel(1), channel(2)};
    }

    std::string FilePath(const Json& j, const JsonPath& path) const {
        const std::string file = String(j, path);
        if (file.empty()) Fail(path, "expected a file name");
        if (file.front() == '/' || base_dir_.empty()) return file;
        return base_dir_ + "/" + file;
    }

    double KeyTime(const Json& key, const JsonPath& path) const {
        const bool has_frame = key.contains("frame"), has_time = key.contains("time");
        if (has_frame == has_time) Fail(path, "a key needs either \"frame\" or \"time\"");
        if (has_time) return Number(key["time"], path.Key("time"));
        // As the host times the frame, so that the key lands on it at 29.97 fps as at 30.
        return hostsim::FrameSeconds(Number(key["frame"], path.Key("frame")),
                                     hostsim::TimeBaseFor(frame_rate_));
    }

    // A constant written as the value itself, or {"keys": [{"frame"|"time": t, "value": v}]}. A
    // key may say how the value goes on to the next ("interpolation": "linear", "hold" or
    // "bezier", else `interpolation`) and give Bezier handles ("in_tangent", "out_tangent") as
    // offsets from its value.
    template <typename T>
    Animated<T> AnimatedValue(const Json& j, const JsonPath& path,
                              const std::function<T(const Json&, const JsonPath&)>& value,
                              KeyInterpolation interpolation = KeyInterpolation::kLinear) const {
        Animated<T> animated;
        if (!j.is_object()) {
            animated.Set(value(j, path));
            return animated;
        }
        std::vector<Keyframe<T>> keys;
        ForEachKey(
            j, path,
            [&](double time, const Json& v, const JsonPath& at) {
                keys.push_back(Keyframe<T>{time, value(v, at), interpolation, {}, {}});
            },
            [&](const Json& key, const JsonPath& key_path) {
                Keyframe<T>& added = keys.back();
                if (key.contains("interpolation")) {
                    added.interpolation =
                        Interpolation(key["interpolation"], key_path.Key("interpolation"));
                }
                for (const auto& [name, tangent] : {std::pair{"in_tangent", &added.in_tangent},
                                                    std::pair{"out_tangent", &added.out_tangent}}) {
                    if (key.contains(name)) *tangent = value(key[name], key_path.Key(name));
                }
            });
        animated.SetKeys(std::move(keys));
        return animated;
    }

    KeyInterpolation Interpolation(const Json& j, const JsonPath& path) const {
        const std::string name = j.is_string() ? j.get<std::string>() : "";
        if (name == "linear") return KeyInterpolation::kLinear;
        if (name == "hold") return KeyInterpolation::kHold;
        if (name == "bezier") return KeyInterpolation::kBezier;
        Fail(path, "expected \"linear\", \"hold\" or \"bezier\"");
    }

    // `more`, when given, takes a key's interpolation and tangents after `visit` took its value;
    // without it a key has none.
    void ForEachKey(const Json& j, const JsonPath& path,
                    const std::function<void(double, const Json&, const JsonPath&)>& visit,
                    const std::function<void(const Json&, const JsonPath&)>& more = {}) const {
        ExpectObject(j, path, {"keys"});
        const JsonPath keys_path = path.Key("keys");
        if (!j.contains("keys") || !j["keys"].is_array() || j["keys"].empty()) {
            Fail(keys_path, "expected a non-empty array of keys");
        }
        std::set<double> times;
        for (size_t i = 0; i < j["keys"].size(); ++i) {
            const Json& key = j["keys"][i];
            const JsonPath key_path = keys_path.Index(i);
            if (more) {
                ExpectObject(
                    key, key_path,
                    {"frame", "time", "value", "interpolation", "in_tangent", "out_tangent"});
            } else {
                ExpectObject(key, key_path, {"frame", "time", "value"});
            }
            if (!key.contains("value")) Fail(key_path, "a key needs a \"value\"");
            const double time = KeyTime(key, key_path);
            if (!times.insert(time).second) Fail(key_path, "two keys at the same time");
            visit(time, key["value"], key_path.Key("value"));
            if (more) more(key, key_path);
        }
    }

    Animated<double> Stream(const Json& j, const JsonPath& path) const {
        return AnimatedValue<double>(
            j, path, [this](const Json& v, const JsonPath& p) { return NumberOrSwitch(v, p); });
    }
    Animated<Vec3d> Vectors(const Json& j, const JsonPath& path) const {
        return AnimatedValue<Vec3d>(
            j, path, [this](const Json& v, const JsonPath& p) { return Vector(v, p); });
    }
    // Positions move on the host's smooth spatial curve unless a key says otherwise.
    Animated<Vec3d> Positions(const Json& j, const JsonPath& path) const {
        return AnimatedValue<Vec3d>(
            j, path, [this](const Json& v, const JsonPath& p) { return Vector(v, p); },
            position_interpolation_);
    }

    bool Switch(const Json& j, const JsonPath& path) const {
        if (!j.is_boolean()) Fail(path, "expected true or false");
        return j.get<bool>();
    }

    // Position, target, orientation, rotation and the eye switch of a camera or light.
    void Placement(const Json& j, const JsonPath& path, CompLayer* layer) const {
        if (j.contains("name")) layer->name = String(j["name"], path.Key("name"));
        if (j.contains("enabled")) layer->video_active = Switch(j["enabled"], path.Key("enabled"));
        if (j.contains("position"))
            layer->position = Positions(j["position"], path.Key("position"));
        if (j.contains("point_of_interest") && !j["point_of_interest"].is_null()) {
            layer->point_of_interest =
                Positions(j["point_of_interest"], path.Key("point_of_interest"));
        }
        if (j.contains("orientation")) {
            layer->orientation = Vectors(j["orientation"], path.Key("orientation"));
        }
        if (j.contains("rotation")) layer->rotation = Vectors(j["rotation"], path.Key("rotation"));
    }

    void Streams(const Json& j, const JsonPath& path, const std::vector<LayerStreamKey>& names,
                 CompLayer* layer) const {
        for (const LayerStreamKey& name : names) {
            if (j.contains(name.key)) {
                layer->streams[name.stream] = Stream(j[name.key], path.Key(name.key));
            }
        }
    }

    SceneCamera Camera(const Json& j, const JsonPath& path) const;
    CompLayer Light(const Json& j, const JsonPath& path) const;
    SceneParam Param(const std::string& name, const Json& j, const JsonPath& path) const;

    std::string name_;
    std::string base_dir_;
    const ParamCatalog& catalog_;
    double frame_rate_ = 30.0;
    bool embedded_ = false;
    KeyInterpolation position_interpolation_ = KeyInterpolation::kBezier;
};

SceneCamera SceneParser::Camera(const Json& j, const JsonPath& path) const {
    ExpectObject(j, path,
                 {"name", "enabled", "position", "point_of_interest", "orientation", "rotation",
                  "zoom", "depth_of_field", "focus_distance", "aperture", "blur_level",
                  "iris_highlight_gain", "iris_highlight_threshold", "iris_highlight_saturation"});
    SceneCamera camera;
    camera.layer.kind = LayerKind::kCamera;
    camera.layer.name = "Camera";
    Placement(j, path, &camera.layer);
    camera.position_given = j.contains("position");
    camera.zoom_given = j.contains("zoom");
    camera.point_of_interest_given = j.contains("point_of_interest");
    Streams(j, path, kCameraStreamKeys, &camera.layer);
    return camera;
}

CompLayer SceneParser::Light(const Json& j, const JsonPath& path) const {
    ExpectObject(
        j, path,
        {"name", "type", "enabled", "position", "point_of_interest", "orientation", "rotation",
         "intensity", "color", "casts_shadows", "shadow_darkness", "shadow_diffusion"});
    CompLayer light;
    light.kind = LayerKind::kLight;
    light.name = "Light";
    if (j.contains("type")) {
        const std::string type = String(j["type"], path.Key("type"));
        if (type == "point") {
            light.light_type = AEGP_LightType_POINT;
        } else if (type == "spot") {
            light.light_type = AEGP_LightType_SPOT;
        } else if (type == "parallel") {
            light.light_type = AEGP_LightType_PARALLEL;
        } else if (type == "ambient") {
            light.light_type = AEGP_LightType_AMBIENT;
        } else {
            Fail(path.Key("type"), "expected \"point\", \"spot\", \"parallel\" or \"ambient\"");
        }
    }
    if (!j.contains("position")) Fail(path.Key("position"), "a light needs a position");
    Placement(j, path, &light);
    // A new light's settings, so the effect reads what the host would show.
    light.streams[AEGP_LayerStream_INTENSITY].Set(100.0);
    light.streams[AEGP_LayerStream_CASTS_SHADOWS].Set(0.0);
    light.streams[AEGP_LayerStream_SHADOW_DARKNESS].Set(100.0);
    light.streams[AEGP_LayerStream_SHADOW_DIFFUSION].Set(0.0);
    light.color.Set(ColorRgb{});
    Streams(j, path, kLightStreamKeys, &light);
    if (j.contains("color")) {
        light.color = AnimatedValue<ColorRgb>(
            j["color"], path.Key("color"),
            [this](const Json& v, const JsonPath& p) { return Color(v, p); });
    }
    return light;
}

SceneParam SceneParser::Param(const std::string& name, const Json& j, const JsonPath& path) const {
    const ParamInfo* info = nullptr;
    try {
        info = &catalog_.Find(name);
    } catch (const CliError& e) {
        Fail(path, e.what());
    }
    if (!info->takes_value()) {
        Fail(path, Quoted(name) + (info->kind == ParamKind::kArbitraryData
                                       ? " is set with the top-level \"ramp\""
                                       : (info->kind == ParamKind::kLayer
                                              ? " is set with the top-level \"hdri\""
                                              : " does not take a value")));
    }
    auto value = [&](const Json& v, const JsonPath& at) {
        try {
            if (v.is_string()) return ParseParamValue(*info, v.get<std::string>());
            if (v.is_boolean() && info->kind == ParamKind::kCheckbox) {
                return CheckParamNumber(*info, v.get<bool>() ? 1 : 0);
            }
            if (v.is_number() && info->kind != ParamKind::kColor) {
                return CheckParamNumber(*info, Number(v, at));
            }
        } catch (const SceneError&) {
            throw;
        } catch (const CliError& e) {
            Fail(at, e.what());
        }
        Fail(at, info->kind == ParamKind::kColor ? "expected \"#RRGGBB\""
                                                 : "expected a number or a string");
    };
    SceneParam param;
    param.index = info->index;
    param.kind = info->kind;
    if (!j.is_object()) {
        TimedParamValue constant;
        constant.value = value(j, path);
        param.keys.push_back(constant);
        return param;
    }
    param.animated = true;
    ForEachKey(
        j, path,
        [&](double time, const Json& v, const JsonPath& at) {
            TimedParamValue key;
            key.time = time;
            key.value = value(v, at);
            param.keys.push_back(key);
        },
        [&](const Json& key, const JsonPath& key_path) {
            TimedParamValue& added = param.keys.back();
            if (key.contains("interpolation")) {
                added.interpolation =
                    Interpolation(key["interpolation"], key_path.Key("interpolation"));
                // A colour's channels go straight or hold; a checkbox or popup holds in any case.
                if (added.interpolation == KeyInterpolation::kBezier &&
                    info->kind == ParamKind::kColor) {
                    Fail(key_path.Key("interpolation"),
                         "a colour's keys are \"linear\" or \"hold\"");
                }
            }
            for (const auto& [name, tangent] : {std::pair{"in_tangent", &added.in_tangent},
                                                std::pair{"out_tangent", &added.out_tangent}}) {
                if (!key.contains(name)) continue;
                if (info->kind == ParamKind::kColor)
                    Fail(key_path.Key(name), "a colour takes no tangents");
                *tangent = Number(key[name], key_path.Key(name));
            }
        });
    std::sort(param.keys.begin(), param.keys.end(),
              [](const TimedParamValue& a, const TimedParamValue& b) { return a.time < b.time; });
    return param;
}

Scene SceneParser::Parse(const std::string& text) {
    PathTracker tracker;
    if (!Json::sax_parse(text, &tracker)) {
        // Line and column of the byte the parser stopped at, both from 1; the column in bytes.
        const size_t at = std::min(tracker.Offset(text), text.size());
        const size_t line_start = at == 0 ? 0 : text.rfind('\n', at - 1);
        const long line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(at), '\n');
        const size_t column = line_start == std::string::npos || at == 0 ? at + 1 : at - line_start;
        const std::string path = tracker.Where().text();
        throw SceneError(Escaped(name_) + ": line " + std::to_string(line) + ", column " +
                         std::to_string(column) + (path.empty() ? "" : ", in " + path) +
                         (tracker.OutOfRange() ? ": " : ": not valid JSON: ") +
                         Escaped(tracker.Problem(text)));
    }
    const Json root = Json::parse(text);
    const JsonPath top;
    ExpectObject(root, top,
                 {"size", "frame_rate", "frames", "hdri", "input", "ramp", "camera", "lights",
                  "params", "exr_color"});
    Scene scene;
    const bool older_image = embedded_ && !root.contains("exr_color");
    if (older_image) position_interpolation_ = KeyInterpolation::kLinear;
    if (root.contains("frame_rate")) {
        frame_rate_ = Number(root["frame_rate"], top.Key("frame_rate"));
        if (frame_rate_ < 1.0 || frame_rate_ > 1000.0) {
            Fail(top.Key("frame_rate"), "outside the valid range 1 to 1000");
        }
    }
    scene.frame_rate = frame_rate_;
    auto usage = [&](const JsonPath& path, const std::function<void()>& parse) {
        try {
            parse();
        } catch (const SceneError&) {
            throw;
        } catch (const CliError& e) {
            Fail(path, e.what());
        }
    };
    if (root.contains("size")) {
        const Json& size = root["size"];
        const JsonPath path = top.Key("size");
        if (size.is_array() && size.size() == 2 && size[0].is_number_integer() &&
            size[1].is_number_integer()) {
            usage(path, [&] {
                scene.size = ParseSize(std::to_string(size[0].get<long long>()) + "x" +
                                       std::to_string(size[1].get<long long>()));
            });
        } else {
            usage(path, [&] { scene.size = ParseSize(String(size, path)); });
        }
    }
    if (root.contains("frames")) {
        const Json& frames = root["frames"];
        const JsonPath path = top.Key("frames");
        if (frames.is_array() && frames.size() == 2 && frames[0].is_number_integer() &&
            frames[1].is_number_integer()) {
            usage(path, [&] {
                scene.frames = ParseFrameRange(std::to_string(frames[0].get<long long>()) + "-" +
                                               std::to_string(frames[1].get<long long>()));
            });
        } else if (frames.is_number_integer()) {
            usage(path,
                  [&] { scene.frames = ParseFrameRange(std::to_string(frames.get<long long>())); });
        } else {
            usage(path, [&] { scene.frames = ParseFrameRange(String(frames, path)); });
        }
    }
    if (root.contains("exr_color")) {
        const std::string color = String(root["exr_color"], top.Key("exr_color"));
        if (color != "linear" && color != "display-encoded") {
            Fail(top.Key("exr_color"), "expected \"linear\" or \"display-encoded\"");
        }
        scene.exr_linear = color == "linear";
    }
    if (root.contains("hdri")) scene.hdri = FilePath(root["hdri"], top.Key("hdri"));
    if (root.contains("input")) scene.input = FilePath(root["input"], top.Key("input"));
    if (root.contains("ramp")) {
        const JsonPath path = top.Key("ramp");
        const std::string ramp = String(root["ramp"], path);
        usage(path, [&] { scene.ramp = ParseRamp(ramp); });
    }
    if (root.contains("camera")) scene.camera = Camera(root["camera"], top.Key("camera"));
    if (root.contains("lights")) {
        const JsonPath path = top.Key("lights");
        if (!root["lights"].is_array()) Fail(path, "expected an array of lights");
        for (size_t i = 0; i < root["lights"].size(); ++i) {
            scene.lights.push_back(Light(root["lights"][i], path.Index(i)));
        }
    }
    if (root.contains("params")) {
        const JsonPath path = top.Key("params");
        if (!root["params"].is_object()) Fail(path, "expected an object of parameter names");
        for (const auto& [name, value] : root["params"].items()) {
            if (name == "comment") continue;
            scene.params.push_back(Param(name, value, path.Key(name)));
        }
    }
    return scene;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

Scene ParseScene(const std::string& text, const std::string& name, const std::string& base_dir,
                 const ParamCatalog& catalog, bool embedded) {
    try {
        return SceneParser(name, base_dir, catalog, embedded).Parse(text);
    } catch (const Json::exception& e) {
        // The checks above leave none; should one slip through, it still names the file.
        throw CliError(Escaped(name) + ": " + Escaped(e.what()));
    }
}

namespace {

// What a scene's relative paths start from: its file's directory, or the current one for a
// scene from a pipe (/dev/stdin), whose "directory" means nothing to the user.
std::string BaseDirectory(const imageio::InputFile& input) {
    return input.regular ? DirectoryOf(input.path) : "";
}

}  // namespace

Scene LoadScene(const std::string& path, const ParamCatalog& catalog) {
    // A pipe or /dev/stdin is read once, whole, here; a regular file by its name.
    imageio::InputFile input;
    try {
        input = imageio::OpenInput(path, imageio::MaxStreamedImageBytes(), kMaxSceneBytes);
        // An image this program wrote carries the scene it was rendered from.
        const std::optional<std::string> embedded = input.regular
                                                        ? imageio::ReadEmbeddedScene(path)
                                                        : imageio::EmbeddedScene(input.bytes, path);
        if (embedded) {
            Scene scene = ParseScene(*embedded, path, BaseDirectory(input), catalog, true);
            // Images from before linear OpenEXR was the default do not say: theirs was
            // display-encoded (and their positions linear), and they render again as they were.
            if (!scene.exr_linear) scene.exr_linear = false;
            return scene;
        }
    } catch (const imageio::ImageError& e) {
        throw CliError(e.what());
    }
    const auto too_large = [&] {
        return CliError("cannot read scene " + path + ": larger than " +
                        std::to_string(kMaxSceneBytes >> 20) + " MiB, too large for a scene");
    };
    if (!input.regular) {
        if (input.over_cap) throw too_large();
        return ParseScene(std::string(input.bytes.begin(), input.bytes.end()), path,
                          BaseDirectory(input), catalog);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) throw CliError("cannot read scene " + path + ": no such file or not readable");
    // Read no further than the cap, so that a huge file is refused at once.
    std::string text(kMaxSceneBytes + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) throw CliError("cannot read scene " + path + ": read error");
    text.resize(static_cast<size_t>(file.gcount()));
    if (text.size() > kMaxSceneBytes) throw too_large();
    return ParseScene(text, path, DirectoryOf(path), catalog);
}

}  // namespace cli
