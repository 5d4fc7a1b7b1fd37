#include "params/param_table.h"

namespace spirovault {

namespace {

using K = ParamKind;
constexpr ParamRgb kNoColor{0, 0, 0};

constexpr ParamSpec Float(int index, const char* name, float def, float vmin, float vmax,
                          float smin, float smax, int precision, bool collapsed = false) {
    return {index, index, name, K::kFloatSlider, def,       kNoColor, vmin,
            vmax,  smin,  smax, precision,       collapsed, false};
}
constexpr ParamSpec Int(int index, const char* name, float def, float vmin, float vmax, float smin,
                        float smax, bool collapsed = false) {
    return {index, index, name, K::kIntSlider, def,  kNoColor, vmin, vmax,
            smin,  smax,  0,    collapsed,     false};
}
constexpr ParamSpec Simple(int index, const char* name, K kind, bool collapsed = false,
                           bool supervised = false) {
    return {index, index, name,      kind,      kind == K::kPopup ? 1.0f : 0.0f, kNoColor, 0, 0, 0,
            0,     0,     collapsed, supervised};
}
constexpr ParamSpec Color(int index, const char* name, ParamRgb def, bool collapsed = false) {
    return {index, index, name, K::kColor, 0, def, 0, 0, 0, 0, 0, collapsed, false};
}
// Group markers take the ids 1 to 12 in order of appearance, not their indices.
constexpr ParamSpec Group(int index, int id, const char* name) {
    return {index, id,    name, name ? K::kGroupStart : K::kGroupEnd, 0, kNoColor, 0, 0, 0, 0,
            0,     false, false};
}

constexpr bool T = true;  // collapsed

constexpr std::array<ParamSpec, kNumParams> kTable = {{
    Simple(kParamInput, "", K::kLayer),
    Float(kParamPower, "Power", 8.0f, -20, 20, -20, 20, 1),
    Float(kParamBailout, "Bailout", 4.0f, 0.5f, 12, 0.5f, 12, 1),
    Float(kParamMaxIterations, "Max Iterations", 6, 1, 20, 1, 20, 0),
    Float(kParamMaxSteps, "Max Steps", 110, 10, 200, 10, 200, 0),
    Float(kParamBoundingSphere, "Bounding Sphere", 2.5f, 1, 16, 1, 16, 1),
    Float(kParamEpsilonScale, "Epsilon Scale", 1.0f, 0.1f, 1.0f, 0.1f, 1.0f, 2),
    Simple(kParamRotationX, "Rotation X", K::kAngle, T),
    Simple(kParamRotationY, "Rotation Y", K::kAngle, T),
    Simple(kParamRotationZ, "Rotation Z", K::kAngle, T),
    Simple(kParamJuliaMode, "Julia Mode", K::kCheckbox, false, true),
    Float(kParamJuliaX, "Julia X", 1.0f, -10000, 10000, -2, 2, 2, T),
    Float(kParamJuliaY, "Julia Y", 0.0f, -10000, 10000, -2, 2, 2, T),
    Float(kParamJuliaZ, "Julia Z", 0.0f, -10000, 10000, -2, 2, 2, T),
    Simple(kParamRadiolaria, "Radiolaria", K::kCheckbox, false, true),
    Float(kParamRadiolariaFactor, "Radiolaria Factor", 0.0f, -4, 4, -4, 4, 2, T),
    Float(kParamPhaseX, "Phase X", 0.0f, -10000, 10000, -2, 2, 2),
    Float(kParamPhaseY, "Phase Y", 0.0f, -10000, 10000, -2, 2, 2, T),
    Group(kParamColoringStart, 1, "Coloring"),
    Simple(kParamColorRamp, "Color Ramp", K::kArbitraryData),
    Float(kParamOrbitScale, "Orbit Scale", 1.8f, 0.01f, 10, 0.01f, 10, 2),
    Float(kParamOrbitGamma, "Orbit Gamma", 0.5f, 0.1f, 10, 0.1f, 10, 2, T),
    Group(kParamColoringEnd, 2, nullptr),
    Group(kParamSpecularityStart, 3, "Specularity"),
    Float(kParamSpecularity, "Specularity", 0.66f, 0, 1, 0, 1, 2, T),
    Float(kParamSpecularExponent, "Specular Exponent", 15, 0.1f, 50, 0.1f, 50, 1, T),
    Group(kParamSpecularityEnd, 4, nullptr),
    Group(kParamAoStart, 5, "Ambient Occlusion"),
    Simple(kParamAoType, "AO Type", K::kPopup),
    Float(kParamAoIntensity, "AO Intensity", 0.8f, 0, 1, 0, 1, 2),
    Int(kParamAoSamples, "AO Samples", 4, 1, 256, 1, 64, T),
    Float(kParamAoRadius, "AO Radius", 0.5f, 0, 5, 0, 5, 1, T),
    Group(kParamAoEnd, 6, nullptr),
    Group(kParamLightingStart, 7, "Lighting"),
    Float(kParamLightX, "Light X", 38, -1000, 1000, -100, 100, 1),
    Float(kParamLightY, "Light Y", 38, -1000, 1000, -100, 100, 1, T),
    Float(kParamLightZ, "Light Z", -42, -1000, 1000, -100, 100, 1, T),
    Color(kParamLightColor, "Light Color", ParamRgb{255, 245, 240}),
    Float(kParamLightSize, "Light Size", 0, 0, 20, 0, 20, 1, T),
    Float(kParamLightIntensity, "Light Intensity", 1.0f, 0, 10, 0, 2, 2),
    Float(kParamShadowIntensity, "Shadow Intensity", 1.0f, 0, 1, 0, 1, 2),
    Int(kParamShadowSamples, "Shadow Samples", 4, 1, 256, 1, 64, T),
    Float(kParamAmbientIntensity, "Ambient Intensity", 0.4f, 0, 5, 0, 2, 2),
    Color(kParamAmbientColor, "Ambient Color", ParamRgb{171, 217, 255}, T),
    Group(kParamLightingEnd, 8, nullptr),
    Group(kParamHdriStart, 9, "HDRI Environment"),
    Simple(kParamHdriLayer, "HDRI Layer", K::kLayer),
    Float(kParamHdriIntensity, "HDRI Intensity", 1.0f, 0, 10, 0, 2, 2),
    Simple(kParamHdriRotation, "HDRI Rotation", K::kAngle, T),
    Int(kParamHdriSamples, "HDRI Samples", 16, 1, 256, 1, 64, T),
    Float(kParamHdriShadowIntensity, "HDRI Shadow Intensity", 0, 0, 1, 0, 1, 2, T),
    Simple(kParamHdriSpecular, "HDRI Specular", K::kCheckbox),
    Group(kParamHdriEnd, 10, nullptr),
    Group(kParamRenderingStart, 11, "Rendering & Camera"),
    Int(kParamSupersampling, "Supersampling", 1, 1, 10, 1, 10),
    Int(kParamDofSamples, "DoF Samples", 4, 1, 256, 1, 64, T),
    Simple(kParamCompositeOnOriginal, "Composite On Original", K::kCheckbox),
    Simple(kParamDepthMap, "Depth Map", K::kCheckbox, false, true),
    Float(kParamDepthStart, "Depth Start Distance", 0, 0, 20000, 0, 6000, 0, T),
    Float(kParamDepthEnd, "Depth End Distance", 3000, 0, 20000, 0, 6000, 0, T),
    Group(kParamRenderingEnd, 12, nullptr),
}};

constexpr bool IndicesMatchPositions() {
    for (int i = 0; i < kNumParams; ++i) {
        if (kTable[i].index != i) return false;
    }
    return true;
}
static_assert(IndicesMatchPositions(), "each row sits at its own index");

}  // namespace

const std::array<ParamSpec, kNumParams>& ParamTable() {
    return kTable;
}

const ParamSpec* FindParamByName(std::string_view name) {
    const ParamSpec* group = nullptr;
    for (const ParamSpec& spec : kTable) {
        if (spec.name == nullptr || name != spec.name) continue;
        if (spec.kind != ParamKind::kGroupStart) return &spec;
        group = &spec;
    }
    return group;
}

}  // namespace spirovault
