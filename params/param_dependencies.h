// Which parameters only matter while a feature's checkbox is on.
#ifndef SPIROVAULT_PARAMS_PARAM_DEPENDENCIES_H
#define SPIROVAULT_PARAMS_PARAM_DEPENDENCIES_H

#include <array>

#include "params/param_table.h"

namespace spirovault {

struct ParamDependency {
    ParamIndex checkbox;
    ParamIndex dependent;
};

// In the order their state is sent to the host.
inline constexpr std::array<ParamDependency, 6> kParamDependencies = {{
    {kParamJuliaMode, kParamJuliaX},
    {kParamJuliaMode, kParamJuliaY},
    {kParamJuliaMode, kParamJuliaZ},
    {kParamRadiolaria, kParamRadiolariaFactor},
    {kParamDepthMap, kParamDepthStart},
    {kParamDepthMap, kParamDepthEnd},
}};

constexpr bool IsControllingCheckbox(int index) {
    for (const ParamDependency& d : kParamDependencies) {
        if (d.checkbox == index) return true;
    }
    return false;
}

}  // namespace spirovault

#endif
