// Parameter values over time as the host keeps them: keyframes in seconds, linear in between for
// sliders, angles and colours, held for checkboxes and popups; the first key before it and the
// last after it.
#ifndef SPIROVAULT_HOSTSIM_PARAM_ANIMATION_H
#define SPIROVAULT_HOSTSIM_PARAM_ANIMATION_H

#include <vector>

#include "host/pf_param_def.h"

namespace hostsim {

// number: slider value, angle in degrees, checkbox 0/1, popup choice; color for colour params.
struct ParamKey {
    double time = 0;  // seconds
    double number = 0;
    PF_Pixel color{};
};

// Whether a value of this type can be set and keyed.
bool IsAnimatableParamType(PF_ParamType type);

// Writes the keys' value at `seconds` into the definition's value field. Keys are sorted by time
// and not empty.
void ApplyKeysAt(const std::vector<ParamKey>& keys, double seconds, PF_ParamDef* def);

}  // namespace hostsim

#endif
