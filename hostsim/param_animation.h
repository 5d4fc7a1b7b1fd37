// Parameter values over time as the host keeps them: keyframes in seconds, linear in between for
// sliders, angles and colours, held for checkboxes and popups; the first key before it and the
// last after it.
#ifndef SPIROVAULT_HOSTSIM_PARAM_ANIMATION_H
#define SPIROVAULT_HOSTSIM_PARAM_ANIMATION_H

#include <vector>

#include "host/pf_param_def.h"
#include "hostsim/composition/animated.h"

namespace hostsim {

// number: slider value, angle in degrees, checkbox 0/1, popup choice; color for colour params.
struct ParamKey {
    // {time, number} or {time, number, color}: keys are mostly written as such.
    ParamKey(double time_seconds = 0, double number_value = 0, PF_Pixel color_value = {})
        : time(time_seconds), number(number_value), color(color_value) {}

    double time = 0;  // seconds
    double number = 0;
    PF_Pixel color{};
    // How the value goes on to the next key; checkboxes and popups hold whatever it says. Bezier
    // handles (numbers only) as offsets from the value; unset: automatic, as Animated's.
    KeyInterpolation interpolation = KeyInterpolation::kLinear;
    std::optional<double> in_tangent, out_tangent;
};

// Whether a value of this type can be set and keyed.
bool IsAnimatableParamType(PF_ParamType type);

// Writes the keys' value at `seconds` into the definition's value field. Keys are sorted by time
// and not empty.
void ApplyKeysAt(const std::vector<ParamKey>& keys, double seconds, PF_ParamDef* def);

}  // namespace hostsim

#endif
