// The effect's parameters: indices, ids, names, types, defaults, ranges and flags, in one table
// that parameter setup walks and everything else reads.
#ifndef SPIROVAULT_PARAMS_PARAM_TABLE_H
#define SPIROVAULT_PARAMS_PARAM_TABLE_H

#include <array>
#include <cstdint>
#include <string_view>

namespace spirovault {

enum ParamIndex : int {
    kParamInput = 0,
    kParamPower,
    kParamBailout,
    kParamMaxIterations,
    kParamMaxSteps,
    kParamBoundingSphere,
    kParamEpsilonScale,
    kParamRotationX,
    kParamRotationY,
    kParamRotationZ,
    kParamJuliaMode,
    kParamJuliaX,
    kParamJuliaY,
    kParamJuliaZ,
    kParamRadiolaria,
    kParamRadiolariaFactor,
    kParamPhaseX,
    kParamPhaseY,
    kParamColoringStart,
    kParamColorRamp,
    kParamOrbitScale,
    kParamOrbitGamma,
    kParamColoringEnd,
    kParamSpecularityStart,
    kParamSpecularity,
    kParamSpecularExponent,
    kParamSpecularityEnd,
    kParamAoStart,
    kParamAoType,
    kParamAoIntensity,
    kParamAoSamples,
    kParamAoRadius,
    kParamAoEnd,
    kParamLightingStart,
    kParamLightX,
    kParamLightY,
    kParamLightZ,
    kParamLightColor,
    kParamLightSize,
    kParamLightIntensity,
    kParamShadowIntensity,
    kParamShadowSamples,
    kParamAmbientIntensity,
    kParamAmbientColor,
    kParamLightingEnd,
    kParamHdriStart,
    kParamHdriLayer,
    kParamHdriIntensity,
    kParamHdriRotation,
    kParamHdriSamples,
    kParamHdriShadowIntensity,
    kParamHdriSpecular,
    kParamHdriEnd,
    kParamRenderingStart,
    kParamSupersampling,
    kParamDofSamples,
    kParamCompositeOnOriginal,
    kParamDepthMap,
    kParamDepthStart,
    kParamDepthEnd,
    kParamRenderingEnd,
    kNumParams
};

constexpr int kColorRampParamIndex = kParamColorRamp;
static_assert(kNumParams == 61 && kColorRampParamIndex == 19, "parameter indices are stored");

enum class ParamKind {
    kLayer,
    kFloatSlider,
    kIntSlider,
    kAngle,
    kCheckbox,
    kPopup,
    kColor,
    kGroupStart,
    kGroupEnd,
    kArbitraryData,
};

struct ParamRgb {
    uint8_t red, green, blue;
};

struct ParamSpec {
    int index;
    int id;  // what projects store
    const char* name;
    ParamKind kind;
    float default_value;  // sliders, popup choice, checkbox; single precision as declared
    ParamRgb default_color;
    float valid_min, valid_max;
    float slider_min, slider_max;
    int precision;    // decimals shown by float sliders
    bool collapsed;   // starts folded
    bool supervised;  // the host reports changes to it
};

// Choices of "AO Type", counting from 1.
inline constexpr const char* kAoTypeChoices = "Orbit Trap|Raytraced";
inline constexpr int kAoTypeChoiceCount = 2;

const std::array<ParamSpec, kNumParams>& ParamTable();

// The parameter with this display name, or null. Where a group and a control share a name,
// the control wins.
const ParamSpec* FindParamByName(std::string_view name);

}  // namespace spirovault

#endif
