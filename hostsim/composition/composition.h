// The composition the effect's layer lives in, as the standalone host models it: size, frame
// rate and a layer stack of footage, cameras and lights with animated properties. The general
// plug-in suites answer the effect's questions from this model.
#ifndef SPIROVAULT_HOSTSIM_COMPOSITION_COMPOSITION_H
#define SPIROVAULT_HOSTSIM_COMPOSITION_COMPOSITION_H

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/aegp_types.h"
#include "hostsim/composition/animated.h"

namespace hostsim {

struct Vec3d {
    double x = 0, y = 0, z = 0;
};
inline Vec3d Lerp(const Vec3d& a, const Vec3d& b, double t) {
    return {Lerp(a.x, b.x, t), Lerp(a.y, b.y, t), Lerp(a.z, b.z, t)};
}
inline Vec3d operator+(const Vec3d& a, const Vec3d& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3d operator-(const Vec3d& a, const Vec3d& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3d operator*(const Vec3d& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline double Dot(const Vec3d& a, const Vec3d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

struct ColorRgb {
    double red = 1, green = 1, blue = 1;
};
inline ColorRgb Lerp(const ColorRgb& a, const ColorRgb& b, double t) {
    return {Lerp(a.red, b.red, t), Lerp(a.green, b.green, t), Lerp(a.blue, b.blue, t)};
}
inline ColorRgb operator+(const ColorRgb& a, const ColorRgb& b) {
    return {a.red + b.red, a.green + b.green, a.blue + b.blue};
}
inline ColorRgb operator-(const ColorRgb& a, const ColorRgb& b) {
    return {a.red - b.red, a.green - b.green, a.blue - b.blue};
}
inline ColorRgb operator*(const ColorRgb& a, double s) {
    return {a.red * s, a.green * s, a.blue * s};
}
inline double Dot(const ColorRgb& a, const ColorRgb& b) {
    return a.red * b.red + a.green * b.green + a.blue * b.blue;
}

enum class LayerKind { kFootage, kCamera, kLight };

struct CompLayer {
    std::string name;
    LayerKind kind = LayerKind::kFootage;
    AEGP_LightType light_type = AEGP_LightType_POINT;  // lights only
    bool video_active = true;                          // the layer's eye switch

    // Composition coordinates: x right, y down, z into the screen, pixels.
    Animated<Vec3d> position;
    // Cameras and lights that have one aim their z axis at it.
    std::optional<Animated<Vec3d>> point_of_interest;
    Animated<Vec3d> orientation;  // degrees about x, y, z
    Animated<Vec3d> rotation;     // degrees about x, y, z, applied after the orientation

    // One-dimensional properties by stream; a stream not listed does not exist on the layer.
    std::map<AEGP_LayerStream, Animated<double>> streams;
    Animated<ColorRgb> color;  // lights
    // Values an expression would give; reads before expressions never see them.
    std::map<AEGP_LayerStream, double> expression_values;

    // Host failures to reproduce: the transform or these streams' values cannot be read.
    bool transform_unreadable = false;
    std::set<AEGP_LayerStream> unreadable_values;
};

struct Composition {
    int width = 1920;
    int height = 1080;
    double frame_rate = 30.0;
    // Top of the layer stack first. The effect sits on a footage layer that is not listed here.
    std::vector<CompLayer> layers;
    // False models an effect the host renders without a layer (no comp time, no layer).
    bool effect_has_layer = true;
};

}  // namespace hostsim

#endif
